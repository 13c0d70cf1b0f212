// The installation itself: payload files, program group and shortcuts,
// uninstall entry, the application's settings file with the list of what
// the uninstaller removes, the completion message and the launch. It runs
// in one go, nothing is undone, and a step that fails does not stop the next.
#include <windows.h>
#include <shellapi.h>
#include "SetupState.h"
#include "ApplicationBroadcast.h"
#include "BoundedString.h"
#include "ShellFolders.h"
#include "TBuffer.h"
#include "TINIFile.h"

#define PATH_SIZE (FS_PATH_LENGTH + 1)
// Registry names and data: 260 bytes, room for the terminator that the
// platform adds when it converts a text, and one more for a terminator that
// the stored data may lack.
#define REGISTRY_TEXT_SIZE (MAX_PATH + 2)
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
static const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct PayloadFile {
    const char *fileName;
    WORD identifier;
};

// Every payload file in installation order, ended by identifier 0. Row 1 is
// the application, row 3 the uninstaller.
const PayloadFile payloadFiles[] = {
#define PAYLOAD_FILE(identifier, fileName) {fileName, identifier},
#include "resources/Payload.inc"
#undef PAYLOAD_FILE
    {"", 0}};

struct GroupShortcut {
    const char *linkName;
    const char *target;   // file in the installation directory
};

// The shortcuts of the program group, ended by an empty link name.
const GroupShortcut groupShortcuts[] = {
#define GROUP_SHORTCUT(linkName, target) {linkName, target},
#include "resources/GroupShortcuts.inc"
#undef GROUP_SHORTCUT
    {"", ""}};

#define APPLICATION_ROW 0
#define UNINSTALLER_ROW 2

// 1 when path names a place on its own: a drive ("D", "D:", "D:\...") or a
// share ("\\server\share..."); a relative path would depend on the setup
// program's current directory, and the uninstall entry could not name it.
static int IsRootedPath(const char *path, unsigned length)
{
    char drive = path[0] & ~0x20;
    if (drive >= 'A' && drive <= 'Z')
        return length == 1 || (path[1] == ':' && (length == 2 || path[2] == '\\'));
    return length > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
}

// 1 when path is rooted (above) and every path the installation builds from
// it (a separator or ":\", then the longest payload or settings file name;
// the uninstaller's path in quotes) still fits into a path buffer.
int InstallPathUsable(const char *path)
{
    unsigned length = LengthBounded(path, INSTALL_PATH_SIZE);
    if (length == 0 || !IsRootedPath(path, length))
        return 0;
    unsigned longest = sizeof SETTINGS_FILE_NAME - 1;
    for (const PayloadFile *row = payloadFiles; row->identifier; row++)
        if ((unsigned)lstrlenA(row->fileName) > longest)
            longest = lstrlenA(row->fileName);
    const unsigned separator = 2, quotes = 2;
    return length + separator + longest + quotes <= FS_PATH_LENGTH;
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

static void ListForRemoval(TINIFile *profile, const char *path)
{
    profile->PutText(DEINSTALL, path, APPEND_AT_END);
}

// Reads the string value name of key into text (REGISTRY_TEXT_SIZE bytes).
// A text of 260 bytes is read whole, and terminated even when the stored
// data has no terminator; bytes after the data are zero. Returns 1 when read.
static int QueryRegistryText(HKEY key, const char *name, char *text)
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
// shortcuts, and lists the shortcuts and then the folder for removal.
static void CreateProgramGroup(TINIFile *profile, const char *programs, Failures *failures)
{
    TBuffer group(PATH_SIZE);
    TBuffer link(PATH_SIZE);
    TBuffer target(PATH_SIZE);
    if (!JoinPath(group, programs, PRODUCT_TITLE))
        return;
    installContext->CreateDirectoryPath(group);
    for (const GroupShortcut *row = groupShortcuts; row->linkName[0]; row++) {
        if (!JoinPath(link, group, row->linkName) || !AppendBounded(link, ".lnk", PATH_SIZE))
            continue;
        ListForRemoval(profile, link);
        JoinPath(target, installPath, row->target);
        Note(failures, SUCCEEDED(installContext->CreateShellLink(target, link, row->linkName)),
             link);
    }
    ListForRemoval(profile, group);
}

// Creates the installation directory with every missing folder above it, and
// lists for removal each folder above it that this made, outermost first, so
// that the removal leaves no empty folder behind. A folder that existed
// before is never listed; only drive paths ("X:\...") are looked at.
static void CreateInstallDirectory(TINIFile *profile)
{
    TBuffer folder(PATH_SIZE);
    CopyBounded(folder, installPath, PATH_SIZE);
    unsigned length = LengthBounded(folder, PATH_SIZE);
    while (length > 3 && folder[length - 1] == '\\')
        folder[--length] = '\0';
    unsigned firstMissing = 0;
    if (length > 3 && folder[1] == ':' && folder[2] == '\\') {
        for (unsigned i = 3; i < length && !firstMissing; i++) {
            if (folder[i] != '\\')
                continue;
            folder[i] = '\0';
            if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES)
                firstMissing = i;
            folder[i] = '\\';
        }
    }
    installContext->CreateDirectoryPath(installPath);
    for (unsigned i = firstMissing; firstMissing && i < length; i++) {
        if (folder[i] != '\\')
            continue;
        folder[i] = '\0';
        ListForRemoval(profile, folder);
        folder[i] = '\\';
    }
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
            profile->SetValue(SETTINGS, "ProxyPort", colon + 1);
        }
        profile->SetValue(SETTINGS, "ProxyServer", text.data);
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
static void ShowEnd(const Failures &failures)
{
    const unsigned size = MESSAGE_SIZE + 2 + FAILURE_NAMES_SIZE + 16;
    TBuffer text(size);
    TBuffer caption(MESSAGE_SIZE);
    int incomplete = failures.count != 0;
    LoadStringA(appInstance, (incomplete ? STR_INCOMPLETE_TEXT : STR_DONE_TEXT) + languageOffset,
                text, MESSAGE_SIZE);
    LoadStringA(appInstance,
                (incomplete ? STR_INCOMPLETE_CAPTION : STR_DONE_CAPTION) + languageOffset, caption,
                MESSAGE_SIZE);
    if (incomplete) {
        AppendBounded(text, "\n\n", size);
        AppendBounded(text, failures.names, size);
        if (failures.count > FAILURES_NAMED) {
            char more[16] = "\n+";
            char digits[12];
            char *digit = digits + sizeof digits - 1;   // written backwards from the end
            *digit = '\0';
            for (unsigned rest = failures.count - FAILURES_NAMED; rest; rest /= 10)
                *--digit = (char)('0' + rest % 10);
            AppendBounded(more, digit, sizeof more);
            AppendBounded(text, more, size);
        }
    }
    MessageBoxA(NULL, text, caption, MB_OK | (incomplete ? MB_ICONWARNING : MB_ICONINFORMATION));
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
    CreateInstallDirectory(profile);

    JoinPath(application, installPath, payloadFiles[APPLICATION_ROW].fileName);
    CloseRunningApplication(application);
    int applicationWritten = 1;
    for (const PayloadFile *row = payloadFiles; row->identifier; row++) {
        JoinPath(path, installPath, row->fileName);
        int written = installContext->ExtractResource("INSTALL_FILE", row->identifier, path);
        Note(&failures, written, row->fileName);
        if (row == &payloadFiles[APPLICATION_ROW])
            applicationWritten = written;
        ListForRemoval(profile, path);
    }
    JoinPath(path, installPath, "pellino.exe.ini");
    ListForRemoval(profile, path);

    // Without a Programs (or Startup) folder there is nowhere to put the
    // group (or the start-up shortcut): that step is left out.
    FindShellFolders(programs, startup);
    if (createProgramGroup == 1 && programs[0])
        CreateProgramGroup(profile, programs, &failures);
    // The start-up shortcut is listed too: left behind, it would try to start
    // a program that is gone at every logon.
    if (startWithWindows == 1 && startup[0] && JoinPath(path, startup, PRODUCT_TITLE) &&
        AppendBounded(path, ".lnk", PATH_SIZE)) {
        ListForRemoval(profile, path);
        Note(&failures, SUCCEEDED(installContext->CreateShellLink(application, path, PRODUCT_TITLE)),
             path);
    }

    if (!WriteUninstallEntry()) {
        LoadStringA(appInstance, STR_UNINSTALL_ENTRY + languageOffset, path, PATH_SIZE);
        Note(&failures, 0, path);
    }
    CopyBounded(path, installPath, PATH_SIZE);
    AppendBounded(path, "\\VeltranoHelp.htm", PATH_SIZE);
    profile->SetValue(SETTINGS, "DefaultPage", path.data);
    CopyInternetSettings(profile);
    Note(&failures, profile->Save(), SETTINGS_FILE_NAME);
    delete profile;

    ShowEnd(failures);
    if (startAfterInstall == 1 && applicationWritten) {
        // The directory with its separator, so that a drive letter alone
        // (D) still names the drive's root.
        JoinPath(path, installPath, "");
        ShellExecuteA(mainWindow, NULL, application, "", path, SW_SHOWNORMAL);
    }
    PostMessageA(window, WM_DESTROY, 0, 0);
}
