#include "web/HttpReceive.h"

#include <cstring>

#include "platform/CrtNumbers.h"
#include "platform/Socket.h"

namespace
{

using Clock = std::chrono::steady_clock;

// Bytes asked of the stream per read of a body: one full TLS record.
constexpr int kBodyReadSize = 16384;
// A chunk size line is looked for within this many bytes; a longer line reads as size 0.
constexpr int kMaxChunkSizeLine = 255;
// Bytes reserved ahead of a Content-Length body before any of it arrived.
constexpr int kReserveAhead = 1 << 20;
// Hex digits that always fit the 64-bit value; more end the body.
constexpr int kMaxChunkSizeDigits = 16;

// Offset of the text in the first nLength bytes, searching no further than the first NUL
// (the bytes are read as a C string), or -1.
int FindBeforeNul(const char* pData, int nLength, const char* pszText)
{
    int textLength = static_cast<int>(std::strlen(pszText));
    const void* pNul = std::memchr(pData, '\0', static_cast<std::size_t>(nLength));
    if (pNul != nullptr)
        nLength = static_cast<int>(static_cast<const char*>(pNul) - pData);
    for (int i = 0; i + textLength <= nLength; ++i)
    {
        if (std::memcmp(pData + i, pszText, static_cast<std::size_t>(textLength)) == 0)
            return i;
    }
    return -1;
}

// Peeks until the text shows within nLimit bytes. Returns its offset; -1 when the peer
// closed, a whole wait passed without new bytes or the deadline passed; -2 when nLimit bytes
// (or a NUL) arrived without it.
int PeekUntil(IHttpStream& stream, char* pScratch, int nLimit, const char* pszText,
              CReceiveDeadline& deadline)
{
    for (;;)
    {
        int have = stream.PeekBuffered(pScratch, nLimit);
        int at = FindBeforeNul(pScratch, have, pszText);
        if (at >= 0)
            return at;
        if (have >= nLimit ||
            std::memchr(pScratch, '\0', static_cast<std::size_t>(have)) != nullptr)
            return -2;
        if (deadline.Expired())
            return -1;
        int n = stream.Read(pScratch, nLimit, platform::kRecvPeek, deadline.NextWaitMs());
        if (n <= have)
            return -1;
    }
}

// Takes exactly nLength bytes into pOut, waiting as needed.
bool ReadExactly(IHttpStream& stream, char* pOut, std::int64_t nLength, CReceiveDeadline& deadline)
{
    while (nLength > 0)
    {
        if (deadline.Expired())
            return false;
        int ask = nLength < kBodyReadSize ? static_cast<int>(nLength) : kBodyReadSize;
        int n = stream.Read(pOut, ask, 0, deadline.NextWaitMs());
        if (n <= 0)
            return false;
        pOut += n;
        nLength -= n;
    }
    return true;
}

// Grows the text by nLength received bytes without allocating ahead of their arrival.
bool AppendReceived(IHttpStream& stream, std::string& strOut, std::int64_t nLength,
                    CReceiveDeadline& deadline)
{
    char block[kBodyReadSize];
    while (nLength > 0)
    {
        if (deadline.Expired())
            return false;
        int ask = nLength < kBodyReadSize ? static_cast<int>(nLength) : kBodyReadSize;
        int n = stream.Read(block, ask, 0, deadline.NextWaitMs());
        if (n <= 0)
            return false;
        strOut.append(block, static_cast<std::size_t>(n));
        nLength -= n;
    }
    return true;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

} // namespace

CReceiveDeadline::CReceiveDeadline(int nWaitSeconds, std::int64_t nMaxBody) : m_nMaxBody(nMaxBody)
{
    // Waits above a day are a broken setting, not a wish: keep the arithmetic in range.
    if (nWaitSeconds < 0)
        nWaitSeconds = 0;
    if (nWaitSeconds > 86400)
        nWaitSeconds = 86400;
    m_nWaitMs = nWaitSeconds * 1000;
    std::int64_t totalMs = static_cast<std::int64_t>(m_nWaitMs) * kHttpDeadlineWaits;
    if (totalMs < 1000)
        totalMs = 1000;
    m_end = Clock::now() + std::chrono::milliseconds(totalMs);
}

int CReceiveDeadline::NextWaitMs() const
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_end - Clock::now()).count();
    if (left <= 0)
        return 0;
    return left < m_nWaitMs ? static_cast<int>(left) : m_nWaitMs;
}

bool CReceiveDeadline::Expired() const
{
    return Clock::now() >= m_end;
}

int FindContentLength(const std::string& strHeader)
{
    std::size_t at = strHeader.find("Content-Length:");
    if (at == std::string::npos)
        at = strHeader.find("content-length:");
    if (at == std::string::npos)
        return 0;
    // atol: leading blanks, a sign, digits; saturates instead of overflowing.
    return platform::CrtAtol(strHeader.c_str() + at + std::strlen("Content-Length:"));
}

int RecvHttpHeader(IHttpStream& stream, std::string& strHeader, int* pnContentLength,
                   CReceiveDeadline& deadline)
{
    char scratch[kMaxHttpHeader + 1];
    int at = PeekUntil(stream, scratch, kMaxHttpHeader, "\r\n\r\n", deadline);
    if (at < 0)
        return 0;
    int length = at + 4;
    if (length < 1 || length > kMaxHttpHeader)
        return 0;
    // The header is buffered already: this read only consumes it.
    if (stream.Read(scratch, length, 0, deadline.NextWaitMs()) != length)
        return 0;
    strHeader.assign(scratch, static_cast<std::size_t>(length));
    if (pnContentLength != nullptr)
        *pnContentLength = FindContentLength(strHeader);
    return length;
}

bool RecvHttpBody(IHttpStream& stream, std::string& strBody, int nLength,
                  CReceiveDeadline& deadline)
{
    if (nLength <= 0 || nLength > deadline.MaxBody())
        return false;
    // Room for a page at once; a larger body grows as its bytes arrive.
    std::size_t start = strBody.size();
    strBody.reserve(start +
                    static_cast<std::size_t>(nLength < kReserveAhead ? nLength : kReserveAhead));
    if (AppendReceived(stream, strBody, nLength, deadline))
        return true;
    strBody.resize(start);
    return false;
}

std::int64_t ParseChunkSize(const char* pLine, int nLength)
{
    int i = 0;
    while (i < nLength && (pLine[i] == ' ' || pLine[i] == '\t'))
        ++i;
    bool bNegative = false;
    if (i < nLength && (pLine[i] == '+' || pLine[i] == '-'))
        bNegative = pLine[i++] == '-';
    if (i + 1 < nLength && pLine[i] == '0' && (pLine[i + 1] == 'x' || pLine[i + 1] == 'X') &&
        i + 2 < nLength && IsHexDigit(pLine[i + 2]))
        i += 2;
    std::uint64_t value = 0;
    int digits = 0;
    for (; i < nLength && IsHexDigit(pLine[i]); ++i)
    {
        if (++digits > kMaxChunkSizeDigits)
            return 0;
        value = (value << 4) | static_cast<std::uint64_t>(HexValue(pLine[i]));
    }
    if (bNegative || value > static_cast<std::uint64_t>(kMaxHttpChunk))
        return 0;
    return static_cast<std::int64_t>(value);
}

bool RecvHttpChunked(IHttpStream& stream, std::string& strBody, CReceiveDeadline& deadline)
{
    const std::size_t begin = strBody.size();
    bool bAnyChunk = false;
    char line[kMaxChunkSizeLine + 1];
    for (;;)
    {
        std::int64_t size = 0;
        int at = PeekUntil(stream, line, kMaxChunkSizeLine, "\r\n", deadline);
        // An empty line is not a size line.
        if (at == -1 || at == 0 ||
            (at > 0 && stream.Read(line, at + 2, 0, deadline.NextWaitMs()) != at + 2))
            break;
        // A line too long to be a size line (-2) reads as size 0, like a size above the cap.
        if (at > 0)
            size = ParseChunkSize(line, at);
        if (size <= 0)
        {
            if (!bAnyChunk)
                break;
            return true;
        }
        std::size_t start = strBody.size();
        if (static_cast<std::int64_t>(start - begin) + size > deadline.MaxBody())
            break;
        // The chunk and its closing line end; the line end is dropped unexamined.
        strBody.resize(start + static_cast<std::size_t>(size) + 2);
        if (!ReadExactly(stream, &strBody[start], size + 2, deadline))
            break;
        strBody.resize(start + static_cast<std::size_t>(size));
        bAnyChunk = true;
    }
    strBody.resize(begin);
    return false;
}

bool ReceiveHttpAnswer(IHttpStream& stream, std::string& strAnswer, CReceiveDeadline& deadline)
{
    strAnswer.clear();
    int contentLength = 0;
    int headerLength = RecvHttpHeader(stream, strAnswer, &contentLength, deadline);
    if (headerLength == 0)
    {
        strAnswer.clear();
        return false;
    }
    // The body goes straight behind the header; a failed read leaves the header alone.
    if (contentLength > 0)
    {
        if (!RecvHttpBody(stream, strAnswer, contentLength, deadline))
            return false;
    }
    else if (strAnswer.find("Transfer-Encoding: chunked") != std::string::npos)
    {
        if (!RecvHttpChunked(stream, strAnswer, deadline))
            return false;
    }
    // The answer is a C string: a NUL in the body ends it there.
    std::size_t nul = strAnswer.find('\0', static_cast<std::size_t>(headerLength));
    if (nul != std::string::npos)
        strAnswer.resize(nul);
    return true;
}
