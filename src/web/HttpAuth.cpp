#include "web/HttpAuth.h"

#include <cstring>

#include "web/Base64.h"

std::string BuildBasicAuthHeader(const std::string& strUser, const std::string& strPassword)
{
    if (strUser.empty() && strPassword.empty())
        return std::string();
    std::string pair = strUser + ":" + strPassword;
    return "Authorization: Basic " + Base64Encode(pair.data(), pair.size()) + "\r\n";
}

std::string AppendCredentialQuery(const std::string& strPath, const std::string& strUser,
                                  const std::string& strPassword)
{
    std::string credentials = "id=" + strUser + "&password=" + strPassword;
    std::size_t question = strPath.find('?');
    if (question == std::string::npos)
        return strPath + "?" + credentials;
    bool bHasId = false, bHasPassword = false;
    std::string query = strPath.substr(question + 1);
    std::size_t start = 0;
    while (start <= query.size())
    {
        std::size_t end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        if (end > start)
        {
            std::string piece = query.substr(start, end - start);
            std::size_t nameStart = piece.find_first_not_of('=');
            std::string name;
            if (nameStart != std::string::npos)
                name = piece.substr(nameStart, piece.find('=', nameStart) - nameStart);
            bHasId = bHasId || name == "id";
            bHasPassword = bHasPassword || name == "password";
        }
        start = end + 1;
    }
    if (bHasId && bHasPassword)
        return strPath;
    std::string path = strPath;
    if (path.back() != '&')
        path += '&';
    return path + credentials;
}

bool ExtractBetween(const std::string& strText, const char* pszStart, std::string& strValue,
                    const char* pszEnd)
{
    std::size_t at = strText.find(pszStart);
    if (at == std::string::npos)
        return false;
    std::size_t begin = at + std::strlen(pszStart);
    std::size_t end =
        begin + 1 <= strText.size() ? strText.find(pszEnd, begin + 1) : std::string::npos;
    if (end == std::string::npos)
        strValue.clear();
    else
        strValue = strText.substr(begin, end - begin);
    return true;
}
