// The installation itself: payload files, program group and shortcuts, the
// application's settings file with the list of what the uninstaller
// removes, the uninstall entry, the completion message and the launch. It
// runs in one go and a step that fails does not stop the next, but nothing
// is left that no uninstaller could remove: no shortcut without the
// directory, no entry without its uninstaller and list. Also the checks
// the options page makes before it lets the installation start.
#include <windows.h>
#include "SetupState.h"
#include "ApplicationBroadcast.h"
#include "BoundedString.h"
#include "CodePage.h"
#include "Hardening.h"
#include "ShellFolders.h"
#include "TBuffer.h"
#include "TINIFile.h"
#include "PathText.h"

#define PATH_SIZE (FS_PATH_LENGTH + 1)
#define MESSAGE_SIZE 256
#define APPEND_AT_END 0x7FFFFFFF
// The warning about an incomplete installation names this many items and
// counts the rest.
#define FAILURES_NAMED 3
#define FAILURE_NAMES_SIZE (FAILURES_NAMED * (PATH_SIZE + 1))

static const char DEINSTALL[] = "DeInstall";
static const char SETTINGS[] = "Settings";
static const char INTERNET_SETTINGS_KEY[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
#define UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"

// The longest of the payload's file names and the settings file's name,
// counted when the program is built.
static constexpr unsigned LongestName()
{
    unsigned longest = sizeof SETTINGS_FILE_NAME - 1;
#define PAYLOAD_FILE(identifier, fileName) \
    longest = sizeof fileName - 1 > longest ? sizeof fileName - 1 : longest;
#include "product/Payload.inc"
#undef PAYLOAD_FILE
    return longest;
}
static constexpr unsigned LONGEST_NAME = LongestName();

// 1 when path names a place of a drive on its own ("D", "D:", "D:\..."); a
// relative path would depend on the setup program's current directory, and
// the uninstall entry could not name it. A share is not taken: what a
// network path reaches cannot be checked for links.
static int IsRootedPath(const char *path, unsigned length)
{
    char drive = path[0] & ~0x20;
    return drive >= 'A' && drive <= 'Z' &&
           (length == 1 || (path[1] == ':' && (length == 2 || path[2] == '\\')));
}

// target = directory + separator + name, within PATH_SIZE characters.
// Returns 1 when all of it fitted; a cut result is still terminated.
static int JoinPath(char *target, const char *directory, const char *name)
{
    CopyBounded(target, directory, PATH_SIZE);
    installContext->AddSeparator(target, PATH_SIZE);
    unsigned length = lstrlenA(target);
    if (!length || target[length - 1] != '\\')
        return 0;
    return AppendBounded(target, name, PATH_SIZE);
}

// Writes into folder (PATH_SIZE characters) the installation directory path
// as a folder of a drive, without trailing separators ("D" becomes "D:\").
// Returns its length; 0 when path names no folder of a drive, or has an
// empty component, a slash or a component that the platform would change
// (".", "..", a trailing dot or blank): the path checked for links must be
// the path written to, letter for letter.
static unsigned DriveFolder(char *folder, const char *path)
{
    if (!JoinPath(folder, path, ""))
        return 0;
    unsigned length = lstrlenA(folder);
    while (length > 3 && folder[length - 1] == '\\')
        folder[--length] = '\0';
    if (folder[1] != ':' || folder[2] != '\\')
        return 0;
    for (unsigned i = 3; i < length; i++) {
        char next = folder[i + 1];
        if (folder[i] == '/' || (folder[i] == '\\' && folder[i - 1] == '\\') ||
            ((folder[i] == '.' || folder[i] == ' ') && (next == '\\' || next == '\0')))
            return 0;
    }
    return length;
}

// The attributes of the first i characters of folder (length characters)
// when they end a component (a separator or the end follows), else
// NOT_A_COMPONENT.
#define NOT_A_COMPONENT 0xFFFFFFFEu
static DWORD ComponentAttributes(char *folder, unsigned i, unsigned length)
{
    if (i < length && folder[i] != '\\')
        return NOT_A_COMPONENT;
    char kept = folder[i];
    folder[i] = '\0';
    DWORD attributes = GetFileAttributesA(folder);
    folder[i] = kept;
    return attributes;
}

// Why folder (cut to its existing part) is not reached as written: it is
// a file, not a folder; a link (junction, mount point, symbolic link) in
// one of its components; or a short 8.3 name that the platform turns into
// the long one. Whatever else leads elsewhere (a drive whose root is a
// mount point) counts as a link.
static int DetourReason(char *folder)
{
    DWORD found = GetFileAttributesA(folder);
    if (found != INVALID_FILE_ATTRIBUTES && !(found & FILE_ATTRIBUTE_DIRECTORY))
        return STR_PATH_NOT_ON_DRIVE;
    unsigned length = lstrlenA(folder);
    for (unsigned i = 3; i <= length; i++) {
        DWORD attributes = ComponentAttributes(folder, i, length);
        if (attributes != INVALID_FILE_ATTRIBUTES && attributes != NOT_A_COMPONENT &&
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return STR_PATH_LINK;
    }
    char longPath[PATH_SIZE];
    DWORD n = GetLongPathNameA(folder, longPath, PATH_SIZE);
    return n && n < PATH_SIZE && !SameFolderText(longPath, folder) ? STR_PATH_SHORT_NAME
                                                                    : STR_PATH_LINK;
}

// The installation directory path as DriveFolder makes it, in folder, and
// its length; 0 when it is none, or when the part of it that exists (up to
// the last existing folder above the first missing one; the root when only
// that is left) is not reached without a link in any component. existing
// receives the length of that part, reason (when given) why it was refused.
static unsigned LinkFreeFolder(char *folder, const char *path, unsigned *existing,
                               int *reason = 0)
{
    unsigned length = DriveFolder(folder, path);
    *existing = 3;
    if (reason)
        *reason = length ? 0 : STR_PATH_NOT_ON_DRIVE;
    for (unsigned i = 4; length && i <= length; i++) {
        DWORD attributes = ComponentAttributes(folder, i, length);
        if (attributes == NOT_A_COMPONENT)
            continue;
        if (attributes == INVALID_FILE_ATTRIBUTES)
            break;
        *existing = i;
    }
    char kept = folder[*existing];
    folder[*existing] = '\0';
    int direct = length && FolderReachedWithoutLink(folder);
    if (length && !direct && reason)
        *reason = DetourReason(folder);
    folder[*existing] = kept;
    return direct ? length : 0;
}

// 1 when the existing part of folder (length characters, of which the
// first existing exist) can be changed by no other user: the installation
// trusts what it finds there, and writes and later removes by path. Files
// and folders may not be added by others to the directory itself when it
// exists; where it does not, the setup makes it with its own descriptor,
// and a folder planted first makes that fail.
static int ExistingPartProtected(char *folder, unsigned length, unsigned existing)
{
    char kept = folder[existing];
    folder[existing] = '\0';
    int protectedChain = FolderChainProtected(folder, existing == length, 0);
    folder[existing] = kept;
    return protectedChain;
}

// 1 when every line that an installation into path lists for removal (the
// folders it may create above the directory, its files) reads back from the
// settings file as itself: a path with "=" or "[" would come back as an
// entry or a header, and the uninstaller would never see it.
static int ListedLinesReadBack(const char *path, char *folder)
{
    TBuffer line(PATH_SIZE);
    for (const PayloadFile *row = payloadFiles;; row++) {
        const char *name = row->identifier ? row->fileName : SETTINGS_FILE_NAME;
        if (!JoinPath(line, path, name) || !TINIFile::ReadsBackAsText(line))
            return 0;
        if (!row->identifier)
            break;
    }
    unsigned length = lstrlenA(folder);
    for (unsigned i = 4; i <= length; i++) {
        if (i < length && folder[i] != '\\')
            continue;
        CopyBounded(line, folder, i + 1);
        if (!TINIFile::ReadsBackAsText(line))
            return 0;
    }
    return 1;
}

// 0 when path can be installed into, else the string base of the reason:
// it must be rooted (above), not a network path (what it reaches cannot be
// checked for links), free of characters of two bytes (where UTF-8 is not in
// force, the byte rules would misread their second byte), short enough that every path the installation builds
// from it (a separator or ":\", then the longest payload or settings file
// name; the uninstaller's path in quotes) fits into a path buffer, listable
// (ListedLinesReadBack), and what exists of it reached without a link in
// any component, since the installation would otherwise write wherever the
// link points.
int InstallPathProblem(const char *path)
{
    unsigned length = LengthBounded(path, INSTALL_PATH_SIZE);
    if (length >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]))
        return STR_PATH_NETWORK;
    if (length == 0 || !IsRootedPath(path, length))
        return STR_PATH_NOT_ON_DRIVE;
    if (HoldsDoubleByte(path))
        return STR_PATH_CODE_PAGE;
    const unsigned separator = 2, quotes = 2;
    if (length + separator + LONGEST_NAME + quotes > FS_PATH_LENGTH)
        return STR_PATH_TOO_LONG;
    char folder[PATH_SIZE];
    if (!DriveFolder(folder, path))
        return STR_PATH_NOT_ON_DRIVE;
    if (!ListedLinesReadBack(path, folder))
        return STR_PATH_CHARACTERS;
    unsigned existing;
    int reason;
    unsigned folderLength = LinkFreeFolder(folder, path, &existing, &reason);
    if (!reason && !ExistingPartProtected(folder, folderLength, existing))
        reason = STR_PATH_OPEN;
    return reason;
}

// What could not be written: the first few names, one a line, and the count.
struct Failures {
    unsigned count;
    char names[FAILURE_NAMES_SIZE];
};

// Notes name as failed when done is 0.
static void Note(Failures *failures, int done, const char *name)
{
    if (done)
        return;
    if (failures->count < FAILURES_NAMED) {
        if (failures->count)
            AppendBounded(failures->names, "\n", FAILURE_NAMES_SIZE);
        AppendBounded(failures->names, name, FAILURE_NAMES_SIZE);
    }
    failures->count++;
}

// Appends to text (size characters) the names noted in failures, and "+n"
// for those beyond the first few.
static void AppendNames(char *text, unsigned size, const Failures &failures)
{
    AppendBounded(text, "\n\n", size);
    AppendBounded(text, failures.names, size);
    if (failures.count > FAILURES_NAMED) {
        AppendBounded(text, "\n+", size);
        AppendDecimal(text, failures.count - FAILURES_NAMED, size);
    }
}

// 1 when section "DeInstall" of profile holds path (case ignored), also as
// an earlier version wrote it, in the system's code page.
static int Listed(TINIFile *profile, const char *path)
{
    unsigned count = profile->TextCount(DEINSTALL);
    for (unsigned i = 0; i < count; i++)
        if (SameListedPath(profile->GetText(DEINSTALL, i), path))
            return 1;
    return 0;
}

// Lists path for removal, unless the list names it already: installing
// again over an earlier version's list adds no second line for an item.
static void ListForRemoval(TINIFile *profile, const char *path)
{
    if (!Listed(profile, path))
        profile->PutText(DEINSTALL, path, APPEND_AT_END);
}

// Sets key of section "Settings" to text as the application, a program of
// the system's code page, reads it.
static void SetSetting(TINIFile *profile, const char *key, const char *text)
{
    TBuffer converted(REGISTRY_TEXT_SIZE);
    TextForSystemCodePage(text, converted, REGISTRY_TEXT_SIZE);
    profile->SetValue(SETTINGS, key, converted.data);
}

// Reads the settings file in directory without ever writing it back.
static TINIFile *ReadSettings(const char *directory, char *path)
{
    JoinPath(path, directory, SETTINGS_FILE_NAME);
    return new TINIFile(path, 1);
}

static void CloseUnchanged(TINIFile *profile)
{
    profile->ClearModified();
    delete profile;
}

int ConfirmReplacingFiles(HWND owner)
{
    TBuffer path(PATH_SIZE);
    TINIFile *profile = ReadSettings(installPath, path);
    Failures foreign;
    ZeroMemory(&foreign, sizeof foreign);
    for (const PayloadFile *row = payloadFiles; row->identifier; row++) {
        JoinPath(path, installPath, row->fileName);
        DWORD attributes = GetFileAttributesA(path);
        Note(&foreign,
             attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
                 Listed(profile, path),
             row->fileName);
    }
    CloseUnchanged(profile);
    if (!foreign.count)
        return 1;
    const unsigned size = 2 * MESSAGE_SIZE + 4 + FAILURE_NAMES_SIZE + 16;
    TBuffer text(size);
    TBuffer caption(MESSAGE_SIZE);
    LoadStringA(appInstance, STR_REPLACE_TEXT + languageOffset, text, MESSAGE_SIZE);
    AppendNames(text, size, foreign);
    AppendBounded(text, "\n\n", size);
    LoadStringA(appInstance, STR_REPLACE_QUESTION + languageOffset, caption, MESSAGE_SIZE);
    AppendBounded(text, caption, size);
    LoadStringA(appInstance, STR_REPLACE_CAPTION + languageOffset, caption, MESSAGE_SIZE);
    return MessageBoxA(owner, text, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int FindInstallation(char *directory)
{
    HKEY key;
    TBuffer command(REGISTRY_TEXT_SIZE);
    int found = RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY "\\" PRODUCT_NAME, 0, KEY_READ,
                              &key) == ERROR_SUCCESS;
    if (found) {
        found = QueryRegistryText(key, "UninstallString", command);
        RegCloseKey(key);
    }
    // "X:\...\_purgel.exe" in quotes: the folder is what stands before the
    // last separator (a drive's root keeps its own).
    char *uninstaller = command.data;
    unsigned length = LengthBounded(uninstaller, REGISTRY_TEXT_SIZE);
    if (!found || length < 2 || uninstaller[0] != '"' || uninstaller[length - 1] != '"')
        return 0;
    uninstaller[length - 1] = '\0';
    uninstaller++;
    char *name = uninstaller + length - 2;
    while (name > uninstaller && name[-1] != '\\')
        name--;
    if (name - uninstaller < 3 || name - uninstaller > FS_PATH_LENGTH ||
        !SamePathText(name, payloadFiles[UNINSTALLER_ROW].fileName))
        return 0;
    CopyBounded(directory, uninstaller, name - uninstaller == 3 ? 4 : name - uninstaller);
    DWORD attributes = GetFileAttributesA(uninstaller);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        InstallPathProblem(directory))
        return 0;
    // Ours: its settings file lists that very uninstaller.
    TBuffer path(PATH_SIZE);
    TINIFile *profile = ReadSettings(directory, path);
    found = Listed(profile, uninstaller);
    CloseUnchanged(profile);
    return found;
}

int QueryRegistryText(HKEY key, const char *name, char *text)
{
    ZeroMemory(text, REGISTRY_TEXT_SIZE);
    DWORD size = REGISTRY_TEXT_SIZE - 1;
    if (RegQueryValueExA(key, name, NULL, NULL, (BYTE *)text, &size) != ERROR_SUCCESS)
        return 0;
    text[size < REGISTRY_TEXT_SIZE ? size : REGISTRY_TEXT_SIZE - 1] = '\0';
    return 1;
}

// Kilobytes, rounded up, of the payload files as they now are in the
// installation directory; a file that could not be written counts nothing.
static DWORD InstalledKilobytes()
{
    TBuffer path(PATH_SIZE);
    ULONGLONG bytes = 0;
    for (const PayloadFile *row = payloadFiles; row->identifier; row++) {
        WIN32_FIND_DATAA file;
        HANDLE search = INVALID_HANDLE_VALUE;
        if (JoinPath(path, installPath, row->fileName))
            search = FindFirstFileA(path, &file);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        FindClose(search);
        if (!(file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            bytes += (ULONGLONG)file.nFileSizeHigh << 32 | file.nFileSizeLow;
    }
    ULONGLONG kilobytes = (bytes + 1023) >> 10;
    return kilobytes > 0xFFFFFFFF ? 0xFFFFFFFF : (DWORD)kilobytes;
}

// Registry values of the uninstall entry; each returns 1 when written.
static int SetText(HKEY key, const char *name, const char *text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, lstrlenA(text) + 1) ==
           ERROR_SUCCESS;
}

static int SetNumber(HKEY key, const char *name, DWORD number)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&number, sizeof number) ==
           ERROR_SUCCESS;
}

// Creates the folder "Veltrano 1.0" in the Programs folder with the group's
// shortcuts, and lists the shortcuts and then the folder for removal. A
// Programs or group folder reached through a link is left alone: nothing is
// made there or listed, and the shortcuts are named as not written.
static void CreateProgramGroup(TINIFile *profile, const char *programs, int exact,
                               Failures *failures)
{
    TBuffer group(PATH_SIZE);
    TBuffer link(PATH_SIZE);
    TBuffer target(PATH_SIZE);
    if (!JoinPath(group, programs, PRODUCT_TITLE))
        return;
    // A group whose folder or shortcuts the list could not name would stay
    // for ever: it is treated like one behind a link.
    // So would one in a folder whose name the code page could not carry.
    // Both folders are held while the group is made and written: no one can
    // swap either (or a folder above) for a link in the meantime.
    HANDLE held[2] = {exact ? HoldFolder(programs) : INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
    int linkFree = held[0] != INVALID_HANDLE_VALUE && TINIFile::ReadsBackAsText(group);
    for (const GroupShortcut *row = groupShortcuts; linkFree && row->linkName[0]; row++)
        linkFree = JoinPath(link, group, row->linkName) && AppendBounded(link, ".lnk", PATH_SIZE) &&
                   TINIFile::ReadsBackAsText(link);
    if (linkFree) {
        installContext->CreateDirectoryPath(group);
        held[1] = HoldFolder(group);
        linkFree = held[1] != INVALID_HANDLE_VALUE;
    }
    for (const GroupShortcut *row = groupShortcuts; row->linkName[0]; row++) {
        if (!JoinPath(link, group, row->linkName) || !AppendBounded(link, ".lnk", PATH_SIZE))
            continue;
        if (!linkFree) {
            Note(failures, 0, link);
            continue;
        }
        ListForRemoval(profile, link);
        JoinPath(target, installPath, row->target);
        Note(failures, SUCCEEDED(installContext->CreateShellLink(target, link, row->linkName)),
             link);
    }
    if (linkFree)
        ListForRemoval(profile, group);
    for (int i = 0; i < 2; i++)
        if (held[i] != INVALID_HANDLE_VALUE)
            CloseHandle(held[i]);
}

// Creates the installation directory with every missing folder above it,
// each with a protected descriptor (a folder made outside Program Files
// would otherwise let every user replace the programs that an administrator
// runs from it), and lists for removal each folder above it that this made,
// outermost first, so that the removal leaves no empty folder behind. A
// folder that existed before keeps its own descriptor and is never listed.
// Nothing is made below a folder reached through a link, nor after a folder
// could not be made, nor anything at all when another user could change
// what exists of the path. Returns 1 when the directory is there and reached
// without a link in any component: only then may anything be written into it.
static int CreateInstallDirectory(TINIFile *profile)
{
    TBuffer folder(PATH_SIZE);
    unsigned existing;
    unsigned length = LinkFreeFolder(folder, installPath, &existing);
    // Checked again now: the options page's check may be long past.
    int direct = length != 0 && ExistingPartProtected(folder, length, existing);
    for (unsigned i = existing + 1; direct && i <= length; i++) {
        if (i < length && folder[i] != '\\')
            continue;
        folder[i] = '\0';
        direct = CreateProtectedFolder(folder);
        if (direct && i < length)
            ListForRemoval(profile, folder);
        if (i < length)
            folder[i] = '\\';
    }
    return direct && FolderReachedWithoutLink(folder);
}

// Registers the uninstaller in the system's list of installed software.
// The entry also gives what the list shows of the program: icon (the
// application's), version, size and location; it offers neither change nor
// repair. Returns 1 when every value was written.
static int WriteUninstallEntry()
{
    // The uninstaller's path in quotes (room for them around a whole path).
    TBuffer command(PATH_SIZE + 2);
    command[0] = '"';
    JoinPath(command.data + 1, installPath, payloadFiles[UNINSTALLER_ROW].fileName);
    AppendBounded(command, "\"", PATH_SIZE + 2);
    // The icon: the application's file and the index of its first icon.
    TBuffer icon(PATH_SIZE);
    JoinPath(icon, installPath, payloadFiles[APPLICATION_ROW].fileName);
    AppendBounded(icon, ",0", PATH_SIZE);
    // The directory with its separator, so that a drive letter alone (D)
    // names the drive's root.
    TBuffer location(PATH_SIZE);
    JoinPath(location, installPath, "");

    HKEY parent, key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_CREATE_SUB_KEY, &parent) !=
        ERROR_SUCCESS)
        return 0;
    DWORD disposition;
    LONG status = RegCreateKeyExA(parent, PRODUCT_NAME, 0, (LPSTR) "", REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, NULL, &key, &disposition);
    RegCloseKey(parent);
    if (status != ERROR_SUCCESS)
        return 0;
    int written = SetText(key, "DisplayName", PRODUCT_TITLE);
    written &= SetText(key, "UninstallString", command);
    written &= SetText(key, "DisplayIcon", icon);
    written &= SetText(key, "DisplayVersion", PRODUCT_VERSION);
    written &= SetText(key, "InstallLocation", location);
    written &= SetNumber(key, "EstimatedSize", InstalledKilobytes());
    written &= SetNumber(key, "NoModify", 1);
    written &= SetNumber(key, "NoRepair", 1);
    RegCloseKey(key);
    return written;
}

// Copies the user's proxy and dial-up choices into the application's
// settings: "ProxyServer" is the proxy text up to its first colon,
// "ProxyPort" what follows it; "WebScanAutomatically" is the opposite of
// "EnableAutoDial".
static void CopyInternetSettings(TINIFile *profile)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, INTERNET_SETTINGS_KEY, 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return;
    TBuffer text(REGISTRY_TEXT_SIZE);
    if (QueryRegistryText(key, "ProxyServer", text)) {
        char *colon = text.data;
        while (*colon && *colon != ':')
            colon++;
        if (*colon) {
            *colon = '\0';
            SetSetting(profile, "ProxyPort", colon + 1);
        }
        SetSetting(profile, "ProxyServer", text.data);
    }
    if (QueryRegistryText(key, "EnableAutoDial", text)) {
        const BYTE *bytes = (const BYTE *)text.data;
        DWORD autoDial = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | (DWORD)bytes[3] << 24;
        profile->SetValue(SETTINGS, "WebScanAutomatically", autoDial ? "0" : "1");
    }
    RegCloseKey(key);
}

// Asks a running copy of the application to end when one may be running
// from here (its program file is there already), and waits a few seconds at
// most until that file can be replaced: reinstalling over a running
// application then replaces its files instead of failing on them.
static void CloseRunningApplication(const char *application)
{
    DWORD attributes = GetFileAttributesA(application);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY))
        return;   // nothing there, or nothing that waiting would free
    BroadcastUninstall();
    for (int tries = 0; tries < 50; tries++) {
        HANDLE file = CreateFileA(application, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return;
        }
        Sleep(100);
    }
}

// The last message: the completion message, or, when anything could not be
// written, a warning that names the first few items and counts the rest
// ("+4").
static void ShowEnd(const Failures &failures, int registered)
{
    const unsigned size = 2 * MESSAGE_SIZE + 4 + FAILURE_NAMES_SIZE + 16;
    TBuffer text(size);
    TBuffer caption(MESSAGE_SIZE);
    int incomplete = failures.count != 0;
    LoadStringA(appInstance, (incomplete ? STR_INCOMPLETE_TEXT : STR_DONE_TEXT) + languageOffset,
                text, MESSAGE_SIZE);
    LoadStringA(appInstance,
                (incomplete ? STR_INCOMPLETE_CAPTION : STR_DONE_CAPTION) + languageOffset, caption,
                MESSAGE_SIZE);
    if (incomplete)
        AppendNames(text, size, failures);
    if (incomplete && !registered) {
        AppendBounded(text, "\n\n", size);
        unsigned length = lstrlenA(text);
        if (length < size)
            LoadStringA(appInstance, STR_NOT_REGISTERED + languageOffset, text + length,
                        size - length);
    }
    MessageBoxA(NULL, text, caption, MB_OK | (incomplete ? MB_ICONWARNING : MB_ICONINFORMATION));
}

// Says that the application (its path) was not started, and where it is.
static void ShowNotStarted(const char *application)
{
    const unsigned size = MESSAGE_SIZE + PATH_SIZE + 2;
    TBuffer text(size);
    TBuffer caption(MESSAGE_SIZE);
    LoadStringA(appInstance, STR_NOT_STARTED + languageOffset, text, MESSAGE_SIZE);
    AppendBounded(text, "\n\n", size);
    AppendBounded(text, application, size);
    LoadStringA(appInstance, STR_DONE_CAPTION + languageOffset, caption, MESSAGE_SIZE);
    MessageBoxA(NULL, text, caption, MB_OK | MB_ICONINFORMATION);
}

// Runs the whole installation into installPath and ends the program by
// posting WM_DESTROY to window. Every step runs whatever failed before it;
// what failed is told at the end instead of the completion message.
void RunInstallation(HWND window)
{
    TBuffer path(PATH_SIZE);
    TBuffer application(PATH_SIZE);
    TBuffer programs(PATH_SIZE);
    TBuffer startup(PATH_SIZE);
    Failures failures;
    ZeroMemory(&failures, sizeof failures);

    JoinPath(path, installPath, SETTINGS_FILE_NAME);
    TINIFile *profile = new TINIFile(path, 1);
    // Nothing is written into a directory reached through a link.
    int direct = CreateInstallDirectory(profile);

    JoinPath(application, installPath, payloadFiles[APPLICATION_ROW].fileName);
    CloseRunningApplication(application);
    int applicationWritten = 1, uninstallerWritten = 1;
    for (const PayloadFile *row = payloadFiles; row->identifier; row++) {
        JoinPath(path, installPath, row->fileName);
        int written =
            direct && installContext->ExtractResource("INSTALL_FILE", row->identifier, path);
        Note(&failures, written, row->fileName);
        if (row == &payloadFiles[APPLICATION_ROW])
            applicationWritten = written;
        if (row == &payloadFiles[UNINSTALLER_ROW])
            uninstallerWritten = written;
        ListForRemoval(profile, path);
    }
    JoinPath(path, installPath, "pellino.exe.ini");
    ListForRemoval(profile, path);

    // Without a Programs (or Startup) folder there is nowhere to put the
    // group (or the start-up shortcut): that step is left out. Without the
    // installation directory there is nothing for shortcuts to point at,
    // and without its uninstaller (a full disk) nothing that could ever
    // remove them.
    int inexact = FindShellFolders(programs, startup);
    int removable = direct && uninstallerWritten;
    if (removable && createProgramGroup == 1 && programs[0])
        CreateProgramGroup(profile, programs, !(inexact & SHELL_PROGRAMS_INEXACT), &failures);
    // The start-up shortcut is listed too: left behind, it would try to start
    // a program that is gone at every logon. A Startup folder reached through
    // a link, one the list cannot name, or one whose name the code page
    // could not carry, gets no shortcut, and it is named as not written.
    if (removable && startWithWindows == 1 && startup[0] && JoinPath(path, startup, PRODUCT_TITLE) &&
        AppendBounded(path, ".lnk", PATH_SIZE)) {
        HANDLE held = inexact & SHELL_STARTUP_INEXACT ? INVALID_HANDLE_VALUE : HoldFolder(startup);
        int linkFree = held != INVALID_HANDLE_VALUE && TINIFile::ReadsBackAsText(path);
        if (linkFree)
            ListForRemoval(profile, path);
        Note(&failures,
             linkFree &&
                 SUCCEEDED(installContext->CreateShellLink(application, path, PRODUCT_TITLE)),
             path);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
    }

    CopyBounded(path, installPath, PATH_SIZE);
    AppendBounded(path, "\\VeltranoHelp.htm", PATH_SIZE);
    SetSetting(profile, "DefaultPage", path.data);
    CopyInternetSettings(profile);
    if (!direct)
        profile->ClearModified();
    int listWritten = direct && profile->Save();
    Note(&failures, listWritten, SETTINGS_FILE_NAME);
    delete profile;

    // Registered last, and only with its uninstaller and its list in place:
    // every entry in the list of installed software can then remove what it
    // stands for. An uninstaller registered in a directory reached through a
    // link would be run by an administrator from wherever the link points.
    int registered = direct && uninstallerWritten && listWritten && WriteUninstallEntry();
    if (!registered) {
        LoadStringA(appInstance, STR_UNINSTALL_ENTRY + languageOffset, path, PATH_SIZE);
        Note(&failures, 0, path);
    }

    ShowEnd(failures, registered);
    if (startAfterInstall == 1 && applicationWritten) {
        // The directory with its separator, so that a drive letter alone
        // (D) still names the drive's root.
        // It starts as the user who is logged on, through the desktop
        // shell, and only so: started from here it would run with the
        // administrator's rights, which a user who ended their own desktop
        // shell while the message was open would gain. Without a shell the
        // user is told where to start it.
        JoinPath(path, installPath, "");
        if (!StartThroughDesktop(application, path))
            ShowNotStarted(application);
    }
    PostMessageA(window, WM_DESTROY, 0, 0);
}
