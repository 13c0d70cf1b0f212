#include "RemovalRule.h"

#include <string.h>

#include "BoundedString.h"
#include "PathText.h"
#include "TFileSys.h"

// 1 when path[0..length) is "X:\" followed by one or more names separated by
// single backslashes, each a name the file system keeps as written; with
// rootAllowed, "X:\" alone passes too.
static int IsPlainFullPath(const char *path, unsigned length, int rootAllowed)
{
    if (length < 3 || length > FS_PATH_LENGTH)
        return 0;
    char drive = PathUpper(path[0]);
    if (drive < 'A' || drive > 'Z' || path[1] != ':' || path[2] != '\\')
        return 0;
    if (length == 3)
        return rootAllowed;
    unsigned start = 3;
    for (unsigned i = 3; i <= length; i++) {
        char c = i < length ? path[i] : '\\';
        if (c != '\\') {
            if ((unsigned char)c < 0x20 || strchr("/:*?\"<>|", c))
                return 0;
            continue;
        }
        // The name path[start..i): Windows drops trailing dots and blanks,
        // so "x." would name "x", and "..." the directory above.
        if (i == start || path[i - 1] == '.' || path[i - 1] == ' ')
            return 0;
        start = i + 1;
    }
    return 1;
}

// Length of the directory part of path, its last backslash included.
static unsigned DirectoryLength(const char *path, unsigned length)
{
    while (length > 0 && path[length - 1] != '\\')
        length--;
    return length;
}

// 1 when the first length characters of a and b are equal, case ignored.
static int SameStart(const char *a, const char *b, unsigned length)
{
    for (unsigned i = 0; i < length; i++)
        if (PathUpper(a[i]) != PathUpper(b[i]) || a[i] == '\0')
            return 0;
    return 1;
}

// 1 when the last name of path[0..length) is name (case ignored).
static int LastNameIs(const char *path, unsigned length, const char *name)
{
    unsigned nameLength = (unsigned)strlen(name);
    return length > nameLength && path[length - nameLength - 1] == '\\' &&
           SameStart(path + length - nameLength, name, nameLength);
}

RemovalKind ListedItemKind(const char *line, const char *ownDirectory, const char *startupFolder)
{
    if (!line)
        return REMOVE_NOTHING;
    unsigned length = (unsigned)LengthBounded(line, FS_PATH_LENGTH + 1);
    if (!IsPlainFullPath(line, length, 0))
        return REMOVE_NOTHING;
    unsigned parent = DirectoryLength(line, length);
    unsigned own = (unsigned)LengthBounded(ownDirectory, FS_PATH_LENGTH + 1);

    if (own > 0 && ownDirectory[own - 1] == '\\' &&
        IsPlainFullPath(ownDirectory, own == 3 ? own : own - 1, 1)) {
        if (parent == own && SameStart(line, ownDirectory, own))
            return REMOVE_OWN_ITEM;
        // A folder above ours, but never a drive's root.
        if (length + 1 < own && ownDirectory[length] == '\\' &&
            SameStart(line, ownDirectory, length))
            return REMOVE_CREATED_FOLDER;
    }
    if (LastNameIs(line, length, GROUP_FOLDER_NAME))
        return REMOVE_GROUP_FOLDER;
    if (parent > 0 && LastNameIs(line, parent - 1, GROUP_FOLDER_NAME) && length - parent > 4 &&
        SamePathText(line + length - 4, ".lnk"))
        return REMOVE_GROUP_LINK;

    unsigned startup = (unsigned)LengthBounded(startupFolder, FS_PATH_LENGTH + 1);
    while (startup > 0 && startupFolder[startup - 1] == '\\')
        startup--;
    if (startup > 0 && parent == startup + 1 && SameStart(line, startupFolder, startup) &&
        SamePathText(line + parent, STARTUP_LINK_NAME))
        return REMOVE_STARTUP_LINK;
    return REMOVE_NOTHING;
}
