// What the HTTP receive routines read from: a connection with its own read buffer.
#pragma once

class IHttpStream
{
public:
    virtual ~IHttpStream() = default;

    // Hands out buffered bytes first; when they do not fill the request, waits once (at
    // most nWaitMs) for more and adds what one receive brings. Returns the count (0 when
    // nothing arrived within the wait), or -1 on an error or when the peer has closed.
    // With platform::kRecvPeek the bytes stay unread and a later call returns them again.
    virtual int Read(char* pBuffer, int nSize, int nFlags, int nWaitMs) = 0;
    // Copies up to nSize buffered bytes without consuming them and without touching the
    // connection, so a caller can look for a line end before it waits for more.
    virtual int PeekBuffered(char* pBuffer, int nSize) = 0;
};
