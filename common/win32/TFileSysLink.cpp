// TFileSys operations on shell links: making one, and reading its target.
// Apart from the other shell operations, so that a program that only reads
// links needs no more of the shell than this.
#include <windows.h>
#include <shlobj.h>
#include "TFileSys.h"
#include "TBuffer.h"
#include "BoundedString.h"

// The shell-link class and the two interfaces we ask of it, kept here so
// that the programs need no import library for them.
static const GUID ShellLinkClass =
    {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const GUID ShellLinkInterface =
    {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const GUID PersistFileInterface =
    {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Creates the shell link linkFile (deleting one that is there) pointing at
// target and carrying description; nothing else of the link is set. COM is
// initialised for this call alone. Returns the HRESULT of the last step
// performed: object creation, the query for IPersistFile, or the save.
// A link path that does not fit into 260 UTF-16 units is refused with
// E_INVALIDARG rather than saved under a cut name.
HRESULT TFileSys::CreateShellLink(const char *target, const char *linkFile,
                                  const char *description)
{
    CoInitialize(NULL);
    IShellLinkA *link = NULL;
    HRESULT result = CoCreateInstance(ShellLinkClass, NULL, CLSCTX_INPROC_SERVER,
                                      ShellLinkInterface, (void **)&link);
    if (SUCCEEDED(result)) {
        link->SetPath(target);
        link->SetDescription(description);
        IPersistFile *persist = NULL;
        result = link->QueryInterface(PersistFileInterface, (void **)&persist);
        if (SUCCEEDED(result)) {
            WCHAR wideName[MAX_PATH];
            // A file of that name goes first rather than being written over:
            // in a folder of the user's it may be a link to a file elsewhere.
            DeleteFileA(linkFile);
            if (MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wideName, MAX_PATH))
                result = persist->Save(wideName, TRUE);
            else
                result = E_INVALIDARG;
            persist->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

// Reads the target path of the shell link linkFile into target (size
// characters; "" on failure), as the link stores it: nothing is resolved or
// searched for. COM is initialised for this call alone. Returns 1 when read
// whole, 0 when linkFile is no shell link or the target does not fit.
int TFileSys::ShellLinkTarget(const char *linkFile, char *target, unsigned size)
{
    target[0] = '\0';
    WCHAR wideName[MAX_PATH];
    if (size < 2 || !MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wideName, MAX_PATH))
        return 0;
    HRESULT com = CoInitialize(NULL);
    int read = 0;
    IShellLinkA *link = NULL;
    if (SUCCEEDED(CoCreateInstance(ShellLinkClass, NULL, CLSCTX_INPROC_SERVER, ShellLinkInterface,
                                   (void **)&link))) {
        IPersistFile *persist = NULL;
        if (SUCCEEDED(link->QueryInterface(PersistFileInterface, (void **)&persist))) {
            // One character more than size asks for tells a cut path.
            TBuffer path(size + 1);
            ZeroMemory(path.data, size + 1);
            read = SUCCEEDED(persist->Load(wideName, STGM_READ)) &&
                   link->GetPath(path, size + 1, NULL, 0) == S_OK &&
                   CopyBounded(target, path, size);
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

