// ParseDigestChallenge and BuildDigestAuthHeader over arbitrary answers: the line is always one
// header line and the response is empty or a whole MD5 / SHA-256 hex text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "web/DigestAuth.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    std::string answer(reinterpret_cast<const char*>(pData), nSize);
    DigestParams params;
    if (!ParseDigestChallenge(answer, params))
        return 0;
    std::string line =
        BuildDigestAuthHeader(params, "GET", "admin", "pw", "/system/log.cgi?page=1");
    if (line.compare(0, 15, "Authorization: ") != 0 || line.size() < 2 ||
        line.compare(line.size() - 2, 2, "\r\n") != 0)
        std::abort();
    std::size_t n = params.strResponse.size();
    if (n != 0 && n != 32 && n != 64)
        std::abort();
    if (!params.strQop.empty() && (params.nNonceCount != 1 || params.strCnonce != params.strNonce))
        std::abort();
    return 0;
}
