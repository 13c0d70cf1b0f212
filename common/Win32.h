// The platform's declarations for the library: the real <windows.h> in the
// Windows build; on Linux the small stand-in layer of the library's tests.
#ifndef VELTRANO_WIN32_H
#define VELTRANO_WIN32_H
#ifdef _WIN32
#include <windows.h>
#else
#include "HostWin32.h"
#endif
#endif
