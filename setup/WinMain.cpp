// Install's entry point and its background window, whose procedure drives
// the wizard: each command opens one page and posts the next command.
#include <windows.h>
#include "SetupState.h"
#include "BoundedString.h"
#include "ProgramFolder.h"

int languageOffset = LANGUAGE_ENGLISH;
HINSTANCE appInstance;
HWND mainWindow;
char installPath[INSTALL_PATH_SIZE];
int installPathInexact = 0;
int createProgramGroup = 1;
int startWithWindows = 0;
int startAfterInstall = 1;
TFileSys *installContext;
// The exit code also when an allocation fails.
extern const UINT programExitCode = 0;

static const char MAIN_CLASS[] = "InstClass";

// Proposes the installation directory in installPath: the installation
// that is there already, so that installing again updates it; else "c:\"
// and the first directory matching c:\prog* that is one of the system's
// program folders (the 32-bit one and, on 64-bit Windows, the native one),
// else the Windows directory; then a separator and the product name.
static void ProposeInstallPath()
{
    if (FindInstallation(installPath))
        return;
    // A value that cannot be read stays "", which names no folder.
    char programFiles[REGISTRY_TEXT_SIZE], native[REGISTRY_TEXT_SIZE];
    programFiles[0] = native[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        QueryRegistryText(key, "ProgramFilesDir", programFiles);
        QueryRegistryText(key, "ProgramW6432Dir", native);
        RegCloseKey(key);
    }
    const char *folders[] = {programFiles, native};
    if (!FindProgramFolder("c:\\prog*", folders, 2, installPath, sizeof installPath))
        CopyBounded(installPath, installContext->WindowsDirectory(), sizeof installPath);
    installContext->AddSeparator(installPath, sizeof installPath);
    AppendBounded(installPath, PRODUCT_NAME, sizeof installPath);
}

// The title's measures at 96 DPI, in pixels: the font's height, the
// title's distance from the top left corner, and its shadow's offset.
#define TITLE_HEIGHT 50
#define TITLE_MARGIN 20
#define TITLE_SHADOW 4

// Draws the product title in large italics, white with a black shadow to
// the lower right, all of it scaled from 96 DPI to the display's DPI (the
// pages scale by their font; the title must keep its place beside them).
// The class brush has painted the teal already.
static LRESULT PaintTitle(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    int margin = MulDiv(TITLE_MARGIN, dpi, 96);
    int shadow = MulDiv(TITLE_SHADOW, dpi, 96);
    LOGFONTA description;
    ZeroMemory(&description, sizeof description);
    description.lfHeight = MulDiv(TITLE_HEIGHT, dpi, 96);
    description.lfWeight = FW_NORMAL;
    description.lfItalic = 1;
    description.lfCharSet = ANSI_CHARSET;
    CopyBounded(description.lfFaceName, "Arial", sizeof description.lfFaceName);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, margin + shadow, margin + shadow, PRODUCT_TITLE, sizeof PRODUCT_TITLE - 1);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, margin, margin, PRODUCT_TITLE, sizeof PRODUCT_TITLE - 1);
    SelectObject(dc, previous);
    DeleteObject(font);
    EndPaint(window, &paint);
    return 0;
}

static void PostCommand(HWND window, int command)
{
    PostMessageA(window, WM_COMMAND, command, 0);
}

// Opens one wizard page as a modal dialog and posts what follows from its
// result. A result outside the three known ones (a page that could not be
// opened) posts nothing.
static LRESULT ShowPage(HWND window, int page)
{
    int templateId = page == PAGE_LANGUAGE ? page : languageOffset + page;
    INT_PTR result = DialogBoxParamA(appInstance, MAKEINTRESOURCEA((WORD)templateId), mainWindow,
                                     WizardDlgProc, page);
    if (result == RESULT_QUIT) {
        ConfirmQuit(window, page);
    } else if (result == RESULT_NEXT) {
        PostCommand(window, page == PAGE_LANGUAGE ? PAGE_WELCOME
                            : page == PAGE_WELCOME ? PAGE_OPTIONS : CMD_INSTALL);
    } else if (result == RESULT_BACK && page != PAGE_LANGUAGE) {
        PostCommand(window, page == PAGE_WELCOME ? PAGE_LANGUAGE : PAGE_WELCOME);
    }
    return 0;
}

// The background window's procedure: paints the title, runs the wizard
// commands and ends the program on WM_DESTROY.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        return PaintTitle(window);
    case WM_COMMAND:
        switch (wParam) {
        case PAGE_LANGUAGE:
        case PAGE_WELCOME:
        case PAGE_OPTIONS:
            return ShowPage(window, (int)wParam);
        case CMD_INSTALL:
            RunInstallation(window);
            return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registers "InstClass" with the teal brush and creates the maximised
// background window. Returns the window, or 0 when either step failed.
static HWND CreateBackground(HBRUSH background)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(ICON_MAIN));
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = MAIN_CLASS;
    if (!RegisterClassA(&windowClass))
        return 0;
    return CreateWindowExA(0, MAIN_CLASS, "", WS_POPUP | WS_VISIBLE | WS_MAXIMIZE, 0, 0, 0, 0,
                           NULL, NULL, appInstance, NULL);
}

// Sets up the state, shows the background and the first page, and runs the
// message loop until the wizard or the installation ends the program.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    appInstance = instance;
    languageOffset = LANGUAGE_ENGLISH;
    installContext = new TFileSys(appInstance);
    ProposeInstallPath();

    LOGBRUSH teal = {BS_SOLID, RGB(0, 128, 128), 0};
    HBRUSH background = CreateBrushIndirect(&teal);
    int exitCode = 0;
    mainWindow = CreateBackground(background);
    // Without a window nothing could ever end the message loop: end at once.
    if (mainWindow) {
        ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
        UpdateWindow(mainWindow);
        SendMessageA(mainWindow, WM_COMMAND, PAGE_WELCOME, 0);
        MSG message = {};
        BOOL got;
        while ((got = GetMessageA(&message, NULL, 0, 0)) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // The quit message's code; a loop that failed (-1) leaves no
        // message of its own behind, only the last one dispatched.
        if (got == 0)
            exitCode = (int)message.wParam;
    }
    DeleteObject(background);
    delete installContext;
    return exitCode;
}
