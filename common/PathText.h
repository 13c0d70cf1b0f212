// Character-level helpers shared by the TFileSys path operations.
#ifndef VELTRANO_PATHTEXT_H
#define VELTRANO_PATHTEXT_H

// Upper case by the single-byte rule a-z to A-Z only, so that results do not
// depend on the code page.
char PathUpper(char c);
// 1 for "\" and "/", the separators the split accepts.
int IsPathSeparator(char c);
// 1 when a and b are equal ignoring case (single-byte rule).
int SamePathText(const char *a, const char *b);
// 1 when a and b name the same folder: equal ignoring case and trailing
// separators (a drive's root keeps its own, "C:\\" is no "C:").
int SameFolderText(const char *a, const char *b);

#endif
