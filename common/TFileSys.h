// TFileSys: the library's file-system class. One object per program holds the
// program's own directory, the parts of the last split path and the result
// buffer workPath, which nearly every operation overwrites and returns; a
// caller copies a result that it needs beyond the next call.
#ifndef VELTRANO_TFILESYS_H
#define VELTRANO_TFILESYS_H

#include "Win32.h"

// Longest path the class handles, without the terminator.
#define FS_PATH_LENGTH 260
// Longest directory, name or extension part of a split path.
#define FS_PART_LENGTH 255

class TFileSys {
public:
    char moduleDir[FS_PATH_LENGTH + 1];   // directory of the running program, ending in "\"
    char workPath[FS_PATH_LENGTH + 1];    // result buffer of the path operations
    char drive[4];                        // parts of the last Split
    char dir[FS_PART_LENGTH + 2];
    char name[FS_PART_LENGTH + 2];
    char ext[FS_PART_LENGTH + 2];
    HINSTANCE instance;                   // module whose resources are read; 0 without one

    static char windowsDir[FS_PATH_LENGTH + 2];
    static char tempDir[FS_PATH_LENGTH + 2];

    explicit TFileSys(HINSTANCE instance);

    // Basic path operations.
    void Split(const char *path);
    char *Merge();
    char *StripSeparator(const char *path);
    char *DirectoryOf(const char *path);
    char *FileNameOf(const char *path);
    int PathExists(const char *path);
    int IsWritable(const char *path);
    int FileExists(const char *path);
    char *FirstExistingPath(const char *first, const char *second);
    char *DriveCurrentDirectory(char letter);
    int CreateDirectoryPath(const char *path);
    // Appends a separator in place; size is the buffer's room in characters,
    // terminator included. Nothing is appended that would not fit.
    char *AddSeparator(char *buffer, unsigned size = FS_PATH_LENGTH + 1);
    char *TempFileName(const char *file);
    char *MakeFileName(const char *file, const char *directory, const char *extension);
    char *ChangeExtension(const char *file, const char *extension);
    char *PathInDirectory(const char *directory, const char *file);
    const char *ModuleDirectory();
    char *SystemDirectory();
    const char *WindowsDirectory();
    int MakeMultiString(char *buffer);

    // Payload extraction and shell operations (Windows build only).
    int ExtractResource(const char *type, WORD identifier, const char *file);
    int ExtractResource(WORD type, WORD identifier, const char *file);
    int WriteResource(HRSRC resource, const char *file);
    HRESULT CreateShellLink(const char *target, const char *linkFile, const char *description);
    int ShellLinkTarget(const char *linkFile, char *target, unsigned size);
    void ShellCopy(const char *destination, const char *source, int replace, HWND owner,
                   const char *title);
    void ShellDelete(const char *path, HWND owner, const char *title);

    // Relative and short paths.
    char *DisplayPath(const char *file, const char *base, int maximum);
    char *RelativePath(const char *file, const char *base);
    char *AbsolutePath(const char *relative, const char *base);
    char *ShortPathName(const char *path);
};

#endif
