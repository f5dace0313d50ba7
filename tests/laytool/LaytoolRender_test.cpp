// laytool render: thumbnails, labels, coordinates at the ends of the range, and files a
// thumbnailer must refuse quickly.
#include "abstractdata/ChildProcess.h"
#include "laytool/LaytoolSupport.h"
#include "support/LayoutBytes.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QImage>

#include <chrono>
#include <sys/stat.h>

using namespace testing_support;

namespace {

const QRgb WHITE = qRgb(255, 255, 255);
const QRgb DARK = qRgb(64, 0, 0);
const QRgb BRIGHT = qRgb(255, 0, 0);

QImage picture(const std::string& path)
{
    return QImage(QString::fromStdString(path));
}

bool isLabelInk(QRgb pixel)
{
    return pixel != WHITE && pixel != DARK && pixel != BRIGHT;
}

// Pixels of a label's colour inside rect.
int labelInk(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += isLabelInk(image.pixel(x, y));
    return count;
}

class LaytoolRenderOptions : public ::testing::Test
{
protected:
    std::string write(const std::string& file, const LayoutBytes& bytes)
    {
        writeFile(m_dir.file(file), bytes.bytes);
        return m_dir.file(file);
    }

    TempDir m_dir;
};

} // namespace

// A control from x 139 to 3e38 runs off to the right of the picture, not across its left.
TEST_F(LaytoolRenderOptions, HugeCoordinatesStayOnTheirSide)
{
    LayoutBytes bytes(2, 2);
    bytes.record(0, "RIGHT", 0, 0, 139, 100, 3e38f, 200)
        .record(1, "LEFT", 0, 0, -3e38f, 300, 139, 400);
    const std::string file = write("huge.lay", bytes);
    ASSERT_EQ(laytool({"render", file, m_dir.file("huge.png")}).status, 0);
    const QImage image = picture(m_dir.file("huge.png"));
    EXPECT_EQ(image.pixel(100, 120), WHITE);
    EXPECT_EQ(image.pixel(159, 120), DARK);
    EXPECT_EQ(image.pixel(839, 120), DARK);
    EXPECT_EQ(image.pixel(0, 320), DARK);
    EXPECT_EQ(image.pixel(300, 320), WHITE);
}

// --size N draws the screen alone, N pixels wide and 3N/4 high, its frame on the border; at
// 800 that is the canvas picture without its margin, pixel for pixel.
TEST_F(LaytoolRenderOptions, SizeFitsTheScreenIntoAThumbnail)
{
    LayoutBytes bytes(2, 3);
    bytes.record(0, "A", 0, 0, 10, 20, 110, 70)
        .record(1, "B", 0, 0, 300, 200, 500, 580)
        .record(2, "C", 0, 0, 399, 299, 401, 301);
    const std::string file = write("three.lay", bytes);
    for (int size : {1, 16, 128, 256, 257, 800, 1024}) {
        const std::string png = m_dir.file("thumb" + std::to_string(size) + ".png");
        const ToolRun run = laytool({"render", "--size", std::to_string(size), file, png});
        ASSERT_EQ(run.status, 0) << size << run.err;
        const QImage image = picture(png);
        const int height = (size * 3 + 2) / 4;
        ASSERT_EQ(image.size(), QSize(size, height)) << size;
        if (size < 16)
            continue; // the screen's frame itself is less than a pixel high
        EXPECT_EQ(image.pixel(0, 0), DARK) << size;
        EXPECT_EQ(image.pixel(size - 1, 0), DARK) << size;
        EXPECT_EQ(image.pixel(0, height - 1), DARK) << size;
        EXPECT_EQ(image.pixel(size - 1, height - 1), DARK) << size;
        // B's left edge, from x 300 on a screen 800 wide, and its inside.
        const double scale = size / 800.0;
        const int left = static_cast<int>(320 * scale) - static_cast<int>(20 * scale);
        const int row = static_cast<int>(410 * scale) - static_cast<int>(20 * scale);
        EXPECT_EQ(image.pixel(left, row), DARK) << size;
        EXPECT_EQ(image.pixel(left + size / 8, row), WHITE) << size;
    }
    ASSERT_EQ(laytool({"render", "--current", "1", file, m_dir.file("full.png")}).status, 0);
    ASSERT_EQ(
        laytool({"render", "--current", "1", "--size", "800", file, m_dir.file("800.png")}).status,
        0);
    EXPECT_EQ(picture(m_dir.file("800.png")),
              picture(m_dir.file("full.png")).copy(20, 20, 800, 600));

    for (const char* wrong : {"0", "4097", "-5", "12x", "", "huge"}) {
        const ToolRun run = laytool({"render", "--size", wrong, file, m_dir.file("bad.png")});
        EXPECT_EQ(run.status, 2) << wrong;
        EXPECT_NE(run.err.find("--size"), std::string::npos) << run.err;
    }
    EXPECT_EQ(laytool({"render", file, m_dir.file("bad.png"), "--size"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("bad.png")));
}

// Broken and hostile files give exit status 2 and no picture, each within a second, however
// large they claim or are.
TEST_F(LaytoolRenderOptions, ThumbnailsOfBrokenFilesFailAtOnce)
{
    LayoutBytes cut(2, 3);
    cut.record(0, "A", 0, 0, 1, 2, 3, 4);
    write("cut.lay", cut);
    write("v3.lay", LayoutBytes(3, 0));
    writeFile(m_dir.file("empty.lay"), Bytes());
    // Counts and lengths far beyond what the file holds, over a gigabyte of zeros that are
    // themselves records of a kind.
    write("count.lay", LayoutBytes(2, 0xFFFFFFFFu));
    std::filesystem::resize_file(m_dir.file("count.lay"), std::uintmax_t{1} << 30);
    write("count64.lay", LayoutBytes(2, 0xFFFFFFFFu));
    std::filesystem::resize_file(m_dir.file("count64.lay"), std::uintmax_t{60} << 20);
    LayoutBytes name(2, 1);
    name.u32(0).bytes.insert(name.bytes.end(), {0xFF, 0xFF, 0xFF}); // a 32-bit length follows
    name.u32(0xFFFFFFF0u);
    write("name.lay", name);
    std::filesystem::resize_file(m_dir.file("name.lay"), std::uintmax_t{60} << 20);
    ASSERT_EQ(::mkfifo(m_dir.file("fifo.lay").c_str(), 0666), 0);
    std::filesystem::create_symlink("/dev/zero", m_dir.file("zero.lay"));
    std::filesystem::create_directory(m_dir.file("folder.lay"));

    EXPECT_CHILD_CLEAN(inChild(
        [&] {
            Findings found;
            for (const char* file :
                 {"cut.lay", "v3.lay", "empty.lay", "count.lay", "count64.lay", "name.lay",
                  "fifo.lay", "zero.lay", "folder.lay", "missing.lay"}) {
                const std::string png = m_dir.file(std::string(file) + ".png");
                const auto start = std::chrono::steady_clock::now();
                const ToolRun run = laytool({"render", "--size", "256", m_dir.file(file), png});
                const auto took = std::chrono::steady_clock::now() - start;
                found.check(run.status == 2, std::string(file) + ": status " +
                                                 std::to_string(run.status) + " " + run.err);
                found.check(run.err.rfind("laytool: cannot read ", 0) == 0, file + run.err);
                found.check(took < std::chrono::seconds(1), std::string(file) + " took long");
                found.check(!std::filesystem::exists(png), std::string(file) + ": a picture");
            }
            return found.text;
        },
        60));
}

// --labels writes the names of controls large enough for them, at any size.
TEST_F(LaytoolRenderOptions, LabelsNameTheControls)
{
    LayoutBytes bytes(2, 2);
    bytes.record(0, "OK_BUTTON", 0, 0, 100, 100, 300, 200)
        .record(1, "TINY", 0, 0, 500, 100, 504, 104);
    const std::string file = write("labels.lay", bytes);
    ASSERT_EQ(laytool({"render", "--labels", file, m_dir.file("with.png")}).status, 0);
    ASSERT_EQ(laytool({"render", file, m_dir.file("without.png")}).status, 0);
    const QImage with = picture(m_dir.file("with.png"));
    const QImage without = picture(m_dir.file("without.png"));
    const QRect topLeft(121, 121, 100, 20);
    EXPECT_GT(labelInk(with, topLeft), 20);
    EXPECT_EQ(labelInk(with, QRect(0, 0, 840, 640)), labelInk(with, topLeft))
        << "ink only at the top left of OK_BUTTON";
    EXPECT_EQ(labelInk(without, QRect(0, 0, 840, 640)), 0);
    // The outlines are the same with and without.
    for (int y = 0; y < 640; ++y) {
        for (int x = 0; x < 840; ++x) {
            if (!isLabelInk(with.pixel(x, y))) {
                ASSERT_EQ(with.pixel(x, y), without.pixel(x, y)) << x << ", " << y;
            }
        }
    }

    // In a thumbnail four times as large, the name fits as well.
    ASSERT_EQ(laytool({"render", "--labels", "--size", "3200", file, m_dir.file("big.png")}).status,
              0);
    EXPECT_GT(labelInk(picture(m_dir.file("big.png")), QRect(400, 400, 200, 40)), 20);
}
