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

// What the removal list says about the uninstaller's own directory, and
// whether the batch file removes that directory.
struct ListVerdict {
    // A line names the running uninstaller: the list is this installation's.
    int namesUninstaller;
    // 1 when the batch file removes the uninstaller's directory (and the
    // created folders above it) once they are empty.
    int removeDirectory;
    // createdFolder[n] is 1 when the list names the folder that the first n
    // characters of the uninstaller's directory spell (one the setup program
    // created above the installation directory).
    char createdFolder[FS_PATH_LENGTH + 1];
};

// The closing message names this many items and counts the rest ("+4").
#define REMAINS_NAMED 3
#define REMAINS_NAMES_SIZE (REMAINS_NAMED * (FS_PATH_LENGTH + 2))
// At most two folders are kept for others' files: the installation
// directory or one folder created above it, and the program group.
#define KEPT_NAMES_SIZE (2 * (FS_PATH_LENGTH + 2))

// What is left after the removal, for the closing message.
struct Remains {
    unsigned count;                   // items of ours that could not be removed
    char names[REMAINS_NAMES_SIZE];   // the first REMAINS_NAMED of them, one a line
    unsigned keptCount;               // folders kept because they hold others' files
    char kept[KEPT_NAMES_SIZE];       // those folders, one a line
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

// Reads the lines of section "DeInstall" of settingsPath into verdict
// (RemovalRule.h): whether one names the uninstaller, and the folders above
// its directory that the setup program created. Nothing is removed because
// the list names it.
void ReadRemovalList(const char *settingsPath, const char *exePath, ListVerdict *verdict);

// Removes the payload files by their names from the uninstaller's own
// directory, all but the running uninstaller exePath (the batch file deletes
// it), and notes in remains each one that stays. Returns 1 when this run
// removed the application's file.
int RemovePayload(const char *exePath, Remains *remains);

// Removes the group's shortcuts and the Startup shortcut whose target lies
// in the uninstaller's own directory, then the group folder once empty;
// notes in remains a shortcut that stays, and the group folder when it stays
// for others' files.
void RemoveOwnShortcuts(Remains *remains);

// With verdict.removeDirectory, notes in remains the folder that the batch
// file will have to leave: the uninstaller's directory when it holds more
// than the uninstaller exePath and the settings file, else the innermost
// created folder that holds more than the folder on the way down.
void NoteKeptFolders(const char *exePath, const ListVerdict &verdict, Remains *remains);

// Notes path in remains: an item of ours that could not be removed, or with
// folder set, a folder kept for others' files.
void NoteRemaining(Remains *remains, const char *path, int folder);

// The closing message box: what remains and how to finish the removal, or
// which folders were kept and why. Shows nothing when everything went.
void ShowRemains(const Remains &remains);

// The box that says nothing was removed because other users could change
// folder, one of those the removal acts in.
void ShowOpenFolder(const char *folder);

// The box that says nothing was removed because the name of the
// uninstaller's folder does not convert exactly into the code page (shown:
// the path with "?" where it did not).
void ShowInexactFolder(const char *shown);

// Makes a new folder for the batch file, writable only by the administrators
// (elevated) or the current user, writes into it the batch file that
// deletes settingsPath (unless it is "") and the uninstaller exePath and, as
// far as verdict allows, removes the uninstaller's directory and the folders
// created above it, then itself and its folder, and starts it minimised in a
// console of its own, without waiting for it. A batch file that could not be
// written whole, or that could not name every path exactly, is not started
// (and nothing of it is left).
void RunBatchFile(const char *settingsPath, const char *exePath, const ListVerdict &verdict);

#endif
