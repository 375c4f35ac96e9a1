// Credentials on a recorder request: the authentication modes, the Basic header line and
// the credential query. Names and passwords are inserted unchanged (no escaping).
#pragma once

#include <string>

constexpr int HTTP_AUTH_BASIC = 1;
constexpr int HTTP_AUTH_DIGEST = 2;
constexpr int HTTP_AUTH_QUERY = 3;

// "Authorization: Basic <base64 of user:password>\r\n", or empty when both are empty.
std::string BuildBasicAuthHeader(const std::string& strUser, const std::string& strPassword);

// The path with "id=<user>&password=<password>" appended to its query (a "?" or "&" put
// before it as needed), unchanged when the query already names both id and password.
std::string AppendCredentialQuery(const std::string& strPath, const std::string& strUser,
                                  const std::string& strPassword);

// The text after the first start marker up to the next end marker (which is looked for from
// the second character on; none gives the empty text). False, value untouched, without the
// start marker.
bool ExtractBetween(const std::string& strText, const char* pszStart, std::string& strValue,
                    const char* pszEnd);
