#include "ProgramFolder.h"

#include "BoundedString.h"
#include "PathText.h"
#include "TFileSys.h"

int FindProgramFolder(const char *pattern, const char *const *folders, unsigned count,
                      char *folder, unsigned size)
{
    unsigned directory = LengthBounded(pattern, size - 1);
    while (directory && pattern[directory - 1] != '\\')
        directory--;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int taken = 0;
    do {
        // Built in folder itself, so that nothing is left of a candidate passed over.
        CopyBounded(folder, pattern, directory + 1);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !AppendBounded(folder, found.cFileName, size))
            continue;
        for (unsigned i = 0; i < count && !taken; i++)
            taken = SameFolderText(folder, folders[i]);
    } while (!taken && FindNextFileA(search, &found));
    FindClose(search);
    return taken;
}
