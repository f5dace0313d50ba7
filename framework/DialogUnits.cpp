#include "DialogUnits.h"

#include <QFontMetrics>

namespace fw {

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseWidth = (alphabet / 26 + 1) / 2; // the average of 52 letters, rounded
    m_baseHeight = metrics.height();
}

int DialogUnits::X(int units) const
{
    return (units * m_baseWidth + 2) / 4;
}

int DialogUnits::Y(int units) const
{
    return (units * m_baseHeight + 4) / 8;
}

QFont DialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace fw
