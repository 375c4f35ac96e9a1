#include "platform/Codepage.h"

#include <cerrno>
#include <iconv.h>

namespace platform
{

namespace
{

// One conversion with a replacement for every byte the source encoding rejects.
std::string Convert(const char* to, const char* from, std::string_view in, const char* replacement,
                    bool bSkipUtf8Sequence)
{
    std::string out;
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in); // no converter: pass bytes through rather than lose them
    out.reserve(in.size() * 3 / 2 + 4);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0)
    {
        char* dst = buf;
        size_t dstLeft = sizeof(buf);
        size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a cut sequence at the end): replace and step over.
        out += replacement;
        size_t skip = 1;
        if (bSkipUtf8Sequence)
        {
            // Step over a whole UTF-8 character that the target cannot hold.
            unsigned char lead = static_cast<unsigned char>(*src);
            size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            skip = 1;
            while (skip < len && skip < srcLeft &&
                   (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80)
                ++skip;
        }
        src += skip;
        srcLeft -= skip;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(cd);
    return out;
}

bool IsAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

std::string Cp949ToUtf8(std::string_view cp949)
{
    if (IsAscii(cp949))
        return std::string(cp949);
    return Convert("UTF-8", "CP949", cp949, "\xEF\xBF\xBD", false);
}

std::string Utf8ToCp949(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    return Convert("CP949", "UTF-8", utf8, "?", true);
}

} // namespace platform
