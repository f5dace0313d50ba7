// Printing through the application's printer: its settings, the printing box and preview.
#include "AppHarness.h"
#include "support/LayoutBytes.h"

#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <regex>

using namespace testing_support;

namespace {

// The width and height of each page of a PDF, in points.
std::vector<std::pair<double, double>> pdfPages(const std::string& path)
{
    const Bytes bytes = readFile(path);
    const std::string text(bytes.begin(), bytes.end());
    std::vector<std::pair<double, double>> pages;
    const std::regex box(R"(/MediaBox \[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), box);
         it != std::sregex_iterator(); ++it)
        pages.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
    return pages;
}

// The part of a PDF's first page in region (device pixels of resolution), rasterised without
// smoothing, or a null image when the rasteriser is missing or fails.
QImage rasterise(const std::string& pdf, int resolution, const QRect& region)
{
    const QString out = QString::fromStdString(pdf + ".region");
    QProcess tool;
    tool.start(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QString::number(resolution), QStringLiteral("-x"),
                QString::number(region.x()), QStringLiteral("-y"), QString::number(region.y()),
                QStringLiteral("-W"), QString::number(region.width()), QStringLiteral("-H"),
                QString::number(region.height()), QStringLiteral("-aa"), QStringLiteral("no"),
                QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-png"),
                QStringLiteral("-singlefile"), QString::fromStdString(pdf), out});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return QImage();
    return QImage(out + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Checks the printed picture: the screen's frame from (20, 20) to (819, 619) and every
// control at its layout pixels plus 20, one layout pixel to one device unit, the current one
// bright; image starts at the printable area's corner.
void expectPrintedLayout(const QImage& image, const QRect& current, const QRect& other)
{
    ASSERT_FALSE(image.isNull()) << "pdftoppm (poppler-utils) rasterises the page";
    const QRgb dark = qRgb(64, 0, 0), bright = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    EXPECT_EQ(image.pixel(20, 300), dark) << "the frame's left edge";
    EXPECT_EQ(image.pixel(819, 300), dark) << "its right edge, 800 units on";
    EXPECT_EQ(image.pixel(820, 300), white);
    EXPECT_EQ(image.pixel(400, 20), dark);
    EXPECT_EQ(image.pixel(400, 619), dark) << "its bottom edge, 600 units down";
    EXPECT_EQ(image.pixel(400, 620), white);
    EXPECT_EQ(image.pixel(current.left(), current.center().y()), bright) << "the current control";
    EXPECT_EQ(image.pixel(current.right(), current.center().y()), bright);
    EXPECT_EQ(image.pixel(current.right() + 1, current.center().y()), white);
    EXPECT_EQ(image.pixel(other.left(), other.center().y()), dark) << "the others are dark";
    EXPECT_EQ(image.pixel(other.center().x(), other.bottom()), dark);
}

// Where the page's printable area starts, in device pixels.
QPoint printableCorner(QPrinter& printer)
{
    return printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
}

class PrintingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(editor.app->InitInstance());
        editor.child()->SetActiveView(editor.canvas());
    }
    void TearDown() override { fw::SetPrintDialogHandler({}); }

    QPrinter& printToPdf(const std::string& name)
    {
        QPrinter& printer = editor.app->Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir.file(name)));
        return printer;
    }

    TempDir dir;
    EditorFixture editor;
};

} // namespace

TEST_F(PrintingTest, PrintSetupChoicesHoldForEveryPrint)
{
    QPrinter& printer = printToPdf("a5.pdf");
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrinter* asked = nullptr;
    fw::SetPrintDialogHandler([&](QPrinter& given) {
        asked = &given;
        return true;
    });
    editor.frame().ExecuteCommand(fw::ID_FILE_PRINT);
    EXPECT_EQ(asked, &printer) << "the print dialog edits the application's printer";
    auto pages = pdfPages(dir.file("a5.pdf"));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].first, 595.3, 1.0) << "A5 landscape";
    EXPECT_NEAR(pages[0].second, 419.5, 1.0);

    printToPdf("direct.pdf");
    editor.frame().ExecuteCommand(fw::ID_FILE_PRINT_DIRECT);
    pages = pdfPages(dir.file("direct.pdf"));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].first, 595.3, 1.0);
    EXPECT_TRUE(editor.log.boxes.empty());
}

TEST_F(PrintingTest, PreviewUsesThePrinterThatPrints)
{
    QPrinter* previewed = nullptr;
    whenModal([&](QWidget* modal) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
        ASSERT_NE(preview, nullptr);
        previewed = preview->printer();
        preview->reject();
    });
    editor.frame().ExecuteCommand(fw::ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(previewed, &editor.app->Printer());
    EXPECT_GE(editor.app->Printer().resolution(), 300) << "the high-resolution printer";
}

TEST_F(PrintingTest, ThePrintingBoxTellsWhatAndWhereAndCancels)
{
    printToPdf("cancelled.pdf");
    fw::SetPrintDialogHandler([](QPrinter&) { return true; });
    QStringList lines;
    whenModal([&](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), QStringLiteral("dialog30722"));
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Karvelo"));
        for (QLabel* label : modal->findChildren<QLabel*>())
            lines << label->text();
        auto* cancel = modal->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QString::fromUtf8("Отмена"));
        cancel->click();
    });
    editor.frame().ExecuteCommand(fw::ID_FILE_PRINT);
    EXPECT_EQ(lines,
              (QStringList{
                  QString::fromUtf8("Печать"), QStringLiteral("Layout1"), QString::fromUtf8("на"),
                  QStringLiteral("in ") + QString::fromStdString(dir.file("cancelled.pdf"))}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("cancelled.pdf"))) << "nothing printed";
    EXPECT_TRUE(editor.log.boxes.empty()) << "a cancelled print is no failure";

    printToPdf("printed.pdf");
    bool shown = false;
    whenModal(
        [&](QWidget* modal) { shown = modal->objectName() == QStringLiteral("dialog30722"); });
    editor.frame().ExecuteCommand(fw::ID_FILE_PRINT);
    EXPECT_TRUE(shown);
    EXPECT_EQ(pdfPages(dir.file("printed.pdf")).size(), 1u);
}

TEST(PrintFromCommandLine, OpensPrintsAndEnds)
{
    TempDir dir;
    writeFile(dir.file("a.lay"), LayoutBytes(2, 2)
                                     .record(0, "A", 0, 0, 10, 10, 200, 100)
                                     .record(1, "B", 0, 0, 300, 50, 400, 90)
                                     .bytes);
    EditorFixture editor({QStringLiteral("-p"), QString::fromStdString(dir.file("a.lay"))});
    QPrinter& printer = editor.app->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("out.pdf")));
    EXPECT_FALSE(editor.app->InitInstance()) << "printing from the command line always ends";
    EXPECT_EQ(pdfPages(dir.file("out.pdf")).size(), 1u);
    const QPoint corner = printableCorner(printer);
    expectPrintedLayout(
        rasterise(dir.file("out.pdf"), printer.resolution(), QRect(corner, QSize(860, 660))),
        QRect(QPoint(30, 30), QPoint(219, 119)), QRect(QPoint(320, 70), QPoint(419, 109)));
    ASSERT_EQ(editor.app->Documents().size(), 1u);
    EXPECT_TRUE(editor.app->Documents()[0]->GetPathName().endsWith(QStringLiteral("a.lay")));
    EXPECT_TRUE(editor.log.boxes.empty());
}
