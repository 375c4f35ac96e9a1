// SHA-256 message digest (FIPS 180-4); used only by Digest authentication.
#pragma once

#include <cstddef>
#include <cstdint>

class Sha256Context
{
public:
    static constexpr std::size_t kDigestSize = 32;

    Sha256Context() { Init(); }
    // Starts a new message with the FIPS 180-4 initial hash value.
    void Init();
    // Any number of updates of any length give the digest of their concatenation.
    void Update(const void* pData, std::size_t nLength);
    // Pads, writes the 32 digest bytes (big-endian words) and wipes the state.
    void Final(unsigned char digest[kDigestSize]);

private:
    void Transform(const unsigned char block[64]);

    std::uint32_t m_count[2]; // message length in bytes, low half first
    std::uint32_t m_state[8];
    unsigned char m_buffer[64];
    std::uint32_t m_schedule[64];
};
