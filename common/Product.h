// The product's names and the tables that both programs read: the files the
// setup program writes into the installation directory and the shortcuts of
// its program group. The uninstaller removes exactly what these name, so
// both take them from here. The resource script of the setup program reads
// the names too (the #define lines only).
#ifndef VELTRANO_PRODUCT_H
#define VELTRANO_PRODUCT_H

#define PRODUCT_TITLE "Veltrano 1.0"       // group folder, shortcut, list of installed software
#define PRODUCT_NAME "Veltrano"            // installation directory, uninstall key
#define PRODUCT_VERSION "1.0"
#define SETTINGS_FILE_NAME "Pellino.exe.ini"
// The shortcut in the Startup folder, and the group's folder name.
#define STARTUP_LINK_NAME PRODUCT_TITLE ".lnk"
#define GROUP_FOLDER_NAME PRODUCT_TITLE

#ifndef RC_INVOKED
#include "Win32.h"

// One file of the payload: its name in the installation directory and the
// identifier of its "INSTALL_FILE" resource.
struct PayloadFile {
    const char *fileName;
    WORD identifier;
};

// Every payload file in installation order (product/Payload.inc), ended by
// identifier 0.
extern const PayloadFile payloadFiles[];
#define APPLICATION_ROW 0   // Pellino.exe
#define UNINSTALLER_ROW 2   // _purgel.exe

// One shortcut of the program group: its name without ".lnk" and its target,
// a file in the installation directory.
struct GroupShortcut {
    const char *linkName;
    const char *target;
};

// The group's shortcuts (product/GroupShortcuts.inc), ended by an empty
// link name.
extern const GroupShortcut groupShortcuts[];
#endif

#endif
