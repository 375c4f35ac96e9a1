#include "web/HexText.h"

void WriteLowerHex(const unsigned char* pData, std::size_t nLength, char* pszOut)
{
    static const char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < nLength; ++i)
    {
        pszOut[2 * i] = kDigits[pData[i] >> 4];
        pszOut[2 * i + 1] = kDigits[pData[i] & 15];
    }
    pszOut[2 * nLength] = '\0';
}

std::string ToLowerHex(const unsigned char* pData, std::size_t nLength)
{
    std::string out(2 * nLength + 1, '\0');
    WriteLowerHex(pData, nLength, &out[0]);
    out.resize(2 * nLength);
    return out;
}
