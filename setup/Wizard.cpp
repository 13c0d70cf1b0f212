// The wizard pages: one dialog procedure for the language, welcome and
// options pages, the centring of a page, the quit question and the folder
// search. Every choice goes straight into the program-wide setup state.
#include <windows.h>
#include <shlobj.h>
#include "SetupState.h"
#include "BoundedString.h"
#include "CodePage.h"
#include "TBuffer.h"

#define TEXT_SIZE 256
#define TITLE_FORMAT_SIZE 512

// The path edit's text as typed or chosen, kept while installPath cannot
// carry it, so that the page shows it again as it was.
static WCHAR typedPath[INSTALL_PATH_SIZE];

// Loads string base + languageOffset into text (size characters); a string
// that cannot be loaded leaves text empty.
static void LoadText(int base, char *text, int size)
{
    text[0] = '\0';
    LoadStringA(appInstance, base + languageOffset, text, size);
}

// Titles the page with the product title and centres it on the screen.
void CenterPage(HWND window)
{
    SendMessageA(window, WM_SETTEXT, 0, (LPARAM)PRODUCT_TITLE);
    WINDOWPLACEMENT placement;
    ZeroMemory(&placement, sizeof placement);
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    int width = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    int height = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    MoveWindow(window, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, TRUE);
}

// Asks whether to quit; Yes posts WM_DESTROY to owner, anything else posts
// the page's command again so that the page reopens with the stored values.
void ConfirmQuit(HWND owner, int page)
{
    TBuffer caption(TEXT_SIZE);
    TBuffer text(TEXT_SIZE);
    LoadText(STR_QUIT_CAPTION, caption, TEXT_SIZE);
    LoadText(STR_QUIT_TEXT, text, TEXT_SIZE);
    if (MessageBoxA(owner, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES)
        PostMessageA(owner, WM_DESTROY, 0, 0);
    else
        PostMessageA(owner, WM_COMMAND, page, 0);
}

// Fills the welcome page's title line: the template's text holds one "%s",
// which becomes the product title.
static void FillWelcomeTitle(HWND page)
{
    TBuffer format(TITLE_FORMAT_SIZE);
    TBuffer title(TITLE_FORMAT_SIZE);
    GetDlgItemTextA(page, IDC_WELCOME_TITLE, format, TITLE_FORMAT_SIZE);
    char *mark = format.data;
    while (*mark && !(mark[0] == '%' && mark[1] == 's'))
        mark++;
    if (*mark) {
        *mark = '\0';
        CopyBounded(title, format, TITLE_FORMAT_SIZE);
        AppendBounded(title, PRODUCT_TITLE, TITLE_FORMAT_SIZE);
        AppendBounded(title, mark + 2, TITLE_FORMAT_SIZE);
    } else {
        CopyBounded(title, format, TITLE_FORMAT_SIZE);
    }
    SetDlgItemTextA(page, IDC_WELCOME_TITLE, title);
}

// Fills the options page from the setup state. The edit takes no more than
// installPath can hold.
static void FillOptions(HWND page)
{
    SendDlgItemMessageA(page, IDC_PATH, EM_LIMITTEXT, INSTALL_PATH_SIZE - 1, 0);
    if (installPathInexact)
        SetDlgItemTextW(page, IDC_PATH, typedPath);
    else
        SetDlgItemTextA(page, IDC_PATH, installPath);
    SendDlgItemMessageA(page, IDC_PROGRAM_GROUP, BM_SETCHECK, createProgramGroup, 0);
    SendDlgItemMessageA(page, IDC_START_WITH_WINDOWS, BM_SETCHECK, startWithWindows, 0);
    SendDlgItemMessageA(page, IDC_START_AFTER_INSTALL, BM_SETCHECK, startAfterInstall, 0);
}

// Copies the text of the path edit into installPath, if the page has one.
// The text is read in UTF-16 and taken only as it is: a name that the
// program's code page cannot carry exactly (where UTF-8 is not in force)
// sets installPathInexact, and the options page refuses it.
static void TakeTypedPath(HWND page)
{
    if (!GetDlgItem(page, IDC_PATH))
        return;
    typedPath[0] = L'\0';
    GetDlgItemTextW(page, IDC_PATH, typedPath, INSTALL_PATH_SIZE);
    installPathInexact = !NameFromWide(typedPath, installPath, sizeof installPath);
}

// Puts the file-system path out of a shell string record, with the product
// directory appended, into the path edit (taken over from there as typed),
// and frees what the record owns. Nothing is put for an empty path.
static void PathFromRecord(HWND page, STRRET *record, LPCITEMIDLIST item)
{
    WCHAR path[INSTALL_PATH_SIZE];
    path[0] = L'\0';
    switch (record->uType) {
    case STRRET_WSTR:
        lstrcpynW(path, record->pOleStr, INSTALL_PATH_SIZE);
        CoTaskMemFree(record->pOleStr);
        break;
    case STRRET_OFFSET:
        MultiByteToWideChar(CP_ACP, 0, (const char *)item + record->uOffset, -1, path,
                            INSTALL_PATH_SIZE);
        break;
    case STRRET_CSTR:
        MultiByteToWideChar(CP_ACP, 0, record->cStr, -1, path, INSTALL_PATH_SIZE);
        break;
    }
    path[INSTALL_PATH_SIZE - 1] = L'\0';
    unsigned length = lstrlenW(path);
    if (!length || length + 1 + sizeof PRODUCT_NAME > INSTALL_PATH_SIZE)
        return;
    if (path[length - 1] != L'\\')
        path[length++] = L'\\';
    lstrcpyW(path + length, L"" PRODUCT_NAME);
    SetDlgItemTextW(page, IDC_PATH, path);
    TakeTypedPath(page);
}

// Lets the user pick a folder; the product directory is appended to it and
// the result goes into installPath and the edit. Cancel changes nothing.
static void SearchFolder(HWND page)
{
    TBuffer title(TEXT_SIZE);
    TBuffer displayName(MAX_PATH);
    LoadText(STR_BROWSE_TITLE, title, TEXT_SIZE);
    BROWSEINFOA browse;
    ZeroMemory(&browse, sizeof browse);
    browse.hwndOwner = page;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    // The folder browser is a COM client: its thread needs COM initialised.
    HRESULT com = CoInitialize(NULL);
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (!item) {
        if (SUCCEEDED(com))
            CoUninitialize();
        return;
    }
    IShellFolder *desktop = NULL;
    if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
        STRRET record;
        if (SUCCEEDED(desktop->GetDisplayNameOf(item, SHGDN_FORPARSING, &record)))
            PathFromRecord(page, &record, item);
        desktop->Release();
    }
    CoTaskMemFree(item);
    if (SUCCEEDED(com))
        CoUninitialize();
}

// Ends the page with result. Whatever stands in the path edit is taken over
// first: pressing Enter right after typing leaves the edit without a
// focus change, and the typed path must not be lost.
static INT_PTR EndPage(HWND page, int result)
{
    TakeTypedPath(page);
    EndDialog(page, result);
    return TRUE;
}

// Next on the options page with a path that cannot be installed into says
// why and keeps the page open, with the focus in the path; so does No to
// replacing files that are not ours.
static INT_PTR Next(HWND page)
{
    if (GetDlgItem(page, IDC_PATH)) {
        TakeTypedPath(page);
        int problem = installPathInexact ? STR_PATH_CODE_PAGE : InstallPathProblem(installPath);
        if (problem) {
            TBuffer text(TEXT_SIZE);
            TBuffer caption(TEXT_SIZE);
            LoadText(problem, text, TEXT_SIZE);
            LoadText(STR_PATH_CAPTION, caption, TEXT_SIZE);
            MessageBoxA(page, text, caption, MB_OK | MB_ICONWARNING);
        }
        if (problem || !ConfirmReplacingFiles(page)) {
            SetFocus(GetDlgItem(page, IDC_PATH));
            return TRUE;
        }
    }
    return EndPage(page, RESULT_NEXT);
}

static INT_PTR InitPage(HWND page, int pageNumber)
{
    CenterPage(page);
    if (pageNumber == PAGE_LANGUAGE)
        SendDlgItemMessageA(page, languageOffset ? IDC_ENGLISH : IDC_GERMAN, BM_SETCHECK,
                            BST_CHECKED, 0);
    else if (pageNumber == PAGE_WELCOME)
        FillWelcomeTitle(page);
    else if (pageNumber == PAGE_OPTIONS)
        FillOptions(page);
    return TRUE;
}

static int CheckState(HWND page, int control)
{
    return SendDlgItemMessageA(page, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

static INT_PTR Command(HWND page, int control, int notification)
{
    switch (control) {
    case IDC_NEXT:
        return Next(page);
    case IDC_BACK:
        return EndPage(page, RESULT_BACK);
    case IDC_QUIT:
        return EndPage(page, RESULT_QUIT);
    case IDC_GERMAN:
        languageOffset = LANGUAGE_GERMAN;
        return TRUE;
    case IDC_ENGLISH:
        languageOffset = LANGUAGE_ENGLISH;
        return TRUE;
    case IDC_SEARCH:
        SearchFolder(page);
        return TRUE;
    case IDC_PATH:
        if (notification == EN_KILLFOCUS)
            TakeTypedPath(page);
        return TRUE;
    case IDC_PROGRAM_GROUP:
        createProgramGroup = CheckState(page, control);
        return TRUE;
    case IDC_START_WITH_WINDOWS:
        startWithWindows = CheckState(page, control);
        return TRUE;
    case IDC_START_AFTER_INSTALL:
        startAfterInstall = CheckState(page, control);
        return TRUE;
    }
    return FALSE;
}

// One dialog procedure for every page; the page number arrives as the
// creation parameter.
INT_PTR CALLBACK WizardDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return InitPage(page, (int)lParam);
    if (message == WM_COMMAND)
        return Command(page, LOWORD(wParam), HIWORD(wParam));
    return FALSE;
}
