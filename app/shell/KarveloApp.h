// The editor's application object.
#pragma once

#include "Application.h"

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

    // The canvases' tool: the same in every window, Draw at every start.
    enum CanvasTool
    {
        DrawTool,
        SelectTool,
    };
    CanvasTool CurrentTool() const { return m_tool; }
    void SetTool(CanvasTool tool);

    // The grid of the Select tool: off at start; its spacing in layout pixels is a setting.
    bool GridOn() const { return m_grid; }
    void SetGrid(bool on);
    double GridSpacing() const { return m_gridSpacing; }

signals:
    void toolChanged();
    void gridChanged();

private:
    void OnAppAbout();
    void OnToolDraw() { SetTool(DrawTool); }
    void OnToolSelect() { SetTool(SelectTool); }
    void OnUpdateToolDraw(fw::CommandState& state) { state.SetCheck(m_tool == DrawTool); }
    void OnUpdateToolSelect(fw::CommandState& state) { state.SetCheck(m_tool == SelectTool); }
    void OnViewGrid() { SetGrid(!m_grid); }
    void OnUpdateViewGrid(fw::CommandState& state) { state.SetCheck(m_grid); }
    // Prints the file named on the command line on the default or the given printer.
    bool PrintFromCommandLine(const fw::CommandLineInfo& info);

    CRecovery* m_recovery = nullptr;
    CanvasTool m_tool = DrawTool;
    bool m_grid = false;
    double m_gridSpacing = 8;
};
