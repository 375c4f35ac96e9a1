// The buffered reader over a plain TCP socket, with the same read contract as the secure
// socket, so that one set of HTTP receive routines serves both.
#pragma once

#include "platform/Socket.h"
#include "web/HttpStream.h"
#include "web/ReadBuffer.h"

class CSocketReader : public IHttpStream
{
public:
    // The socket is not owned; Detach before the owner closes it.
    void Attach(SOCKET s);
    void Detach();

    int Read(char* pBuffer, int nSize, int nFlags, int nWaitMs) override;
    int PeekBuffered(char* pBuffer, int nSize) override
    {
        return m_buffer.Take(pBuffer, nSize, true);
    }

private:
    SOCKET m_hSocket = INVALID_SOCKET;
    CReadBuffer m_buffer;
};
