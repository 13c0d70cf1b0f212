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
