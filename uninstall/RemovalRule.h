// Which lines of the removal list the uninstaller may act on. The list lives
// in a file that a user without administrator rights may be able to write, so
// a line is only ever a claim: it is acted on when it names something that
// the setup program itself can have made, and passed over otherwise.
#ifndef VELTRANO_REMOVALRULE_H
#define VELTRANO_REMOVALRULE_H

// The program group's folder and the name of the shortcuts to the application.
#define GROUP_FOLDER_NAME "Veltrano 1.0"
#define STARTUP_LINK_NAME "Veltrano 1.0.lnk"

enum RemovalKind {
    REMOVE_NOTHING,          // refused: the line is passed over
    REMOVE_OWN_ITEM,         // directly inside the uninstaller's own directory
    REMOVE_GROUP_LINK,       // a .lnk directly inside a folder GROUP_FOLDER_NAME
    REMOVE_GROUP_FOLDER,     // such a folder itself, removed only when empty
    REMOVE_STARTUP_LINK,     // STARTUP_LINK_NAME in the user's Startup folder
    REMOVE_CREATED_FOLDER,   // a folder above the uninstaller's own directory,
                             // removed only when empty, after that directory
};

// What the uninstaller may do with line. ownDirectory is the directory of the
// running uninstaller, ending in "\"; startupFolder the user's Startup folder
// ("" when unknown). Only plain full paths are considered ("X:\" followed by
// names, none of them empty, ".", "..", or ending in a dot or blank; none of
// the characters / : * ? " < > | or controls after the drive): relative,
// drive-relative, UNC, device and "\\?\" forms are refused.
RemovalKind ListedItemKind(const char *line, const char *ownDirectory, const char *startupFolder);

#endif
