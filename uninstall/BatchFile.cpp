// The batch file that removes what the uninstaller cannot remove while it
// runs: its own executable, the directory that holds it (and the folders the
// setup program made above it), and the batch file with its folder.
#include "Uninstall.h"

#include <fcntl.h>
#include <io.h>
#include <sddl.h>
#include <stdio.h>

#include "BoundedString.h"

#define PATH_SIZE (FS_PATH_LENGTH + 1)
// The batch file's folder: this prefix and eight random hexadecimal digits.
#define BATCH_FOLDER_PREFIX "VeltranoRemoval-"
#define BATCH_FOLDER_TRIES 8
// Room for one variable of the batch's environment: its name, "=", a value
// of a whole path with every "%" written four times, and the terminator.
#define VARIABLE_ROOM (32 + 1 + 4 * PATH_SIZE + 1)

// The batch file holds no path: it names variables, and their values reach
// cmd through its environment, which CreateProcessW hands over in UTF-16.
// A path in the file's text would have to be in the code page in which cmd
// reads a batch file (the OEM one, whatever its starter's), where the
// installation's path may have no equivalent; the environment carries it
// exactly. The file itself is ASCII.
//
// The environment holds nothing but these variables (so that nothing of the
// user's environment reaches the elevated cmd):
//   SystemRoot             the Windows directory (Winsock, and so ping, needs it)
//   VeltranoSystem         the system directory
//   VeltranoBatch          the batch file
//   VeltranoBatchFolder    its folder
//   VeltranoProbe          "%%"
// and one pair for each path of the installation:
//   VeltranoSettings       the settings file (unless the list was not read)
//   VeltranoProgram        the uninstaller
//   VeltranoDirectory      its directory (unless it stays)
//   VeltranoFolder001 ...  the folders the setup program created, innermost first
// the second of each pair named with a trailing "_" and holding the path
// with every "%" written four times. cmd puts a value in place of its name
// and reads no further into it, but Wine's cmd expands the value's text once
// more (a "%" would vanish, or "%x%" would become another variable's value):
// the file's first line asks which kind of cmd reads it (the probe's value
// comes back as "%%" only when it is not read again), and for the second
// kind replaces each path by its "_" twin, whose "%" come out doubled, so
// that the second reading at each use turns them into the path. The paths
// the kit takes from the system (system directory, batch file) are used
// without that care: they must hold no "%", or no batch file is written.
//
// The file, with "\n" written as CR LF (mode "wt"). Each loop retries its
// deletion, pausing a second between tries (ping -n 2 waits one second
// between its two echoes; it exists on every Windows and in Wine, unlike
// timeout.exe), and gives up after a bounded number of tries, so that an item
// that cannot go (a file of the user's in the directory, a read-only file)
// does not keep a console running for ever. n counts the tries of the loop in
// progress and is set to 0 before each loop. The exe loop waits longest: it
// has to outlast the uninstaller's own end. Every program the batch runs is
// named by its full path in the system directory, as cmd would otherwise
// look for it in the current directory first.
//
//   @if "%VeltranoProbe%"=="%%%%" goto v
//   @set "VeltranoSettings=%VeltranoSettings_%"      (one a path variable)
//   :v
//   @set n=0                                         (unless the list was not read)
//   :d0
//   @del "%VeltranoSettings%"
//   @if exist "%VeltranoSettings%" if %n% lss 5 (set /a n+=1 & "%VeltranoSystem%\ping.exe" -n 2 127.0.0.1 >nul & goto d0)
//   @echo off
//   @set n=0
//   :d1
//   @del "%VeltranoProgram%"
//   @if exist "%VeltranoProgram%" if %n% lss 60 (... goto d1)
//   @set n=0                                         (the directory, unless it is a drive's
//   :d2                                               root or the list is not this
//   @rd "%VeltranoDirectory%"                         installation's)
//   @if exist "%VeltranoDirectory%" if %n% lss 10 (... goto d2)
//   @rd "%VeltranoFolder001%"                        (one a created folder)
//   @del "%VeltranoBatch%" & start "" /min "%VeltranoSystem%\cmd.exe" /d /e:on /v:off /c ""%VeltranoSystem%\ping.exe" -n 2 127.0.0.1 >nul & rd "%%VeltranoBatchFolder%%""
//
// The last line runs as one line: once the file is gone cmd reads no
// further. The folder can only go once cmd has let go of the file (some cmd
// implementations keep it open to the end), so a second cmd removes it a
// second later, expanding the folder's variable itself inside its own
// quotes. Both cmd processes start without AutoRun (/d), with the command
// extensions that "set /a" and "if ... lss" need (/e:on), and without
// delayed expansion (/v:off), so that the registry's defaults change
// nothing and a "!" in a path is an ordinary character.
#define PAUSE "\"%VeltranoSystem%\\ping.exe\" -n 2 127.0.0.1 >nul"

// The batch's environment under construction: a block of name=value strings
// in UTF-16, ended by an empty one.
struct BatchEnvironment {
    WCHAR *block;
    unsigned size, used;
    explicit BatchEnvironment(unsigned variables)
        : block(new WCHAR[variables * VARIABLE_ROOM + 1]), size(variables * VARIABLE_ROOM + 1),
          used(0) {}
    ~BatchEnvironment() { delete[] block; }
};

// Appends name=value to the block, every "%" of value written percents
// times. Returns 0 when it does not fit.
static int AddVariable(BatchEnvironment &environment, const char *name, const WCHAR *value,
                       unsigned percents = 1)
{
    unsigned at = environment.used;
    for (const char *c = name; *c && at + 1 < environment.size; c++)
        environment.block[at++] = (WCHAR)*c;
    environment.block[at++] = L'=';
    for (const WCHAR *c = value; *c; c++)
        for (unsigned i = 0; i < (*c == L'%' ? percents : 1); i++) {
            if (at + 2 >= environment.size)
                return 0;
            environment.block[at++] = *c;
        }
    environment.block[at++] = L'\0';
    environment.block[at] = L'\0';
    environment.used = at;
    return 1;
}

// 1 when the UTF-16 text holds a "%".
static int HoldsPercent(const WCHAR *text)
{
    for (; *text; text++)
        if (*text == L'%')
            return 1;
    return 0;
}

// Converts the first length bytes of path, in the program's code page, into
// wide (PATH_SIZE characters). Returns 0 for an empty path, one longer than a
// path can be, and one that is not text of that code page: its path would
// be another.
static int WidePath(WCHAR *wide, const char *path, unsigned length)
{
    if (length == 0 || length > FS_PATH_LENGTH)
        return 0;
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, (int)length, wide,
                                PATH_SIZE - 1);
    wide[n > 0 ? n : 0] = L'\0';
    return n > 0;
}

// Writes the texts, ended by a null pointer, to file (plain fputs: no
// formatting code is needed for them).
static void WritePieces(FILE *file, const char *const *texts)
{
    for (; *texts; texts++)
        fputs(*texts, file);
}

// One path of the installation in the batch: its variable and, for the
// second kind of cmd, the line that replaces it by its twin (both in the
// environment). Returns 0 when the path cannot be named exactly.
static int AddPathVariable(BatchEnvironment &environment, FILE *twins, const char *name,
                           const char *path, unsigned length)
{
    WCHAR wide[PATH_SIZE];
    char twin[40];
    if (!WidePath(wide, path, length) || !CopyBounded(twin, name, sizeof twin) ||
        !AppendBounded(twin, "_", sizeof twin))
        return 0;
    const char *const pieces[] = {"@set \"", name, "=%", twin, "%\"\n", 0};
    WritePieces(twins, pieces);
    return AddVariable(environment, name, wide) && AddVariable(environment, twin, wide, 4);
}

// Writes loop label, which runs command ("del" or "rd") on variable until
// the path is gone or tries retries have passed.
static void WriteLoop(FILE *file, const char *label, const char *command, const char *variable,
                      const char *tries)
{
    const char *const pieces[] = {"@set n=0\n:", label, "\n@", command, " \"%", variable,
                                  "%\"\n@if exist \"%", variable, "%\" if %n% lss ", tries,
                                  " (set /a n+=1 & " PAUSE " & goto ", label, ")\n", 0};
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

// Where the batch file's folder is made, ending in "\\", into base
// (PATH_SIZE): elevated, the system's own temporary directory, in which other
// users may make folders but cannot rename or replace ours (in the user's
// own temporary directory an unelevated process of the user could); else the
// user's temporary directory. Taken in UTF-16, as the batch file is made and
// named in it.
static int BatchBase(WCHAR *base, int elevated)
{
    if (elevated) {
        UINT n = GetSystemWindowsDirectoryW(base, PATH_SIZE);
        if (n > 0 && n + 6 < PATH_SIZE) {
            if (base[n - 1] != L'\\')
                base[n++] = L'\\';
            lstrcpyW(base + n, L"Temp\\");
            DWORD attributes = GetFileAttributesW(base);
            if (attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                return 1;
        }
    }
    DWORD length = GetTempPathW(PATH_SIZE, base);
    return length > 0 && length < PATH_SIZE;
}

// Makes a new folder in base under a random name, with the security above,
// into folder (PATH_SIZE, ending in "\\"). A name that exists already is never
// used: someone else may have made it. Returns 1 when made.
static int MakeBatchFolder(const WCHAR *base, int elevated, WCHAR *folder)
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
    unsigned length = lstrlenW(base);
    for (int i = 0; i < BATCH_FOLDER_TRIES && !made; i++) {
        ULONG random = GetTickCount() ^ (GetCurrentProcessId() << 16) ^ (ULONG)i;
        if (genRandom)
            genRandom(&random, sizeof random);
        WCHAR name[sizeof BATCH_FOLDER_PREFIX + 10];
        wsprintfW(name, L"" BATCH_FOLDER_PREFIX "%08lX\\", random);
        made = length + lstrlenW(name) < PATH_SIZE && lstrcpyW(folder, base) &&
               lstrcatW(folder, name) && CreateDirectoryW(folder, &security);
    }
    LocalFree(security.lpSecurityDescriptor);
    return made;
}

// Opens path for writing in text mode, only when no file of that name exists.
static FILE *CreateNewText(const WCHAR *path)
{
    HANDLE handle = CreateFileW(path, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
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

// The folders the setup program created above the directory, innermost
// first, as the first n characters of the directory for each n it returns
// in turn: the next such n below from (exclusive), 0 when none is left. A
// drive's root (n <= 3) is never one.
static unsigned NextCreatedFolder(const ListVerdict &verdict, unsigned from)
{
    for (unsigned n = from - 1; n > 3; n--)
        if (verdict.createdFolder[n])
            return n;
    return 0;
}

// The variable of the created folder at position index (from 1).
static void FolderVariable(char *name, unsigned index)
{
    wsprintfA(name, "VeltranoFolder%03u", index);
}

// The paths the batch removes: the settings file and the uninstaller, and
// with verdict.removeDirectory the uninstaller's directory and the folders
// the setup program created above it, unless the directory is a drive's root
// ("rd D:" would name the drive's current directory instead). Each becomes a
// variable (AddPathVariable, its line in twins). Returns 0 when one cannot
// be named exactly.
static int AddInstallationPaths(BatchEnvironment &environment, FILE *twins,
                                const char *settingsPath, const char *exePath,
                                const ListVerdict &verdict, int *removeDirectory)
{
    const char *own = installContext->ModuleDirectory();
    unsigned length = LengthBounded(own, PATH_SIZE);
    *removeDirectory = verdict.removeDirectory && length > 3;
    if ((settingsPath[0] && !AddPathVariable(environment, twins, "VeltranoSettings", settingsPath,
                                             LengthBounded(settingsPath, PATH_SIZE))) ||
        !AddPathVariable(environment, twins, "VeltranoProgram", exePath,
                         LengthBounded(exePath, PATH_SIZE)))
        return 0;
    if (!*removeDirectory)
        return 1;
    if (!AddPathVariable(environment, twins, "VeltranoDirectory", own, length - 1))
        return 0;
    char name[32];
    unsigned index = 0;
    for (unsigned n = NextCreatedFolder(verdict, length - 1); n; n = NextCreatedFolder(verdict, n)) {
        FolderVariable(name, ++index);
        if (!AddPathVariable(environment, twins, name, own, n))
            return 0;
    }
    return 1;
}

// Writes the removal of the directory and of the created folders.
static void WriteDirectoryRemoval(FILE *file, const ListVerdict &verdict)
{
    unsigned length = LengthBounded(installContext->ModuleDirectory(), PATH_SIZE);
    WriteLoop(file, "d2", "rd", "VeltranoDirectory", "10");
    char name[32];
    unsigned index = 0;
    for (unsigned n = NextCreatedFolder(verdict, length - 1); n; n = NextCreatedFolder(verdict, n)) {
        FolderVariable(name, ++index);
        const char *const pieces[] = {"@rd \"%", name, "%\"\n", 0};
        WritePieces(file, pieces);
    }
}

// The system's own directories and the batch file as its variables: none
// may hold a "%" (see above). Returns 0 when one does not fit or does.
static int AddKitPaths(BatchEnvironment &environment, const WCHAR *batchPath,
                       const WCHAR *folder)
{
    WCHAR windows[PATH_SIZE], system[PATH_SIZE], batchFolder[PATH_SIZE];
    UINT w = GetSystemWindowsDirectoryW(windows, PATH_SIZE);
    UINT s = GetSystemDirectoryW(system, PATH_SIZE);
    lstrcpynW(batchFolder, folder, PATH_SIZE);
    batchFolder[lstrlenW(batchFolder) - 1] = L'\0';   // without its separator
    return w > 0 && w < PATH_SIZE && s > 0 && s < PATH_SIZE && !HoldsPercent(windows) &&
           !HoldsPercent(system) && !HoldsPercent(batchPath) &&
           AddVariable(environment, "SystemRoot", windows) &&
           AddVariable(environment, "VeltranoSystem", system) &&
           AddVariable(environment, "VeltranoBatch", batchPath) &&
           AddVariable(environment, "VeltranoBatchFolder", batchFolder) &&
           AddVariable(environment, "VeltranoProbe", L"%%");
}

// Writes the batch file (see above) into a new folder and its environment,
// the paths of the installation first. Returns 1 when the whole file was
// written, else 0 (and nothing is left).
static int WriteBatchFile(const char *settingsPath, const char *exePath,
                          const ListVerdict &verdict, BatchEnvironment &environment,
                          WCHAR *batchPath)
{
    int elevated = Elevated();
    WCHAR base[PATH_SIZE], folder[PATH_SIZE];
    if (!BatchBase(base, elevated) || !MakeBatchFolder(base, elevated, folder))
        return 0;
    lstrcpyW(batchPath, folder);
    FILE *file = 0;
    if (lstrlenW(folder) + sizeof BATCH_FILE_NAME <= PATH_SIZE) {
        lstrcatW(batchPath, L"" BATCH_FILE_NAME);
        file = CreateNewText(batchPath);
    }
    if (!file) {
        RemoveDirectoryW(folder);
        return 0;
    }
    int removeDirectory = 0;
    fputs("@if \"%VeltranoProbe%\"==\"%%%%\" goto v\n", file);
    int named = AddInstallationPaths(environment, file, settingsPath, exePath, verdict,
                                     &removeDirectory) &&
                AddKitPaths(environment, batchPath, folder);
    fputs(":v\n", file);
    // Without the settings file's path (the list was not read) its loop is
    // left out.
    if (settingsPath[0])
        WriteLoop(file, "d0", "del", "VeltranoSettings", "5");
    fputs("@echo off\n", file);
    WriteLoop(file, "d1", "del", "VeltranoProgram", "60");
    if (removeDirectory)
        WriteDirectoryRemoval(file, verdict);
    const char *const last[] = {"@del \"%VeltranoBatch%\" & start \"\" /min "
                                "\"%VeltranoSystem%\\cmd.exe\" /d /e:on /v:off /c \"" PAUSE
                                " & rd \"%%VeltranoBatchFolder%%\"\"\n", 0};
    WritePieces(file, last);
    int failed = ferror(file);
    if (fclose(file) != 0 || failed || !named) {
        DeleteFileW(batchPath);
        RemoveDirectoryW(folder);
        return 0;
    }
    return 1;
}

void RunBatchFile(const char *settingsPath, const char *exePath, const ListVerdict &verdict)
{
    // Room for the variables: five of the kit's, and two for each path of
    // the installation (the created folders at most one a character).
    unsigned created = 0;
    for (unsigned n = 0; n <= FS_PATH_LENGTH; n++)
        created += verdict.createdFolder[n] != 0;
    BatchEnvironment environment(5 + 2 * (3 + created));
    WCHAR batchPath[PATH_SIZE];
    WCHAR system[PATH_SIZE], program[PATH_SIZE];
    UINT s = GetSystemDirectoryW(system, PATH_SIZE);
    if (s == 0 || s + sizeof "\\cmd.exe" > PATH_SIZE ||
        !WriteBatchFile(settingsPath, exePath, verdict, environment, batchPath))
        return;
    lstrcpyW(program, system);
    lstrcatW(program, L"\\cmd.exe");
    // The system's own cmd, by its full path, with the switches above, in
    // the system directory: a current directory that users may write would
    // offer cmd their programs first, and one inside the installation or the
    // batch folder would pin what the batch removes. The batch file's path
    // in two pairs of quotes: cmd takes off the outer pair, and the inner
    // keeps a "&" in the path from splitting the line.
    const unsigned size = 2 * PATH_SIZE + 40;
    WCHAR commandLine[size];
    wsprintfW(commandLine, L"\"%s\" /d /e:on /v:off /c \"\"%s\"\"", program, batchPath);
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process;
    if (CreateProcessW(program, commandLine, 0, 0, FALSE,
                       CREATE_NEW_CONSOLE | CREATE_UNICODE_ENVIRONMENT | NORMAL_PRIORITY_CLASS |
                           CREATE_DEFAULT_ERROR_MODE,
                       environment.block, system, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
