// Splits one complete HTTP message (an answer, or a GET/POST request) into its parts.
// A read-only result: everything is parsed by the constructor.
#pragma once

#include <string>
#include <vector>

class CSimpleHttpParser
{
public:
    enum MessageKind
    {
        kAnswer = 0, // an answer, or nothing recognised
        kGetRequest = 1,
        kPostRequest = 2,
    };

    explicit CSimpleHttpParser(const char* pszMessage);
    virtual ~CSimpleHttpParser() = default;

    // Parses the text, resetting kind, status, content length, content type and body first.
    void Parse(const char* pszMessage);

    int GetStatusCode() const { return m_nStatusCode; }
    std::string GetBody() const { return m_strBody; }
    int GetMessageKind() const { return m_nMessageKind; }
    const std::string& GetRequestTarget() const { return m_strRequestTarget; }
    const std::string& GetContentType() const { return m_strContentType; }
    int GetContentLength() const { return m_nContentLength; }
    const std::string& GetAuthorization() const { return m_strAuthorization; }
    const std::vector<std::string>& GetForwardedFor() const { return m_forwardedFor; }

private:
    bool ParseFirstLine(const std::string& strLine);
    void ParseHeaderLine(const std::string& strLine);

    int m_nMessageKind = kAnswer;
    std::string m_strRequestTarget;
    int m_nStatusCode = 0;
    std::string m_strContentType;
    int m_nContentLength = 0;
    std::string m_strBody;
    std::string m_strAuthorization;
    std::vector<std::string> m_forwardedFor;
};
