// Where the user's Start menu folders are, as both programs read them.
#ifndef VELTRANO_SHELLFOLDERS_H
#define VELTRANO_SHELLFOLDERS_H

// Reads the user's Programs and Startup folders from the values "Programs"
// and "Startup" of Shell Folders (name case ignored) into programs and
// startup (FS_PATH_LENGTH + 1 characters each). A folder that is not found,
// or whose value is too long for a path, stays "". The setup program puts
// its shortcuts there, and the uninstaller removes only shortcuts there, so
// both read them with this one routine.
void FindShellFolders(char *programs, char *startup);

#endif
