// The uninstaller: removes an installation made by the setup program.
#ifndef VELTRANO_UNINSTALL_H
#define VELTRANO_UNINSTALL_H

#include <windows.h>

#include "ApplicationBroadcast.h"
#include "RemovalRule.h"
#include "TFileSys.h"

// The program's one TFileSys object, created at start and deleted at the end.
extern TFileSys *installContext;

// Texts and names the uninstaller works with.
#define DEINSTALL_SECTION "DeInstall"
#define BATCH_FILE_NAME "del_Quorvid.bat"
#define UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"

// What the removal list says about the uninstaller's own directory.
struct ListVerdict {
    // A line names the running uninstaller: the list is this installation's.
    int namesUninstaller;
    // createdFolder[n] is 1 when the list names the folder that the first n
    // characters of the uninstaller's directory spell (one the setup program
    // created above the installation directory).
    char createdFolder[FS_PATH_LENGTH + 1];
};

// Runs the whole removal once, from the confirmation to the start of the
// batch file; returns when the user did not say Yes or when all is done.
void RunUninstall(HINSTANCE instance);

// 1 when the uninstall entry under HKEY_LOCAL_MACHINE names exePath as its
// "UninstallString": this uninstaller is the registered one.
int EntryNamesUninstaller(const char *exePath);

// Deletes the values and the key of the uninstall entry when its
// "UninstallString" names exePath, or a program that no longer exists (its
// installation is gone, or its folder was renamed); the entry of another
// copy or installation that is still there stays.
void RemoveUninstallEntry(const char *exePath);

// Removes what the lines of section "DeInstall" of settingsPath name, as far
// as the uninstaller may (RemovalRule.h); fills verdict.
void RemoveListedItems(const char *settingsPath, const char *exePath, ListVerdict *verdict);

// Removes path, an empty folder or with fileToo a file, only when it is
// reached without a link in any part of its path; anything else stays.
void RemovePlain(const char *path, int fileToo);

// Makes a new folder for the batch file, writable only by the administrators
// (elevated) or the current user, and writes into it the batch file that
// deletes settingsPath (unless it is "") and the uninstaller exePath and, as
// far as verdict allows, removes the uninstaller's directory and the folders
// created above it, then itself and its folder. batchPath receives its path
// (FS_PATH_LENGTH + 1 characters). Returns 1 when the whole file was
// written, else 0 (and nothing is left).
int WriteBatchFile(const char *settingsPath, const char *exePath, const ListVerdict &verdict,
                   char *batchPath);

// Starts the batch file minimised in a console of its own, without waiting
// for it.
void StartBatchFile(const char *batchPath);

#endif
