#include "gui/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

CDialogUnits::CDialogUnits(const QFont& font)
{
    QFontMetrics fm(font);
    // The average width of the 52 Latin letters, rounded, as the dialog manager measures it.
    int width = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (width / 26 + 1) / 2;
    m_nBaseY = fm.height();
    if (m_nBaseX <= 0)
        m_nBaseX = 1;
    if (m_nBaseY <= 0)
        m_nBaseY = 1;
}

// MulDiv rounding: units * base / divisor, to the nearest pixel.
static int MulDivRound(int a, int b, int c)
{
    return (a * b + c / 2) / c;
}

int CDialogUnits::ToPixelsX(int nUnits) const
{
    return MulDivRound(nUnits, m_nBaseX, 4);
}
int CDialogUnits::ToPixelsY(int nUnits) const
{
    return MulDivRound(nUnits, m_nBaseY, 8);
}

QRect CDialogUnits::ToPixels(int x, int y, int cx, int cy) const
{
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
}

QSize CDialogUnits::ToPixels(int cx, int cy) const
{
    return QSize(ToPixelsX(cx), ToPixelsY(cy));
}

QFont MakeDialogFont(const char* pszFamily, int nPointSize)
{
    QFont font;
    // Where the template's family is missing, a clear Latin face, then Korean faces for the
    // Hangul glyphs the Latin ones lack.
    font.setFamilies(QStringList{QString::fromLatin1(pszFamily), QStringLiteral("DejaVu Sans"),
                                 QStringLiteral("NanumGothic"),
                                 QStringLiteral("NanumBarunGothic")});
    font.setPointSize(nPointSize);
    return font;
}
