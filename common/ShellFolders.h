// Where the user's Start menu folders are, as both programs read them.
#ifndef VELTRANO_SHELLFOLDERS_H
#define VELTRANO_SHELLFOLDERS_H

// Reads the user's Programs and Startup folders from the values "Programs"
// and "Startup" of Shell Folders (name case ignored) into programs and
// startup (FS_PATH_LENGTH + 1 characters each). A folder that is not found,
// or whose value is too long for a path, stays "". The setup program puts
// its shortcuts there, and the uninstaller removes only shortcuts there, so
// both read them with this one routine. The values are read in UTF-16; one
// that the program's code page cannot carry exactly is returned with "?"
// for what did not convert, and its bit (SHELL_PROGRAMS_INEXACT,
// SHELL_STARTUP_INEXACT) is set in the result: such a folder may be named,
// never used (it would name another folder).
#define SHELL_PROGRAMS_INEXACT 1
#define SHELL_STARTUP_INEXACT 2
int FindShellFolders(char *programs, char *startup);

#endif
