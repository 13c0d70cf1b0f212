#include "PathText.h"

char PathUpper(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }

int IsPathSeparator(char c) { return c == '\\' || c == '/'; }

int SamePathText(const char *a, const char *b)
{
    while (*a && PathUpper(*a) == PathUpper(*b)) {
        a++;
        b++;
    }
    return PathUpper(*a) == PathUpper(*b);
}

// Length of path without its trailing separators; a drive's root keeps its own.
static unsigned FolderTextLength(const char *path)
{
    unsigned length = 0;
    while (path[length])
        length++;
    while (length > 3 && path[length - 1] == '\\')
        length--;
    return length;
}

int SameFolderText(const char *a, const char *b)
{
    unsigned length = FolderTextLength(a);
    if (length != FolderTextLength(b))
        return 0;
    for (unsigned i = 0; i < length; i++)
        if (PathUpper(a[i]) != PathUpper(b[i]))
            return 0;
    return 1;
}
