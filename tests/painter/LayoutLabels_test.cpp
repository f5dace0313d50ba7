// Control names inside their rectangles: where they are written, cut off and left out.
#include "LayoutLabels.h"
#include "support/LayoutRecords.h"

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>

using testing_support::box;

namespace {

QImage labelled(const std::vector<LayoutControl>& controls, const CanvasMapping& mapping = {},
                const QRect& clip = QRect())
{
    QImage image(840, 640, QImage::Format_RGB32);
    image.fill(Qt::white);
    PaintLabels(image, clip.isNull() ? image.rect() : clip, controls, mapping);
    return image;
}

// The smallest rectangle holding every pixel that is not white, or a null one.
QRect inked(const QImage& image)
{
    QRect all;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                all |= QRect(x, y, 1, 1);
    return all;
}

// The process's CPU time: on a busy machine the time other processes take is not counted.
double cpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int lineHeight()
{
    QImage image(1, 1, QImage::Format_RGB32);
    return QFontMetrics(LabelFont(), &image).height();
}

} // namespace

TEST(LayoutLabels, NamesSitAtTheTopLeftInsideTheOutline)
{
    // The outline of (100, 100)-(300, 200) covers pixels 120..319 by 120..219.
    const QRect ink = inked(labelled({box("OK_BUTTON", 100, 100, 300, 200)}));
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 121);
    EXPECT_LE(ink.left(), 124) << "at the left";
    EXPECT_GE(ink.top(), 121);
    EXPECT_LE(ink.bottom(), 121 + lineHeight()) << "one line at the top";
    EXPECT_LT(ink.right(), 250) << "a short name stays short";

    // Corners given the other way round: the same place.
    EXPECT_EQ(inked(labelled({box("OK_BUTTON", 300, 200, 100, 100)})), ink);
    // No name, no label.
    EXPECT_TRUE(inked(labelled({box("", 100, 100, 300, 200)})).isNull());
}

TEST(LayoutLabels, LongNamesAreCutAtTheRightEdge)
{
    const std::string name(300, 'W');
    const QRect ink = inked(labelled({box(name.c_str(), 100, 100, 160, 200)}));
    ASSERT_FALSE(ink.isNull());
    EXPECT_LE(ink.right(), 178) << "inside the outline, whose right edge is pixel 179";
    EXPECT_GE(ink.right(), 170) << "written up to the edge";

    // A name of a million bytes costs no more than the few characters that show.
    const std::string huge(1000000, 'M');
    const double start = cpuSeconds();
    const QRect cut = inked(labelled({box(huge.c_str(), 100, 100, 160, 200)}));
    EXPECT_LT(cpuSeconds() - start, 2.0);
    EXPECT_LE(cut.right(), 178);
}

TEST(LayoutLabels, ControlsTooSmallForALineGetNone)
{
    const int line = lineHeight();
    // The inside is the outline's height less its two edges.
    const float justFits = static_cast<float>(line + 2);
    EXPECT_FALSE(inked(labelled({box("FITS", 100, 100, 300, 100 + justFits)})).isNull());
    EXPECT_TRUE(inked(labelled({box("LOW", 100, 100, 300, 100 + justFits - 1)})).isNull());
    EXPECT_TRUE(inked(labelled({box("NARROW", 100, 100, 103, 300)})).isNull());
    EXPECT_TRUE(inked(labelled({box("FLAT", 100, 100, 300, 100)})).isNull());

    // Zoomed in, the same control has room; the text keeps its size in pixels.
    const CanvasMapping twice{2.0, 0, 0};
    const QRect zoomed = inked(labelled({box("LOW", 100, 100, 300, 100 + justFits - 1)}, twice));
    ASSERT_FALSE(zoomed.isNull());
    EXPECT_LE(zoomed.height(), line);
    EXPECT_GE(zoomed.left(), 241);
}

TEST(LayoutLabels, PlacesFarOffAndNoPlaceAtAll)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Running off to the right: the label is at its left, in view.
    const QRect right = inked(labelled({box("RIGHT", 139, 100, 3e38f, 200)}));
    ASSERT_FALSE(right.isNull());
    EXPECT_LE(right.left(), 165);
    // Running in from far off to the left: its start, and so its label, is out of view.
    EXPECT_TRUE(inked(labelled({box("LEFT", -3e38f, 100, 139, 200)})).isNull());
    EXPECT_TRUE(inked(labelled({box("NAN", nan, 100, 139, 200)})).isNull());
    EXPECT_TRUE(inked(labelled({box("INF", 100, -INFINITY, 300, INFINITY)})).isNull());
}

TEST(LayoutLabels, NothingOutsideTheClip)
{
    const std::vector<LayoutControl> controls = {box("LEFT_ONE", 100, 100, 300, 200),
                                                 box("RIGHT_ONE", 500, 100, 700, 200)};
    const QRect ink = inked(labelled(controls, {}, QRect(400, 0, 440, 640)));
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 521);
}

// Controls too small for a label are passed over on their corners alone: a layout of many
// tiny controls is labelled at once.
TEST(LayoutLabels, ManyTinyControlsCostLittle)
{
    std::vector<LayoutControl> controls;
    for (int i = 0; i < 200000; ++i)
        controls.push_back(box("TINY_CONTROL_NAME", static_cast<float>(i % 780),
                               static_cast<float>(i % 580), static_cast<float>(i % 780 + 5),
                               static_cast<float>(i % 580 + 5)));
    QImage image(840, 640, QImage::Format_RGB32);
    image.fill(Qt::white);
    const double start = cpuSeconds();
    PaintLabels(image, image.rect(), controls, {});
    EXPECT_LT(cpuSeconds() - start, 1.0);
    EXPECT_TRUE(inked(image).isNull());
}

TEST(LayoutLabels, WhereLabelsWouldBeginTogetherTheFirstIsWritten)
{
    // A thousand controls on one rectangle: their names would be written over each other.
    std::vector<LayoutControl> crowd;
    for (int i = 0; i < 1000; ++i)
        crowd.push_back(box(("NAME_" + std::to_string(i)).c_str(), 100, 100, 300, 200));
    EXPECT_EQ(labelled(crowd), labelled({crowd.front()}));
    // One line lower, the next control's name is as readable as the first.
    std::vector<LayoutControl> stacked = {box("UPPER", 100, 100, 300, 200),
                                          box("LOWER", 100, 100 + lineHeight(), 300, 200)};
    EXPECT_NE(labelled(stacked), labelled({stacked.front()}));
    EXPECT_NE(labelled(stacked), labelled({stacked.back()}));
}

TEST(LayoutLabels, ACrowdedLayoutCostsNoMoreLabelsThanThePictureHasRoomFor)
{
    // Two hundred thousand controls, each large enough for its name, a pixel apart.
    std::vector<LayoutControl> controls;
    for (int i = 0; i < 200000; ++i)
        controls.push_back(box(("CROWDED_CONTROL_" + std::to_string(i)).c_str(),
                               static_cast<float>(i % 780), static_cast<float>(i % 580),
                               static_cast<float>(i % 780 + 60), static_cast<float>(i % 580 + 20)));
    QImage image(840, 640, QImage::Format_RGB32);
    image.fill(Qt::white);
    const double start = cpuSeconds();
    PaintLabels(image, image.rect(), controls, {});
    // Writing every name takes seconds in the sanitizer build.
    EXPECT_LT(cpuSeconds() - start, 1.0);
    EXPECT_FALSE(inked(image).isNull());
}

TEST(LayoutLabels, NarrowNeighboursInARowEachGetTheirName)
{
    // Each just wide enough for its name to begin: the names are cut at their own right edges
    // and never meet, wherever the row lies.
    for (int width = 14; width <= 21; ++width) {
        for (int offset = 0; offset < 10; offset += 3) {
            std::vector<LayoutControl> row;
            for (int i = 0; i < 12; ++i) {
                const auto x = static_cast<float>(100 + offset + i * (width + 1));
                row.push_back(box(("N" + std::to_string(i)).c_str(), x, 100,
                                  x + static_cast<float>(width), 130));
            }
            const QImage image = labelled(row);
            for (int i = 0; i < 12; ++i) {
                // The inside of control i on the canvas: 20 pixels of margin, an outline pixel.
                const int left = 20 + 100 + offset + i * (width + 1) + 1;
                const QRect inside(left, 121, width - 2, 12);
                EXPECT_FALSE(inked(image.copy(inside)).isNull())
                    << "width " << width << ", offset " << offset << ": control " << i;
            }
        }
    }
}
