#include "BoundedString.h"

unsigned LengthBounded(const char *text, unsigned limit)
{
    unsigned n = 0;
    while (n < limit && text[n] != '\0')
        n++;
    return n;
}

int CopyBounded(char *target, const char *source, unsigned size)
{
    if (size == 0)
        return 0;
    unsigned n = 0;
    while (n + 1 < size && source[n] != '\0') {
        target[n] = source[n];
        n++;
    }
    target[n] = '\0';
    return source[n] == '\0';
}

int AppendBounded(char *target, const char *source, unsigned size)
{
    if (size == 0)
        return 0;
    unsigned used = LengthBounded(target, size);
    if (used == size) {            // not terminated: cut it at the last character
        used = size - 1;
        target[used] = '\0';
    }
    return CopyBounded(target + used, source, size - used);
}

int AppendDecimal(char *target, unsigned number, unsigned size)
{
    char digits[12];
    char *digit = digits + sizeof digits - 1;   // written backwards from the end
    *digit = '\0';
    do
        *--digit = (char)('0' + number % 10);
    while (number /= 10);
    return AppendBounded(target, digit, size);
}
