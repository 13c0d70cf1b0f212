// Stand-in for the few kernel32 declarations the library uses, so that
// common/ builds and is unit-tested on Linux. Test scaffolding only: the
// programs are built against the real <windows.h>.
//
// Drive letters map to directories below a root that the test chooses
// (HostSetRoot): drive X is <root>/x when that directory exists. Path
// components are matched without regard to case, as Windows does.
//
// Not emulated: attributes other than directory, read-only, hidden and system
// (hidden = a name beginning with '.', read-only = no write permission for
// the owner, system = set by SetFileAttributesA and remembered by this
// process only; plain files always carry the archive attribute, as under
// Wine); short (8.3) names (cAlternateFileName is always empty); share modes
// and locking; UNC paths; wildcards other than '*' and '?' in FindFirstFileA;
// code pages (bytes are passed through unchanged); CreateFileA beyond
// CREATE_NEW, its access, sharing and flags; the write-through of
// MoveFileExA (a rename).
#ifndef VELTRANO_HOSTWIN32_H
#define VELTRANO_HOSTWIN32_H

#include <stdint.h>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef LONG HRESULT;
typedef int HFILE;
typedef void *HANDLE;
typedef void *HINSTANCE;
typedef void *HMODULE;
typedef void *HRSRC;
typedef void *HWND;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPSECURITY_ATTRIBUTES;
typedef intptr_t INT_PTR;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define HFILE_ERROR ((HFILE)-1)
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

#define OF_READ 0x0000
#define OF_WRITE 0x0001
#define OF_READWRITE 0x0002
#define OF_CREATE 0x1000
#define OFS_MAXPATHNAME 128

#define FILE_ATTRIBUTE_READONLY 0x01
#define FILE_ATTRIBUTE_HIDDEN 0x02
#define FILE_ATTRIBUTE_SYSTEM 0x04
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_ARCHIVE 0x20
#define FILE_ATTRIBUTE_NORMAL 0x80
#define FILE_FLAG_WRITE_THROUGH 0x80000000u

#define GENERIC_WRITE 0x40000000u
#define CREATE_NEW 1
#define MOVEFILE_REPLACE_EXISTING 0x1
#define MOVEFILE_WRITE_THROUGH 0x8

#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_FIXED 3

typedef struct {
    BYTE cBytes;
    BYTE fFixedDisk;
    WORD nErrCode;
    WORD Reserved1;
    WORD Reserved2;
    char szPathName[OFS_MAXPATHNAME];
} OFSTRUCT;

typedef struct {
    DWORD dwFileAttributes;
    DWORD ftCreationTime[2];
    DWORD ftLastAccessTime[2];
    DWORD ftLastWriteTime[2];
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    char cFileName[MAX_PATH];
    char cAlternateFileName[14];
} WIN32_FIND_DATAA;

// Test control: the directory that holds the drive directories, the path of
// the "running program", and the Windows, system and temporary directories.
void HostSetRoot(const char *unixDirectory);
void HostSetModuleFileName(const char *windowsPath);
void HostSetDirectories(const char *windows, const char *system, const char *temp);
void HostSetCurrentDirectory(const char *windowsPath);
// The bytes _lwrite may still write before the disk is full: a write beyond
// them writes what fits and fails with HFILE_ERROR. -1, the start value and
// what HostSetRoot sets, is no limit.
void HostSetDiskRoom(long bytes);
// Maps a Windows path to the Linux path below the root (case-insensitive
// match of existing components); returns 0 when the drive does not exist.
int HostMapPath(const char *windowsPath, char *unixPath, unsigned size);

HFILE OpenFile(LPCSTR fileName, OFSTRUCT *openInfo, UINT style);
HFILE _lopen(LPCSTR path, int style);
HFILE _lcreat(LPCSTR path, int attributes);
UINT _lread(HFILE file, void *buffer, UINT count);
UINT _lwrite(HFILE file, const char *buffer, UINT count);
HFILE _lclose(HFILE file);
// The handle is the file descriptor, so (HFILE)(INT_PTR) of it serves _l*.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
DWORD GetFileAttributesA(LPCSTR path);
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes);
HANDLE FindFirstFileA(LPCSTR path, WIN32_FIND_DATAA *data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA *data);
BOOL FindClose(HANDLE search);
BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectoryA(LPCSTR path);
BOOL DeleteFileA(LPCSTR path);
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
DWORD GetTempPathA(DWORD size, LPSTR buffer);
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
UINT GetDriveTypeA(LPCSTR root);
DWORD GetLogicalDrives(void);
DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR *filePart);
int lstrlenA(LPCSTR text);
LPSTR lstrcpyA(LPSTR target, LPCSTR source);
LPSTR lstrcpynA(LPSTR target, LPCSTR source, int size);
LPSTR lstrcatA(LPSTR target, LPCSTR source);
int lstrcmpiA(LPCSTR a, LPCSTR b);

#endif
