// THeapString: a NUL-terminated string held in a heap copy that the object
// owns. Copies are deep, so a string can be passed and returned by value.
#ifndef VELTRANO_THEAPSTRING_H
#define VELTRANO_THEAPSTRING_H

class THeapString {
public:
    THeapString();
    THeapString(const char *text);       // a copy of text; null counts as ""
    THeapString(const THeapString &other);
    ~THeapString();
    THeapString &operator=(const THeapString &other);

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
