// What the elevated programs do against what another user may plant: a DLL
// beside the program, and a link (junction, mount point, symbolic link) in a
// path they write or delete through.
#ifndef VELTRANO_HARDENING_H
#define VELTRANO_HARDENING_H

#include <windows.h>

// Restricts every later DLL load, the forwards that the loader resolves on
// demand included, to the system directory. Called first thing in a program:
// what the loader resolves before that are the static imports, which are all
// known system DLLs.
void RestrictDllSearch();

// Where the system offers it (Windows 11 22H2 and later), makes the process
// follow no junction or mount point that a user other than an administrator
// made, whatever path leads through it. Elsewhere it does nothing.
void TrustOnlyAdministratorsRedirections();

// 1 when handle, opened on path, reached path itself: the platform's final
// path of the handle is path (case and trailing separators ignored). A link
// anywhere in the path, 8.3 short names and network paths make it 0.
int HandleReachesPath(HANDLE handle, const char *path);

// 1 when path is an existing folder, itself no reparse point, reached without
// a link in any component.
int FolderReachedWithoutLink(const char *path);

// Opens path as FolderReachedWithoutLink checks it, and holds it: while the
// handle is open, no one can rename, delete or swap the folder for a link,
// and on NTFS no folder above it either (a folder with something open
// inside cannot be renamed), so that what is made inside by path stays
// there. INVALID_HANDLE_VALUE where FolderReachedWithoutLink gives 0, or
// when another handle is open for deletion.
HANDLE HoldFolder(const char *path);

// Removes path, an empty folder or with fileToo a file, through a handle
// that follows no link, and only when that handle reached path itself: a
// junction, mount point or symbolic link anywhere in the path leaves the
// item alone, as does anything in use, read-only or a folder not empty.
// Returns 1 when it is gone (removed, or never there), 0 when it stays.
int RemoveReachedItem(const char *path, int fileToo);

// 1 when path, an existing folder of a drive ("X:\..."), and every folder
// above it up to the drive's root are reached without a link and can be
// changed by no one but administrators, the system, TrustedInstaller and
// the program's own user: each one's owner is one of them, and its access
// list lets no one else delete or rename it, change its access list or its
// owner, nor (with addsToo, for path itself) add files or folders to it. A
// volume that keeps no access lists is refused. On failure, failed (when
// given, FS_PATH_LENGTH + 1 characters) receives the folder that failed.
int FolderChainProtected(const char *path, int addsToo, char *failed);

// Creates the folder path with a protected descriptor that no other user may
// change: Administrators and SYSTEM full control, Users read and execute,
// inherited by what is made inside; nothing of the parent's is inherited.
// Returns 1 when the folder was made (0 also when something is there).
int CreateProtectedFolder(const char *path);
// That descriptor, self-relative, as CreateProtectedFolder passes it.
const void *ProtectedFolderDescriptor();

#endif
