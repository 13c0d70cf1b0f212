// The uninstaller: removes an installation made by the setup program.
#ifndef VELTRANO_UNINSTALL_H
#define VELTRANO_UNINSTALL_H

#include <windows.h>

#include "TFileSys.h"

// The program's one TFileSys object, created at start and deleted at the end.
extern TFileSys *installContext;

// Texts and names the uninstaller works with.
#define PRODUCT_NAME "Veltrano"
#define SETTINGS_FILE_NAME "Pellino.exe.ini"
#define DEINSTALL_SECTION "DeInstall"
#define BATCH_FILE_NAME "del_Quorvid.bat"
#define UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"

// Runs the whole removal once, from the confirmation to the start of the
// batch file; returns when the user said No or when all is done.
void RunUninstall(HINSTANCE instance);

// Tells running instances of the application (DDE initiation for
// "Veltrano"/"Uninstall" to every top-level window). A window that does not
// answer is given up after a few seconds.
void BroadcastUninstall();

// Deletes the values and the key of the uninstall entry under
// HKEY_LOCAL_MACHINE; a key that cannot be opened is passed over.
void RemoveUninstallEntry();

// Deletes every text line of section "DeInstall" of the settings file
// settingsPath as a file and tries to remove its directory (see the .cpp for
// which directories are tried).
void RemoveListedItems(const char *settingsPath);

// Writes the batch file batchPath that deletes the settings file
// settingsPath, the uninstaller exePath, its directory directory and itself.
// Returns 1 when the whole file was written, else 0 (and no file is left).
int WriteBatchFile(const char *batchPath, const char *settingsPath, const char *exePath,
                   const char *directory);

// Starts the batch file minimised in a console of its own, in the batch
// file's directory workDirectory, without waiting for it.
void StartBatchFile(const char *batchPath, const char *workDirectory);

#endif
