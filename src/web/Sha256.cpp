#include "web/Sha256.h"

#include <cstring>

namespace
{

inline std::uint32_t RotateRight(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

inline std::uint32_t LoadBe32(const unsigned char* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

inline void StoreBe32(unsigned char* p, std::uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

// The 64 round constants of FIPS 180-4, section 4.2.2.
constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

} // namespace

void Sha256Context::Init()
{
    static const std::uint32_t kInitial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    m_count[0] = m_count[1] = 0;
    std::memcpy(m_state, kInitial, sizeof(m_state));
    std::memset(m_buffer, 0, sizeof(m_buffer));
    std::memset(m_schedule, 0, sizeof(m_schedule));
}

void Sha256Context::Transform(const unsigned char block[64])
{
    std::uint32_t* w = m_schedule;
    for (int t = 0; t < 16; ++t)
        w[t] = LoadBe32(block + 4 * t);
    for (int t = 16; t < 64; ++t)
    {
        std::uint32_t s0 =
            RotateRight(w[t - 15], 7) ^ RotateRight(w[t - 15], 18) ^ (w[t - 15] >> 3);
        std::uint32_t s1 = RotateRight(w[t - 2], 17) ^ RotateRight(w[t - 2], 19) ^ (w[t - 2] >> 10);
        w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    std::uint32_t e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
    for (int t = 0; t < 64; ++t)
    {
        std::uint32_t sum1 = RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25);
        std::uint32_t choose = (e & f) ^ (~e & g);
        std::uint32_t t1 = h + sum1 + choose + kRound[t] + w[t];
        std::uint32_t sum0 = RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22);
        std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        std::uint32_t t2 = sum0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
    m_state[5] += f;
    m_state[6] += g;
    m_state[7] += h;
}

void Sha256Context::Update(const void* pData, std::size_t nLength)
{
    const unsigned char* p = static_cast<const unsigned char*>(pData);
    std::size_t used = m_count[0] & 63;
    std::uint64_t bytes = (static_cast<std::uint64_t>(m_count[1]) << 32) | m_count[0];
    bytes += nLength;
    m_count[0] = static_cast<std::uint32_t>(bytes);
    m_count[1] = static_cast<std::uint32_t>(bytes >> 32);
    if (used > 0)
    {
        std::size_t take = 64 - used;
        if (nLength < take)
        {
            std::memcpy(m_buffer + used, p, nLength);
            return;
        }
        std::memcpy(m_buffer + used, p, take);
        Transform(m_buffer);
        p += take;
        nLength -= take;
    }
    for (; nLength >= 64; p += 64, nLength -= 64)
        Transform(p);
    if (nLength > 0)
        std::memcpy(m_buffer, p, nLength);
}

void Sha256Context::Final(unsigned char digest[kDigestSize])
{
    std::uint64_t bits = ((static_cast<std::uint64_t>(m_count[1]) << 32) | m_count[0]) << 3;
    unsigned char length[8];
    StoreBe32(length, static_cast<std::uint32_t>(bits >> 32));
    StoreBe32(length + 4, static_cast<std::uint32_t>(bits));
    std::size_t used = m_count[0] & 63;
    static const unsigned char kPadding[64] = {0x80};
    Update(kPadding, used < 56 ? 56 - used : 120 - used);
    Update(length, 8);
    for (int i = 0; i < 8; ++i)
        StoreBe32(digest + 4 * i, m_state[i]);
    std::memset(m_count, 0, sizeof(m_count));
    std::memset(m_state, 0, sizeof(m_state));
    std::memset(m_buffer, 0, sizeof(m_buffer));
    std::memset(m_schedule, 0, sizeof(m_schedule));
}
