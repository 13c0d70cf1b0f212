// Removal of the items that the installation listed in section "DeInstall".
#include "Uninstall.h"

#include "BoundedString.h"
#include "PathText.h"
#include "RemovalRule.h"
#include "TBuffer.h"
#include "TINIFile.h"

// Removes path: an empty folder, or with fileToo a file. A reparse point (a
// junction or link could lead the removal elsewhere) and anything missing
// are left alone.
static void RemovePlain(const char *path, int fileToo)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryA(path);
    else if (fileToo)
        DeleteFileA(path);
}

// The user's Startup folder as Shell Folders records it, into folder
// (FS_PATH_LENGTH + 1 characters); "" when there is none that fits.
static void StartupFolder(char *folder)
{
    folder[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD size = FS_PATH_LENGTH + 1, type = 0;
    if (RegQueryValueExA(key, "Startup", 0, &type, (BYTE *)folder, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0 || folder[size - 1] != '\0')
        folder[0] = '\0';
    RegCloseKey(key);
}

// The whole settings file is read before the first deletion, so the settings
// file may be among the listed items. A group folder goes with the step of
// its last shortcut, once it is empty. Every line costs a bounded amount of
// work, whatever the list's length.
void RemoveListedItems(const char *settingsPath, const char *exePath, ListVerdict *verdict)
{
    ZeroMemory(verdict, sizeof *verdict);
    const char *ownDirectory = installContext->ModuleDirectory();
    TBuffer startup(FS_PATH_LENGTH + 1);
    StartupFolder(startup);
    TINIFile *profile = new TINIFile(settingsPath, 1);
    unsigned count = profile->TextCount(DEINSTALL_SECTION);
    TBuffer item(FS_PATH_LENGTH + 1);
    for (unsigned i = 0; i < count; i++) {
        // A line too long for a path is not one the setup program wrote.
        if (!CopyBounded(item, profile->GetText(DEINSTALL_SECTION, i), FS_PATH_LENGTH + 1))
            continue;
        unsigned length = LengthBounded(item, FS_PATH_LENGTH + 1);
        switch (ListedItemKind(item, ownDirectory, startup)) {
        case REMOVE_OWN_ITEM:
            if (exePath[0] && SamePathText(item, exePath))
                verdict->namesUninstaller = 1;   // the batch file deletes it
            else
                RemovePlain(item, 1);
            break;
        case REMOVE_GROUP_LINK:
            RemovePlain(item, 1);
            // Its folder goes once its last shortcut is gone.
            while (item[length - 1] != '\\')
                length--;
            item[length - 1] = '\0';
            RemovePlain(item, 0);
            break;
        case REMOVE_STARTUP_LINK:
            RemovePlain(item, 1);
            break;
        case REMOVE_GROUP_FOLDER:
            RemovePlain(item, 0);
            break;
        case REMOVE_CREATED_FOLDER:
            verdict->createdFolder[length] = 1;
            break;
        case REMOVE_NOTHING:
            break;
        }
    }
    delete profile;
}
