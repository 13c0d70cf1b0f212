// The uninstall procedure from the confirmation to the start of the batch
// file, in the order the removal has to happen.
#include "Uninstall.h"

#include "BoundedString.h"
#include "Hardening.h"
#include "TBuffer.h"

// Builds into settingsPath (FS_PATH_LENGTH + 1 characters) the settings file
// in the uninstaller's own directory. The file is always taken from there,
// never searched for: a file of that name in the current directory or on the
// search path is not ours. Returns 0 (and an empty path) when the directory
// is unknown or the path does not fit.
static int SettingsFilePath(char *settingsPath)
{
    const char *moduleDirectory = installContext->ModuleDirectory();
    if (moduleDirectory[0] != '\0' &&
        CopyBounded(settingsPath, moduleDirectory, FS_PATH_LENGTH + 1) &&
        AppendBounded(settingsPath, SETTINGS_FILE_NAME, FS_PATH_LENGTH + 1))
        return 1;
    settingsPath[0] = '\0';
    return 0;
}

void RunUninstall(HINSTANCE instance)
{
    // Anything but Yes, a box that could not be shown included, is a No.
    if (MessageBoxA(0, "Are you sure to remove Veltrano?", "Deinstall",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    BroadcastUninstall();
    MessageBoxA(0, "Please quit all running instances of Veltrano", "Uninstall",
                MB_ICONHAND | MB_OK);

    TBuffer exePath(FS_PATH_LENGTH + 1);
    DWORD length = GetModuleFileNameA(instance, exePath, FS_PATH_LENGTH + 1);
    if (length == 0 || length > FS_PATH_LENGTH)
        exePath[0] = '\0';
    RemoveUninstallEntry(exePath);

    // Without its own directory the uninstaller knows neither its list nor
    // the directory to remove, so it removes nothing more; reached through a
    // link, that directory may be anyone's, so it removes nothing but itself.
    if (!exePath[0] || !installContext->ModuleDirectory()[0])
        return;
    TBuffer settingsPath(FS_PATH_LENGTH + 1);
    ListVerdict verdict;
    ZeroMemory(&verdict, sizeof verdict);
    if (FolderReachedWithoutLink(installContext->ModuleDirectory()) &&
        SettingsFilePath(settingsPath)) {
        RemoveListedItems(settingsPath, exePath, &verdict);
        RemovePlain(settingsPath, 1);
    }

    // A batch file that could not be written whole is not started.
    TBuffer batchPath(FS_PATH_LENGTH + 1);
    if (WriteBatchFile(settingsPath, exePath, verdict, batchPath))
        StartBatchFile(batchPath);
}
