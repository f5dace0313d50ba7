// The application: its templates, its main frame, its profile and the commands that belong
// to nobody else (File New, File Open, Print Setup, the recent files, Exit).
#pragma once

#include "CommandLineInfo.h"
#include "Commands.h"
#include "RecentFileList.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QApplication;
class QPrinter;
class QSettings;

namespace fw {

class DocTemplate;
class Document;
class MdiFrame;

class Application : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    // Uses the running QApplication, or makes (and owns) one from argc and argv.
    Application(int& argc, char** argv);
    ~Application() override;

    // Start-up; false ends the program.
    virtual bool InitInstance() = 0;
    // Writes the profile back; the result is the exit code.
    virtual int ExitInstance();
    // InitInstance, then the event loop until the main window closes.
    int Run();

    QString AppName() const { return m_appName; }
    void SetAppName(const QString& name);
    void SetRegistryKey(const QString& organisation);
    void LoadStdProfileSettings(int recentFiles);
    QSettings& Profile();
    int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
    void WriteProfileInt(const QString& section, const QString& entry, int value);
    // Removes everything this program keeps in the profile.
    void Unregister();

    void AddDocTemplate(DocTemplate* docTemplate); // the application owns it
    const std::vector<std::unique_ptr<DocTemplate>>& Templates() const { return m_templates; }
    MdiFrame* MainFrame() const { return m_mainFrame; }
    void SetMainFrame(MdiFrame* frame) { m_mainFrame = frame; }

    CommandLineInfo ParseCommandLine() const;
    // The arguments after the program name; taken from the QApplication at construction.
    void SetCommandLine(const QStringList& arguments) { m_arguments = arguments; }
    // Carries out the command line; false ends the program.
    virtual bool ProcessShellCommand(CommandLineInfo& info);

    Document* OpenDocumentFile(const QString& path);
    std::vector<Document*> Documents() const;
    // Asks about every modified document; false when one answer was Cancel.
    bool SaveAllModified();
    void CloseAllDocuments();

    void AddToRecentFileList(const QString& path);
    QStringList RecentFileMenuTexts() const;
    const RecentFileList* RecentFiles() const { return m_recentFiles.get(); }
    int PreviewPages() const { return m_previewPages; }
    void SetPreviewPages(int pages) { m_previewPages = pages; }

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnOpenRecentFile(int index);

    QPrinter& Printer();
    bool OnCmdMsg(CommandId id, CommandState* state) override;

private:
    std::unique_ptr<QApplication> m_ownedQt;
    QString m_appName;
    QString m_organisation;
    std::unique_ptr<QSettings> m_profile;
    std::unique_ptr<RecentFileList> m_recentFiles;
    std::vector<std::unique_ptr<DocTemplate>> m_templates;
    MdiFrame* m_mainFrame = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    QStringList m_arguments;
    int m_previewPages = 0;
};

// The running application, or null.
Application* App();

} // namespace fw
