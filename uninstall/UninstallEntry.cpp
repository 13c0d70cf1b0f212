// Removal of the uninstall entry from the system's list of installed software.
#include "Uninstall.h"

#include "BoundedString.h"
#include "PathText.h"
#include "TBuffer.h"

// 1 when the string value "UninstallString" of key names exePath, its quotes
// stripped and letter case ignored.
static int NamesUninstaller(HKEY key, const char *exePath)
{
    TBuffer command(FS_PATH_LENGTH + 4);
    DWORD size = FS_PATH_LENGTH + 3, type = 0;
    ZeroMemory(command.data, FS_PATH_LENGTH + 4);
    if (RegQueryValueExA(key, "UninstallString", 0, &type, (BYTE *)command.data, &size) !=
            ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return 0;
    char *text = command.data;
    unsigned length = LengthBounded(text, FS_PATH_LENGTH + 3);
    if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
        text[length - 1] = '\0';
        text++;
    }
    return exePath[0] != '\0' && SamePathText(text, exePath);
}

void RemoveUninstallEntry(const char *exePath)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY "\\" PRODUCT_NAME, 0, KEY_ALL_ACCESS,
                      &key) != ERROR_SUCCESS)
        return;
    int ours = NamesUninstaller(key, exePath);
    if (ours) {
        RegDeleteValueA(key, "DisplayName");
        RegDeleteValueA(key, "UninstallString");
    }
    RegCloseKey(key);
    if (ours && RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_ALL_ACCESS, &key) ==
                    ERROR_SUCCESS) {
        RegDeleteKeyA(key, PRODUCT_NAME);
        RegCloseKey(key);
    }
}
