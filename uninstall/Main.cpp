// Entry point of the uninstaller: one TFileSys object for the whole run,
// exit code 1 on every path.
#include "Uninstall.h"

TFileSys *installContext;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    installContext = new TFileSys(instance);
    RunUninstall(instance);
    delete installContext;
    installContext = 0;
    return 1;
}
