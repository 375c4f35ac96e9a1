// The read buffer of a connection: bytes received but not yet handed out, so that a caller
// can peek at a header and read past it later without asking the socket twice.
#pragma once

#include <memory>

class CReadBuffer
{
public:
    // 32768 bytes: two reads of 16384 (the largest TLS record) fit behind each other.
    static constexpr int kSize = 32768;
    // Unread bytes are moved to the front once the position reaches half the buffer.
    static constexpr int kCompactAt = 16384;

    bool Exists() const { return m_pData != nullptr; }
    // Allocates the block on first use; false when that failed.
    bool Allocate();
    void Free();

    int Unread() const { return m_nFill - m_nPosition; }
    // Copies up to nSize unread bytes; without bPeek they are consumed (and the buffer
    // compacted by the rule above). Returns the count.
    int Take(char* pBuffer, int nSize, bool bPeek);

    // Where the next received bytes go, and how many fit. Moves unread bytes to the front
    // first when less than one full read of kCompactAt bytes would fit behind them.
    char* FillPointer();
    int SpaceLeft() const { return kSize - m_nFill; }
    // Records nCount bytes received at FillPointer(); without bPeek nConsumed of them were
    // handed out at once.
    void Added(int nCount, int nConsumed);

private:
    std::unique_ptr<char[]> m_pData;
    int m_nPosition = 0;
    int m_nFill = 0;
};
