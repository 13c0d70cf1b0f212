// Which lines of the removal list the uninstaller may act on. The list lives
// in a file that a user without administrator rights may be able to write, so
// a line is only ever a claim: it is acted on when it names exactly an item
// that the setup program itself makes, and passed over otherwise.
#ifndef VELTRANO_REMOVALRULE_H
#define VELTRANO_REMOVALRULE_H

#include "Product.h"

enum RemovalKind {
    REMOVE_NOTHING,          // refused: the line is passed over
    REMOVE_OWN_ITEM,         // a payload file or the settings file, directly
                             // inside the uninstaller's own directory
    REMOVE_GROUP_LINK,       // a shortcut of the group <Programs>\GROUP_FOLDER_NAME
    REMOVE_GROUP_FOLDER,     // that folder itself, removed only when empty
    REMOVE_STARTUP_LINK,     // STARTUP_LINK_NAME in the user's Startup folder
    REMOVE_CREATED_FOLDER,   // a folder above the uninstaller's own directory,
                             // removed only when empty, after that directory
};

// The folders the setup program puts its items in, as the uninstaller finds
// them; "" for one that is unknown (none of its items is then allowed).
struct RemovalPlaces {
    const char *ownDirectory;   // the running uninstaller's directory, ending in "\"
    const char *programs;       // the user's Programs folder
    const char *startup;        // the user's Startup folder
};

// What the uninstaller may do with line. Only plain full paths are
// considered ("X:\" followed by names, none of them empty, ".", "..", or
// ending in a dot or blank; none of the characters / : * ? " < > | or
// controls after the drive): relative, drive-relative, UNC, device and
// "\\?\" forms are refused. Names are compared with case ignored.
RemovalKind ListedItemKind(const char *line, const RemovalPlaces &places);

// The file names the setup program writes into the installation directory,
// ended by a null pointer.
extern const char *const ownFileNames[];

#endif
