// The DDE initiation that asks running instances of the application to end.
#include "ApplicationBroadcast.h"

#include <windows.h>
#include <dde.h>

// How long the whole broadcast may take, in milliseconds: whatever the
// windows do, the caller goes on after this.
#define BROADCAST_TIMEOUT 3000

// The initiation's atoms and the broadcast's start, for each window.
struct Broadcast {
    LPARAM atoms;
    DWORD start;
};

// Sends the initiation to one top-level window with what is left of the
// broadcast's time; ends the enumeration once none is left.
static BOOL CALLBACK SendInitiation(HWND window, LPARAM parameter)
{
    const Broadcast *broadcast = (const Broadcast *)parameter;
    DWORD spent = GetTickCount() - broadcast->start;
    if (spent >= BROADCAST_TIMEOUT)
        return FALSE;
    DWORD_PTR result;
    SendMessageTimeoutA(window, WM_DDE_INITIATE, 0, broadcast->atoms,
                        SMTO_ABORTIFHUNG | SMTO_NORMAL, BROADCAST_TIMEOUT - spent, &result);
    return TRUE;
}

void BroadcastUninstall()
{
    ATOM application = GlobalAddAtomA("Veltrano");
    ATOM topic = GlobalAddAtomA("Uninstall");
    // Not HWND_BROADCAST, which waits the timeout for each window in turn:
    // any program could hold the caller as long as it liked, one slow window
    // after the other. Not SendMessageA: one window that does not answer
    // would keep the caller waiting for ever.
    Broadcast broadcast = {(LPARAM)MAKELPARAM(application, topic), GetTickCount()};
    EnumWindows(SendInitiation, (LPARAM)&broadcast);
    GlobalDeleteAtom(application);
    GlobalDeleteAtom(topic);
}
