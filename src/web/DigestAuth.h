// HTTP Digest authentication (MD5 and SHA-256): reading the 401 challenge, the request
// digest and the Authorization line.
#pragma once

#include <string>

struct DigestParams
{
    std::string strMethod;
    std::string strScheme;
    std::string strAlgorithm;
    std::string strUser;
    std::string strRealm;
    std::string strPassword;
    std::string strNonce;
    std::string strUri;
    std::string strQop;
    int nNonceCount = 0;
    std::string strCnonce;
    std::string strResponse;
    std::string strOpaque;
};

// Fills the params from a "401 Unauthorized" answer; true when it holds a scheme after
// "WWW-Authenticate: ", a realm and a nonce. The first entry of a qop list is taken.
bool ParseDigestChallenge(const std::string& strAnswer, DigestParams& params);

// The "Authorization: ..." line (ending in "\r\n") for the challenge in params. With a qop
// the nonce count goes up by one and the nonce is sent back as the client nonce. Only MD5
// (also an empty algorithm) and SHA-256 are computed; other algorithms get an empty response.
std::string BuildDigestAuthHeader(DigestParams& params, const std::string& strMethod,
                                  const std::string& strUser, const std::string& strPassword,
                                  const std::string& strUri);

// The computations write lower-case hex and a NUL: 33 bytes for MD5, 65 for SHA-256.
// HA1 = H(user:realm:password).
void ComputeDigestHa1Md5(const std::string& strUser, const std::string& strRealm,
                         const std::string& strPassword, char* pszHa1);
void ComputeDigestHa1Sha256(const std::string& strUser, const std::string& strRealm,
                            const std::string& strPassword, char* pszHa1);
// HA2 = H(method:uri), for "auth-int" H(method:uri:H(empty body)); the response is
// H(HA1:nonce:nc:cnonce:qop:HA2) with a qop and H(HA1:nonce:HA2) without one.
void ComputeDigestResponseMd5(const char* pszHa1, const std::string& strNonce,
                              const std::string& strNonceCount, const std::string& strCnonce,
                              const std::string& strQop, const std::string& strMethod,
                              const std::string& strUri, char* pszResponse);
void ComputeDigestResponseSha256(const char* pszHa1, const std::string& strNonce,
                                 const std::string& strNonceCount, const std::string& strCnonce,
                                 const std::string& strQop, const std::string& strMethod,
                                 const std::string& strUri, char* pszResponse);
