// The process entry of Install. The program needs nothing of the C runtime's
// start-up (no command line parsing, no console, no thread-local data), so it
// starts here instead: that keeps about 9 KB of start-up code out of the
// executable. Static constructors still run (__main), should any appear.
#include <windows.h>

extern "C" void __main(void);

// The program ends with ExitProcess and runs nothing at exit; the start-up
// code that would keep the list of exit functions is not linked, so a
// registration (such as __main's for static destructors) is accepted and
// dropped.
extern "C" int atexit(void (*)(void))
{
    return 0;
}

extern "C" void InstallEntry(void)
{
    __main();
    ExitProcess(WinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWDEFAULT));
}
