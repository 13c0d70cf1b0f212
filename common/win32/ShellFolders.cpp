#include "ShellFolders.h"

#include <windows.h>

#include "BoundedString.h"
#include "CodePage.h"
#include "TBuffer.h"
#include "TFileSys.h"

// Registry data: 260 bytes, room for the terminator that the platform adds
// when it converts a text, and one more for a terminator the data may lack.
#define SHELL_TEXT_SIZE (MAX_PATH + 2)

int FindShellFolders(char *programs, char *startup)
{
    programs[0] = startup[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    WCHAR name[MAX_PATH + 1];
    WCHAR data[SHELL_TEXT_SIZE];
    int inexact = 0;
    for (DWORD index = 0;; index++) {
        DWORD nameSize = MAX_PATH;
        DWORD dataSize = (SHELL_TEXT_SIZE - 1) * sizeof(WCHAR);
        LONG status = RegEnumValueW(key, index, name, &nameSize, NULL, NULL, (BYTE *)data,
                                    &dataSize);
        // Too long for a path: passed over rather than ending the search.
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        data[dataSize / sizeof(WCHAR) < SHELL_TEXT_SIZE ? dataSize / sizeof(WCHAR)
                                                        : SHELL_TEXT_SIZE - 1] = L'\0';
        int which = !lstrcmpiW(name, L"Programs") ? SHELL_PROGRAMS_INEXACT
                    : !lstrcmpiW(name, L"Startup") ? SHELL_STARTUP_INEXACT : 0;
        char *folder = which == SHELL_PROGRAMS_INEXACT ? programs
                       : which == SHELL_STARTUP_INEXACT ? startup : 0;
        if (!folder)
            continue;
        // A cut path would name another folder.
        inexact &= ~which;
        if (lstrlenW(data) > FS_PATH_LENGTH)
            folder[0] = '\0';
        else if (!NameFromWide(data, folder, FS_PATH_LENGTH + 1))
            inexact |= which;
    }
    RegCloseKey(key);
    return inexact;
}
