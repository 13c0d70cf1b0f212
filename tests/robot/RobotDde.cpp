// A stand-in for a running instance of the application: a top-level window
// that records the DDE initiations it is sent.
#include "Robot.h"

#include <dde.h>

namespace robot {

namespace {
const char *const LISTENER_CLASS = "RobotDdeListener";
}

DdeListener::DdeListener(const char *caption, bool hang, DWORD slowMs)
    : caption_(caption), hang_(hang), slowMs_(slowMs)
{
    InitializeCriticalSection(&lock_);
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
    WaitForSingleObject(ready_, 10000);
}

DdeListener::~DdeListener()
{
    SetEvent(release_);
    if (window_)
        PostMessageA(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
    CloseHandle(release_);
    DeleteCriticalSection(&lock_);
}

std::vector<DdeListener::Initiation> DdeListener::Initiations()
{
    EnterCriticalSection(&lock_);
    std::vector<Initiation> copy = seen_;
    LeaveCriticalSection(&lock_);
    return copy;
}

DWORD WINAPI DdeListener::Thread(void *parameter)
{
    DdeListener *self = static_cast<DdeListener *>(parameter);
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = LISTENER_CLASS;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);   // fails harmlessly when registered before
    self->window_ = CreateWindowExA(0, LISTENER_CLASS, self->caption_.c_str(),
                                    WS_OVERLAPPEDWINDOW, 10, 10, 300, 100, nullptr, nullptr,
                                    wc.hInstance, self);
    if (self->window_) {
        SetWindowLongPtrA(self->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ShowWindow(self->window_, SW_SHOWNOACTIVATE);
    }
    SetEvent(self->ready_);
    MSG msg;
    while (self->window_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

LRESULT CALLBACK DdeListener::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DdeListener *self = reinterpret_cast<DdeListener *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_DDE_INITIATE:
        if (self) {
            // The atoms live only while the sender waits, so read them now.
            char application[256] = "", topic[256] = "";
            GlobalGetAtomNameA(LOWORD(lParam), application, sizeof application);
            GlobalGetAtomNameA(HIWORD(lParam), topic, sizeof topic);
            EnterCriticalSection(&self->lock_);
            self->seen_.push_back(Initiation{application, topic, reinterpret_cast<HWND>(wParam)});
            LeaveCriticalSection(&self->lock_);
            if (self->hang_ || self->slowMs_)
                WaitForSingleObject(self->release_, self->hang_ ? 120000 : self->slowMs_);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace robot
