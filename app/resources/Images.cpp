// The toolbar images and the icons, drawn here rather than kept as binary files.
#include "Menus.h"

#include <QPainter>
#include <QPainterPath>

namespace resources {

namespace {

constexpr int W = 16;
constexpr int H = 15;

const QColor INK(40, 40, 48);
const QColor PAPER(250, 250, 246);
const QColor FOLDER(226, 178, 60);
const QColor BLUE(40, 90, 170);
const QColor STEEL(150, 156, 170);

void page(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(INK);
    p.setBrush(PAPER);
    p.drawRect(x, y, w, h);
}

void drawNew(QPainter& p)
{
    page(p, 3, 1, 9, 12);
    p.setPen(INK);
    p.drawLine(10, 1, 12, 3);
    p.fillRect(10, 2, 2, 1, INK);
}

void drawOpen(QPainter& p)
{
    p.setPen(INK);
    p.setBrush(FOLDER.darker(115));
    p.drawRect(1, 3, 10, 9);
    p.setBrush(FOLDER);
    p.drawPolygon(QPolygon({QPoint(3, 6), QPoint(14, 6), QPoint(12, 12), QPoint(1, 12)}));
}

void drawSave(QPainter& p)
{
    p.setPen(INK);
    p.setBrush(BLUE);
    p.drawRect(1, 1, 13, 12);
    p.fillRect(4, 2, 8, 5, PAPER);
    p.fillRect(5, 9, 6, 4, STEEL);
}

void drawCut(QPainter& p)
{
    p.setPen(QPen(INK, 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(4, 1, 10, 9);
    p.drawLine(11, 1, 5, 9);
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void drawCopy(QPainter& p)
{
    page(p, 1, 1, 8, 9);
    page(p, 6, 4, 8, 10);
}

void drawPaste(QPainter& p)
{
    p.setPen(INK);
    p.setBrush(FOLDER);
    p.drawRect(1, 2, 10, 12);
    p.fillRect(4, 1, 4, 3, STEEL);
    page(p, 6, 6, 8, 8);
}

void drawPrint(QPainter& p)
{
    page(p, 4, 1, 7, 5);
    p.setPen(INK);
    p.setBrush(STEEL);
    p.drawRect(1, 6, 13, 6);
    page(p, 4, 10, 7, 4);
    p.fillRect(11, 8, 2, 1, BLUE);
}

void drawAbout(QPainter& p)
{
    p.setPen(INK);
    p.setBrush(BLUE);
    p.drawEllipse(1, 0, 13, 13);
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(PAPER);
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

void drawDrawTool(QPainter& p)
{
    // A rectangle being dragged out, with the cross of the pointer at its corner.
    p.setPen(QPen(INK, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, 9, 7);
    p.setPen(BLUE);
    p.drawLine(10, 6, 10, 14);
    p.drawLine(6, 10, 14, 10);
}

void drawSelectTool(QPainter& p)
{
    p.setPen(INK);
    p.setBrush(PAPER);
    p.drawPolygon(QPolygon({QPoint(4, 1), QPoint(4, 12), QPoint(7, 9), QPoint(9, 14),
                            QPoint(11, 13), QPoint(9, 8), QPoint(13, 8)}));
}

// A curved arrow to the left; mirrored, to the right.
void drawTurn(QPainter& p, bool right)
{
    if (right) {
        p.translate(W - 1, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(BLUE, 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(4, 6);
    path.cubicTo(8, 2, 14, 4, 13, 10);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(BLUE);
    p.drawPolygon(QPolygon({QPoint(1, 6), QPoint(6, 2), QPoint(6, 10)}));
}

void drawUndo(QPainter& p)
{
    drawTurn(p, false);
}

void drawRedo(QPainter& p)
{
    drawTurn(p, true);
}

void drawHistory(QPainter& p)
{
    page(p, 2, 1, 11, 13);
    for (int y = 4; y <= 10; y += 3)
        p.fillRect(4, y, 7, 1, y == 10 ? BLUE : STEEL);
}

// A layout screen with two controls: the picture of the program and of its documents.
QPixmap layoutPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const double s = size / 32.0;
    p.scale(s, s);
    p.setPen(QPen(INK, 1.5));
    p.setBrush(PAPER);
    p.drawRect(QRectF(2, 5, 28, 22));
    p.setPen(QPen(BLUE, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6, 9, 10, 6));
    p.setPen(QPen(FOLDER.darker(130), 2));
    p.drawRect(QRectF(12, 18, 14, 5));
    return pixmap;
}

} // namespace

QPixmap ToolbarBitmap()
{
    QPixmap strip(8 * W, H);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    void (*const images[])(QPainter&) = {drawNew,  drawOpen,  drawSave,  drawCut,
                                         drawCopy, drawPaste, drawPrint, drawAbout};
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(i * W, 0);
        p.setClipRect(0, 0, W, H);
        images[i](p);
        p.restore();
    }
    return strip;
}

QPixmap ToolsBitmap()
{
    QPixmap strip(5 * W, H);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    void (*const images[])(QPainter&) = {drawDrawTool, drawSelectTool, drawUndo, drawRedo,
                                         drawHistory};
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(i * W, 0);
        p.setClipRect(0, 0, W, H);
        images[i](p);
        p.restore();
    }
    return strip;
}

QIcon MainIcon()
{
    return QIcon(layoutPicture(32));
}

QIcon LayoutIcon()
{
    QIcon icon(layoutPicture(32));
    icon.addPixmap(layoutPicture(16));
    return icon;
}

} // namespace resources
