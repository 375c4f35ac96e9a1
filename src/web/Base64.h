// Base64 (RFC 4648 section 4: standard alphabet, "=" padding, no line breaks).
#pragma once

#include <cstddef>
#include <string>

// 4 characters per started group of 3 input bytes.
std::string Base64Encode(const void* pData, std::size_t nLength);
