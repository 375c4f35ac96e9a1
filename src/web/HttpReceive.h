// Receiving one HTTP answer: the header, a Content-Length body and a chunked body, read
// as the bytes arrive, each wait bounded and the whole exchange under one deadline.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "web/HttpStream.h"

// Longest header read: with its blank line it must fit in 4095 bytes.
constexpr int kMaxHttpHeader = 4095;
// Largest single chunk; a larger size line ends the body like a size of 0.
constexpr std::int64_t kMaxHttpChunk = 1048576;
// Largest whole body (Content-Length or the sum of the chunks): a recorder page is far
// smaller, and a larger answer fails before anything is allocated for it.
constexpr std::int64_t kMaxHttpBody = 64 * 1024 * 1024;
// The whole answer must arrive within this many configured waits (at least one second),
// so that a peer trickling bytes just inside each wait cannot hold a request for ever.
constexpr int kHttpDeadlineWaits = 4;

// The time budget of one exchange: every wait for more bytes is at most the configured
// wait and never beyond the overall deadline.
class CReceiveDeadline
{
public:
    explicit CReceiveDeadline(int nWaitSeconds, std::int64_t nMaxBody = kMaxHttpBody);

    // The wait for the next bytes in milliseconds (0 once the deadline has passed).
    int NextWaitMs() const;
    bool Expired() const;
    int WaitMs() const { return m_nWaitMs; }
    std::int64_t MaxBody() const { return m_nMaxBody; }

private:
    int m_nWaitMs;
    std::chrono::steady_clock::time_point m_end;
    std::int64_t m_nMaxBody;
};

// The value of "Content-Length:" (else "content-length:"; no other spelling) in a header:
// leading blanks, a sign and the digits; absent or no digits give 0.
int FindContentLength(const std::string& strHeader);

// The header up to and including its blank line, taken from the stream (the body stays
// buffered). Returns its length, or 0 when no complete header arrives.
int RecvHttpHeader(IHttpStream& stream, std::string& strHeader, int* pnContentLength,
                   CReceiveDeadline& deadline);

// Appends exactly nLength body bytes; false, the text as it was, when they do not all
// arrive or exceed the cap.
bool RecvHttpBody(IHttpStream& stream, std::string& strBody, int nLength,
                  CReceiveDeadline& deadline);

// Appends the decoded chunks up to the first size of 0; false, the text as it was, when no
// chunk came, a chunk is incomplete or the sum exceeds the cap. Trailers are not read.
bool RecvHttpChunked(IHttpStream& stream, std::string& strBody, CReceiveDeadline& deadline);

// A chunk size line (without its line end) as a number: leading blanks, a sign, an optional
// 0x and the hex digits up to the first other character. More than 16 digits, or a value
// above the chunk cap, give 0.
std::int64_t ParseChunkSize(const char* pLine, int nLength);

// The answer after the request was sent: the header, then a Content-Length body (which
// wins) or a chunked one. NUL bytes cut the answer there. False when the header or the body
// is incomplete; the answer then holds nothing or the header alone.
bool ReceiveHttpAnswer(IHttpStream& stream, std::string& strAnswer, CReceiveDeadline& deadline);
