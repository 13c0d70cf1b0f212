// The process entry of Install and _purgel. They need nothing of the C runtime's
// start-up (no command line parsing, no console, no thread-local data), so it
// starts here instead: that keeps about 9 KB of start-up code out of the
// executable. Static constructors still run, should any appear: the linker
// gathers them between __CTOR_LIST__ (a -1) and a terminating null, and they
// run last one first, as the runtime's own start-up would run them (whose
// object would also bring unwind tables of half a kilobyte).
#include <windows.h>

#include "Hardening.h"

typedef void (*Constructor)(void);
extern "C" Constructor __CTOR_LIST__[];

// The program ends with ExitProcess and runs nothing at exit; the start-up
// code that would keep the list of exit functions is not linked, so a
// registration (such as one for a static destructor) is accepted and
// dropped.
extern "C" int atexit(void (*)(void))
{
    return 0;
}

extern "C" void ProgramEntry(void)
{
    // Before anything loads a DLL by name: Install.exe is typically started
    // from a downloads folder, where a web page may have left one named like
    // a DLL that the shell or COM loads later, and a copy beside the
    // uninstaller is not the system's either.
    RestrictDllSearch();
    // Both programs run elevated and act on paths that pass through
    // folders of the user's: where the system can, junctions that a
    // standard user made there are not followed at all.
    TrustOnlyAdministratorsRedirections();
    unsigned count = 0;
    while (__CTOR_LIST__[count + 1])
        count++;
    for (; count > 0; count--)
        __CTOR_LIST__[count]();
    ExitProcess(WinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWDEFAULT));
}
