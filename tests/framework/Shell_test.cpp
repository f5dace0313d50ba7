#include "support/TestApp.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(CommandLine, SwitchesAndParameters)
{
    using Info = fw::CommandLineInfo;
    EXPECT_EQ(Info::Parse({}).shellCommand, Info::FileNew);
    Info open = Info::Parse({QStringLiteral("/home/me/a.lay")});
    EXPECT_EQ(open.shellCommand, Info::FileOpen) << "on Unix a path is no switch";
    EXPECT_EQ(open.fileName, QStringLiteral("/home/me/a.lay"));
    EXPECT_EQ(Info::Parse({QStringLiteral("-dde")}).shellCommand, Info::FileDDE);
    EXPECT_EQ(Info::Parse({QStringLiteral("-DDE")}).shellCommand, Info::FileNew)
        << "dde is compared with case";
    EXPECT_EQ(Info::Parse({QStringLiteral("-UNREGSERVER")}).shellCommand, Info::AppUnregister);
    EXPECT_TRUE(
        Info::Parse({QStringLiteral("-unregister"), QStringLiteral("-embedding")}).runEmbedded);
    Info print = Info::Parse({QStringLiteral("-p"), QStringLiteral("a.lay")});
    EXPECT_EQ(print.shellCommand, Info::FilePrint);
    EXPECT_EQ(print.fileName, QStringLiteral("a.lay"));
    Info printTo = Info::Parse({QStringLiteral("-pt"), QStringLiteral("a.lay"), QStringLiteral("P"),
                                QStringLiteral("D"), QStringLiteral("O")});
    EXPECT_EQ(printTo.shellCommand, Info::FilePrintTo);
    EXPECT_EQ(printTo.printerName + printTo.driverName + printTo.portName, QStringLiteral("PDO"));
    const Info automated = Info::Parse({QStringLiteral("-Automation")});
    EXPECT_EQ(automated.shellCommand, Info::FileNew);
    EXPECT_TRUE(automated.runAutomated) << "the switch is known";
    EXPECT_FALSE(Info::Parse({QStringLiteral("-Automatic")}).runAutomated) << "and only it";
    EXPECT_EQ(Info::Parse({QStringLiteral("-")}).shellCommand, Info::FileNew)
        << "a lone - is a switch with no name";
    Info several = Info::Parse({QStringLiteral("a.lay"), QStringLiteral("b.lay")});
    EXPECT_EQ(several.fileName, QStringLiteral("a.lay"));
    EXPECT_EQ(several.moreFiles, QStringList{QStringLiteral("b.lay")});
    EXPECT_TRUE(printTo.moreFiles.isEmpty()) << "printer, driver and port are no files";
}

TEST(StartUp, CommandLineDecidesTheFirstWindows)
{
    SettingsSandbox settings;
    TempDir files;
    MessageLog log;
    {
        TestApp app;
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(app.Documents().size(), 1u);
        EXPECT_EQ(app.Documents()[0]->GetTitle(), QStringLiteral("Layout1"));
    }
    processEvents();
    {
        writeFile(files.file("a.txt"), std::string("A"));
        TestApp app({QString::fromStdString(files.file("a.txt"))});
        ASSERT_TRUE(app.InitInstance());
        ASSERT_EQ(app.Documents().size(), 1u);
        EXPECT_EQ(app.Documents()[0]->GetPathName(), QString::fromStdString(files.file("a.txt")));
    }
    processEvents();
    {
        // Every file a desktop hands over opens; one that is missing beside the first is told
        // about and the others open all the same.
        writeFile(files.file("b.txt"), std::string("B"));
        TestApp app({QString::fromStdString(files.file("a.txt")),
                     QString::fromStdString(files.file("gone.txt")),
                     QString::fromStdString(files.file("b.txt"))});
        ASSERT_TRUE(app.InitInstance());
        ASSERT_EQ(app.Documents().size(), 2u);
        EXPECT_EQ(app.Documents()[1]->GetPathName(), QString::fromStdString(files.file("b.txt")));
        EXPECT_EQ(log.boxes.size(), 1u);
        log.boxes.clear();
    }
    processEvents();
    {
        TestApp app({QString::fromStdString(files.file("missing.txt"))});
        EXPECT_FALSE(app.InitInstance());
        EXPECT_TRUE(app.Documents().empty());
        ASSERT_EQ(log.boxes.size(), 1u);
        EXPECT_TRUE(log.boxes[0].text.endsWith(QStringLiteral("not found.")));
    }
    processEvents();
    {
        TestApp app({QStringLiteral("-dde")});
        ASSERT_TRUE(app.InitInstance());
        EXPECT_TRUE(app.Documents().empty());
        EXPECT_EQ(app.Frame().CurrentMenuId(), 128u);
    }
    processEvents();
}

TEST(StartUp, UnregisterRemovesTheSettingsAndEnds)
{
    SettingsSandbox settings;
    MessageLog log;
    {
        TestApp app({QStringLiteral("-dde")});
        ASSERT_TRUE(app.InitInstance());
        app.SetPreviewPages(2);
        app.ExitInstance();
    }
    processEvents();
    {
        QSettings check(QSettings::NativeFormat, QSettings::UserScope,
                        QStringLiteral("Test Organisation"), QStringLiteral("Tester"));
        EXPECT_EQ(check.value(QStringLiteral("Settings/PreviewPages")).toInt(), 2);
    }
    {
        TestApp app({QStringLiteral("-Unregister")});
        EXPECT_FALSE(app.InitInstance());
        ASSERT_EQ(log.boxes.size(), 1u);
        EXPECT_EQ(log.boxes[0].text, QStringLiteral("Unregistered."));
    }
    QSettings check(QSettings::NativeFormat, QSettings::UserScope,
                    QStringLiteral("Test Organisation"), QStringLiteral("Tester"));
    EXPECT_FALSE(check.contains(QStringLiteral("Settings/PreviewPages")));
    {
        TestApp app({QStringLiteral("-Unregister"), QStringLiteral("-Embedding")});
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(log.boxes.size(), 1u) << "no message when embedded";
    }
}
