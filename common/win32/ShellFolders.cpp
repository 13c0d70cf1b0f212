#include "ShellFolders.h"

#include <windows.h>

#include "BoundedString.h"
#include "TBuffer.h"
#include "TFileSys.h"

// Registry data: 260 bytes, room for the terminator that the platform adds
// when it converts a text, and one more for a terminator the data may lack.
#define SHELL_TEXT_SIZE (MAX_PATH + 2)

void FindShellFolders(char *programs, char *startup)
{
    programs[0] = startup[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return;
    TBuffer name(SHELL_TEXT_SIZE);
    TBuffer data(SHELL_TEXT_SIZE);
    for (DWORD index = 0;; index++) {
        DWORD nameSize = MAX_PATH;
        DWORD dataSize = SHELL_TEXT_SIZE - 1;
        LONG status = RegEnumValueA(key, index, name, &nameSize, NULL, NULL, (BYTE *)data.data,
                                    &dataSize);
        // Too long for a path: passed over rather than ending the search.
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        data[dataSize < SHELL_TEXT_SIZE ? dataSize : SHELL_TEXT_SIZE - 1] = '\0';
        char *folder = !lstrcmpiA(name, "Programs") ? programs
                       : !lstrcmpiA(name, "Startup") ? startup : 0;
        // A cut path would name another folder.
        if (folder && !CopyBounded(folder, data, FS_PATH_LENGTH + 1))
            folder[0] = '\0';
    }
    RegCloseKey(key);
}
