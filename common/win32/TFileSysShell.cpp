// TFileSys operations that move data between the program and the shell:
// embedded payload into files, and copy or delete through the shell's file
// operation (shell links: TFileSysLink.cpp). None of them uses workPath,
// except ShellDelete, which tests its path with PathExists.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include "TFileSys.h"
#include "TBuffer.h"
#include "BoundedString.h"

// Flags of the shell's file operation: no confirmation, to the recycle bin
// where possible; the copy also shows a simple progress dialog and makes
// missing directories without asking.
#define SHELL_COPY_FLAGS (FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS | FOF_NOCONFIRMMKDIR)
#define SHELL_DELETE_FLAGS (FOF_NOCONFIRMATION | FOF_ALLOWUNDO)

// Writes the resource of the given type and 16-bit identifier of our module
// into file, replacing its content. Returns 1 when written; 0 when there is
// no such resource (then no file is touched) or it could not be written.
int TFileSys::ExtractResource(const char *type, WORD identifier, const char *file)
{
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(identifier), type);
    if (!resource)
        return 0;
    return WriteResource(resource, file);
}

// As above, with a numbered resource type.
int TFileSys::ExtractResource(WORD type, WORD identifier, const char *file)
{
    return ExtractResource(MAKEINTRESOURCEA(type), identifier, file);
}

// Replaces file with a new one holding the resource's bytes, written in one
// write exactly as stored. A file of that name is deleted first rather than
// truncated: the directory may be open to other users, and a name planted
// as a hard link to a file elsewhere would otherwise have that file
// overwritten. Returns 1 when all bytes were written, 0 when the file could
// not be made (also when the old one could not be deleted: read-only, or in
// use), the resource not locked (the file then stays empty) or the write
// fell short; a file cut short is deleted again (through its handle, so
// that nothing else can take its name meanwhile), since a short program or
// page would look installed and fail later. Shows the wait cursor meanwhile
// and restores the previous one. The file is made with CreateFileA rather than
// OpenFile, whose record holds only 128 characters of path: a deeper
// installation directory would otherwise get no files at all.
int TFileSys::WriteResource(HRSRC resource, const char *file)
{
    HCURSOR previous = SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
    int written = 0;
    DeleteFileA(file);
    HANDLE handle = CreateFileA(file, GENERIC_WRITE | DELETE, 0, NULL, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle != INVALID_HANDLE_VALUE) {
        DWORD size = SizeofResource(instance, resource);
        HGLOBAL loaded = LoadResource(instance, resource);
        const char *bytes = (const char *)LockResource(loaded);
        DWORD done = 0;
        if (bytes && WriteFile(handle, bytes, size, &done, NULL) && done == size)
            written = 1;
        FreeResource(loaded);
        FILE_DISPOSITION_INFO disposition = {TRUE};
        if (!written)
            SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                       sizeof disposition);
        CloseHandle(handle);
    }
    SetCursor(previous);
    return written;
}

// Copies path into list (room for its length plus 2) as a list of one name
// for the shell's file operation: the name followed by two terminators.
static char *MakeNameList(TBuffer &list, const char *path, unsigned length)
{
    CopyBounded(list.data, path, length + 1);
    list.data[length + 1] = '\0';
    return list.data;
}

// Runs one file operation of the shell on one source name and, for a copy,
// one destination name. The shell's result and its aborted flag are not
// looked at.
static void RunShellOperation(HWND owner, UINT function, const char *source,
                              const char *destination, FILEOP_FLAGS flags, const char *title)
{
    unsigned sourceLength = lstrlenA(source);
    unsigned destinationLength = destination ? lstrlenA(destination) : 0;
    TBuffer from(sourceLength + 2);
    TBuffer to(destinationLength + 2);
    SHFILEOPSTRUCTA operation;
    ZeroMemory(&operation, sizeof operation);
    operation.hwnd = owner;
    operation.wFunc = function;
    operation.pFrom = MakeNameList(from, source, sourceLength);
    operation.pTo = destination ? MakeNameList(to, destination, destinationLength) : NULL;
    operation.fFlags = flags;
    operation.lpszProgressTitle = title;
    SHFileOperationA(&operation);
}

// Copies source to destination through the shell (with its progress dialog
// titled title, owned by owner). With replace 1 the destination is deleted
// first; a destination that is still present afterwards is left as it is
// and nothing is copied. Reports nothing.
void TFileSys::ShellCopy(const char *destination, const char *source, int replace,
                         HWND owner, const char *title)
{
    if (replace == 1)
        DeleteFileA(destination);
    if (FileExists(destination))
        return;
    RunShellOperation(owner, FO_COPY, source, destination, SHELL_COPY_FLAGS, title);
}

// Deletes path (which may hold wildcards) through the shell, to the recycle
// bin where it can. When nothing matches and the path is not present, the
// shell is not called at all. Reports nothing.
void TFileSys::ShellDelete(const char *path, HWND owner, const char *title)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search != INVALID_HANDLE_VALUE || PathExists(path))
        RunShellOperation(owner, FO_DELETE, path, NULL, SHELL_DELETE_FLAGS, title);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}
