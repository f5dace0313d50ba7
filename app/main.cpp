#include "shell/KarveloApp.h"

int main(int argc, char** argv)
{
    if (const int status = CKarveloApp::PrintHelpOrVersion(argc, argv); status >= 0)
        return status;
    CKarveloApp app(argc, argv);
    return app.Run();
}
