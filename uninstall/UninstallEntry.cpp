// Removal of the uninstall entry from the system's list of installed software.
#include "Uninstall.h"

#include "BoundedString.h"
#include "TBuffer.h"

void RemoveUninstallEntry()
{
    TBuffer keyPath(FS_PATH_LENGTH + 1);
    CopyBounded(keyPath, UNINSTALL_KEY "\\" PRODUCT_NAME, FS_PATH_LENGTH + 1);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
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
