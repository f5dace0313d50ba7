#include "Application.h"

#include "CommandIds.h"
#include "Dialogs.h"
#include "DocTemplate.h"
#include "Document.h"
#include "MdiChild.h"
#include "MdiFrame.h"
#include "Strings.h"
#include "View.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>

#include <utility>

namespace fw {

namespace {
Application* g_app = nullptr;
constexpr int RECENT_MENU_LENGTH = 30;
const char* const RECENT_SECTION = "Recent File List";
const char* const SETTINGS_SECTION = "Settings";
const char* const PREVIEW_PAGES = "PreviewPages";
} // namespace

Application* App()
{
    return g_app;
}

Application::Application(int& argc, char** argv)
{
    if (!QApplication::instance())
        m_ownedQt = std::make_unique<QApplication>(argc, argv);
    m_arguments = QApplication::arguments().mid(1);
    SetAppName(LoadString(AFX_IDS_APP_TITLE));
    g_app = this;
}

Application::~Application()
{
    delete std::exchange(m_mainFrame, nullptr);
    m_templates.clear();
    if (g_app == this)
        g_app = nullptr;
}

void Application::SetAppName(const QString& name)
{
    m_appName = name;
    SetMessageCaption(name);
}

void Application::SetRegistryKey(const QString& organisation)
{
    m_organisation = organisation;
    m_profile.reset();
    // The user's data folder (recovery, backups) lies under the same two names.
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(m_appName);
}

QSettings& Application::Profile()
{
    if (!m_profile)
        m_profile = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                m_organisation, m_appName);
    return *m_profile;
}

int Application::GetProfileInt(const QString& section, const QString& entry, int defaultValue)
{
    bool ok = false;
    const int value = Profile().value(section + QLatin1Char('/') + entry).toInt(&ok);
    return ok ? value : defaultValue;
}

void Application::WriteProfileInt(const QString& section, const QString& entry, int value)
{
    Profile().setValue(section + QLatin1Char('/') + entry, value);
}

void Application::LoadStdProfileSettings(int recentFiles)
{
    m_recentFiles = std::make_unique<RecentFileList>(QString::fromLatin1(RECENT_SECTION),
                                                     QStringLiteral("File%1"), recentFiles);
    m_recentFiles->ReadList(Profile());
    m_previewPages =
        GetProfileInt(QString::fromLatin1(SETTINGS_SECTION), QString::fromLatin1(PREVIEW_PAGES), 0);
}

void Application::Unregister()
{
    QSettings& profile = Profile();
    profile.clear();
    profile.sync();
    const QString file = profile.fileName();
    m_profile.reset();
    QFile::remove(file);
    // The organisation's folder goes too when nothing else is left in it.
    QDir().rmdir(QFileInfo(file).absolutePath());
}

int Application::ExitInstance()
{
    if (m_recentFiles)
        m_recentFiles->WriteList(Profile());
    if (m_previewPages != 0)
        WriteProfileInt(QString::fromLatin1(SETTINGS_SECTION), QString::fromLatin1(PREVIEW_PAGES),
                        m_previewPages);
    if (m_profile)
        m_profile->sync();
    return 0;
}

int Application::Run()
{
    if (!InitInstance()) {
        delete std::exchange(m_mainFrame, nullptr);
        return 1;
    }
    QApplication::exec();
    return ExitInstance();
}

void Application::AddDocTemplate(DocTemplate* docTemplate)
{
    m_templates.emplace_back(docTemplate);
}

CommandLineInfo Application::ParseCommandLine() const
{
    return CommandLineInfo::Parse(m_arguments);
}

bool Application::ProcessShellCommand(CommandLineInfo& info)
{
    switch (info.shellCommand) {
    case CommandLineInfo::FileNew:
        OnFileNew();
        return m_mainFrame != nullptr;
    case CommandLineInfo::FileOpen:
        if (!OpenDocumentFile(info.fileName))
            return false;
        // The first file decides whether the program starts; the others are told about alone.
        for (const QString& path : info.moreFiles)
            OpenDocumentFile(path);
        return true;
    case CommandLineInfo::AppUnregister:
        Unregister();
        if (!info.runEmbedded)
            MessageBox(AFX_IDP_UNREG_DONE, MB_OK, MB_ICONINFORMATION);
        m_recentFiles.reset(); // nothing is written back at exit
        return false;
    case CommandLineInfo::FileDDE:
    case CommandLineInfo::FileNothing:
        return true;
    case CommandLineInfo::FilePrint:
    case CommandLineInfo::FilePrintTo:
        // The application decides how a document is printed from the command line.
        return false;
    }
    return false;
}

Document* Application::OpenDocumentFile(const QString& path)
{
    if (m_templates.empty())
        return nullptr;
    // A file that is open already is only brought to the front.
    const QString full = QFileInfo(path).absoluteFilePath();
    for (Document* document : Documents()) {
        if (document->GetPathName() == full) {
            const std::vector<MdiChild*> frames = document->GetFrames();
            if (!frames.empty() && m_mainFrame)
                m_mainFrame->MdiArea()->setActiveSubWindow(frames.front());
            return document;
        }
    }
    return m_templates.front()->OpenDocumentFile(path);
}

std::vector<Document*> Application::Documents() const
{
    std::vector<Document*> all;
    for (const auto& docTemplate : m_templates)
        all.insert(all.end(), docTemplate->Documents().begin(), docTemplate->Documents().end());
    return all;
}

bool Application::SaveAllModified()
{
    for (Document* document : Documents())
        if (!document->SaveModified())
            return false;
    return true;
}

void Application::CloseAllDocuments()
{
    for (Document* document : Documents())
        document->OnCloseDocument();
}

void Application::AddToRecentFileList(const QString& path)
{
    if (!m_recentFiles)
        return;
    m_recentFiles->Add(path);
    // Written at once as well as at exit, so a crash does not take the list along.
    m_recentFiles->WriteList(Profile());
}

QStringList Application::RecentFileMenuTexts() const
{
    return m_recentFiles ? m_recentFiles->MenuTexts(RECENT_MENU_LENGTH) : QStringList();
}

void Application::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(QString());
}

void Application::OnFileOpen()
{
    FileRequest request;
    request.title = LoadString(AFX_IDS_OPENFILE);
    request.folder = QDir::currentPath();
    for (const auto& docTemplate : m_templates)
        request.filters << docTemplate->FilterName();
    if (!m_templates.empty())
        request.defaultExtension = m_templates.front()->FilterExtension();
    request.filters << LoadString(AFX_IDS_ALLFILTER);
    const QString path = AskForFile(request);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

QPrinter& Application::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void Application::OnFilePrintSetup()
{
    QPageSetupDialog dialog(&Printer(), m_mainFrame);
    dialog.exec();
}

void Application::OnAppExit()
{
    if (m_mainFrame)
        m_mainFrame->close();
}

void Application::OnOpenRecentFile(int index)
{
    if (!m_recentFiles || index >= m_recentFiles->Files().size())
        return;
    const QString path = m_recentFiles->Files()[index];
    if (!OpenDocumentFile(path)) {
        // The file is gone or broken: it leaves the list (the cause was shown already).
        m_recentFiles->Remove(index);
        m_recentFiles->WriteList(Profile());
    }
}

bool Application::OnCmdMsg(CommandId id, CommandState* state)
{
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) {
        const int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
        if (!m_recentFiles || index >= m_recentFiles->Files().size())
            return false;
        if (!state)
            OnOpenRecentFile(index);
        return true;
    }
    static const CommandTable<Application> table = {
        {ID_FILE_NEW, &Application::OnFileNew},
        {ID_FILE_OPEN, &Application::OnFileOpen},
        {ID_FILE_PRINT_SETUP, &Application::OnFilePrintSetup},
        {ID_APP_EXIT, &Application::OnAppExit},
    };
    return table.Dispatch(this, id, state);
}

} // namespace fw
