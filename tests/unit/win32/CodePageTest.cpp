// Names between UTF-16 and the program's code page, as the platform converts
// them. This test program carries no UTF-8 element, so it runs in the
// system's code page: 1252 in the usual prefix, 932 in the Japanese one.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "CodePage.h"

namespace {

struct Row {
    UINT codePage;
    const wchar_t *name;
    int exact;
    const char *bytes;   // what target holds: the name, or what is shown for it
};

// Ł and ź have look-alikes in 1252 (L, z) that must not be taken; in 932 a
// character of two bytes is refused (表's second byte is "\"), one of a
// single byte (half-width ｱ) is not.
const Row rows[] = {
    {1252, L"C:\\M\u00FCller", 1, "C:\\M\xFCller"},
    {1252, L"C:\\\u0141\u00F3d\u017A", 0, "C:\\?\xF3" "d?"},
    {1252, L"C:\\\u041F", 0, "C:\\?"},
    {1252, L"C:\\\U0001F600", 0, "C:\\??"},
    {932, L"C:\\\uFF71", 1, "C:\\\xB1"},
    {932, L"C:\\\u8868", 0, "C:\\\x95\x5C"},
    {932, L"C:\\\u0141", 0, "C:\\?"},
};

}  // namespace

TEST(CodePage, NamesConvertExactlyOrAreRefused)
{
    int tried = 0;
    for (const Row &row : rows) {
        if (row.codePage != GetACP())
            continue;
        tried++;
        char target[16];
        memset(target, '#', sizeof target);
        EXPECT_EQ(row.exact, NameFromWide(row.name, target, sizeof target)) << row.bytes;
        EXPECT_EQ(std::string(row.bytes), std::string(target));
    }
    EXPECT_GT(tried, 0) << "no row for code page " << GetACP();
    char small[4];
    EXPECT_EQ(0, NameFromWide(L"C:\\Veltrano", small, sizeof small)) << "a name that does not fit";
    EXPECT_EQ('\0', small[0]);
}

TEST(CodePage, ListLinesOfTheSystemCodePageAreOursWithoutUtf8)
{
    // Without the UTF-8 element the program's code page is the system's: a
    // line is compared as it stands, and never converted.
    char target[16];
    EXPECT_EQ(0, NameFromSystemCodePage("C:\\M\xFCller", target, sizeof target));
    EXPECT_EQ(1, SameListedPath("c:\\m\xFCLLER", "C:\\M\xFCller"));
    EXPECT_EQ(0, SameListedPath("C:\\Muller", "C:\\M\xFCller"));
}
