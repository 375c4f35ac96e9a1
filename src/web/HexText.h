// Lower-case hexadecimal text of digest bytes, two characters per byte, high nibble first.
#pragma once

#include <cstddef>
#include <string>

// Writes 2 * nLength characters and a NUL into pszOut.
void WriteLowerHex(const unsigned char* pData, std::size_t nLength, char* pszOut);
std::string ToLowerHex(const unsigned char* pData, std::size_t nLength);
