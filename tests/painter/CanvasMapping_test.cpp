// Layout coordinates to device pixels, and the outlines drawn from them, at the ends of the
// int range.
#include "LayoutPainter.h"
#include "support/LayoutRecords.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

using testing_support::box;

namespace {

constexpr float INF = std::numeric_limits<float>::infinity();
const QRgb WHITE = qRgb(255, 255, 255);
const QRgb DARK = OUTLINE_COLOUR.rgb();

// The same picture both ways the program draws it: through QPainter and straight into the
// pixels.
std::pair<QImage, QImage> bothPictures(const std::vector<LayoutControl>& controls,
                                       const CanvasMapping& mapping = {})
{
    QImage painted(840, 640, QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
        QPainter painter(&painted);
        PaintLayout(painter, painted.rect(), controls, {}, -1, mapping);
    }
    QImage written(840, 640, QImage::Format_RGB32);
    written.fill(Qt::white);
    OutlineWriter writer(written, mapping);
    writer.Screen(DARK);
    for (const LayoutControl& c : controls)
        writer.Control(c, DARK);
    return {painted, written};
}

} // namespace

TEST(CanvasMapping, ValuesBeyondTheIntRangeKeepTheirSide)
{
    for (float huge : {3e38f, 2147483648.0f, 1e10f, INF, std::numeric_limits<float>::max()}) {
        EXPECT_EQ(CanvasPixel(huge), FAR_AFTER) << huge;
        EXPECT_EQ(CanvasPixel(-huge), FAR_BEFORE) << -huge;
    }
    EXPECT_EQ(CanvasPixel(std::numeric_limits<float>::quiet_NaN()), INT_MIN);
    EXPECT_EQ(CanvasPixel(-std::numeric_limits<float>::quiet_NaN()), INT_MIN);
    EXPECT_GT(FAR_BEFORE, INT_MIN) << "INT_MIN means no place: only NaN has none";

    // Zoomed and panned: a sum that leaves the int range only through the zoom or the origin.
    const CanvasMapping twice{2.0, 0, 0};
    EXPECT_EQ(twice.X(2e9f), FAR_AFTER);
    EXPECT_EQ(twice.Y(-2e9f), FAR_BEFORE);
    EXPECT_EQ(twice.X(1000.0f), 2040);
    const CanvasMapping farRight{1.0, INT_MAX - 100, INT_MIN + 100};
    EXPECT_EQ(farRight.X(1000.0f), FAR_AFTER);
    EXPECT_EQ(farRight.Y(-1000.0f), FAR_BEFORE);
    EXPECT_EQ(farRight.X(-1000.0f), INT_MAX - 100 - 980);
    EXPECT_EQ(CanvasMapping({0.5, 3, 4}).X(std::numeric_limits<float>::quiet_NaN()), INT_MIN);
}

// At zoom 1 every sum an int holds maps as it always did: truncated toward zero.
TEST(CanvasMapping, EveryIntSumMapsExactlyAtZoomOne)
{
    std::vector<float> values = {-25.5f,        10.9f,          0.0f,          -0.0f,
                                 -20.0f,        -20.99f,        -21.0f,        2147483520.0f - 20,
                                 2147483520.0f, -2147483520.0f, 2147483392.0f, -2147483392.0f,
                                 16777217.0f,   -16777217.0f,   1e-45f,        -1e-45f};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> anywhere(-2147483000.0f, 2147483000.0f);
    for (int i = 0; i < 10000; ++i)
        values.push_back(anywhere(random) / static_cast<float>(1 << (i % 24)));
    const CanvasMapping identity;
    for (float v : values) {
        const float sum = v + 20.0f;
        ASSERT_TRUE(sum > -2147483648.0f && sum < 2147483648.0f) << v;
        const int truncated = static_cast<int>(sum);
        EXPECT_EQ(CanvasPixel(v), truncated) << v;
        EXPECT_EQ(identity.X(v), truncated) << v;
        EXPECT_EQ(identity.Y(v), truncated) << v;
    }
}

// A control from x 139 to 3e38 runs off to the right, never across the left of the picture;
// one from -3e38 runs off to the left. Both ways of drawing agree.
TEST(CanvasMapping, HugeControlsAreDrawnOnTheirSide)
{
    const std::vector<LayoutControl> controls = {box("RIGHT", 139, 100, 3e38f, 200),
                                                 box("LEFT", -3e38f, 300, 139, 400),
                                                 box("DOWN", 400, 250, 500, INF)};
    const auto [painted, written] = bothPictures(controls);
    for (const QImage& image : {painted, written}) {
        // RIGHT: its top edge from its left corner to the picture's right edge.
        EXPECT_EQ(image.pixel(100, 120), WHITE);
        EXPECT_EQ(image.pixel(158, 120), WHITE);
        EXPECT_EQ(image.pixel(159, 120), DARK);
        EXPECT_EQ(image.pixel(839, 120), DARK);
        EXPECT_EQ(image.pixel(159, 170), DARK) << "its left edge";
        // LEFT: from the picture's left edge to its right corner.
        EXPECT_EQ(image.pixel(0, 320), DARK);
        EXPECT_EQ(image.pixel(158, 320), DARK);
        EXPECT_EQ(image.pixel(300, 320), WHITE);
        EXPECT_EQ(image.pixel(158, 370), DARK) << "its right edge";
        EXPECT_EQ(image.pixel(0, 370), WHITE) << "its left edge lies far outside";
        // DOWN: its sides run to the bottom of the picture.
        EXPECT_EQ(image.pixel(420, 639), DARK);
        EXPECT_EQ(image.pixel(450, 639), WHITE);
        EXPECT_EQ(image.pixel(420, 100), WHITE);
    }
    EXPECT_EQ(painted, written);

    // Zoomed in on the right end of RIGHT, it still runs on rightwards.
    const auto [zoomedPainted, zoomedWritten] = bothPictures(controls, {4.0, -300, 0});
    for (const QImage& image : {zoomedPainted, zoomedWritten}) {
        EXPECT_EQ(image.pixel(839, 480), DARK);
        EXPECT_EQ(image.pixel(335, 480), WHITE);
        EXPECT_EQ(image.pixel(336, 480), DARK);
    }
    EXPECT_EQ(zoomedPainted, zoomedWritten);
}
