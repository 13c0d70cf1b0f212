#include "Hardening.h"

#include "BoundedString.h"
#include "PathText.h"
#include "TFileSys.h"

void RestrictDllSearch()
{
    // Looked up at run time: Windows Vista and 7 without update KB2533623
    // lack it, and there the current directory at least leaves the search.
    typedef BOOL(WINAPI * SetDefaultDirectories)(DWORD);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    SetDefaultDirectories set = (SetDefaultDirectories)(void *)found;
    if (!set || !set(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryA("");
}

// Length of path without its trailing separators; a drive's root keeps its own.
static unsigned TrimmedLength(const char *path, unsigned length)
{
    while (length > 3 && path[length - 1] == '\\')
        length--;
    return length;
}

int HandleReachesPath(HANDLE handle, const char *path)
{
    char reached[FS_PATH_LENGTH + 8];
    DWORD n = GetFinalPathNameByHandleA(handle, reached, sizeof reached,
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    // "\\?\X:\..." for a drive path; "\\?\UNC\..." and anything else fails.
    if (n < 6 || n >= sizeof reached || reached[0] != '\\' || reached[1] != '\\' ||
        reached[2] != '?' || reached[3] != '\\' || reached[5] != ':')
        return 0;
    unsigned length = TrimmedLength(reached + 4, n - 4);
    unsigned wanted = TrimmedLength(path, LengthBounded(path, FS_PATH_LENGTH + 1));
    if (length != wanted)
        return 0;
    for (unsigned i = 0; i < length; i++)
        if (PathUpper(reached[4 + i]) != PathUpper(path[i]))
            return 0;
    return 1;
}

int FolderReachedWithoutLink(const char *path)
{
    HANDLE folder = CreateFileA(path, FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                                OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, 0);
    if (folder == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info;
    int direct = GetFileInformationByHandle(folder, &info) &&
                 (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                 !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                 HandleReachesPath(folder, path);
    CloseHandle(folder);
    return direct;
}
