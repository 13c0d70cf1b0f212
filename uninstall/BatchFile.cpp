// The batch file that removes what the uninstaller cannot remove while it
// runs: its own executable, the directory that holds it (and the folders the
// setup program made above it), and the batch file with its folder.
#include "Uninstall.h"

#include <fcntl.h>
#include <io.h>
#include <sddl.h>
#include <stdio.h>

#include "BoundedString.h"
#include "TBuffer.h"

#define PATH_SIZE (FS_PATH_LENGTH + 1)
// Room for a path as written into the batch file: every "%" may be doubled.
#define BATCH_TEXT_LENGTH (2 * FS_PATH_LENGTH + 1)
// The batch file's folder: this prefix and eight random hexadecimal digits.
#define BATCH_FOLDER_PREFIX "VeltranoRemoval-"
#define BATCH_FOLDER_TRIES 8

// Converts an ANSI path into the form the batch file needs, into target
// (BATCH_TEXT_LENGTH characters): cmd reads a batch file in the OEM code page,
// so the path is converted to it ("Müller" would otherwise name another
// directory), and every "%" is doubled so that cmd does not take part of the
// path for a variable. Returns 0 for an empty path, one longer than a path
// can be (a cut path would name something else), and one that the OEM code
// page cannot carry (a character without an equivalent would turn into
// another one, and so name another path).
static int BatchText(char *target, const char *path, unsigned length)
{
    TBuffer oem(PATH_SIZE);
    TBuffer back(PATH_SIZE);
    target[0] = '\0';
    if (length == 0 || length > FS_PATH_LENGTH)
        return 0;
    CharToOemBuffA(path, oem, length);
    OemToCharBuffA(oem, back, length);
    for (unsigned i = 0; i < length; i++)
        if (back[i] != path[i])
            return 0;
    unsigned out = 0;
    for (unsigned i = 0; i < length && out + 2 < BATCH_TEXT_LENGTH; i++) {
        if (oem[i] == '%')
            target[out++] = '%';
        target[out++] = oem[i];
    }
    target[out] = '\0';
    return 1;
}

// The file, with "\n" written as CR LF (mode "wt"). Each loop retries its
// deletion, pausing a second between tries (ping -n 2 waits one second
// between its two echoes; it exists on every Windows and in Wine, unlike
// timeout.exe), and gives up after a bounded number of tries, so that an item
// that cannot go (a file of the user's in the directory, a read-only file)
// does not keep a console running for ever. n counts the tries of the loop in
// progress and is set to 0 before each loop. The exe loop waits longest: it
// has to outlast the uninstaller's own end. <system> is the system directory:
// every program the batch runs is named by its full path there, as cmd would
// otherwise look for it in the current directory first.
//
//   @set n=0                         (unless the list was not read)
//   :d0
//   @del "<settings file>"
//   @if exist "<settings file>" if %n% lss 5 (set /a n+=1 & "<system>\ping.exe" -n 2 127.0.0.1 >nul & goto d0)
//   @echo off
//   @set n=0
//   :d1
//   @del "<uninstaller>"
//   @if exist "<uninstaller>" if %n% lss 60 (set /a n+=1 & "<system>\ping.exe" -n 2 127.0.0.1 >nul & goto d1)
//   @set n=0                         (the directory, unless it is a drive's root
//   :d2                               or the list is not this installation's)
//   @rd "<directory>"
//   @if exist "<directory>" if %n% lss 10 (set /a n+=1 & "<system>\ping.exe" -n 2 127.0.0.1 >nul & goto d2)
//   @rd "<created folder>"           (one a folder, innermost first)
//   @set "VeltranoRemoval=%~dp0"
//   @del "%~f0" & start "" /min "<system>\cmd.exe" /d /c ""<system>\ping.exe" -n 2 127.0.0.1 >nul & rd "%VeltranoRemoval%""
//
// The last line names the batch file as cmd knows it, and runs as one line:
// once the file is gone cmd reads no further. The folder can only go once
// cmd has let go of the file (some cmd implementations keep it open to the
// end), so a second cmd removes it a second later; it takes the folder from
// the variable set the line before, which it expands itself inside its own
// quotes: the folder's path, written into the line, would stand outside the
// quotes of this cmd, and a "&" or "^" in it (a user's temporary directory)
// would split or change the line.
static const char BATCH_PAUSE_ARGUMENTS[] = " -n 2 127.0.0.1 >nul";

// Writes the texts, ended by a null pointer, to file (plain fputs: no
// formatting code is needed for them).
static void WritePieces(FILE *file, const char *const *texts)
{
    for (; *texts; texts++)
        fputs(*texts, file);
}

// Writes loop label, which runs command ("del" or "rd") on text until text
// is gone or tries retries have passed; ping is the quoted path of ping.exe.
static void WriteLoop(FILE *file, const char *label, const char *command, const char *text,
                      const char *tries, const char *ping)
{
    const char *const pieces[] = {"@set n=0\n:", label, "\n@", command, " \"", text,
                                  "\"\n@if exist \"", text, "\" if %n% lss ", tries,
                                  " (set /a n+=1 & ", ping, BATCH_PAUSE_ARGUMENTS, " & goto ",
                                  label, ")\n", 0};
    WritePieces(file, pieces);
}

// 1 when the process runs with administrator rights.
static int Elevated()
{
    HANDLE token;
    TOKEN_ELEVATION elevation = {0};
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size))
        elevation.TokenIsElevated = 0;
    CloseHandle(token);
    return elevation.TokenIsElevated != 0;
}

// The security of the batch file's folder, as a descriptor to be freed with
// LocalFree, or 0: full control for Administrators and SYSTEM when elevated,
// for the current user otherwise, inherited by what is made inside, nothing
// inherited from above. Nobody else can change the batch file while cmd reads
// it line by line.
static PSECURITY_DESCRIPTOR FolderSecurity(int elevated)
{
    char sddl[256];   // room for the longest SID a token can carry
    if (elevated) {
        CopyBounded(sddl, "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", sizeof sddl);
    } else {
        HANDLE token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return 0;
        BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
        DWORD size = 0;
        char *sid = 0;
        int known = GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
                    ConvertSidToStringSidA(((TOKEN_USER *)user)->User.Sid, &sid);
        CloseHandle(token);
        if (!known)
            return 0;
        CopyBounded(sddl, "D:P(A;OICI;FA;;;", sizeof sddl);
        int fits = AppendBounded(sddl, sid, sizeof sddl) && AppendBounded(sddl, ")", sizeof sddl);
        LocalFree(sid);
        if (!fits)
            return 0;
    }
    PSECURITY_DESCRIPTOR descriptor = 0;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              0))
        return 0;
    return descriptor;
}

// Where the batch file's folder is made, ending in "\", into base
// (PATH_SIZE): elevated, the system's own temporary directory, in which other
// users may make folders but cannot rename or replace ours (in the user's
// own temporary directory an unelevated process of the user could); else the
// user's temporary directory.
static int BatchBase(char *base, int elevated)
{
    if (elevated) {
        UINT n = GetSystemWindowsDirectoryA(base, PATH_SIZE);
        if (n > 0 && n < PATH_SIZE && installContext->AddSeparator(base, PATH_SIZE) &&
            AppendBounded(base, "Temp\\", PATH_SIZE)) {
            DWORD attributes = GetFileAttributesA(base);
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                return 1;
        }
    }
    DWORD length = GetTempPathA(PATH_SIZE, base);
    return length > 0 && length < PATH_SIZE;
}

// Makes a new folder in base under a random name, with the security above,
// into folder (PATH_SIZE, ending in "\"). A name that exists already is never
// used: someone else may have made it. Returns 1 when made.
static int MakeBatchFolder(const char *base, int elevated, char *folder)
{
    SECURITY_ATTRIBUTES security = {sizeof security, FolderSecurity(elevated), FALSE};
    if (!security.lpSecurityDescriptor)
        return 0;
    // RtlGenRandom, looked up rather than imported: advapi32 forwards it to
    // a DLL that is no known DLL, which the loader would look for beside the
    // program before any code of ours ran. Looked up now, after the DLL
    // search is restricted, the forward resolves in the system directory.
    typedef BOOLEAN(WINAPI * GenRandom)(PVOID, ULONG);
    GenRandom genRandom = (GenRandom)(void *)GetProcAddress(GetModuleHandleA("advapi32.dll"),
                                                            "SystemFunction036");
    int made = 0;
    for (int i = 0; i < BATCH_FOLDER_TRIES && !made; i++) {
        ULONG random = GetTickCount() ^ (GetCurrentProcessId() << 16) ^ (ULONG)i;
        if (genRandom)
            genRandom(&random, sizeof random);
        char name[sizeof BATCH_FOLDER_PREFIX + 10];
        wsprintfA(name, BATCH_FOLDER_PREFIX "%08lX\\", random);
        made = CopyBounded(folder, base, PATH_SIZE) && AppendBounded(folder, name, PATH_SIZE) &&
               CreateDirectoryA(folder, &security);
    }
    LocalFree(security.lpSecurityDescriptor);
    return made;
}

// Opens path for writing in text mode, only when no file of that name exists.
static FILE *CreateNewText(const char *path)
{
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    int descriptor = _open_osfhandle((intptr_t)handle, _O_TEXT | _O_WRONLY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return 0;
    }
    FILE *file = _fdopen(descriptor, "wt");
    if (!file)
        _close(descriptor);
    return file;
}

// Writes the removal of the directory (without its separator) and of the
// folders the setup program created above it, innermost first.
static void WriteDirectoryRemoval(FILE *file, const char *ownDirectory, const ListVerdict &verdict,
                                  const char *ping)
{
    TBuffer text(BATCH_TEXT_LENGTH);
    unsigned length = LengthBounded(ownDirectory, PATH_SIZE);
    // For a drive's root there is no directory to remove ("rd D:" would name
    // the drive's current directory instead).
    if (!verdict.removeDirectory || length <= 3 || !BatchText(text, ownDirectory, length - 1))
        return;
    WriteLoop(file, "d2", "rd", text, "10", ping);
    for (unsigned n = length - 2; n > 3; n--) {
        const char *const pieces[] = {"@rd \"", text, "\"\n", 0};
        if (verdict.createdFolder[n] && BatchText(text, ownDirectory, n))
            WritePieces(file, pieces);
    }
}

int WriteBatchFile(const char *settingsPath, const char *exePath, const ListVerdict &verdict,
                   char *batchPath)
{
    TBuffer settings(BATCH_TEXT_LENGTH);
    TBuffer exe(BATCH_TEXT_LENGTH);
    TBuffer system(BATCH_TEXT_LENGTH);
    TBuffer base(PATH_SIZE);
    const char *systemDirectory = installContext->SystemDirectory();
    int elevated = Elevated();
    // Without the settings file's path (the list was not read) its loop is
    // left out.
    if ((settingsPath[0] &&
         !BatchText(settings, settingsPath, LengthBounded(settingsPath, PATH_SIZE))) ||
        !BatchText(exe, exePath, LengthBounded(exePath, PATH_SIZE)) ||
        !BatchText(system, systemDirectory, LengthBounded(systemDirectory, PATH_SIZE)) ||
        !BatchBase(base, elevated) || !MakeBatchFolder(base, elevated, batchPath))
        return 0;
    TBuffer folder(PATH_SIZE);
    CopyBounded(folder, batchPath, PATH_SIZE);
    FILE *file = 0;
    if (AppendBounded(batchPath, BATCH_FILE_NAME, PATH_SIZE))
        file = CreateNewText(batchPath);
    if (!file) {
        RemoveDirectoryA(folder);
        return 0;
    }
    const unsigned programSize = BATCH_TEXT_LENGTH + 12;
    TBuffer ping(programSize);
    CopyBounded(ping, "\"", programSize);
    AppendBounded(ping, system, programSize);
    AppendBounded(ping, "\\ping.exe\"", programSize);
    if (settings[0])
        WriteLoop(file, "d0", "del", settings, "5", ping);
    fputs("@echo off\n", file);
    WriteLoop(file, "d1", "del", exe, "60", ping);
    WriteDirectoryRemoval(file, installContext->ModuleDirectory(), verdict, ping);
    const char *const last[] = {"@set \"VeltranoRemoval=%~dp0\"\n"
                                "@del \"%~f0\" & start \"\" /min \"", system, "\\cmd.exe\" /d /c \"",
                                ping, BATCH_PAUSE_ARGUMENTS, " & rd \"%%VeltranoRemoval%%\"\"\n", 0};
    WritePieces(file, last);
    int failed = ferror(file);
    if (fclose(file) != 0 || failed) {
        DeleteFileA(batchPath);
        RemoveDirectoryA(folder);
        return 0;
    }
    return 1;
}

void StartBatchFile(const char *batchPath)
{
    // The system's own cmd, by its full path, with no AutoRun command of the
    // registry (/d), in the system directory: a current directory that users
    // may write would offer cmd their programs first, and one inside the
    // installation or the batch folder would pin what the batch removes.
    // The batch file's path in two pairs of quotes: cmd takes off the outer
    // pair, and the inner keeps a "&" in the path from splitting the line.
    TBuffer system(PATH_SIZE);
    CopyBounded(system, installContext->SystemDirectory(), PATH_SIZE);
    TBuffer program(PATH_SIZE);
    if (!system[0] || !CopyBounded(program, system, PATH_SIZE) ||
        !AppendBounded(program, "\\cmd.exe", PATH_SIZE))
        return;
    const unsigned size = 2 * PATH_SIZE + 16;
    TBuffer commandLine(size);
    CopyBounded(commandLine, "\"", size);
    AppendBounded(commandLine, program, size);
    AppendBounded(commandLine, "\" /d /c \"\"", size);
    AppendBounded(commandLine, batchPath, size);
    if (!AppendBounded(commandLine, "\"\"", size))
        return;

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process;
    if (CreateProcessA(program, commandLine, 0, 0, FALSE,
                       CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | CREATE_DEFAULT_ERROR_MODE, 0,
                       system, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
