#include "web/ReadBuffer.h"

#include <cstring>
#include <new>

bool CReadBuffer::Allocate()
{
    if (m_pData)
        return true;
    m_pData.reset(new (std::nothrow) char[kSize]);
    m_nPosition = m_nFill = 0;
    return m_pData != nullptr;
}

void CReadBuffer::Free()
{
    m_pData.reset();
    m_nPosition = m_nFill = 0;
}

int CReadBuffer::Take(char* pBuffer, int nSize, bool bPeek)
{
    int unread = Unread();
    if (!m_pData || unread <= 0)
    {
        m_nPosition = m_nFill = 0;
        return 0;
    }
    int count = nSize < unread ? nSize : unread;
    if (count <= 0)
        return 0;
    std::memcpy(pBuffer, m_pData.get() + m_nPosition, static_cast<std::size_t>(count));
    if (bPeek)
        return count;
    m_nPosition += count;
    if (m_nPosition == m_nFill)
        m_nPosition = m_nFill = 0;
    else if (m_nPosition >= kCompactAt)
    {
        std::memmove(m_pData.get(), m_pData.get() + m_nPosition,
                     static_cast<std::size_t>(m_nFill - m_nPosition));
        m_nFill -= m_nPosition;
        m_nPosition = 0;
    }
    return count;
}

char* CReadBuffer::FillPointer()
{
    if (SpaceLeft() < kCompactAt && m_nPosition > 0)
    {
        std::memmove(m_pData.get(), m_pData.get() + m_nPosition,
                     static_cast<std::size_t>(m_nFill - m_nPosition));
        m_nFill -= m_nPosition;
        m_nPosition = 0;
    }
    return m_pData.get() + m_nFill;
}

void CReadBuffer::Added(int nCount, int nConsumed)
{
    m_nFill += nCount;
    m_nPosition += nConsumed;
    if (m_nPosition == m_nFill)
        m_nPosition = m_nFill = 0;
}
