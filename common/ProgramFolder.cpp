#include "ProgramFolder.h"

#include "BoundedString.h"
#include "PathText.h"
#include "TFileSys.h"

int FindProgramFolder(const char *pattern, const char *const *folders, unsigned count,
                      char *folder, unsigned size)
{
    char candidate[FS_PATH_LENGTH + 1];
    unsigned directory = LengthBounded(pattern, sizeof candidate);
    while (directory && pattern[directory - 1] != '\\')
        directory--;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int taken = 0;
    do {
        CopyBounded(candidate, pattern, directory + 1);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !AppendBounded(candidate, found.cFileName, sizeof candidate))
            continue;
        for (unsigned i = 0; i < count && !taken; i++)
            taken = SameFolderText(candidate, folders[i]);
    } while (!taken && FindNextFileA(search, &found));
    FindClose(search);
    if (!taken || (unsigned)lstrlenA(candidate) >= size)
        return 0;
    return CopyBounded(folder, candidate, size);
}
