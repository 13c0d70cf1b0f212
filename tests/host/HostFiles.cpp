// OpenFile, CreateFileA and the _l* functions of the stand-in layer: HFILE
// (and the HANDLE of CreateFileA) is a Linux file descriptor.
#include "HostWin32.h"
#include "HostState.h"
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens one mapped path; a directory is never a file.
int OpenMapped(const std::string &windowsPath, int flags)
{
    std::string unixPath = host::MapPath(windowsPath.c_str());
    if (unixPath.empty())
        return -1;
    int fd = open(unixPath.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

long diskRoom = -1;                       // see HostSetDiskRoom

bool HasDirectory(const char *name)
{
    return strchr(name, '\\') || strchr(name, '/') || strchr(name, ':');
}

std::string DirectoryOfModule()
{
    const std::string &module = host::ModuleFileName();
    size_t last = module.rfind('\\');
    return last == std::string::npos ? std::string() : module.substr(0, last + 1);
}

}

// Opens for reading (OF_READ), writing (OF_WRITE), both (OF_READWRITE), or
// creates/truncates (OF_CREATE, always read and write as the real one does).
// A bare name opened for reading is searched in the module's directory, the
// current directory, the system and the Windows directory.
HFILE OpenFile(LPCSTR fileName, OFSTRUCT *openInfo, UINT style)
{
    if (openInfo)
        memset(openInfo, 0, sizeof *openInfo);
    if (!fileName || !*fileName)
        return HFILE_ERROR;
    int flags = O_RDONLY;
    if (style & OF_CREATE)
        flags = O_RDWR | O_CREAT | O_TRUNC;
    else if (style & OF_READWRITE)
        flags = O_RDWR;
    else if (style & OF_WRITE)
        flags = O_WRONLY;

    // The record holds OFS_MAXPATHNAME - 1 characters: a longer name is refused.
    if (strlen(fileName) >= OFS_MAXPATHNAME)
        return HFILE_ERROR;
    std::string chosen = host::FullWindowsPath(fileName);
    int fd = -1;
    if (!(style & OF_CREATE) && !HasDirectory(fileName)) {
        std::string places[] = {DirectoryOfModule(), std::string(),
                                host::SystemDirectory() + "\\", host::WindowsDirectory() + "\\"};
        for (const std::string &place : places) {
            std::string candidate = host::FullWindowsPath((place + fileName).c_str());
            fd = OpenMapped(candidate, flags);
            if (fd >= 0) {
                chosen = candidate;
                break;
            }
        }
    } else {
        fd = OpenMapped(chosen, flags);
    }
    if (openInfo) {
        openInfo->cBytes = sizeof *openInfo;
        openInfo->fFixedDisk = 1;
        openInfo->nErrCode = fd < 0 ? 2 : 0;
        size_t n = chosen.size() < OFS_MAXPATHNAME - 1 ? chosen.size() : OFS_MAXPATHNAME - 1;
        memcpy(openInfo->szPathName, chosen.c_str(), n);
        openInfo->szPathName[n] = '\0';
    }
    return fd < 0 ? HFILE_ERROR : fd;
}

// Opens an existing file by its path, without any search and without a
// length limit of its own: OF_READ, OF_WRITE or OF_READWRITE.
HFILE _lopen(LPCSTR path, int style)
{
    if (!path || !*path)
        return HFILE_ERROR;
    int flags = (style & OF_READWRITE) ? O_RDWR : (style & OF_WRITE) ? O_WRONLY : O_RDONLY;
    int fd = OpenMapped(host::FullWindowsPath(path), flags);
    return fd < 0 ? HFILE_ERROR : fd;
}

// Creates a file or truncates an existing one, open for reading and writing.
HFILE _lcreat(LPCSTR path, int)
{
    if (!path || !*path)
        return HFILE_ERROR;
    int fd = OpenMapped(host::FullWindowsPath(path), O_RDWR | O_CREAT | O_TRUNC);
    return fd < 0 ? HFILE_ERROR : fd;
}

// Reads up to count bytes; fewer only at the end of the file; HFILE_ERROR
// (as UINT) on failure.
UINT _lread(HFILE file, void *buffer, UINT count)
{
    UINT done = 0;
    while (done < count) {
        ssize_t n = read(file, (char *)buffer + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return (UINT)HFILE_ERROR;
        }
        if (n == 0)
            break;
        done += (UINT)n;
    }
    return done;
}

// Writes count bytes; count 0 cuts the file at the current position, as the
// real one does. Beyond the disk's room (HostSetDiskRoom) it writes what
// fits and fails.
UINT _lwrite(HFILE file, const char *buffer, UINT count)
{
    if (count == 0) {
        off_t at = lseek(file, 0, SEEK_CUR);
        if (at < 0 || ftruncate(file, at) != 0)
            return (UINT)HFILE_ERROR;
        return 0;
    }
    UINT fits = count;
    if (diskRoom >= 0 && (unsigned long)diskRoom < count)
        fits = (UINT)diskRoom;
    UINT done = 0;
    while (done < fits) {
        ssize_t n = write(file, buffer + done, fits - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return (UINT)HFILE_ERROR;
        }
        done += (UINT)n;
    }
    if (diskRoom >= 0)
        diskRoom -= (long)done;
    return done < count ? (UINT)HFILE_ERROR : done;
}

void HostSetDiskRoom(long bytes) { diskRoom = bytes; }

// CREATE_NEW only: fails when anything, a dangling link included, has the name.
HANDLE CreateFileA(LPCSTR path, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                   HANDLE)
{
    if (!path || !*path || disposition != CREATE_NEW)
        return INVALID_HANDLE_VALUE;
    std::string unixPath = host::MapPath(path);
    if (unixPath.empty())
        return INVALID_HANDLE_VALUE;
    int fd = open(unixPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    return fd < 0 ? INVALID_HANDLE_VALUE : (HANDLE)(intptr_t)fd;
}

HFILE _lclose(HFILE file) { return close(file) == 0 ? 0 : HFILE_ERROR; }
