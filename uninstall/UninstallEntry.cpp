// Removal of the uninstall entry from the system's list of installed software.
#include "Uninstall.h"

#include "BoundedString.h"
#include "PathText.h"
#include "TBuffer.h"

// Reads the string value "UninstallString" of the entry, its quotes
// stripped, into command (FS_PATH_LENGTH + 4 characters). Returns a pointer
// to the program's path in command, or 0 when the entry or the value is
// missing or empty.
static const char *UninstallProgram(char *command)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY "\\" PRODUCT_NAME, 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return 0;
    DWORD size = FS_PATH_LENGTH + 3, type = 0;
    ZeroMemory(command, FS_PATH_LENGTH + 4);
    LONG status = RegQueryValueExA(key, "UninstallString", 0, &type, (BYTE *)command, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return 0;
    char *text = command;
    unsigned length = LengthBounded(text, FS_PATH_LENGTH + 3);
    if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
        text[length - 1] = '\0';
        text++;
    }
    return text[0] ? text : 0;
}

int EntryNamesUninstaller(const char *exePath)
{
    TBuffer command(FS_PATH_LENGTH + 4);
    const char *program = UninstallProgram(command);
    return program && exePath[0] != '\0' && SamePathText(program, exePath);
}

// A program that is not found where its path says: only a full path on a
// drive is judged (one with variables or on a share may well name a program
// that is there), and only "not found" counts, not a drive that is not ready.
static int ProgramGone(const char *program)
{
    char drive = PathUpper(program[0]);
    if (drive < 'A' || drive > 'Z' || program[1] != ':' || program[2] != '\\' ||
        GetFileAttributesA(program) != INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void RemoveUninstallEntry(const char *exePath)
{
    TBuffer command(FS_PATH_LENGTH + 4);
    const char *program = UninstallProgram(command);
    if (!program || !((exePath[0] && SamePathText(program, exePath)) || ProgramGone(program)))
        return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY "\\" PRODUCT_NAME, 0, KEY_ALL_ACCESS,
                      &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "DisplayName");
        RegDeleteValueA(key, "UninstallString");
        RegCloseKey(key);
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_ALL_ACCESS, &key) ==
        ERROR_SUCCESS) {
        RegDeleteKeyA(key, PRODUCT_NAME);
        RegCloseKey(key);
    }
}
