// How the profile compares section names, keys and text lines.
#ifndef VELTRANO_PROFILENAMES_H
#define VELTRANO_PROFILENAMES_H

// 1 when a and b are equal ignoring the case of the 26 ASCII letters (every
// other byte, 0x80 and up included, equals only itself), else 0.
int ProfileNamesEqual(const char *a, const char *b);

// Case-sensitive order: byte by byte as unsigned values, a shorter string
// before a longer one that begins with it. <0, 0 or >0 like strcmp.
int ProfileNamesOrder(const char *a, const char *b);

// 1 for the blanks tab, LF, vertical tab, form feed, CR and space, else 0.
int ProfileIsBlank(char c);

#endif
