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

static void Release(IUnknown *object)
{
    if (object)
        object->Release();
}

// A text variant holding text converted from the ANSI code page; VT_EMPTY
// when it cannot be made. Freed with VariantClear's rule (SysFreeString).
static VARIANT TextVariant(const char *text)
{
    VARIANT variant;
    ZeroMemory(&variant, sizeof variant);
    WCHAR wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH)) {
        variant.bstrVal = SysAllocString(wide);
        if (variant.bstrVal)
            variant.vt = VT_BSTR;
    }
    return variant;
}

// Asks the shell of the desktop (its window list, the desktop's top-level
// browser, its active view, the view's application object) to start file
// with the default verb, no parameters, directory as working directory and
// SW_SHOWNORMAL. Returns 1 when the shell took the request; 0 when no
// desktop shell answered at some step (then nothing was started).
int StartThroughDesktop(const char *file, const char *directory)
{
    HRESULT com = CoInitialize(NULL);
    IShellWindows *windows = NULL;
    IDispatch *desktop = NULL;
    IServiceProvider *services = NULL;
    IShellBrowser *browser = NULL;
    IShellView *view = NULL;
    IShellFolderViewDual *folderView = NULL;
    IDispatch *application = NULL;
    IShellDispatch2 *shell = NULL;
    VARIANT none;
    ZeroMemory(&none, sizeof none);
    long window = 0;
    HRESULT result = CoCreateInstance(CLSID_ShellWindows, NULL, CLSCTX_LOCAL_SERVER,
                                      IID_IShellWindows, (void **)&windows);
    // S_FALSE: the list holds no desktop.
    if (result == S_OK)
        result = windows->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                       &desktop);
    if (result == S_OK && desktop)
        result = desktop->QueryInterface(IID_IServiceProvider, (void **)&services);
    else
        result = E_FAIL;
    if (SUCCEEDED(result))
        result = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, (void **)&browser);
    if (SUCCEEDED(result))
        result = browser->QueryActiveShellView(&view);
    IDispatch *background = NULL;
    if (SUCCEEDED(result))
        result = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, (void **)&background);
    if (SUCCEEDED(result)) {
        result = background->QueryInterface(IID_IShellFolderViewDual, (void **)&folderView);
        background->Release();
    }
    if (SUCCEEDED(result))
        result = folderView->get_Application(&application);
    if (SUCCEEDED(result))
        result = application->QueryInterface(IID_IShellDispatch2, (void **)&shell);
    if (SUCCEEDED(result)) {
        VARIANT name = TextVariant(file);
        VARIANT parameters = TextVariant("");
        VARIANT folder = TextVariant(directory);
        VARIANT show;
        ZeroMemory(&show, sizeof show);
        show.vt = VT_I4;
        show.lVal = SW_SHOWNORMAL;
        result = name.vt == VT_BSTR && folder.vt == VT_BSTR
                     ? shell->ShellExecute(name.bstrVal, parameters, folder, none, show)
                     : E_FAIL;
        SysFreeString(name.bstrVal);
        SysFreeString(parameters.bstrVal);
        SysFreeString(folder.bstrVal);
    }
    Release(shell);
    Release(application);
    Release(folderView);
    Release(view);
    Release(browser);
    Release(services);
    Release(desktop);
    Release(windows);
    if (SUCCEEDED(com))
        CoUninitialize();
    return SUCCEEDED(result);
}
