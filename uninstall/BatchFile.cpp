// The batch file that removes what the uninstaller cannot remove while it
// runs: its own executable, the directory that holds it, and the batch file.
#include "Uninstall.h"

#include <stdio.h>

#include "BoundedString.h"
#include "TBuffer.h"

// Room for a path as written into the batch file: every "%" may be doubled.
#define BATCH_TEXT_LENGTH (2 * FS_PATH_LENGTH + 1)

// Converts an ANSI path into the form the batch file needs, into target
// (BATCH_TEXT_LENGTH characters): cmd reads a batch file in the OEM code page,
// so the path is converted to it ("Müller" would otherwise name another
// directory), and every "%" is doubled so that cmd does not take part of the
// path for a variable. Returns 0 for an empty path or one longer than a path
// can be (a cut path would name something else).
static int BatchText(char *target, const char *path)
{
    TBuffer oem(FS_PATH_LENGTH + 1);
    unsigned length = LengthBounded(path, FS_PATH_LENGTH + 1);
    target[0] = '\0';
    if (length == 0 || length > FS_PATH_LENGTH)
        return 0;
    CharToOemBuffA(path, oem, length);
    oem[length] = '\0';
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
// has to outlast the uninstaller's own end.
//
//   @set n=0
//   :d0
//   @del "<settings file>"
//   @if exist "<settings file>" if %n% lss 5 (set /a n+=1 & ping -n 2 127.0.0.1 >nul & goto d0)
//   @echo off
//   @set n=0
//   :d1
//   @del "<uninstaller>"
//   @if exist "<uninstaller>" if %n% lss 60 (set /a n+=1 & ping -n 2 127.0.0.1 >nul & goto d1)
//   @set n=0
//   :d2
//   @rd "<directory>"
//   @if exist "<directory>" if %n% lss 10 (set /a n+=1 & ping -n 2 127.0.0.1 >nul & goto d2)
//   @del "<batch file>"
#define BATCH_PAUSE "ping -n 2 127.0.0.1 >nul"
#define BATCH_RETRY(tries, label) \
    " if %n% lss " #tries " (set /a n+=1 & " BATCH_PAUSE " & goto " label ")\n"

// Writes before, text and after to file (plain fputs: no formatting code is
// needed for three strings).
static void WritePiece(FILE *file, const char *before, const char *text, const char *after)
{
    fputs(before, file);
    fputs(text, file);
    fputs(after, file);
}

int WriteBatchFile(const char *batchPath, const char *settingsPath, const char *exePath,
                   const char *directory)
{
    TBuffer settings(BATCH_TEXT_LENGTH);
    TBuffer exe(BATCH_TEXT_LENGTH);
    TBuffer folder(BATCH_TEXT_LENGTH);
    TBuffer self(BATCH_TEXT_LENGTH);
    if (!BatchText(settings, settingsPath) || !BatchText(exe, exePath) ||
        !BatchText(folder, directory) || !BatchText(self, batchPath))
        return 0;

    FILE *file = fopen(batchPath, "wt");
    if (!file)
        return 0;
    WritePiece(file, "@set n=0\n:d0\n@del \"", settings, "\"\n");
    WritePiece(file, "@if exist \"", settings, "\"" BATCH_RETRY(5, "d0"));
    WritePiece(file, "@echo off\n@set n=0\n:d1\n@del \"", exe, "\"\n");
    WritePiece(file, "@if exist \"", exe, "\"" BATCH_RETRY(60, "d1"));
    WritePiece(file, "@set n=0\n:d2\n@rd \"", folder, "\"\n");
    WritePiece(file, "@if exist \"", folder, "\"" BATCH_RETRY(10, "d2"));
    WritePiece(file, "@del \"", self, "\"\n");
    int failed = ferror(file);
    if (fclose(file) != 0 || failed) {
        DeleteFileA(batchPath);
        return 0;
    }
    return 1;
}

void StartBatchFile(const char *batchPath, const char *workDirectory)
{
    // Quoted, so that a temporary directory with blanks in its name still
    // names the batch file. The batch runs in its own directory: inheriting
    // ours could pin the installation directory, which it has to remove.
    TBuffer commandLine(FS_PATH_LENGTH + 3);
    CopyBounded(commandLine, "\"", FS_PATH_LENGTH + 3);
    AppendBounded(commandLine, batchPath, FS_PATH_LENGTH + 3);
    AppendBounded(commandLine, "\"", FS_PATH_LENGTH + 3);

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process;
    if (CreateProcessA(0, commandLine, 0, 0, FALSE,
                       CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | CREATE_DEFAULT_ERROR_MODE, 0,
                       workDirectory, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
