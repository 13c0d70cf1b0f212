// The uninstall procedure from the confirmation to the start of the batch
// file, in the order the removal has to happen.
#include "Uninstall.h"

#include "BoundedString.h"
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

// Fills tempDirectory with the temporary directory (ending in "\"),
// batchPath with the batch file's path in it and exePath with the running
// uninstaller's full path (each FS_PATH_LENGTH + 1 characters). Returns 0
// when any of them is unknown or too long.
static int BatchPaths(HINSTANCE instance, char *tempDirectory, char *batchPath, char *exePath)
{
    DWORD length = GetTempPathA(FS_PATH_LENGTH + 1, tempDirectory);
    if (length == 0 || length > FS_PATH_LENGTH)
        return 0;
    if (!CopyBounded(batchPath, tempDirectory, FS_PATH_LENGTH + 1) ||
        !AppendBounded(batchPath, BATCH_FILE_NAME, FS_PATH_LENGTH + 1))
        return 0;
    length = GetModuleFileNameA(instance, exePath, FS_PATH_LENGTH + 1);
    return length > 0 && length <= FS_PATH_LENGTH;
}

void RunUninstall(HINSTANCE instance)
{
    TBuffer batchPath(FS_PATH_LENGTH + 1);
    TBuffer exePath(FS_PATH_LENGTH + 1);

    if (MessageBoxA(0, "Are you sure to remove Veltrano?", "Deinstall",
                    MB_YESNO | MB_ICONQUESTION) == IDNO)
        return;

    BroadcastUninstall();
    MessageBoxA(0, "Please quit all running instances of Veltrano", "Uninstall",
                MB_ICONHAND | MB_OK);

    RemoveUninstallEntry();

    // Without its own directory the uninstaller knows neither its list nor
    // the directory to remove, so it removes nothing more.
    TBuffer settingsPath(FS_PATH_LENGTH + 1);
    if (!SettingsFilePath(settingsPath))
        return;
    RemoveListedItems(settingsPath);
    DeleteFileA(settingsPath);

    TBuffer tempDirectory(FS_PATH_LENGTH + 1);
    if (!BatchPaths(instance, tempDirectory, batchPath, exePath))
        return;
    TBuffer directory(FS_PATH_LENGTH + 1);
    CopyBounded(directory, installContext->StripSeparator(installContext->ModuleDirectory()),
                FS_PATH_LENGTH + 1);
    // A batch file that could not be written whole is not started: an older
    // file of that name could otherwise run in its place.
    if (!WriteBatchFile(batchPath, settingsPath, exePath, directory))
        return;
    StartBatchFile(batchPath, tempDirectory);
}
