// MD5, SHA-256, Base64 and hex text against published vectors and OpenSSL's digests.
#include <gtest/gtest.h>

#include <cstring>
#include <openssl/evp.h>
#include <random>
#include <string>

#include "web/Base64.h"
#include "web/HexText.h"
#include "web/Md5.h"
#include "web/Sha256.h"

namespace
{

template <class TContext> std::string HexDigest(const std::string& strInput)
{
    TContext ctx;
    ctx.Update(strInput.data(), strInput.size());
    unsigned char digest[TContext::kDigestSize];
    ctx.Final(digest);
    return ToLowerHex(digest, sizeof(digest));
}

std::string EvpHex(const EVP_MD* pMd, const std::string& strInput)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(strInput.data(), strInput.size(), digest, &length, pMd, nullptr);
    return ToLowerHex(digest, length);
}

struct Vector
{
    std::string strInput;
    const char* pszHex;
};

TEST(Md5Test, Rfc1321Vectors)
{
    const Vector vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Vector& v : vectors)
        EXPECT_EQ(v.pszHex, HexDigest<Md5Context>(v.strInput)) << '"' << v.strInput << '"';
}

TEST(Sha256Test, Fips180Vectors)
{
    const Vector vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnop"
         "qrlmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Vector& v : vectors)
        EXPECT_EQ(v.pszHex, HexDigest<Sha256Context>(v.strInput)) << v.strInput.size() << " bytes";
}

// The padding boundaries: the length field fits after 55 bytes, not after 56; 64 fills a block.
TEST(DigestTest, PaddingBoundariesMatchOpenSsl)
{
    for (std::size_t length : {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129})
    {
        std::string input(length, '\0');
        for (std::size_t i = 0; i < length; ++i)
            input[i] = static_cast<char>('a' + i % 26);
        EXPECT_EQ(EvpHex(EVP_md5(), input), HexDigest<Md5Context>(input)) << length;
        EXPECT_EQ(EvpHex(EVP_sha256(), input), HexDigest<Sha256Context>(input)) << length;
    }
}

// Random inputs fed in random splits give OpenSSL's digest of the whole input.
TEST(DigestTest, RandomSplitUpdatesMatchOpenSsl)
{
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round)
    {
        std::string input(random() % 700, '\0');
        for (char& c : input)
            c = static_cast<char>(random());
        Md5Context md5;
        Sha256Context sha;
        std::size_t at = 0;
        while (at < input.size())
        {
            std::size_t piece = std::min<std::size_t>(random() % 130, input.size() - at);
            md5.Update(input.data() + at, piece);
            sha.Update(input.data() + at, piece);
            at += piece;
        }
        unsigned char md5Digest[16], shaDigest[32];
        md5.Final(md5Digest);
        sha.Final(shaDigest);
        ASSERT_EQ(EvpHex(EVP_md5(), input), ToLowerHex(md5Digest, 16)) << input.size();
        ASSERT_EQ(EvpHex(EVP_sha256(), input), ToLowerHex(shaDigest, 32)) << input.size();
    }
}

TEST(DigestTest, InitStartsOverAfterFinal)
{
    Md5Context md5;
    md5.Update("garbage", 7);
    unsigned char digest[16];
    md5.Final(digest);
    md5.Init();
    md5.Update("abc", 3);
    md5.Final(digest);
    EXPECT_EQ("900150983cd24fb0d6963f7d28e17f72", ToLowerHex(digest, 16));
}

TEST(Base64Test, Rfc4648Vectors)
{
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& v : vectors)
        EXPECT_EQ(v.second, Base64Encode(v.first, std::strlen(v.first))) << v.first;
}

TEST(Base64Test, HighBytesAndNoLineBreaks)
{
    const unsigned char high[] = {0xff, 0xfe, 0xfd};
    EXPECT_EQ("//79", Base64Encode(high, 3));
    std::string encoded = Base64Encode(std::string(300, 'x').data(), 300);
    EXPECT_EQ(400u, encoded.size());
    EXPECT_EQ(std::string::npos, encoded.find_first_of("\r\n"));
}

TEST(HexTextTest, LowerCaseHighNibbleFirst)
{
    const unsigned char bytes[] = {0x00, 0x0f, 0xa5, 0xff};
    char text[9];
    WriteLowerHex(bytes, 4, text);
    EXPECT_STREQ("000fa5ff", text);
}

} // namespace
