// The kept canvas picture is the full picture, pixel for pixel, whatever happens between
// paints; and writing outlines into pixels gives what the painter's calls give.
#include "views/CanvasPicture.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <random>

namespace {

class RandomLayouts
{
public:
    explicit RandomLayouts(unsigned seed) : m_random(seed) {}

    float Coordinate()
    {
        switch (Pick(20)) {
        case 0:
            return std::numeric_limits<float>::quiet_NaN();
        case 1:
            return Pick(2) ? std::numeric_limits<float>::infinity() : -3e30f;
        case 2:
            return -static_cast<float>(Pick(60)) - 0.5f; // off the canvas to the left or top
        case 3:
            return 790.0f + static_cast<float>(Pick(100)); // past the screen
        default:
            return static_cast<float>(Pick(8000)) / 10.0f; // fractions, overlaps
        }
    }
    LayoutControl Control()
    {
        LayoutControl c;
        c.m_x1 = Coordinate();
        c.m_y1 = Coordinate();
        // Mostly small rectangles, some reversed, some of no width or height.
        c.m_x2 = Pick(6) ? c.m_x1 + static_cast<float>(Pick(120)) - 20.0f : Coordinate();
        c.m_y2 = Pick(6) ? c.m_y1 + static_cast<float>(Pick(80)) - 10.0f : Coordinate();
        return c;
    }
    SelectionState Selection(std::size_t count)
    {
        SelectionState selection;
        if (count == 0 || Pick(5) == 0)
            return selection;
        for (std::size_t i = 0; i < count; ++i)
            if (Pick(8) == 0)
                selection.selected.push_back(i);
        if (selection.selected.empty())
            selection.selected.push_back(Pick(count));
        selection.current = static_cast<int>(selection.selected[Pick(selection.selected.size())]);
        return selection;
    }
    std::size_t Pick(std::size_t below)
    {
        return std::uniform_int_distribution<std::size_t>(0, below - 1)(m_random);
    }

private:
    std::mt19937 m_random;
};

CCanvasPicture::Frame frameOf(double zoom, int x, int y, double grid = 0)
{
    CCanvasPicture::Frame frame;
    frame.size = QSize(840, 640);
    frame.mapping = CanvasMapping{zoom, x, y};
    frame.background = qRgb(255, 255, 255);
    frame.grid = grid;
    return frame;
}

} // namespace

TEST(CanvasPicture, WritingPixelsIsPaintingWithThePainter)
{
    RandomLayouts random(7);
    for (int round = 0; round < 40; ++round) {
        std::vector<LayoutControl> controls(60);
        for (LayoutControl& c : controls)
            c = random.Control();
        const SelectionState selection = random.Selection(controls.size());
        const double zooms[] = {0.25, 1.0 / 3, 1.0, 1.5, 4.0};
        const CCanvasPicture::Frame frame =
            frameOf(zooms[random.Pick(5)], static_cast<int>(random.Pick(200)) - 100,
                    static_cast<int>(random.Pick(200)) - 100);
        QImage painted(frame.size, QImage::Format_RGB32);
        painted.fill(Qt::white);
        {
            QPainter painter(&painted);
            PaintLayout(painter, painted.rect(), controls, selection.selected, selection.current,
                        frame.mapping);
        }
        ASSERT_EQ(CCanvasPicture::PaintAfresh(controls, selection, frame), painted) << round;
    }
    // At 100 % the canvas's original picture with its current control.
    std::vector<LayoutControl> controls(30);
    for (LayoutControl& c : controls)
        c = random.Control();
    QImage parts(840, 640, QImage::Format_RGB32);
    parts.fill(Qt::white);
    {
        QPainter painter(&parts);
        PaintLayout(painter, parts.rect(), controls, &controls[4]);
    }
    EXPECT_EQ(CCanvasPicture::PaintAfresh(controls, SelectionState::Only(4), frameOf(1, 0, 0)),
              parts);
}

TEST(CanvasPicture, TheKeptImageNeverShowsAStaleOutline)
{
    RandomLayouts random(11);
    int partial = 0;
    for (int round = 0; round < 12; ++round) {
        std::vector<LayoutControl> controls(200);
        for (LayoutControl& c : controls)
            c = random.Control();
        SelectionState selection = random.Selection(controls.size());
        CCanvasPicture::Frame frame = frameOf(1.0, 0, 0, round % 3 == 0 ? 8 : 0);
        CCanvasPicture picture;
        for (int step = 0; step < 60; ++step) {
            LayoutChange hint;
            switch (random.Pick(7)) {
            case 0: // a selected control moves, as in a drag
                if (selection.current >= 0) {
                    controls[static_cast<std::size_t>(selection.current)].m_x1 += 3;
                    hint.flags = LayoutChange::RECORDS;
                    hint.indices = {static_cast<std::size_t>(selection.current)};
                }
                break;
            case 1: { // any control changes, as an undo may change one
                const std::size_t index = random.Pick(controls.size());
                controls[index] = random.Control();
                hint.flags = LayoutChange::RECORDS;
                hint.indices = {index};
                break;
            }
            case 2: // a control is drawn at the end
                controls.push_back(random.Control());
                hint.flags = LayoutChange::RECORDS | LayoutChange::LIST;
                hint.indices = {controls.size() - 1};
                selection = SelectionState::Only(static_cast<int>(controls.size() - 1));
                break;
            case 3: // one is removed
                controls.erase(controls.begin() +
                               static_cast<std::ptrdiff_t>(random.Pick(controls.size())));
                hint.flags = LayoutChange::RECORDS | LayoutChange::LIST;
                selection = random.Selection(controls.size());
                break;
            case 4: // another selection
                selection = random.Selection(controls.size());
                hint.flags = LayoutChange::SELECTION | LayoutChange::CURRENT;
                break;
            case 5: // zoom or pan
                frame.mapping = CanvasMapping{random.Pick(2) ? 2.0 : 1.0,
                                              static_cast<int>(random.Pick(40)) - 20, 0};
                break;
            default: // nothing: a repaint of the same
                break;
            }
            // Where the picture says a change shows, a paint of that region alone must give
            // the whole picture, the rest kept from the paint before.
            const auto touched = hint.flags & (LayoutChange::SELECTION | LayoutChange::CURRENT)
                                     ? std::nullopt
                                     : picture.Touched(hint, controls);
            partial += touched.has_value();
            picture.Changed(hint);
            ASSERT_EQ(picture.Paint(controls, selection, frame, touched.value_or(QRegion())),
                      CCanvasPicture::PaintAfresh(controls, selection, frame))
                << "round " << round << " step " << step << (touched ? " (partial)" : "");
        }
    }
    EXPECT_GT(partial, 50) << "most moves of a selected control repaint a region alone";
}

TEST(CanvasPicture, FlatWorkForTheChangesOfAGesture)
{
    std::vector<LayoutControl> controls(1000);
    RandomLayouts random(3);
    for (LayoutControl& c : controls)
        c = random.Control();
    const CCanvasPicture::Frame frame = frameOf(1, 0, 0);
    CCanvasPicture picture;
    picture.Paint(controls, SelectionState::Only(5), frame);
    EXPECT_EQ(picture.Rebuilds(), 1);
    // A drag of the current control, a pick of another, a drawn control: no full paint.
    for (int i = 0; i < 10; ++i) {
        controls[5].m_x1 += 1;
        LayoutChange moved;
        moved.flags = LayoutChange::RECORDS;
        moved.indices = {5};
        picture.Changed(moved);
        picture.Paint(controls, SelectionState::Only(5), frame);
    }
    picture.Paint(controls, SelectionState::Only(9), frame);
    controls.push_back(random.Control());
    LayoutChange drawn;
    drawn.flags = LayoutChange::RECORDS | LayoutChange::LIST;
    drawn.indices = {1000};
    picture.Changed(drawn);
    picture.Paint(controls, SelectionState::Only(1000), frame);
    EXPECT_EQ(picture.Rebuilds(), 1);
    // A control outside the image changing is a full paint once.
    controls[700].m_y1 += 1;
    LayoutChange other;
    other.flags = LayoutChange::RECORDS;
    other.indices = {700};
    picture.Changed(other);
    picture.Paint(controls, SelectionState::Only(1000), frame);
    EXPECT_EQ(picture.Rebuilds(), 2);
}

TEST(CanvasPicture, NamesKeptWithTheImageFollowEveryChange)
{
    // Controls in cells of their own, so no name lies under another control's outline or name.
    RandomLayouts random(29);
    auto cell = [&](std::size_t i) {
        LayoutControl c;
        const float x = static_cast<float>(i % 8) * 100, y = static_cast<float>(i / 8) * 60;
        c.m_x1 = x + static_cast<float>(random.Pick(10));
        c.m_y1 = y + static_cast<float>(random.Pick(10));
        c.m_x2 = c.m_x1 + 40 + static_cast<float>(random.Pick(45));
        c.m_y2 = c.m_y1 + 10 + static_cast<float>(random.Pick(35));
        c.m_name = "C" + std::to_string(i) + std::string(random.Pick(12), 'W');
        return c;
    };
    std::vector<LayoutControl> controls;
    for (std::size_t i = 0; i < 60; ++i)
        controls.push_back(cell(i));
    CCanvasPicture::Frame frame = frameOf(1.0, 0, 0);
    frame.names = true;
    SelectionState selection = SelectionState::Only(3);
    CCanvasPicture picture;
    for (int step = 0; step < 80; ++step) {
        LayoutChange hint;
        const std::size_t index = random.Pick(controls.size());
        switch (random.Pick(6)) {
        case 0: // a control moves or is renamed in its cell
            controls[index] = cell(index);
            hint.flags = LayoutChange::RECORDS | LayoutChange::NAMES;
            hint.indices = {index};
            break;
        case 1: // the current one, as in a drag
            if (selection.current >= 0) {
                controls[static_cast<std::size_t>(selection.current)] =
                    cell(static_cast<std::size_t>(selection.current));
                hint.flags = LayoutChange::RECORDS;
                hint.indices = {static_cast<std::size_t>(selection.current)};
            }
            break;
        case 2: // another selection
            selection = random.Selection(controls.size());
            hint.flags = LayoutChange::SELECTION | LayoutChange::CURRENT;
            break;
        case 3: // names switched off and on
            frame.names = !frame.names;
            break;
        case 4: // zoom
            frame.mapping = CanvasMapping{random.Pick(2) ? 2.0 : 1.0, 0, 0};
            break;
        default:
            break;
        }
        const auto touched = hint.flags & (LayoutChange::SELECTION | LayoutChange::CURRENT)
                                 ? std::nullopt
                                 : picture.Touched(hint, controls);
        picture.Changed(hint);
        ASSERT_EQ(picture.Paint(controls, selection, frame, touched.value_or(QRegion())),
                  CCanvasPicture::PaintAfresh(controls, selection, frame))
            << "step " << step << (touched ? " (partial)" : "");
    }
    frame.names = false;
    const QImage without = CCanvasPicture::PaintAfresh(controls, selection, frame);
    frame.names = true;
    EXPECT_NE(CCanvasPicture::PaintAfresh(controls, selection, frame), without)
        << "names show at all";
}

TEST(CanvasPicture, NamesOfSelectedControlsThatMeetArePaintedAsAFullPaintPaintsThem)
{
    // A's and B's names would begin in one cell; C moves on its own, so only its old and new
    // places are painted again, across B's name.
    std::vector<LayoutControl> controls(3);
    const auto place = [&](std::size_t i, const char* name, float x1, float y1, float x2,
                           float y2) {
        controls[i].m_name = name;
        controls[i].m_x1 = x1;
        controls[i].m_y1 = y1;
        controls[i].m_x2 = x2;
        controls[i].m_y2 = y2;
    };
    place(0, "A_FIRST", 100, 100, 140, 120);
    place(1, "B_WITH_A_NAME_THAT_RUNS_ON_AND_ON_AND_ON_AND_ON_AND_ON", 102, 101, 500, 300);
    place(2, "C", 200, 200, 260, 230);
    CCanvasPicture::Frame frame = frameOf(1.0, 0, 0);
    frame.names = true;
    SelectionState selection;
    selection.selected = {0, 1, 2};
    selection.current = 2;
    CCanvasPicture picture;
    picture.Paint(controls, selection, frame);
    place(2, "C", 300, 110, 360, 140);
    LayoutChange hint;
    hint.flags = LayoutChange::RECORDS;
    hint.indices = {2};
    const auto touched = picture.Touched(hint, controls);
    ASSERT_TRUE(touched.has_value());
    picture.Changed(hint);
    EXPECT_EQ(picture.Paint(controls, selection, frame, *touched),
              CCanvasPicture::PaintAfresh(controls, selection, frame));
}
