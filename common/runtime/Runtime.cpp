// Global allocation for the programs, straight on the process heap. Linking
// these keeps libstdc++'s throwing operator new, and with it the exception
// machinery, out of the executables. An allocation that fails ends the
// program at once, with the program's own fixed exit code, rather than
// handing out a null pointer.
#include <windows.h>
#include <stddef.h>

// The exit code of the program, which each program defines.
extern const UINT programExitCode;

static void *RuntimeAllocate(size_t size)
{
    void *p = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (!p)
        ExitProcess(programExitCode);
    return p;
}

static void RuntimeFree(void *p)
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

void *operator new(size_t size) { return RuntimeAllocate(size); }
void *operator new[](size_t size) { return RuntimeAllocate(size); }
void operator delete(void *p) noexcept { RuntimeFree(p); }
void operator delete[](void *p) noexcept { RuntimeFree(p); }
void operator delete(void *p, size_t) noexcept { RuntimeFree(p); }
void operator delete[](void *p, size_t) noexcept { RuntimeFree(p); }

extern "C" void __cxa_pure_virtual() { ExitProcess(programExitCode); }
