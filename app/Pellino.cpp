// Pellino.exe: the Veltrano 1.0 application window. It shows the settings
// that the setup program wrote into "Pellino.exe.ini" beside it, and the
// working directory it was started in, and it closes itself when the
// uninstaller asks every running instance to quit.
//
// Window: class "PellinoMain", caption "Veltrano 1.0". Each shown value is the
// whole text of one STATIC child with a fixed control id, so that it can be
// read back with WM_GETTEXT (an absent key or value shows as ""):
//   101  "DefaultPage"           of section "Settings"
//   102  "ProxyServer"           of section "Settings"
//   103  "ProxyPort"             of section "Settings"
//   104  "WebScanAutomatically"  of section "Settings"
//   105  working directory (GetCurrentDirectoryA)
//   106  full path of the settings file that was read
// The labels beside them have no id of their own.
//
// Closing: WM_DDE_INITIATE with application atom "Veltrano" and topic atom
// "Uninstall" (either compared without regard to case) destroys the window
// and the program ends with exit code 0; any other initiation, including the
// wildcard one with null atoms, is ignored and not acknowledged.
// Keys: F5 reads the settings and the working directory again; Esc closes.
#include "PellinoSettings.h"
#include <windows.h>
#include <dde.h>

enum {
    ID_DEFAULT_PAGE = 101,
    ID_PROXY_SERVER = 102,
    ID_PROXY_PORT = 103,
    ID_WEB_SCAN = 104,
    ID_WORKING_DIRECTORY = 105,
    ID_SETTINGS_FILE = 106,
};

static const char WINDOW_CLASS[] = "PellinoMain";
static const char WINDOW_CAPTION[] = "Veltrano 1.0";

struct ShownRow {
    const char *label;
    int id;
};

static const ShownRow shownRows[] = {
    {"Default page:", ID_DEFAULT_PAGE},
    {"Proxy server:", ID_PROXY_SERVER},
    {"Proxy port:", ID_PROXY_PORT},
    {"Scan web automatically:", ID_WEB_SCAN},
    {"Working directory:", ID_WORKING_DIRECTORY},
    {"Settings file:", ID_SETTINGS_FILE},
};
static const int SHOWN_ROW_COUNT = sizeof shownRows / sizeof shownRows[0];

// The layout in pixels at 96 DPI. The program declares itself DPI aware,
// so Scale turns each measure into pixels at the display's DPI, in step with
// the font.
enum { MARGIN = 12, ROW_HEIGHT = 22, LABEL_WIDTH = 150, VALUE_WIDTH = 440 };
static int displayDpi = 96;

static int Scale(int pixels)
{
    return MulDiv(pixels, displayDpi, 96);
}

// Creates one STATIC child with the dialog font; its text is never a
// mnemonic, so a "&" in a path shows as it is.
static void CreateText(HWND window, const char *text, int id, int x, int y, int width)
{
    HWND child = CreateWindowExA(0, "STATIC", text,
                                 WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                 x, y, width, Scale(ROW_HEIGHT - 4), window,
                                 (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
    SendMessageA(child, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
}

// Reads the settings again and puts each value into its control.
static void ShowSettings(HWND window)
{
    PellinoSettings settings;
    ReadPellinoSettings(settings);
    SetDlgItemTextA(window, ID_DEFAULT_PAGE, settings.defaultPage);
    SetDlgItemTextA(window, ID_PROXY_SERVER, settings.proxyServer);
    SetDlgItemTextA(window, ID_PROXY_PORT, settings.proxyPort);
    SetDlgItemTextA(window, ID_WEB_SCAN, settings.webScanAutomatically);
    SetDlgItemTextA(window, ID_WORKING_DIRECTORY, settings.workingDirectory);
    SetDlgItemTextA(window, ID_SETTINGS_FILE, settings.settingsFile);
}

// Creates the labels and the (still empty) value controls, then fills them.
static void CreateRows(HWND window)
{
    for (int i = 0; i < SHOWN_ROW_COUNT; i++) {
        int y = Scale(MARGIN + i * ROW_HEIGHT);
        CreateText(window, shownRows[i].label, -1, Scale(MARGIN), y, Scale(LABEL_WIDTH));
        CreateText(window, "", shownRows[i].id, Scale(MARGIN + LABEL_WIDTH), y,
                   Scale(VALUE_WIDTH));
    }
    CreateText(window, "F5 reads the settings again. Esc closes the window.", -1, Scale(MARGIN),
               Scale(MARGIN + (SHOWN_ROW_COUNT + 1) * ROW_HEIGHT),
               Scale(LABEL_WIDTH + VALUE_WIDTH));
    ShowSettings(window);
}

// Is atom the global atom named name (case ignored)? The null atom, which an
// initiation uses as a wildcard, never matches.
static int AtomIs(ATOM atom, const char *name)
{
    char text[256];
    if (atom == 0 || GlobalGetAtomNameA(atom, text, sizeof text) == 0)
        return 0;
    text[sizeof text - 1] = '\0';
    return lstrcmpiA(text, name) == 0;
}

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateRows(window);
        return 0;
    case WM_DDE_INITIATE:
        // The uninstaller's request to quit: no conversation is opened, the
        // window simply goes away. The atoms belong to the sender.
        if (AtomIs(LOWORD(lParam), "Veltrano") && AtomIs(HIWORD(lParam), "Uninstall"))
            DestroyWindow(window);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F5)
            ShowSettings(window);
        else if (wParam == VK_ESCAPE)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The exit code when an allocation fails.
extern const UINT programExitCode = 1;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));   // the product icon
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WINDOW_CLASS;
    if (!RegisterClassA(&windowClass))
        return 1;

    // Client area sized to the rows, plus the frame the style adds.
    HDC screen = GetDC(NULL);
    if (GetDeviceCaps(screen, LOGPIXELSY) > 0)
        displayDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    RECT area = {0, 0, Scale(2 * MARGIN + LABEL_WIDTH + VALUE_WIDTH),
                 Scale(2 * MARGIN + (SHOWN_ROW_COUNT + 2) * ROW_HEIGHT)};
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&area, style, FALSE);
    HWND window = CreateWindowExA(0, WINDOW_CLASS, WINDOW_CAPTION, style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, area.right - area.left, area.bottom - area.top,
                                  NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    // Exit code: the quit message's 0, or 1 if the message loop failed.
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, NULL, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return got == 0 ? (int)message.wParam : 1;
}
