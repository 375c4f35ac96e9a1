// Dialog units to pixels, the way dialog templates are laid out: one horizontal unit is a
// quarter of the font's average character width, one vertical unit an eighth of its height.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font);

    int ToPixelsX(int nUnits) const;
    int ToPixelsY(int nUnits) const;
    QRect ToPixels(int x, int y, int cx, int cy) const;
    QSize ToPixels(int cx, int cy) const;

    int BaseUnitX() const { return m_nBaseX; }
    int BaseUnitY() const { return m_nBaseY; }

private:
    int m_nBaseX;
    int m_nBaseY;
};

// The dialog font of a template: the named family at a point size, with a Korean fallback
// where the family has no Hangul (or is not installed).
QFont MakeDialogFont(const char* pszFamily, int nPointSize);
