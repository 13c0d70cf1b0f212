#include "CodePage.h"

#include "BoundedString.h"
#include "PathText.h"
#include "TBuffer.h"

// A lead byte of the program's code page, unless that is UTF-8, whose bytes
// below 0x80 are never part of a longer character.
int HoldsDoubleByte(const char *text)
{
    if (GetACP() == CP_UTF8)
        return 0;
    for (; *text; text++)
        if (IsDBCSLeadByte((BYTE)*text))
            return 1;
    return 0;
}

int NameFromWide(const WCHAR *wide, char *target, unsigned size)
{
    BOOL guessed = FALSE;
    // UTF-8 takes neither flag nor default character; it fails on a lone
    // surrogate instead.
    int utf8 = GetACP() == CP_UTF8;
    int n = WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, wide,
                                -1, target, (int)size, 0, utf8 ? 0 : &guessed);
    if (n > 0 && !guessed && !HoldsDoubleByte(target))
        return 1;
    // For showing: "?" wherever a character has no exact form.
    n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, target, (int)size,
                            0, 0);
    if (size)
        target[n > 0 ? n - 1 : 0] = '\0';
    return 0;
}

int NameToWide(const char *text, WCHAR *wide, unsigned size)
{
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, (int)size);
    if (size)
        wide[n > 0 ? n - 1 : 0] = L'\0';
    return n > 0;
}

// The system's ANSI code page, which a program without the UTF-8 element
// gets; 0 when it is the program's own (or unknown).
static UINT OtherSystemCodePage()
{
    char number[8];
    if (!GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number))
        return 0;
    UINT system = 0;
    for (const char *c = number; *c >= '0' && *c <= '9'; c++)
        system = system * 10 + (UINT)(*c - '0');
    return system == GetACP() ? 0 : system;
}

int NameFromSystemCodePage(const char *line, char *target, unsigned size)
{
    WCHAR wide[2 * MAX_PATH];
    UINT system = OtherSystemCodePage();
    return system &&
           !MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, line, -1, wide, 2 * MAX_PATH) &&
           MultiByteToWideChar(system, MB_ERR_INVALID_CHARS, line, -1, wide, 2 * MAX_PATH) &&
           NameFromWide(wide, target, size);
}

int SameListedPath(const char *line, const char *path)
{
    if (SamePathText(line, path))
        return 1;
    TBuffer converted(2 * MAX_PATH);
    return NameFromSystemCodePage(line, converted, 2 * MAX_PATH) && SamePathText(converted, path);
}

void TextForSystemCodePage(const char *text, char *target, unsigned size)
{
    WCHAR wide[2 * MAX_PATH];
    BOOL guessed = FALSE;
    UINT system = OtherSystemCodePage();
    if (!system || !NameToWide(text, wide, 2 * MAX_PATH) ||
        WideCharToMultiByte(system, WC_NO_BEST_FIT_CHARS, wide, -1, target, (int)size, 0,
                            &guessed) <= 0 ||
        guessed)
        CopyBounded(target, text, size);
}
