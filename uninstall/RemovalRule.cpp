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

// 1 when the first length characters of a and b are equal, case ignored.
static int SameStart(const char *a, const char *b, unsigned length)
{
    for (unsigned i = 0; i < length; i++)
        if (PathUpper(a[i]) != PathUpper(b[i]) || a[i] == '\0')
            return 0;
    return 1;
}

// Length of folder without its trailing separators; 0 for none, and for one
// longer than a path can be (only part of it would be compared).
static unsigned FolderLength(const char *folder)
{
    unsigned length = LengthBounded(folder ? folder : "", FS_PATH_LENGTH + 1);
    if (length > FS_PATH_LENGTH)
        return 0;
    while (length > 0 && folder[length - 1] == '\\')
        length--;
    return length;
}

// 1 when path[0..length) is folder[0..f) (f > 0), a backslash and name.
static int IsItemOf(const char *path, unsigned length, const char *folder, unsigned f,
                    const char *name)
{
    unsigned n = (unsigned)strlen(name);
    return f > 0 && length == f + 1 + n && path[f] == '\\' && SameStart(path, folder, f) &&
           SameStart(path + f + 1, name, n);
}


RemovalKind ListedItemKind(const char *line, const char *ownDirectory)
{
    if (!line)
        return REMOVE_NOTHING;
    unsigned length = LengthBounded(line, FS_PATH_LENGTH + 1);
    if (!IsPlainFullPath(line, length, 0))
        return REMOVE_NOTHING;
    const char *own = ownDirectory ? ownDirectory : "";
    unsigned ownLength = LengthBounded(own, FS_PATH_LENGTH + 1);
    if (ownLength == 0 || ownLength > FS_PATH_LENGTH || own[ownLength - 1] != '\\' ||
        !IsPlainFullPath(own, ownLength == 3 ? ownLength : ownLength - 1, 1))
        return REMOVE_NOTHING;
    // The payload files and, after the table's end row, the settings file.
    for (const PayloadFile *row = payloadFiles;; row++) {
        const char *name = row->identifier ? row->fileName : SETTINGS_FILE_NAME;
        if (IsItemOf(line, length, own, FolderLength(own), name))
            return REMOVE_OWN_ITEM;
        if (!row->identifier)
            break;
    }
    // A folder above ours, but never a drive's root.
    if (length + 1 < ownLength && own[length] == '\\' && SameStart(line, own, length))
        return REMOVE_CREATED_FOLDER;
    return REMOVE_NOTHING;
}
