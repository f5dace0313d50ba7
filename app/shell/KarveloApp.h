// The editor's application object.
#pragma once

#include "Application.h"
#include "views/EditorSettings.h"

class CMainFrame;
class CRecovery;

class CKarveloApp : public fw::Application
{
    Q_OBJECT

public:
    CKarveloApp(int& argc, char** argv);
    ~CKarveloApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool ProcessShellCommand(fw::CommandLineInfo& info) override;
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

    CMainFrame* Frame() const;
    // Copies of unsaved layouts against crashes; made by InitInstance.
    CRecovery* Recovery() const { return m_recovery; }

    // "--help" and "--version" print to standard output before any window: the exit status,
    // or -1 when neither was asked for.
    static int PrintHelpOrVersion(int argc, char** argv);

    // The tool and the grid every window shares.
    CEditorSettings& Settings() { return m_settings; }

private:
    void OnAppAbout();
    void OnToolDraw() { m_settings.SetTool(CEditorSettings::DrawTool); }
    void OnToolSelect() { m_settings.SetTool(CEditorSettings::SelectTool); }
    void OnUpdateToolDraw(fw::CommandState& state);
    void OnUpdateToolSelect(fw::CommandState& state);
    void OnViewGrid() { m_settings.SetGrid(!m_settings.GridOn()); }
    void OnUpdateViewGrid(fw::CommandState& state) { state.SetCheck(m_settings.GridOn()); }
    void OnViewNames() { m_settings.ShowNames(!m_settings.NamesShown()); }
    void OnUpdateViewNames(fw::CommandState& state) { state.SetCheck(m_settings.NamesShown()); }
    // The tool changed: the documents learn how many controls may be selected.
    void OnToolChanged();
    // Prints the file named on the command line on the default or the given printer.
    bool PrintFromCommandLine(const fw::CommandLineInfo& info);

    CRecovery* m_recovery = nullptr;
    CEditorSettings m_settings;
};
