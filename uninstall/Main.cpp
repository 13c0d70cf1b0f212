// Entry point of the uninstaller: one TFileSys object for the whole run,
// exit code 1 on every path.
#include "Uninstall.h"

#include "Hardening.h"

TFileSys *installContext;
// Also the exit code when an allocation fails.
extern const UINT programExitCode = 1;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Before anything loads a DLL by name: a copy in the uninstaller's own
    // directory is not the system's.
    RestrictDllSearch();
    installContext = new TFileSys(instance);
    RunUninstall(instance);
    delete installContext;
    installContext = 0;
    return programExitCode;
}
