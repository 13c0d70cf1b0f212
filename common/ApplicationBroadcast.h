// The message that asks running instances of the application to end: a DDE
// initiation for application "Veltrano", topic "Uninstall", to every
// top-level window. The uninstaller sends it before it removes the files,
// the setup program before it replaces them.
#ifndef VELTRANO_APPLICATIONBROADCAST_H
#define VELTRANO_APPLICATIONBROADCAST_H

// Sends the initiation; a window that does not answer is given up after a
// few seconds.
void BroadcastUninstall();

#endif
