// The DDE initiation that asks running instances of the application to end.
#include "ApplicationBroadcast.h"

#include <windows.h>
#include <dde.h>

// How long one top-level window may take to handle the initiation before it
// is given up, in milliseconds.
#define BROADCAST_TIMEOUT 3000

void BroadcastUninstall()
{
    ATOM application = GlobalAddAtomA("Veltrano");
    ATOM topic = GlobalAddAtomA("Uninstall");
    DWORD_PTR result;
    // Not SendMessageA: one window that does not answer would keep the
    // caller waiting for ever.
    SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, 0, MAKELPARAM(application, topic),
                        SMTO_ABORTIFHUNG | SMTO_NORMAL, BROADCAST_TIMEOUT, &result);
    GlobalDeleteAtom(application);
    GlobalDeleteAtom(topic);
}
