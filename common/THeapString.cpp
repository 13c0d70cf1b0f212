#include "THeapString.h"
#include "BoundedString.h"
#include <string.h>

// Heap copy of text; null counts as the empty string.
static char *THeapStringCopy(const char *text)
{
    if (!text)
        text = "";
    unsigned size = (unsigned)strlen(text) + 1;
    char *copy = new char[size];
    CopyBounded(copy, text, size);
    return copy;
}

THeapString::THeapString() : chars(THeapStringCopy("")) {}
THeapString::THeapString(const char *text) : chars(THeapStringCopy(text)) {}
THeapString::THeapString(const THeapString &other) : chars(THeapStringCopy(other.chars)) {}
THeapString::~THeapString() { delete[] chars; }

THeapString &THeapString::operator=(const THeapString &other)
{
    Assign(other.chars);
    return *this;
}

void THeapString::Assign(const char *text)
{
    char *copy = THeapStringCopy(text);
    delete[] chars;
    chars = copy;
}

unsigned THeapString::Length() const { return (unsigned)strlen(chars); }
