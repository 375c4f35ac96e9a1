#include "web/SimpleHttpParser.h"

#include <cstring>

#include "platform/CrtNumbers.h"
#include "web/AsciiCase.h"

namespace
{

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& str)
{
    std::size_t begin = 0, end = str.size();
    while (begin < end && IsWhiteSpace(str[begin]))
        ++begin;
    while (end > begin && IsWhiteSpace(str[end - 1]))
        --end;
    return str.substr(begin, end - begin);
}

// The non-empty pieces between the separators.
std::vector<std::string> SplitSkippingEmpty(const std::string& str, char separator)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= str.size())
    {
        std::size_t end = str.find(separator, start);
        if (end == std::string::npos)
            end = str.size();
        if (end > start)
            pieces.push_back(str.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

// Digits at the very start only, as the status code is read; no digits give 0.
int LeadingDigits(const std::string& str)
{
    long long value = 0;
    for (char c : str)
    {
        if (c < '0' || c > '9')
            break;
        // Saturate: a status line of many digits must not overflow.
        if (value < 1000000000LL)
            value = value * 10 + (c - '0');
    }
    return value > 2147483647LL ? 2147483647 : static_cast<int>(value);
}

} // namespace

CSimpleHttpParser::CSimpleHttpParser(const char* pszMessage)
{
    Parse(pszMessage);
}

void CSimpleHttpParser::Parse(const char* pszMessage)
{
    m_nMessageKind = kAnswer;
    m_nStatusCode = 0;
    m_nContentLength = 0;
    m_strContentType.clear();
    m_strBody.clear();

    enum class State
    {
        kFirstLine,
        kHeader,
        kBody,
    };
    State state = State::kFirstLine;
    std::string text = pszMessage ? pszMessage : "";
    for (const std::string& line : SplitSkippingEmpty(text, '\n'))
    {
        switch (state)
        {
        case State::kFirstLine:
            if (ParseFirstLine(line))
                state = State::kHeader;
            break;
        case State::kHeader:
            if (Trim(line).empty())
                state = State::kBody;
            else
                ParseHeaderLine(line);
            break;
        case State::kBody:
            m_strBody += line;
            m_strBody += '\n';
            break;
        }
    }
}

bool CSimpleHttpParser::ParseFirstLine(const std::string& strLine)
{
    std::vector<std::string> pieces = SplitSkippingEmpty(Trim(strLine), ' ');
    if (pieces.size() < 3)
        return false;
    if (EqualsNoCase(pieces[0], "get"))
        m_nMessageKind = kGetRequest;
    else if (EqualsNoCase(pieces[0], "post"))
        m_nMessageKind = kPostRequest;
    else
    {
        m_nStatusCode = LeadingDigits(pieces[1]);
        return true;
    }
    // The target may hold spaces: every piece between the method and the protocol version.
    m_strRequestTarget = pieces[1];
    for (std::size_t i = 2; i + 1 < pieces.size(); ++i)
        m_strRequestTarget += " " + pieces[i];
    return true;
}

void CSimpleHttpParser::ParseHeaderLine(const std::string& strLine)
{
    std::vector<std::string> pieces = SplitSkippingEmpty(Trim(strLine), ':');
    if (pieces.size() < 2)
        return;
    // The name is compared as split: "Content-Length :" does not match.
    const std::string& name = pieces[0];
    std::string value = Trim(pieces[1]);
    if (EqualsNoCase(name, "content-type"))
        m_strContentType = value;
    else if (EqualsNoCase(name, "content-length"))
        m_nContentLength = platform::CrtAtol(value.c_str());
    else if (EqualsNoCase(name, "Authorization"))
        m_strAuthorization = value;
    else if (EqualsNoCase(name, "X-Forwarded-For"))
        m_forwardedFor = SplitSkippingEmpty(value, ',');
}
