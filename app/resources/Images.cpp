// The toolbar images and the icons, drawn here rather than kept as binary files.
#include "Menus.h"

#include <QPainter>
#include <QPainterPath>

#include <initializer_list>

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

void drawNames(QPainter& p)
{
    // A control with a line of writing at its top left.
    p.setPen(INK);
    p.setBrush(PAPER);
    p.drawRect(1, 2, 13, 11);
    p.fillRect(3, 4, 7, 2, BLUE);
    p.fillRect(3, 7, 4, 1, STEEL);
}

// Arranging: bars in blue against a guide line in ink.
void bar(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(INK);
    p.setBrush(BLUE);
    p.drawRect(x, y, w - 1, h - 1);
}

void drawGrid(QPainter& p)
{
    for (int y = 1; y < H; y += 4)
        for (int x = 1; x < W; x += 4)
            p.fillRect(x, y, 2, 2, x == 9 && y == 5 ? BLUE : INK);
}

void drawAlignLeft(QPainter& p)
{
    p.fillRect(1, 0, 1, H, INK);
    bar(p, 3, 2, 10, 4);
    bar(p, 3, 9, 6, 4);
}

void drawAlignHorizontalCentre(QPainter& p)
{
    bar(p, 2, 2, 12, 4);
    bar(p, 5, 9, 6, 4);
    p.fillRect(7, 0, 2, H, INK);
}

void drawAlignRight(QPainter& p)
{
    p.fillRect(14, 0, 1, H, INK);
    bar(p, 3, 2, 10, 4);
    bar(p, 7, 9, 6, 4);
}

void drawAlignTop(QPainter& p)
{
    p.fillRect(0, 1, W, 1, INK);
    bar(p, 2, 3, 4, 10);
    bar(p, 9, 3, 4, 6);
}

void drawAlignVerticalCentre(QPainter& p)
{
    bar(p, 2, 1, 4, 13);
    bar(p, 9, 4, 4, 7);
    p.fillRect(0, 7, W, 1, INK);
}

void drawAlignBottom(QPainter& p)
{
    p.fillRect(0, 13, W, 1, INK);
    bar(p, 2, 2, 4, 10);
    bar(p, 9, 6, 4, 6);
}

void drawDistributeHorizontally(QPainter& p)
{
    bar(p, 0, 3, 3, 9);
    bar(p, 6, 3, 4, 9);
    bar(p, 13, 3, 3, 9);
    p.fillRect(3, 7, 3, 1, STEEL);
    p.fillRect(10, 7, 3, 1, STEEL);
}

void drawDistributeVertically(QPainter& p)
{
    bar(p, 3, 0, 10, 3);
    bar(p, 3, 6, 10, 3);
    bar(p, 3, 12, 10, 3);
    p.fillRect(8, 3, 1, 3, STEEL);
    p.fillRect(8, 9, 1, 3, STEEL);
}

void drawSameWidth(QPainter& p)
{
    bar(p, 2, 1, 12, 4);
    bar(p, 2, 9, 12, 4);
    p.fillRect(1, 7, 14, 1, INK);
}

void drawSameHeight(QPainter& p)
{
    bar(p, 1, 1, 4, 13);
    bar(p, 9, 1, 4, 13);
    p.fillRect(7, 1, 1, 13, INK);
}

void drawSameSize(QPainter& p)
{
    bar(p, 1, 1, 6, 6);
    bar(p, 9, 8, 6, 6);
    p.fillRect(7, 7, 2, 1, INK);
}

void drawDuplicate(QPainter& p)
{
    page(p, 1, 1, 8, 9);
    page(p, 5, 4, 8, 9);
    p.fillRect(8, 8, 3, 1, BLUE);
    p.fillRect(9, 7, 1, 3, BLUE);
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

// Images side by side, each W by H and drawn within its own square.
QPixmap strip(std::initializer_list<void (*)(QPainter&)> images)
{
    QPixmap strip(static_cast<int>(images.size()) * W, H);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    int x = 0;
    for (auto draw : images) {
        p.save();
        p.translate(x, 0);
        p.setClipRect(0, 0, W, H);
        draw(p);
        p.restore();
        x += W;
    }
    return strip;
}

} // namespace

QPixmap ToolbarBitmap()
{
    return strip({drawNew, drawOpen, drawSave, drawCut, drawCopy, drawPaste, drawPrint, drawAbout});
}

QPixmap ToolsBitmap()
{
    return strip({drawDrawTool, drawSelectTool, drawUndo, drawRedo, drawHistory, drawNames});
}

QPixmap ArrangeBitmap()
{
    return strip({drawGrid, drawAlignLeft, drawAlignHorizontalCentre, drawAlignRight, drawAlignTop,
                  drawAlignVerticalCentre, drawAlignBottom, drawDistributeHorizontally,
                  drawDistributeVertically, drawSameWidth, drawSameHeight, drawSameSize,
                  drawDuplicate});
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
