// Removal of the items that the installation listed in section "DeInstall".
#include "Uninstall.h"

#include "BoundedString.h"
#include "PathText.h"
#include "Hardening.h"
#include "RemovalRule.h"
#include "ShellFolders.h"
#include "TBuffer.h"
#include "TINIFile.h"

// Removes path: an empty folder, or with fileToo a file. The removal goes
// through a handle that does not follow a final link, and only when that
// handle reached path itself: a junction, mount point or symbolic link
// anywhere in the path (which could lead the removal to any file) leaves the
// item alone, as does anything missing or in use.
void RemovePlain(const char *path, int fileToo)
{
    HANDLE item = CreateFileA(path, DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                              OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, 0);
    if (item == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION info;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    // A folder that is not empty, and a read-only file, refuse the deletion.
    if (GetFileInformationByHandle(item, &info) &&
        !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        (fileToo || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) &&
        HandleReachesPath(item, path))
        SetFileInformationByHandle(item, FileDispositionInfo, &disposition, sizeof disposition);
    CloseHandle(item);
}

// The whole settings file is read before the first deletion, so the settings
// file may be among the listed items. A group folder goes with the step of
// its last shortcut, once it is empty. Every line costs a bounded amount of
// work, whatever the list's length.
void RemoveListedItems(const char *settingsPath, const char *exePath, ListVerdict *verdict)
{
    ZeroMemory(verdict, sizeof *verdict);
    TBuffer programs(FS_PATH_LENGTH + 1);
    TBuffer startup(FS_PATH_LENGTH + 1);
    FindShellFolders(programs, startup);
    RemovalPlaces places = {installContext->ModuleDirectory(), programs, startup};
    TINIFile *profile = new TINIFile(settingsPath, 1);
    unsigned count = profile->TextCount(DEINSTALL_SECTION);
    TBuffer item(FS_PATH_LENGTH + 1);
    for (unsigned i = 0; i < count; i++) {
        // A line too long for a path is not one the setup program wrote.
        if (!CopyBounded(item, profile->GetText(DEINSTALL_SECTION, i), FS_PATH_LENGTH + 1))
            continue;
        unsigned length = LengthBounded(item, FS_PATH_LENGTH + 1);
        switch (ListedItemKind(item, places)) {
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
