#include "Hardening.h"

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

// The redirection-trust mitigation: its number among the process
// mitigation policies, and its flag that enforces it.
#define REDIRECTION_TRUST_POLICY 16
#define ENFORCE_REDIRECTION_TRUST 1

void TrustOnlyAdministratorsRedirections()
{
    // Looked up at run time in the kernel32 already loaded (a known DLL the
    // system loads from its own directory before any of our code runs):
    // before Windows 8 the function is missing, and before Windows 11 22H2
    // it refuses this policy; either way the program goes on without it.
    typedef BOOL(WINAPI * SetMitigation)(int, void *, SIZE_T);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "SetProcessMitigationPolicy") : 0;
    SetMitigation set = (SetMitigation)(void *)found;
    DWORD policy = ENFORCE_REDIRECTION_TRUST;
    if (set)
        set(REDIRECTION_TRUST_POLICY, &policy, sizeof policy);
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
    return SameFolderText(reached + 4, path);
}

// The folder path itself (a link there is not followed, and its handle's
// final path would be the link's own), opened with share, when it is a
// folder reached without a link in any component.
static HANDLE OpenFolderDirectly(const char *path, DWORD share)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return INVALID_HANDLE_VALUE;
    HANDLE folder = CreateFileA(path, FILE_READ_ATTRIBUTES, share, 0, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, 0);
    if (folder != INVALID_HANDLE_VALUE && !HandleReachesPath(folder, path)) {
        CloseHandle(folder);
        folder = INVALID_HANDLE_VALUE;
    }
    return folder;
}

int FolderReachedWithoutLink(const char *path)
{
    HANDLE folder =
        OpenFolderDirectly(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (folder == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(folder);
    return 1;
}

HANDLE HoldFolder(const char *path)
{
    return OpenFolderDirectly(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

int RemoveReachedItem(const char *path, int fileToo)
{
    HANDLE item = CreateFileA(path, DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                              OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, 0);
    if (item == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    BY_HANDLE_FILE_INFORMATION info;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    // A folder that is not empty, and a read-only file, refuse the deletion.
    int removed = GetFileInformationByHandle(item, &info) &&
                  !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                  (fileToo || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) &&
                  HandleReachesPath(item, path) &&
                  SetFileInformationByHandle(item, FileDispositionInfo, &disposition,
                                             sizeof disposition);
    CloseHandle(item);
    return removed;
}

// An access-allowed entry for a SID of count sub-authorities, laid out as the
// platform reads it inside an access list.
template <int count> struct AllowedEntry {
    ACE_HEADER header;
    ACCESS_MASK mask;
    BYTE revision, subAuthorityCount, authority[6];
    DWORD subAuthority[count];
};

#define INHERITED (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)
#define NT_AUTHORITY {0, 0, 0, 0, 0, 5}
#define ALLOW(count, mask, ...)                                                           \
    {{ACCESS_ALLOWED_ACE_TYPE, INHERITED, sizeof(AllowedEntry<count>)}, mask, 1, count,  \
     NT_AUTHORITY, {__VA_ARGS__}}

// A self-relative descriptor with a protected access list: Administrators
// and SYSTEM full control, Users read and execute, each inherited by the
// files and folders made inside; no owner (the creator's) and no group.
static const struct {
    SECURITY_DESCRIPTOR_RELATIVE header;
    ACL list;
    AllowedEntry<2> administrators;
    AllowedEntry<1> system;
    AllowedEntry<2> users;
} protectedFolder = {
    {SECURITY_DESCRIPTOR_REVISION, 0, SE_SELF_RELATIVE | SE_DACL_PRESENT | SE_DACL_PROTECTED, 0,
     0, 0, sizeof(SECURITY_DESCRIPTOR_RELATIVE)},
    {ACL_REVISION, 0, sizeof protectedFolder - sizeof(SECURITY_DESCRIPTOR_RELATIVE), 3, 0},
    ALLOW(2, FILE_ALL_ACCESS, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS),
    ALLOW(1, FILE_ALL_ACCESS, SECURITY_LOCAL_SYSTEM_RID),
    ALLOW(2, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, SECURITY_BUILTIN_DOMAIN_RID,
          DOMAIN_ALIAS_RID_USERS)};

static_assert(sizeof protectedFolder == 20 + 8 + 24 + 20 + 24, "the descriptor has no padding");

const void *ProtectedFolderDescriptor()
{
    return &protectedFolder;
}

int CreateProtectedFolder(const char *path)
{
    SECURITY_ATTRIBUTES security = {sizeof security, (void *)&protectedFolder, FALSE};
    return CreateDirectoryA(path, &security) != 0;
}
