#include "web/SocketReader.h"

#include <cstring>

void CSocketReader::Attach(SOCKET s)
{
    m_hSocket = s;
    m_buffer.Free();
}

void CSocketReader::Detach()
{
    m_hSocket = INVALID_SOCKET;
    m_buffer.Free();
}

int CSocketReader::Read(char* pBuffer, int nSize, int nFlags, int nWaitMs)
{
    if (m_hSocket == INVALID_SOCKET || !m_buffer.Allocate())
        return -1;
    bool bPeek = (nFlags & platform::kRecvPeek) != 0;
    int first = m_buffer.Take(pBuffer, nSize, bPeek);
    if (first >= nSize)
        return first;
    int ready = platform::SocketWaitReadable(m_hSocket, nWaitMs);
    if (ready < 0)
        return -1;
    if (ready == 0)
        return first;
    char* pFill = m_buffer.FillPointer();
    int n = platform::SocketRecv(m_hSocket, pFill, m_buffer.SpaceLeft(), 0);
    if (n <= 0)
    {
        // A readable socket that has nothing to give after all: report the wait as empty.
        if (n < 0 && platform::SocketLastErrorWouldBlock())
            return first;
        return -1;
    }
    int missing = nSize - first;
    int copied = n < missing ? n : missing;
    std::memcpy(pBuffer + first, pFill, static_cast<std::size_t>(copied));
    m_buffer.Added(n, bPeek ? 0 : copied);
    return first + copied;
}
