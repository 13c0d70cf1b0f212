// The lstr* functions of the stand-in layer: plain byte strings.
#include "HostWin32.h"
#include <string.h>
#include <strings.h>

int lstrlenA(LPCSTR text) { return text ? (int)strlen(text) : 0; }
LPSTR lstrcpyA(LPSTR target, LPCSTR source) { return strcpy(target, source); }
LPSTR lstrcatA(LPSTR target, LPCSTR source) { return strcat(target, source); }

LPSTR lstrcpynA(LPSTR target, LPCSTR source, int size)
{
    if (size <= 0)
        return target;
    int n = 0;
    while (n + 1 < size && source[n]) {
        target[n] = source[n];
        n++;
    }
    target[n] = '\0';
    return target;
}

int lstrcmpiA(LPCSTR a, LPCSTR b) { return strcasecmp(a, b); }
