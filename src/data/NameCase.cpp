#include "data/NameCase.h"

namespace
{

bool IsLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool IsTrailByte(unsigned char c)
{
    return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE);
}

// Small form of a double-byte capital; the character itself when it has none.
void LowerDoubleByte(unsigned char& lead, unsigned char& trail)
{
    switch (lead)
    {
    case 0xA3: // full-width Latin capitals
        if (trail >= 0xC1 && trail <= 0xDA)
            trail = static_cast<unsigned char>(trail + 0x20);
        break;
    case 0xA5:
        if (trail >= 0xB0 && trail <= 0xB9) // Roman numerals
            trail = static_cast<unsigned char>(trail - 0x0F);
        else if (trail >= 0xC1 && trail <= 0xD8) // Greek capitals
            trail = static_cast<unsigned char>(trail + 0x20);
        break;
    case 0xA7: // the ohm sign's small form is the Greek omega
        if (trail == 0xD9)
        {
            lead = 0xA5;
            trail = 0xF8;
        }
        break;
    case 0xA8: // Latin capitals of row 8; their small forms sit in row 9
        switch (trail)
        {
        case 0xA1:
        case 0xA4:
        case 0xA6:
        case 0xA8:
        case 0xA9:
        case 0xAA:
        case 0xAB:
        case 0xAD:
        case 0xAE:
        case 0xAF:
            lead = 0xA9;
            break;
        case 0xA2: // eth; row 9 holds d with stroke before it
            lead = 0xA9;
            trail = 0xA3;
            break;
        default:
            break;
        }
        break;
    case 0xAC: // Cyrillic capitals
        if (trail >= 0xA1 && trail <= 0xC1)
            trail = static_cast<unsigned char>(trail + 0x30);
        break;
    default:
        break;
    }
}

} // namespace

std::string LowerCp949Name(const std::string& strName)
{
    std::string strOut = strName;
    for (size_t i = 0; i < strOut.size(); ++i)
    {
        unsigned char c = static_cast<unsigned char>(strOut[i]);
        if (IsLeadByte(c) && i + 1 < strOut.size() &&
            IsTrailByte(static_cast<unsigned char>(strOut[i + 1])))
        {
            unsigned char lead = c;
            unsigned char trail = static_cast<unsigned char>(strOut[i + 1]);
            LowerDoubleByte(lead, trail);
            strOut[i] = static_cast<char>(lead);
            strOut[i + 1] = static_cast<char>(trail);
            ++i;
        }
        else if (c >= 'A' && c <= 'Z')
            strOut[i] = static_cast<char>(c + ('a' - 'A'));
    }
    return strOut;
}
