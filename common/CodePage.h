// Names between UTF-16 and the program's code page. The programs use the
// platform's ANSI functions and the library reads names byte by byte; a
// name that the code page cannot carry exactly must never be used, as the
// platform would otherwise hand over another name ("?" for a letter, or a
// look-alike: Ł as L) and the programs would act on that one.
#ifndef VELTRANO_CODEPAGE_H
#define VELTRANO_CODEPAGE_H

#include <windows.h>

// Converts the terminated UTF-16 name wide into the program's code page,
// into target (size bytes, terminated). Returns 1 when every character
// converted exactly and all of it fitted; else 0, and target holds the name
// with "?" for what did not convert (to be shown, never used). Where the
// code page is one of two bytes a character (932, 936, 949, 950) and not
// UTF-8, a name with such a character is refused too: its second byte may
// be "\", "[", "|" or a letter, which the byte rules would misread.
int NameFromWide(const WCHAR *wide, char *target, unsigned size);

// 1 when text holds a character of two bytes of the program's code page
// (never under UTF-8): the byte rules may misread its second byte, so such
// a name is refused wherever it comes from.
int HoldsDoubleByte(const char *text);

// Converts the terminated name text of the program's code page into wide
// (size characters). Returns 1 when it is text of that code page and fits.
int NameToWide(const char *text, WCHAR *wide, unsigned size);

// A line that a program without the UTF-8 code page wrote (an earlier
// version's settings file, in the system's ANSI code page) in the program's
// code page, into target (size bytes): 1 when the two code pages differ,
// line is not already text of the program's code page, and it converts
// exactly; else 0.
int NameFromSystemCodePage(const char *line, char *target, unsigned size);

// 1 when the list line names path: equal ignoring case, as it stands or as
// an earlier version wrote it (NameFromSystemCodePage).
int SameListedPath(const char *line, const char *path);

// text (of the program's code page) as a program of the system's code page
// reads it, into target (size bytes): converted where that code page carries
// it exactly, else unchanged. The application reads its settings so.
void TextForSystemCodePage(const char *text, char *target, unsigned size);

#endif
