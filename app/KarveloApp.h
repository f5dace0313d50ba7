// The editor's application object.
#pragma once

#include "Application.h"

class CMainFrame;

class CKarveloApp : public fw::Application
{
    Q_OBJECT

public:
    CKarveloApp(int& argc, char** argv);
    ~CKarveloApp() override;

    bool InitInstance() override;
    bool ProcessShellCommand(fw::CommandLineInfo& info) override;
    bool OnCmdMsg(fw::CommandId id, fw::CommandState* state) override;

    CMainFrame* Frame() const;

    // The canvases' tool: the same in every window, Draw at every start.
    enum CanvasTool
    {
        DrawTool,
        SelectTool,
    };
    CanvasTool CurrentTool() const { return m_tool; }
    void SetTool(CanvasTool tool);

signals:
    void toolChanged();

private:
    void OnAppAbout();
    void OnToolDraw() { SetTool(DrawTool); }
    void OnToolSelect() { SetTool(SelectTool); }
    void OnUpdateToolDraw(fw::CommandState& state) { state.SetCheck(m_tool == DrawTool); }
    void OnUpdateToolSelect(fw::CommandState& state) { state.SetCheck(m_tool == SelectTool); }
    // Prints the file named on the command line on the default or the given printer.
    bool PrintFromCommandLine(const fw::CommandLineInfo& info);

    CanvasTool m_tool = DrawTool;
};
