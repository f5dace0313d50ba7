// Printing through the application's printer: its settings, the printing box and preview.
#include "AppHarness.h"
#include "support/LayoutBytes.h"

#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
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
    writeFile(dir.file("a.lay"), LayoutBytes(2, 1).record(0, "A", 0, 0, 10, 10, 200, 100).bytes);
    EditorFixture editor({QStringLiteral("-p"), QString::fromStdString(dir.file("a.lay"))});
    QPrinter& printer = editor.app->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("out.pdf")));
    EXPECT_FALSE(editor.app->InitInstance()) << "printing from the command line always ends";
    EXPECT_EQ(pdfPages(dir.file("out.pdf")).size(), 1u);
    ASSERT_EQ(editor.app->Documents().size(), 1u);
    EXPECT_TRUE(editor.app->Documents()[0]->GetPathName().endsWith(QStringLiteral("a.lay")));
    EXPECT_TRUE(editor.log.boxes.empty());
}
