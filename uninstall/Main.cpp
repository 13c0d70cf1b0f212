// Entry point of the uninstaller: one TFileSys object for the whole run,
// exit code 1 on every path.
#include "Uninstall.h"

TFileSys *installContext;
// Also the exit code when an allocation fails.
extern const UINT programExitCode = 1;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    installContext = new TFileSys(instance);
    RunUninstall(instance);
    delete installContext;
    installContext = 0;
    return programExitCode;
}
