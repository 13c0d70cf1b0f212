// Which lines of the removal list the uninstaller may take into account. The
// list lives in a file that a user without administrator rights may be able
// to write, so a line is only ever a claim: it counts when it names exactly
// an item that the setup program itself makes in or above the uninstaller's
// directory, and is passed over otherwise.
#ifndef VELTRANO_REMOVALRULE_H
#define VELTRANO_REMOVALRULE_H

#include "Product.h"

enum RemovalKind {
    REMOVE_NOTHING,          // refused: the line is passed over
    REMOVE_OWN_ITEM,         // a payload file or the settings file, directly
                             // inside the uninstaller's own directory
    REMOVE_CREATED_FOLDER,   // a folder above the uninstaller's own directory,
                             // removed only when empty, after that directory
};

// What the uninstaller may make of line, given its own directory
// ownDirectory (ending in "\"; "" or 0 when unknown: nothing is then
// allowed). Only plain full paths are considered ("X:\" followed by names,
// none of them empty, ".", "..", or ending in a dot or blank; none of the
// characters / : * ? " < > | or controls after the drive): relative,
// drive-relative, UNC, device and "\\?\" forms are refused. Names are
// compared with case ignored. Shortcuts are never taken from the list: the
// uninstaller knows its own by their targets.
RemovalKind ListedItemKind(const char *line, const char *ownDirectory);

#endif
