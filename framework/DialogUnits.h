// Dialog templates are laid out in dialog units, which scale with the dialog's font.
#pragma once

#include <QFont>
#include <QRect>

namespace fw {

// Horizontal units are a quarter of the font's average character width, vertical units an
// eighth of its height.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);
    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const
    {
        return QRect(X(x), Y(y), X(width), Y(height));
    }
    int BaseWidth() const { return m_baseWidth; }
    int BaseHeight() const { return m_baseHeight; }

private:
    int m_baseWidth;
    int m_baseHeight;
};

// The 8-point dialog font, or the closest the system has.
QFont DialogFont();

} // namespace fw
