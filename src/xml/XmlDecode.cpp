#include "xml/XmlDecode.h"

#include <cstring>
#include <vector>

void XmlEntityTable::Add(std::string strName, std::string strValue)
{
    if (strName.size() > longest)
        longest = strName.size();
    if (strName.find(';') + 1 < strName.size())
        innerSemicolon = true;
    size_t nOrdinal = entries.size();
    entries.push_back(XmlEntity{std::move(strName), std::move(strValue), nOrdinal});
    index.emplace(std::string_view(entries.back().name), nOrdinal);
}

char* XmlNormalizeLineEnds(char* pszStart, char* pszEnd)
{
    char* r =
        static_cast<char*>(std::memchr(pszStart, '\r', static_cast<size_t>(pszEnd - pszStart)));
    if (!r)
        return pszEnd;
    char* w = r;
    while (r < pszEnd)
    {
        char c = *r++;
        if (c == '\r')
        {
            c = '\n';
            if (r < pszEnd && *r == '\n')
                ++r;
        }
        *w++ = c;
    }
    *w = '\0';
    return w;
}

void XmlAppendUtf8(std::string& strOut, unsigned long nValue)
{
    if (nValue < 0x80)
    {
        strOut += static_cast<char>(nValue);
        return;
    }
    // Lead byte carries the top bits, then one continuation byte per 6 bits.
    int nCont = nValue < 0x800       ? 1
                : nValue < 0x10000   ? 2
                : nValue < 0x200000  ? 3
                : nValue < 0x4000000 ? 4
                                     : 5;
    static const unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
    strOut += static_cast<char>(kLead[nCont] | (nValue >> (6 * nCont)));
    for (int i = nCont - 1; i >= 0; --i)
        strOut += static_cast<char>(0x80 | ((nValue >> (6 * i)) & 0x3F));
}

namespace
{

bool IsDecodeSpace(char c)
{
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == ' ';
}

bool IsSeparator(char c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// Budget bytes charged per entity expansion besides the inserted text.
constexpr size_t kExpansionOverhead = 16;

// The text still to be read: the piece itself at the bottom, inserted entity values above it.
struct Frame
{
    const char* p;
    const char* end;
};

class CDecoder
{
public:
    CDecoder(char* pszStart, char* pszEnd, XmlDecodeMode eMode, const XmlDecodeContext& context,
             XmlDecoded& result)
        : m_pszStart(pszStart), m_pWrite(pszStart), m_eMode(eMode), m_context(context),
          m_result(result)
    {
        m_frames.push_back(Frame{pszStart, pszEnd});
    }

    bool Run();

private:
    char Peek(size_t nOffset) const;
    void Advance(size_t nCount);
    void Emit(char c);
    void EmitRun(const char* p, size_t nCount);
    void EmitUtf8(unsigned long nValue);
    bool TryCharReference();
    // 1 when a reference was expanded, 0 when none matched, -1 when over budget.
    int TryEntityReference(const XmlEntityTable& table);
    void SwitchToOwned();
    void CollapseSpaces();

    char* m_pszStart;
    char* m_pWrite; // write position while decoding in place
    XmlDecodeMode m_eMode;
    const XmlDecodeContext& m_context;
    XmlDecoded& m_result;
    std::vector<Frame> m_frames;
    std::string m_strLookahead;
};

char CDecoder::Peek(size_t nOffset) const
{
    for (size_t i = m_frames.size(); i-- > 0;)
    {
        size_t nLen = static_cast<size_t>(m_frames[i].end - m_frames[i].p);
        if (nOffset < nLen)
            return m_frames[i].p[nOffset];
        nOffset -= nLen;
    }
    return '\0';
}

void CDecoder::Advance(size_t nCount)
{
    while (nCount > 0 && !m_frames.empty())
    {
        Frame& f = m_frames.back();
        size_t nLen = static_cast<size_t>(f.end - f.p);
        size_t nTake = nCount < nLen ? nCount : nLen;
        f.p += nTake;
        nCount -= nTake;
        if (f.p == f.end && m_frames.size() > 1)
            m_frames.pop_back();
        else if (nTake == 0)
            break;
    }
}

void CDecoder::SwitchToOwned()
{
    m_result.owned = true;
    m_result.storage.assign(m_pszStart, static_cast<size_t>(m_pWrite - m_pszStart));
}

void CDecoder::Emit(char c)
{
    if (!m_result.owned)
    {
        // In place only while the write position stays behind the unread part of the piece.
        if (m_pWrite < m_frames.front().p)
        {
            *m_pWrite++ = c;
            return;
        }
        SwitchToOwned();
    }
    m_result.storage += c;
}

void CDecoder::EmitRun(const char* p, size_t nCount)
{
    if (!m_result.owned)
    {
        if (m_pWrite + nCount <= m_frames.front().p)
        {
            std::memmove(m_pWrite, p, nCount);
            m_pWrite += nCount;
            return;
        }
        SwitchToOwned();
    }
    m_result.storage.append(p, nCount);
}

void CDecoder::EmitUtf8(unsigned long nValue)
{
    std::string strBytes;
    XmlAppendUtf8(strBytes, nValue);
    for (char c : strBytes)
        Emit(c);
}

bool CDecoder::TryCharReference()
{
    // "&#" digits ";" or "&#x" hex digits ";"; anything else leaves the text as it is.
    size_t i = 2;
    bool bHex = false;
    if (Peek(2) == 'x')
    {
        bHex = true;
        i = 3;
    }
    unsigned long nValue = 0;
    bool bTooLarge = false;
    size_t nDigits = 0;
    for (;; ++i, ++nDigits)
    {
        char c = Peek(i);
        unsigned nDigit;
        if (c >= '0' && c <= '9')
            nDigit = static_cast<unsigned>(c - '0');
        else if (bHex && c >= 'a' && c <= 'f')
            nDigit = static_cast<unsigned>(c - 'a' + 10);
        else if (bHex && c >= 'A' && c <= 'F')
            nDigit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        nValue = nValue * (bHex ? 16 : 10) + nDigit;
        // Beyond 31 bits no UTF-8 form exists; such a reference is left unchanged.
        if (nValue > 0x7FFFFFFFul)
        {
            bTooLarge = true;
            nValue = 0x7FFFFFFFul;
        }
    }
    if (nDigits == 0 || Peek(i) != ';' || nValue == 0 || bTooLarge)
        return false;
    Advance(i + 1);
    EmitUtf8(nValue);
    return true;
}

int CDecoder::TryEntityReference(const XmlEntityTable& table)
{
    if (table.entries.empty())
        return 0;
    // The text after the marker, as far as the longest stored name reaches: a view of the
    // current frame when it holds all of it, else gathered across the frames.
    const Frame& f = m_frames.back();
    size_t nAvailable = static_cast<size_t>(f.end - f.p) - 1;
    size_t nWant = table.longest < nAvailable ? table.longest : nAvailable;
    std::string_view ahead(f.p + 1, nWant);
    size_t nStop = ahead.find_first_of(table.innerSemicolon ? std::string_view("\t\n\r ", 4)
                                                            : std::string_view(";\t\n\r ", 5));
    if (nStop == std::string_view::npos && nWant < table.longest && m_frames.size() > 1)
    {
        m_strLookahead.clear();
        for (size_t i = 1; i <= table.longest; ++i)
        {
            char c = Peek(i);
            if (c == '\0' || IsSeparator(c))
                break;
            m_strLookahead += c;
            if (c == ';' && !table.innerSemicolon)
                break;
        }
        ahead = m_strLookahead;
    }
    else if (nStop != std::string_view::npos)
        ahead = ahead.substr(0, ahead[nStop] == ';' ? nStop + 1 : nStop);
    if (*m_context.budget < ahead.size())
        return -1;
    *m_context.budget -= ahead.size();
    const XmlEntity* pEntity = XmlMatchEntity(table, ahead);
    if (!pEntity)
        return 0;
    // Each expansion also costs a fixed amount, so that chains of tiny entities fail as soon.
    size_t nCost = pEntity->value.size() + kExpansionOverhead;
    if (*m_context.budget < nCost)
        return -1;
    *m_context.budget -= nCost;
    Advance(1 + pEntity->name.size());
    // Scanning goes on at the start of the inserted text.
    if (!pEntity->value.empty())
        m_frames.push_back(
            Frame{pEntity->value.data(), pEntity->value.data() + pEntity->value.size()});
    return 1;
}

void CDecoder::CollapseSpaces()
{
    char* pText = m_result.owned ? &m_result.storage[0] : m_pszStart;
    size_t nLen =
        m_result.owned ? m_result.storage.size() : static_cast<size_t>(m_pWrite - m_pszStart);
    size_t w = 0;
    for (size_t r = 0; r < nLen; ++r)
    {
        if (pText[r] == ' ' && (w == 0 || pText[w - 1] == ' '))
            continue;
        pText[w++] = pText[r];
    }
    if (w > 0 && pText[w - 1] == ' ')
        --w;
    if (m_result.owned)
        m_result.storage.resize(w);
    else
        m_pWrite = m_pszStart + w;
}

bool CDecoder::Run()
{
    bool bSpaces = m_eMode == XmlDecodeMode::kSpace || m_eMode == XmlDecodeMode::kStar;
    bool bPercent = m_eMode == XmlDecodeMode::kPercent;
    while (!m_frames.empty())
    {
        Frame& f = m_frames.back();
        if (f.p >= f.end)
        {
            if (m_frames.size() == 1)
                break;
            m_frames.pop_back();
            continue;
        }
        char c = *f.p;
        if (c == '&' && Peek(1) == '#')
        {
            if (TryCharReference())
                continue;
        }
        else if ((c == '&' && !bPercent) || (c == '%' && bPercent))
        {
            const XmlEntityTable* pTable = bPercent ? m_context.parameters : m_context.general;
            int nRc = pTable ? TryEntityReference(*pTable) : 0;
            if (nRc < 0)
                return false;
            if (nRc > 0)
                continue;
        }
        if (bSpaces && IsDecodeSpace(c))
        {
            Advance(1);
            Emit(' ');
            continue;
        }
        // A run of plain bytes is copied at once.
        const char* pRun = f.p;
        const char* q = f.p + 1;
        while (q < f.end && *q != '&' && !(bPercent && *q == '%') &&
               !(bSpaces && IsDecodeSpace(*q)))
            ++q;
        size_t nRun = static_cast<size_t>(q - pRun);
        bool bBase = m_frames.size() == 1;
        Advance(nRun);
        if (bBase && !m_result.owned)
        {
            // Reading the piece itself: the write position stays behind the read position.
            std::memmove(m_pWrite, pRun, nRun);
            m_pWrite += nRun;
        }
        else
            EmitRun(pRun, nRun);
    }
    if (m_eMode == XmlDecodeMode::kStar)
        CollapseSpaces();
    if (m_result.owned)
    {
        m_result.text = m_result.storage.c_str();
        m_result.length = m_result.storage.size();
    }
    else
    {
        *m_pWrite = '\0';
        m_result.text = m_pszStart;
        m_result.length = static_cast<size_t>(m_pWrite - m_pszStart);
    }
    return true;
}

bool NeedsDecoding(const char* p, const char* pEnd, XmlDecodeMode eMode)
{
    for (; p < pEnd; ++p)
    {
        char c = *p;
        if (c == '&')
            return true;
        if (eMode == XmlDecodeMode::kPercent && c == '%')
            return true;
        if ((eMode == XmlDecodeMode::kSpace || eMode == XmlDecodeMode::kStar) &&
            (IsDecodeSpace(c) && (c != ' ' || eMode == XmlDecodeMode::kStar)))
            return true;
    }
    return false;
}

} // namespace

const XmlEntity* XmlMatchEntity(const XmlEntityTable& table, std::string_view text)
{
    const XmlEntity* pBest = nullptr;
    size_t nBest = 0;
    for (size_t i = 0; i < text.size() && text[i]; ++i)
    {
        if (text[i] != ';')
            continue;
        auto it = table.index.find(text.substr(0, i + 1));
        if (it != table.index.end() && (!pBest || it->second < nBest))
        {
            pBest = &table.entries[it->second];
            nBest = it->second;
        }
        if (!table.innerSemicolon)
            break;
    }
    return pBest;
}

bool XmlDecodeText(char* pszStart, char* pszEnd, XmlDecodeMode eMode,
                   const XmlDecodeContext& context, XmlDecoded& result)
{
    result.owned = false;
    result.storage.clear();
    pszEnd = XmlNormalizeLineEnds(pszStart, pszEnd);
    if (eMode == XmlDecodeMode::kCdata || !NeedsDecoding(pszStart, pszEnd, eMode))
    {
        *pszEnd = '\0';
        result.text = pszStart;
        result.length = static_cast<size_t>(pszEnd - pszStart);
        return true;
    }
    CDecoder decoder(pszStart, pszEnd, eMode, context, result);
    return decoder.Run();
}
