#include "HeapString.h"
#include "BoundedString.h"
#include <string.h>

// Heap copy of text; null counts as the empty string.
static char *HeapStringCopy(const char *text)
{
    if (!text)
        text = "";
    unsigned size = (unsigned)strlen(text) + 1;
    char *copy = new char[size];
    CopyBounded(copy, text, size);
    return copy;
}

HeapString::HeapString() : chars(HeapStringCopy("")) {}
HeapString::HeapString(const char *text) : chars(HeapStringCopy(text)) {}
HeapString::HeapString(const HeapString &other) : chars(HeapStringCopy(other.chars)) {}
HeapString::~HeapString() { delete[] chars; }

HeapString &HeapString::operator=(const HeapString &other)
{
    Assign(other.chars);
    return *this;
}

void HeapString::Assign(const char *text)
{
    char *copy = HeapStringCopy(text);
    delete[] chars;
    chars = copy;
}

unsigned HeapString::Length() const { return (unsigned)strlen(chars); }
