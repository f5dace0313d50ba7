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

private:
    void OnAppAbout();
    // Prints the file named on the command line on the default or the given printer.
    bool PrintFromCommandLine(const fw::CommandLineInfo& info);
};
