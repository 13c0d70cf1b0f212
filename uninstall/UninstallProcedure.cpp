// The uninstall procedure from the confirmation to the start of the batch
// file, in the order the removal has to happen.
#include "Uninstall.h"

#include "BoundedString.h"
#include "CodePage.h"
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

// 1 when the uninstaller's directory holds the application or the settings
// file (settingsPath): an installation of the product, not a lone copy of
// the uninstaller (in a Downloads folder, say), whose neighbours are the
// user's files whatever their names.
static int HoldsInstallation(const char *settingsPath)
{
    TBuffer application(FS_PATH_LENGTH + 1);
    return GetFileAttributesA(settingsPath) != INVALID_FILE_ATTRIBUTES ||
           (CopyBounded(application, installContext->ModuleDirectory(), FS_PATH_LENGTH + 1) &&
            AppendBounded(application, payloadFiles[APPLICATION_ROW].fileName,
                          FS_PATH_LENGTH + 1) &&
            GetFileAttributesA(application) != INVALID_FILE_ATTRIBUTES);
}

// The uninstaller removes its own installation, the one in its own
// directory, and only that: a copy elsewhere, a backup, or the old copy after
// a reinstallation into another directory each remove their own files and
// nothing of the registered installation. The directory holds its
// installation when the uninstall entry names this uninstaller, or when it
// holds the application or its settings file.
void RunUninstall(HINSTANCE instance)
{
    // Anything but Yes, a box that could not be shown included, is a No.
    if (MessageBoxA(0, "Are you sure to remove Veltrano?", "Deinstall",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    BroadcastUninstall();
    MessageBoxA(0, "Please quit all running instances of Veltrano", "Uninstall",
                MB_ICONHAND | MB_OK);

    // Its own path, read in UTF-16: a name that the code page cannot carry
    // exactly (where UTF-8 is not in force) would name other files, so
    // nothing is removed, and the box says why.
    TBuffer exePath(FS_PATH_LENGTH + 1);
    WCHAR wide[FS_PATH_LENGTH + 1];
    DWORD length = GetModuleFileNameW(instance, wide, FS_PATH_LENGTH + 1);
    if (length == 0 || length > FS_PATH_LENGTH) {
        exePath[0] = '\0';
    } else if (!NameFromWide(wide, exePath, FS_PATH_LENGTH + 1)) {
        ShowInexactFolder(exePath);
        return;
    }

    // Without its own directory the uninstaller knows neither its
    // installation nor the directory to remove, so it removes nothing.
    if (!exePath[0] || !installContext->ModuleDirectory()[0])
        return;
    // Everything below acts by path, the batch file after the uninstaller
    // has ended too: a folder on the way that another user could rename or
    // re-permission, or fill, could make any of it act on that user's
    // files. Then nothing at all is removed, so that the entry in the list
    // of installed software still stands for what is there.
    const char *own = installContext->ModuleDirectory();
    TBuffer openFolder(FS_PATH_LENGTH + 1);
    if (FolderReachedWithoutLink(own) && !FolderChainProtected(own, 1, openFolder)) {
        ShowOpenFolder(openFolder[0] ? openFolder.data : own);
        return;
    }
    TBuffer settingsPath(FS_PATH_LENGTH + 1);
    ListVerdict verdict;
    Remains remains;
    ZeroMemory(&verdict, sizeof verdict);
    ZeroMemory(&remains, sizeof remains);
    // Reached through a link, its directory may be anyone's: it removes
    // nothing but itself.
    if (FolderReachedWithoutLink(installContext->ModuleDirectory()) &&
        SettingsFilePath(settingsPath)) {
        ReadRemovalList(settingsPath, exePath, &verdict);
        int registered = EntryNamesUninstaller(exePath);
        if (registered || HoldsInstallation(settingsPath)) {
            // The shortcuts go before the files they lead to. The directory
            // goes when the entry or the list names this uninstaller, or when
            // this run removed the application from it: a lost settings file
            // does not keep it.
            RemoveOwnShortcuts(&remains);
            verdict.removeDirectory =
                RemovePayload(exePath, &remains) || registered || verdict.namesUninstaller;
        }
        // While anything of the installation remains, the entry, the
        // settings file and the uninstaller stay, so that the removal can be
        // run again to finish it; so they do when the settings file itself
        // cannot go (read-only, in use), which would keep the directory.
        if (!remains.count && !RemoveReachedItem(settingsPath, 1))
            NoteRemaining(&remains, settingsPath, 0);
        if (remains.count) {
            ShowRemains(remains);
            return;
        }
    }
    RemoveUninstallEntry(exePath);
    NoteKeptFolders(exePath, verdict, &remains);
    ShowRemains(remains);

    RunBatchFile(settingsPath, exePath, verdict);
}
