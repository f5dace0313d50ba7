#include "KarveloApp.h"

int main(int argc, char** argv)
{
    CKarveloApp app(argc, argv);
    return app.Run();
}
