#include "shell/KarveloApp.h"

#include "Dialogs.h"
#include "DocTemplate.h"
#include "MdiFrame.h"
#include "document/KarveloDoc.h"
#include "document/Recovery.h"
#include "resources/Menus.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "resources/Version.h"
#include "shell/AboutDlg.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "streams/tsSafeSave.h"
#include "tsTrace.h"
#include "views/CanvasAccessible.h"
#include "views/KarveloView.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <string>

CKarveloApp::CKarveloApp(int& argc, char** argv) : fw::Application(argc, argv)
{
    fw::SetStringTable(&resources::Strings());
    SetAppName(fw::LoadString(fw::AFX_IDS_APP_TITLE));
    // The program speaks German: so do Qt's own dialogs and buttons, where Qt has the texts.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(resources::PRODUCT_VERSION));
    QAccessible::installFactory(&CCanvasAccessible::Factory);
}

CKarveloApp::~CKarveloApp() = default;

int CKarveloApp::PrintHelpOrVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--version") {
            std::printf("karvelo %s\n", resources::PRODUCT_VERSION);
            return 0;
        }
        if (argument == "--help") {
            std::printf(
                "usage: karvelo [FILE.lay ...]\n"
                "       karvelo -p FILE.lay\n"
                "       karvelo -pt FILE.lay PRINTER DRIVER PORT\n"
                "\n"
                "Edits GUI screen layouts (.lay files). Without a file it starts with a new\n"
                "layout; each file named opens in a window of its own (the program ends\n"
                "when the first cannot be opened). -p prints the layout on the default\n"
                "printer and ends; -pt prints it on the printer named.\n"
                "'man karvelo' tells the rest.\n");
            return 0;
        }
    }
    return -1;
}

CMainFrame* CKarveloApp::Frame() const
{
    return static_cast<CMainFrame*>(MainFrame());
}

bool CKarveloApp::InitInstance()
{
    tsTraceAttachFromEnvironment("KARVELO_TRACE");
    // The control-container support and the three-dimensional control look have no
    // counterpart on Qt: its controls look native already.
    SetRegistryKey(QStringLiteral("Local AppWizard-Generated Applications"));
    LoadStdProfileSettings(8);
    m_settings.SetGridSpacing(GetProfileInt(QStringLiteral("Grid"), QStringLiteral("Spacing"), 8));
    connect(&m_settings, &CEditorSettings::toolChanged, this, &CKarveloApp::OnToolChanged);
    m_settings.ShowNames(GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Names"), 0) !=
                         0);
    connect(&m_settings, &CEditorSettings::gridChanged, this, [this] {
        if (MainFrame())
            MainFrame()->ScheduleCommandUI();
    });
    // The names stay as the user left them, from one run to the next.
    connect(&m_settings, &CEditorSettings::namesChanged, this, [this] {
        WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Names"),
                        m_settings.NamesShown() ? 1 : 0);
        if (MainFrame())
            MainFrame()->ScheduleCommandUI();
    });
    // A save that must write a file in place keeps the old bytes here until the new ones are
    // on disk.
    tsSetBackupFolder(
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                          QStringLiteral("/backup"))
            .toStdString());

    m_recovery = new CRecovery(CRecovery::DefaultFolder(), CRecovery::IntervalSetting(), this);
    auto* layouts = new fw::DocTemplate(
        resources::IDR_LAYOUTTYPE, fw::LoadString(resources::IDR_LAYOUTTYPE),
        [this] {
            auto* doc = new CKarveloDoc;
            m_recovery->Attach(doc);
            doc->Model().SetSingleSelection(m_settings.CurrentTool() == CEditorSettings::DrawTool);
            return doc;
        },
        [this] { return new CChildFrame(m_settings); },
        [this] { return new CKarveloView(m_settings); });
    layouts->SetIcon(resources::LayoutIcon());
    AddDocTemplate(layouts);

    auto* frame = new CMainFrame(m_settings);
    SetMainFrame(frame);
    frame->setWindowIcon(resources::MainIcon());
    if (!frame->LoadFrame(resources::IDR_MAINFRAME, resources::Tables()))
        return false;

    fw::CommandLineInfo info = ParseCommandLine();
    if (!ProcessShellCommand(info))
        return false;

    frame->showMaximized();
    // Once the window shows: what a crashed run left behind.
    QTimer::singleShot(0, m_recovery, &CRecovery::OfferOrphans);
    return true;
}

int CKarveloApp::ExitInstance()
{
    if (m_recovery)
        m_recovery->Shutdown();
    return fw::Application::ExitInstance();
}

bool CKarveloApp::ProcessShellCommand(fw::CommandLineInfo& info)
{
    if (info.shellCommand == fw::CommandLineInfo::FilePrint ||
        info.shellCommand == fw::CommandLineInfo::FilePrintTo) {
        PrintFromCommandLine(info);
        // Printing from the command line always ends the program, printed or not.
        return false;
    }
    return fw::Application::ProcessShellCommand(info);
}

bool CKarveloApp::PrintFromCommandLine(const fw::CommandLineInfo& info)
{
    auto* doc = static_cast<CKarveloDoc*>(OpenDocumentFile(info.fileName));
    if (!doc || !doc->m_canvas)
        return false;
    QPrinter& printer = Printer();
    const QString wanted =
        info.shellCommand == fw::CommandLineInfo::FilePrintTo ? info.printerName : QString();
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    // A printer that writes a file needs no printer of the system.
    const bool toFile = wanted.isEmpty() && !printer.outputFileName().isEmpty();
    if (!toFile && (printers.isEmpty() || (!wanted.isEmpty() && !printers.contains(wanted)))) {
        fw::MessageBox(fw::AFX_IDP_FAILED_TO_START_PRINT, fw::MB_OK, fw::MB_ICONWARNING);
        return false;
    }
    if (!wanted.isEmpty())
        printer.setPrinterName(wanted);
    if (doc->m_canvas->PrintTo(printer) == fw::View::PrintFailed) {
        fw::MessageBox(fw::AFX_IDP_FAILED_TO_START_PRINT, fw::MB_OK, fw::MB_ICONWARNING);
        return false;
    }
    return true;
}

void CKarveloApp::OnToolChanged()
{
    // The tool that goes has ended its gesture. The Draw tool knows one control, the current
    // one: whatever the Select tool left selected besides goes, and a layout with controls
    // has a current one again.
    const bool single = m_settings.CurrentTool() == CEditorSettings::DrawTool;
    for (fw::Document* doc : Documents())
        static_cast<CKarveloDoc*>(doc)->Model().SetSingleSelection(single);
    if (MainFrame())
        MainFrame()->ScheduleCommandUI();
}

void CKarveloApp::OnUpdateToolDraw(fw::CommandState& state)
{
    state.SetCheck(m_settings.CurrentTool() == CEditorSettings::DrawTool);
}

void CKarveloApp::OnUpdateToolSelect(fw::CommandState& state)
{
    state.SetCheck(m_settings.CurrentTool() == CEditorSettings::SelectTool);
}

void CKarveloApp::OnAppAbout()
{
    CAboutDlg about(MainFrame());
    about.exec();
}

bool CKarveloApp::OnCmdMsg(fw::CommandId id, fw::CommandState* state)
{
    static const fw::CommandTable<CKarveloApp> table = {
        {fw::ID_APP_ABOUT, &CKarveloApp::OnAppAbout},
        {resources::ID_TOOL_DRAW, &CKarveloApp::OnToolDraw, &CKarveloApp::OnUpdateToolDraw},
        {resources::ID_TOOL_SELECT, &CKarveloApp::OnToolSelect, &CKarveloApp::OnUpdateToolSelect},
        {resources::ID_VIEW_GRID, &CKarveloApp::OnViewGrid, &CKarveloApp::OnUpdateViewGrid},
        {resources::ID_VIEW_NAMES, &CKarveloApp::OnViewNames, &CKarveloApp::OnUpdateViewNames},
    };
    return table.Dispatch(this, id, state) || fw::Application::OnCmdMsg(id, state);
}
