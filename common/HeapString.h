// HeapString: a NUL-terminated string held in a heap copy that the object
// owns. Copies are deep, so a string can be passed and returned by value.
#ifndef VELTRANO_HEAPSTRING_H
#define VELTRANO_HEAPSTRING_H

class HeapString {
public:
    HeapString();
    HeapString(const char *text);        // a copy of text; null counts as ""
    HeapString(const HeapString &other);
    ~HeapString();
    HeapString &operator=(const HeapString &other);

    // Replaces the text with a copy of text (null counts as ""); the old
    // storage is released after the copy, so text may point into it.
    void Assign(const char *text);
    const char *Chars() const { return chars; }
    // Writable storage, for trimming or cutting in place.
    char *Writable() { return chars; }
    unsigned Length() const;

private:
    char *chars;
};

#endif
