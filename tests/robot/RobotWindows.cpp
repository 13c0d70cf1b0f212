// Finding windows of any process, reading them and acting on them.
#include "Robot.h"

namespace robot {

namespace {

struct Search {
    const char *className;
    const char *caption;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter)
{
    Search *s = reinterpret_cast<Search *>(parameter);
    if (!IsWindowVisible(window))
        return TRUE;
    if (s->pid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != s->pid)
            return TRUE;
    }
    if (s->className && ClassOf(window) != s->className)
        return TRUE;
    if (s->caption && Text(window) != s->caption)
        return TRUE;
    s->found = window;
    return FALSE;
}

const DWORD SEND_TIMEOUT = 5000;

}  // namespace

HWND FindTopWindow(const char *className, const char *caption, DWORD pid)
{
    Search s = {className, caption, pid, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitWindow(const char *className, const char *caption, DWORD timeoutMs, DWORD pid)
{
    HWND found = nullptr;
    WaitUntil([&]() { return (found = FindTopWindow(className, caption, pid)) != nullptr; },
              timeoutMs);
    return found;
}

bool WaitWindowGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([window]() { return !IsWindow(window) || !IsWindowVisible(window); },
                     timeoutMs);
}

HWND Control(HWND dialog, int id) { return dialog ? GetDlgItem(dialog, id) : nullptr; }

std::string Text(HWND window)
{
    if (!window)
        return "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT,
                             &length))
        return "";
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             SEND_TIMEOUT, &copied))
        return "";
    return std::string(buffer.data());
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    if (window)
        GetClassNameA(window, name, sizeof name);
    return name;
}

LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LONG ExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

int CheckState(HWND button)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT, &state);
    return int(state);
}

RECT Rectangle(HWND window)
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return r;
}

bool IsVisible(HWND window) { return window && IsWindowVisible(window); }
bool IsEnabled(HWND window) { return window && IsWindowEnabled(window); }
bool IsMaximised(HWND window) { return window && IsZoomed(window); }

HWND FocusOf(HWND window)
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::string MessageBoxText(HWND box) { return Text(Control(box, MESSAGE_BOX_TEXT_ID)); }

static BOOL CALLBACK FindIconControl(HWND child, LPARAM parameter)
{
    if (ClassOf(child) == "Static" && (Style(child) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND *>(parameter) = child;
        return FALSE;
    }
    return TRUE;
}

HICON MessageBoxIcon(HWND box)
{
    HWND icon = nullptr;
    EnumChildWindows(box, FindIconControl, reinterpret_cast<LPARAM>(&icon));
    DWORD_PTR handle = 0;
    if (!icon || !SendMessageTimeoutA(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT,
                                      &handle))
        return nullptr;
    return reinterpret_cast<HICON>(handle);
}

bool Click(HWND button)
{
    return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool SetText(HWND edit, const std::string &text)
{
    DWORD_PTR result = 0;
    return edit && SendMessageTimeoutA(edit, WM_SETTEXT, 0,
                                       reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                                       SEND_TIMEOUT, &result) && result;
}

void Focus(HWND dialog, HWND control)
{
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

bool PressKey(HWND window, UINT virtualKey)
{
    HWND target = FocusOf(window);
    if (!target)
        target = window;
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    LPARAM down = 1 | (LPARAM(scan) << 16);
    LPARAM up = down | (LPARAM(1) << 30) | (LPARAM(1) << 31);
    if (!target || !PostMessageA(target, WM_KEYDOWN, virtualKey, down))
        return false;
    // A dialog acts on Enter or Escape at the key going down: the window may
    // already be gone when its key comes up, and then the press still counts.
    return PostMessageA(target, WM_KEYUP, virtualKey, up) || !IsWindow(target);
}

bool Answer(HWND box, int buttonId)
{
    HWND button = Control(box, buttonId);
    return button && Click(button);
}

}  // namespace robot
