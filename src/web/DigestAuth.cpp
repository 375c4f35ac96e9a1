#include "web/DigestAuth.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "web/AsciiCase.h"
#include "web/HexText.h"
#include "web/HttpAuth.h"
#include "web/Md5.h"
#include "web/Sha256.h"

namespace
{

// hex(H(a ":" b ":" ...)) with the digest type given.
template <class TContext>
void HashJoined(std::initializer_list<const std::string*> parts, char* pszOut)
{
    TContext ctx;
    bool bFirst = true;
    for (const std::string* part : parts)
    {
        if (!bFirst)
            ctx.Update(":", 1);
        ctx.Update(part->data(), part->size());
        bFirst = false;
    }
    unsigned char digest[TContext::kDigestSize];
    ctx.Final(digest);
    WriteLowerHex(digest, sizeof(digest), pszOut);
}

template <class TContext>
void ComputeResponse(const char* pszHa1, const std::string& strNonce,
                     const std::string& strNonceCount, const std::string& strCnonce,
                     const std::string& strQop, const std::string& strMethod,
                     const std::string& strUri, char* pszResponse)
{
    char ha2[2 * TContext::kDigestSize + 1];
    if (strQop == "auth-int")
    {
        // The entity hash of a GET: the digest of its empty body.
        std::string empty;
        char bodyHash[2 * TContext::kDigestSize + 1];
        HashJoined<TContext>({&empty}, bodyHash);
        std::string entity = bodyHash;
        HashJoined<TContext>({&strMethod, &strUri, &entity}, ha2);
    }
    else
        HashJoined<TContext>({&strMethod, &strUri}, ha2);
    std::string ha1 = pszHa1, ha2Text = ha2;
    if (strQop.empty())
        HashJoined<TContext>({&ha1, &strNonce, &ha2Text}, pszResponse);
    else
        HashJoined<TContext>({&ha1, &strNonce, &strNonceCount, &strCnonce, &strQop, &ha2Text},
                             pszResponse);
}

} // namespace

void ComputeDigestHa1Md5(const std::string& strUser, const std::string& strRealm,
                         const std::string& strPassword, char* pszHa1)
{
    HashJoined<Md5Context>({&strUser, &strRealm, &strPassword}, pszHa1);
}

void ComputeDigestHa1Sha256(const std::string& strUser, const std::string& strRealm,
                            const std::string& strPassword, char* pszHa1)
{
    HashJoined<Sha256Context>({&strUser, &strRealm, &strPassword}, pszHa1);
}

void ComputeDigestResponseMd5(const char* pszHa1, const std::string& strNonce,
                              const std::string& strNonceCount, const std::string& strCnonce,
                              const std::string& strQop, const std::string& strMethod,
                              const std::string& strUri, char* pszResponse)
{
    ComputeResponse<Md5Context>(pszHa1, strNonce, strNonceCount, strCnonce, strQop, strMethod,
                                strUri, pszResponse);
}

void ComputeDigestResponseSha256(const char* pszHa1, const std::string& strNonce,
                                 const std::string& strNonceCount, const std::string& strCnonce,
                                 const std::string& strQop, const std::string& strMethod,
                                 const std::string& strUri, char* pszResponse)
{
    ComputeResponse<Sha256Context>(pszHa1, strNonce, strNonceCount, strCnonce, strQop, strMethod,
                                   strUri, pszResponse);
}

bool ParseDigestChallenge(const std::string& strAnswer, DigestParams& params)
{
    params = DigestParams();
    if (strAnswer.find("401 Unauthorized\r\n") == std::string::npos)
        return false;
    if (!ExtractBetween(strAnswer, "WWW-Authenticate: ", params.strScheme, " ") &&
        !ExtractBetween(strAnswer, "www-authenticate: ", params.strScheme, " "))
        return false;
    ExtractBetween(strAnswer, "algorithm=", params.strAlgorithm, ",");
    if (!ExtractBetween(strAnswer, "realm=\"", params.strRealm, "\""))
        return false;
    if (!ExtractBetween(strAnswer, "nonce=\"", params.strNonce, "\""))
        return false;
    if (ExtractBetween(strAnswer, "qop=\"", params.strQop, "\""))
    {
        // A list offers choices: take the first entry as written.
        std::size_t start = params.strQop.find_first_not_of(',');
        if (start != std::string::npos)
        {
            std::size_t end = params.strQop.find(',', start);
            bool bMore = end != std::string::npos &&
                         params.strQop.find_first_not_of(',', end) != std::string::npos;
            if (bMore)
                params.strQop = params.strQop.substr(start, end - start);
        }
    }
    ExtractBetween(strAnswer, "opaque=\"", params.strOpaque, "\"");
    return true;
}

std::string BuildDigestAuthHeader(DigestParams& params, const std::string& strMethod,
                                  const std::string& strUser, const std::string& strPassword,
                                  const std::string& strUri)
{
    params.strMethod = strMethod.empty() ? std::string("GET") : strMethod;
    params.strUser = strUser;
    params.strPassword = strPassword;
    params.strUri = strUri;
    if (!params.strQop.empty())
    {
        ++params.nNonceCount;
        params.strCnonce = params.strNonce;
    }
    char nc[16];
    std::snprintf(nc, sizeof(nc), "%08d", params.nNonceCount);
    params.strResponse.clear();
    if (EqualsNoCase(params.strAlgorithm, "SHA-256"))
    {
        char ha1[65], response[65];
        ComputeDigestHa1Sha256(params.strUser, params.strRealm, params.strPassword, ha1);
        ComputeDigestResponseSha256(ha1, params.strNonce, nc, params.strCnonce, params.strQop,
                                    params.strMethod, params.strUri, response);
        params.strResponse = response;
    }
    else if (params.strAlgorithm.empty() || EqualsNoCase(params.strAlgorithm, "MD5"))
    {
        params.strAlgorithm = "MD5";
        char ha1[33], response[33];
        ComputeDigestHa1Md5(params.strUser, params.strRealm, params.strPassword, ha1);
        ComputeDigestResponseMd5(ha1, params.strNonce, nc, params.strCnonce, params.strQop,
                                 params.strMethod, params.strUri, response);
        params.strResponse = response;
    }
    std::string line = "Authorization: " + params.strScheme + " ";
    if (!params.strAlgorithm.empty())
        line += "algorithm=" + params.strAlgorithm + ", ";
    line += "username=\"" + params.strUser + "\", realm=\"" + params.strRealm + "\", nonce=\"" +
            params.strNonce + "\", uri=\"" + params.strUri + "\"";
    if (!params.strQop.empty())
        line += ", qop=" + params.strQop + ", nc=" + nc + ", cnonce=\"" + params.strCnonce + "\"";
    line += ", response=\"" + params.strResponse + "\"";
    if (!params.strOpaque.empty())
        line += ", opaque=\"" + params.strOpaque + "\"";
    return line + "\r\n";
}
