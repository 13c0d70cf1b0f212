// The message that asks running instances of the application to end: a DDE
// initiation for application "Veltrano", topic "Uninstall", to every
// top-level window. The uninstaller sends it before it removes the files,
// the setup program before it replaces them.
#ifndef VELTRANO_APPLICATIONBROADCAST_H
#define VELTRANO_APPLICATIONBROADCAST_H

// Sends the initiation to every top-level window, one after the other,
// within one bound of a few seconds for all of them: a window that has not
// answered when the time is up is given up, and those after it are left out.
void BroadcastUninstall();

#endif
