#include "ProfileNames.h"

// The letter in lower case when c is an ASCII capital, else c unchanged.
static unsigned char ProfileLower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? (unsigned char)(c - 'A' + 'a') : c;
}

int ProfileNamesEqual(const char *a, const char *b)
{
    const unsigned char *x = (const unsigned char *)a;
    const unsigned char *y = (const unsigned char *)b;
    while (*x && ProfileLower(*x) == ProfileLower(*y)) {
        x++;
        y++;
    }
    return ProfileLower(*x) == ProfileLower(*y);
}

int ProfileNamesOrder(const char *a, const char *b)
{
    const unsigned char *x = (const unsigned char *)a;
    const unsigned char *y = (const unsigned char *)b;
    while (*x && *x == *y) {
        x++;
        y++;
    }
    return (int)*x - (int)*y;
}

int ProfileIsBlank(char c)
{
    return (c >= 0x09 && c <= 0x0D) || c == ' ';
}
