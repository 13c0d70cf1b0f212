// Where the setup program proposes to install: never in a folder that a
// user made.
#ifndef VELTRANO_PROGRAMFOLDER_H
#define VELTRANO_PROGRAMFOLDER_H

// Searches pattern (a folder and a wildcard name, such as "c:\prog*") and
// takes, in the order in which the file system returns the names, the first
// directory whose path (pattern's folder and the name found) is one of the
// count folders, case and trailing separators ignored; every other match is
// passed over. Any user may make folders in a drive's root, and "C:\Prog0"
// comes before "C:\Program Files". Writes that path into folder (size
// characters, at least 1) and returns 1; returns 0 when nothing is taken, and folder
// then holds no path to use (it is written as the search goes).
int FindProgramFolder(const char *pattern, const char *const *folders, unsigned count,
                      char *folder, unsigned size);

#endif
