// MD5 message digest (RFC 1321); used only by Digest authentication.
#pragma once

#include <cstddef>
#include <cstdint>

class Md5Context
{
public:
    static constexpr std::size_t kDigestSize = 16;

    Md5Context() { Init(); }
    // Starts a new message with the RFC 1321 initial chaining words.
    void Init();
    // Any number of updates of any length give the digest of their concatenation.
    void Update(const void* pData, std::size_t nLength);
    // Pads, writes the 16 digest bytes and wipes the state.
    void Final(unsigned char digest[kDigestSize]);

private:
    void Transform(const unsigned char block[64]);

    std::uint32_t m_state[4];
    std::uint32_t m_count[2]; // message length in bits, low half first
    unsigned char m_buffer[64];
};
