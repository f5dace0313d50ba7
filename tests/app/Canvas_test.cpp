#include "LayoutPainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>

namespace {

const QRgb WHITE = qRgb(255, 255, 255);
const QRgb DARK = qRgb(64, 0, 0);
const QRgb BRIGHT = qRgb(255, 0, 0);

LayoutControl control(float x1, float y1, float x2, float y2)
{
    LayoutControl c;
    c.m_x1 = x1;
    c.m_y1 = y1;
    c.m_x2 = x2;
    c.m_y2 = y2;
    return c;
}

QImage render(const std::vector<LayoutControl>& controls, const LayoutControl* current)
{
    QImage image(840, 640, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintLayout(painter, image.rect(), controls, current);
    return image;
}

// Counts the pixels of one colour and checks that they all lie on the outline from (l, t) to (r,
// b).
bool onlyOutline(const QImage& image, QRgb colour, int l, int t, int r, int b)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool edge = (x >= l && x <= r && (y == t || y == b)) ||
                              (y >= t && y <= b && (x == l || x == r));
            if ((image.pixel(x, y) == colour) != edge)
                return false;
        }
    return true;
}

} // namespace

TEST(CanvasPicture, EmptyLayoutShowsOnlyTheScreenFrame)
{
    const QImage image = render({}, nullptr);
    EXPECT_TRUE(onlyOutline(image, DARK, 20, 20, 819, 619));
    EXPECT_EQ(image.pixel(820, 620), WHITE);
    EXPECT_EQ(image.pixel(21, 21), WHITE);
}

TEST(CanvasPicture, ControlsMapByTruncationAndTheCurrentOneIsDrawnLast)
{
    std::vector<LayoutControl> controls = {control(10.9f, 0.0f, 110.2f, 50.99f)};
    QImage image = render(controls, nullptr);
    EXPECT_EQ(image.pixel(30, 20), DARK);
    EXPECT_EQ(image.pixel(129, 69), DARK);
    EXPECT_EQ(image.pixel(130, 70), WHITE);
    EXPECT_EQ(image.pixel(31, 21), WHITE) << "no fill";
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 840; ++x)
            ASSERT_NE(image.pixel(x, y), BRIGHT) << "no highlight without a current control";

    // The current control overlaps the frame (its top edge is the frame's) and another control.
    controls.push_back(control(50, 10, 150, 100));
    image = render(controls, &controls[0]);
    EXPECT_EQ(image.pixel(60, 20), BRIGHT) << "bright above the frame";
    EXPECT_EQ(image.pixel(129, 40), BRIGHT) << "bright above the other control";
    EXPECT_EQ(image.pixel(169, 60), DARK) << "the other control stays dark";
    EXPECT_EQ(image.pixel(500, 20), DARK) << "the frame stays dark away from the control";

    // Corners are not reordered: a control dragged up and left is outlined the same.
    std::vector<LayoutControl> reversed = {control(110.2f, 50.99f, 10.9f, 0.0f)};
    const QImage again = render(reversed, nullptr);
    EXPECT_EQ(again.pixel(30, 20), DARK);
    EXPECT_EQ(again.pixel(129, 69), DARK);
}

TEST(CanvasPicture, OffScreenAndNonFiniteCoordinates)
{
    EXPECT_EQ(CanvasPixel(-25.5f), -5);
    EXPECT_EQ(CanvasPixel(10.9f), 30);
    EXPECT_EQ(CanvasPixel(std::numeric_limits<float>::quiet_NaN()),
              std::numeric_limits<int>::min());
    EXPECT_EQ(CanvasPixel(1e30f), FAR_AFTER) << "beyond the int range, on its own side";

    std::vector<LayoutControl> controls = {
        control(-25.5f, 5, 100, 900), control(std::numeric_limits<float>::quiet_NaN(), 0, 5, 5),
        control(-1e30f, -1e30f, 1e30f, 1e30f), control(5, 5, 5, 50)};
    const QImage image = render(controls, &controls[1]);
    EXPECT_EQ(image.pixel(0, 300), WHITE) << "the left edge at -5 is outside the image";
    EXPECT_EQ(image.pixel(119, 300), DARK);
    EXPECT_EQ(image.pixel(25, 40), WHITE) << "a control of no width is not drawn";
}
