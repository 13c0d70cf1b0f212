// Starting the application through the desktop shell. The setup program runs
// elevated, and a program it started itself would run elevated too, as the
// administrator whose password was typed; the desktop shell runs as the
// user who is logged on, unelevated, and starts what it is asked to as that
// user.
#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shlguid.h>
#include <shldisp.h>
#include <shobjidl.h>
#include "SetupState.h"

// A text variant holding text converted from the ANSI code page (a path
// fits; a text that does not convert becomes ""). Its text is freed with
// SysFreeString.
static VARIANT TextVariant(const char *text)
{
    VARIANT variant;
    ZeroMemory(&variant, sizeof variant);
    WCHAR wide[FS_PATH_LENGTH + 1];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, FS_PATH_LENGTH + 1))
        wide[0] = 0;
    variant.vt = VT_BSTR;
    variant.bstrVal = SysAllocString(wide);
    return variant;
}

// Asks the shell of the desktop (its window list, the desktop's top-level
// browser, its active view, the view's application object) to start file
// with the default verb, directory as working directory and SW_SHOWNORMAL.
// Returns 1 when the shell took the request; 0 when no desktop shell
// answered at some step (then nothing was started).
int StartThroughDesktop(const char *file, const char *directory)
{
    HRESULT com = CoInitialize(NULL);
    // Each step's object, in the order of the chain; all are released at the end.
    enum { WINDOWS, DESKTOP, SERVICES, BROWSER, VIEW, BACKGROUND, FOLDER_VIEW, APPLICATION, SHELL, HELD };
    IUnknown *held[HELD];
    ZeroMemory(held, sizeof held);
    void **object = (void **)held;
    VARIANT none;
    ZeroMemory(&none, sizeof none);
    long window;
    HRESULT result = CoCreateInstance(CLSID_ShellWindows, NULL, CLSCTX_LOCAL_SERVER,
                                      IID_IShellWindows, &object[WINDOWS]);
    // S_FALSE: the list holds no desktop.
    if (result == S_OK)
        result = ((IShellWindows *)held[WINDOWS])
                     ->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                    (IDispatch **)&object[DESKTOP]);
    if (result != S_OK || !held[DESKTOP])
        result = E_FAIL;
    if (SUCCEEDED(result))
        result = held[DESKTOP]->QueryInterface(IID_IServiceProvider, &object[SERVICES]);
    if (SUCCEEDED(result))
        result = ((IServiceProvider *)held[SERVICES])
                     ->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, &object[BROWSER]);
    if (SUCCEEDED(result))
        result = ((IShellBrowser *)held[BROWSER])->QueryActiveShellView((IShellView **)&object[VIEW]);
    if (SUCCEEDED(result))
        result = ((IShellView *)held[VIEW])
                     ->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, &object[BACKGROUND]);
    if (SUCCEEDED(result))
        result = held[BACKGROUND]->QueryInterface(IID_IShellFolderViewDual, &object[FOLDER_VIEW]);
    if (SUCCEEDED(result))
        result = ((IShellFolderViewDual *)held[FOLDER_VIEW])
                     ->get_Application((IDispatch **)&object[APPLICATION]);
    if (SUCCEEDED(result))
        result = held[APPLICATION]->QueryInterface(IID_IShellDispatch2, &object[SHELL]);
    if (SUCCEEDED(result)) {
        VARIANT name = TextVariant(file);
        VARIANT folder = TextVariant(directory);
        VARIANT show = none;
        show.vt = VT_I4;
        show.lVal = SW_SHOWNORMAL;
        result = ((IShellDispatch2 *)held[SHELL])
                     ->ShellExecute(name.bstrVal, none, folder, none, show);
        SysFreeString(name.bstrVal);
        SysFreeString(folder.bstrVal);
    }
    for (int i = HELD; i--;)
        if (held[i])
            held[i]->Release();
    if (SUCCEEDED(com))
        CoUninitialize();
    return SUCCEEDED(result);
}
