// TFileSys operations on shell links: making one, and reading its target.
// Apart from the other shell operations, so that a program that only reads
// links needs no more of the shell than this.
#include <windows.h>
#include <shlobj.h>
#include "TFileSys.h"
#include "TBuffer.h"
#include "BoundedString.h"
#include "Hardening.h"
#include "CodePage.h"

// The shell-link class and the interfaces we ask of it, kept here so
// that the programs need no import library for them.
static const GUID ShellLinkClass =
    {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const GUID ShellLinkWideInterface =
    {0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const GUID PersistFileInterface =
    {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const GUID PersistStreamInterface =
    {0x00000109, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Writes count bytes into linkFile, a file made new through a handle that
// follows no link and must have reached linkFile itself before the first
// byte; a file that ended up elsewhere, or was not written whole, is
// deleted again through the same handle.
static HRESULT WriteNewFile(const char *linkFile, const void *bytes, DWORD count)
{
    HANDLE file = CreateFileA(linkFile, GENERIC_WRITE | DELETE, 0, NULL, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(GetLastError());
    DWORD written = 0;
    int done = HandleReachesPath(file, linkFile) && WriteFile(file, bytes, count, &written, NULL) &&
               written == count;
    if (!done) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    }
    CloseHandle(file);
    return done ? S_OK : E_FAIL;
}

// Creates the shell link linkFile (removing one that is there) pointing at
// target and carrying description; nothing else of the link is set. The
// link is made through its UTF-16 interface, which keeps every name as it
// is for a reader of any code page. COM is initialised for this call alone.
// Returns the HRESULT of the last step performed, S_OK when the file was
// written whole. A name that is no text of the program's code page, or a
// link path that does not fit into 260 UTF-16 units, is refused with
// E_INVALIDARG rather than saved under another name.
// The folder may belong to the user, whose other programs may swap it, or
// the file, for a link at any moment: the link is made in memory, the old
// file removed through a handle that reached its own path, and the new one
// written through a handle checked the same way (WriteNewFile). A file of
// that name that cannot be removed makes the call fail.
HRESULT TFileSys::CreateShellLink(const char *target, const char *linkFile,
                                  const char *description)
{
    WCHAR wideTarget[MAX_PATH], wideName[MAX_PATH], wideDescription[MAX_PATH];
    if (!NameToWide(target, wideTarget, MAX_PATH) || !NameToWide(linkFile, wideName, MAX_PATH) ||
        !NameToWide(description, wideDescription, MAX_PATH))
        return E_INVALIDARG;
    CoInitialize(NULL);
    IShellLinkW *link = NULL;
    HRESULT result = CoCreateInstance(ShellLinkClass, NULL, CLSCTX_INPROC_SERVER,
                                      ShellLinkWideInterface, (void **)&link);
    if (SUCCEEDED(result)) {
        link->SetPath(wideTarget);
        link->SetDescription(wideDescription);
        IPersistStream *persist = NULL;
        IStream *stream = NULL;
        result = link->QueryInterface(PersistStreamInterface, (void **)&persist);
        if (SUCCEEDED(result))
            result = CreateStreamOnHGlobal(NULL, TRUE, &stream);
        if (SUCCEEDED(result))
            result = persist->Save(stream, TRUE);
        HGLOBAL memory = NULL;
        STATSTG facts;
        if (SUCCEEDED(result))
            result = GetHGlobalFromStream(stream, &memory);
        if (SUCCEEDED(result))
            result = stream->Stat(&facts, STATFLAG_NONAME);
        if (SUCCEEDED(result) && (facts.cbSize.HighPart || facts.cbSize.LowPart > GlobalSize(memory)))
            result = E_UNEXPECTED;
        if (SUCCEEDED(result)) {
            const void *bytes = GlobalLock(memory);
            RemoveReachedItem(linkFile, 1);
            result = bytes ? WriteNewFile(linkFile, bytes, facts.cbSize.LowPart) : E_OUTOFMEMORY;
            GlobalUnlock(memory);
        }
        if (stream)
            stream->Release();
        if (persist)
            persist->Release();
        link->Release();
    }
    CoUninitialize();
    return result;
}

// The target of the loaded link into path (MAX_PATH + 2 characters): the
// path of its item list, as the shell itself takes it, else the path it
// stores as text. The text may be what a program of another code page wrote
// (Wine reads it in the reader's code page); the item list holds the names
// in UTF-16. SHGetPathFromIDListW is taken from shell32, which the link
// object has loaded, so that a program reading links imports nothing of it.
// Returns 1 when a whole path was read.
static int LinkPath(IShellLinkW *link, WCHAR *path)
{
    typedef BOOL(WINAPI * PathFromList)(LPCITEMIDLIST, LPWSTR);
    HMODULE shell = GetModuleHandleA("shell32.dll");
    PathFromList pathFromList =
        shell ? (PathFromList)(void *)GetProcAddress(shell, "SHGetPathFromIDListW") : 0;
    LPITEMIDLIST list = NULL;
    int found = 0;
    if (pathFromList && link->GetIDList(&list) == S_OK && list) {
        WCHAR fromList[MAX_PATH + 2];
        found = pathFromList(list, fromList) && lstrcpynW(path, fromList, MAX_PATH + 2);
        CoTaskMemFree(list);
    }
    // One character more than a path can be tells a cut path.
    if (!found)
        found = link->GetPath(path, MAX_PATH + 2, NULL, 0) == S_OK;
    return found && lstrlenW(path) <= MAX_PATH;
}

// Reads the target path of the shell link linkFile into target (size
// characters; "" on failure), as the link stores it: nothing is resolved or
// searched for. The link stores it in UTF-16, and it is read so: a target
// that the program's code page cannot carry exactly is no target (it would
// read back as another path). COM is initialised for this call alone.
// Returns 1 when read whole, 0 when linkFile is no shell link or the target
// does not fit or convert.
int TFileSys::ShellLinkTarget(const char *linkFile, char *target, unsigned size)
{
    target[0] = '\0';
    WCHAR wideName[MAX_PATH];
    if (size < 2 || !NameToWide(linkFile, wideName, MAX_PATH))
        return 0;
    HRESULT com = CoInitialize(NULL);
    int read = 0;
    IShellLinkW *link = NULL;
    if (SUCCEEDED(CoCreateInstance(ShellLinkClass, NULL, CLSCTX_INPROC_SERVER,
                                   ShellLinkWideInterface, (void **)&link))) {
        IPersistFile *persist = NULL;
        if (SUCCEEDED(link->QueryInterface(PersistFileInterface, (void **)&persist))) {
            // One character more than a path can be tells a cut path.
            WCHAR path[MAX_PATH + 2];
            ZeroMemory(path, sizeof path);
            read = SUCCEEDED(persist->Load(wideName, STGM_READ)) &&
                   LinkPath(link, path) && NameFromWide(path, target, size);
            persist->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    if (!read)
        target[0] = '\0';
    return read;
}
