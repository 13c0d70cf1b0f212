// Display, relative and absolute forms of paths.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "FileSysTesting.h"

TEST(TFileSysDisplayPath, RelativeToTheBaseAndShortened)
{
    TFileSys fs(0);
    struct Row { const char *file, *base; int maximum; const char *out; } rows[] = {
        {"C:\\A\\B\\C\\file.txt", "C:\\A", 20, "B\\C\\file.txt"},
        {"C:\\A\\B\\C\\file.txt", "C:\\A", 12, "B\\C\\file.txt"},     // exactly maximum
        {"C:\\A\\B\\C\\file.txt", "C:\\A", 11, "\\..\\file.txt"},
        {"C:\\A\\B\\C\\file.txt", "C:\\A", 10, "\\..\\file.txt"},
        {"D:\\X\\Y\\file.txt", "C:\\A", 10, "D:\\..\\file.txt"},
        {"D:\\X\\Y\\file.txt", "C:\\A", 40, "D:\\X\\Y\\file.txt"},
        {"C:\\A", "C:\\A", 10, ""},
        {"C:\\A\\", "C:\\A", 10, ""},
        {"C:\\", "C:\\A", 10, ""},
        {"c:\\a\\x.txt", "C:\\A\\", 10, "x.txt"},
        {"C:\\AB\\x.txt", "C:\\A", 100, "C:\\AB\\x.txt"},
        {"C:\\A\\x.txt", "", 100, "C:\\A\\x.txt"},
        {"C:\\A\\x.txt", "C:\\A", -1, "\\..\\x.txt"},
    };
    for (const Row &row : rows)
        EXPECT_STREQ(row.out, fs.DisplayPath(row.file, row.base, row.maximum))
            << "row " << row.file << " base " << row.base << " maximum " << row.maximum;
    strcpy(fs.workPath, "C:\\A");
    EXPECT_STREQ("x.txt", fs.DisplayPath("C:\\A\\x.txt", fs.workPath, 20));
}

TEST(TFileSysDisplayPath, LongPathsKeepTheirNameAndFitTheBuffer)
{
    TFileSys fs(0);
    for (unsigned length : {259u, 260u, 261u, 600u}) {
        std::string file = LongPath(length);
        std::string name = file.substr(file.rfind('\\') + 1);
        EXPECT_EQ("C:\\..\\" + name, fs.DisplayPath(file.c_str(), "D:\\", 20)) << "length " << length;
        EXPECT_TRUE(WorkPathIntact(fs)) << "length " << length;
        fs.DisplayPath(file.c_str(), "D:\\", 1000);          // fits the maximum: cut to the buffer
        EXPECT_EQ(file.substr(0, 260), fs.workPath) << "length " << length;
    }
    std::string longName = "C:\\" + std::string(300, 'n') + ".txt";
    fs.DisplayPath(longName.c_str(), "D:\\", 10);
    EXPECT_EQ(0, strncmp(fs.workPath, "C:\\..\\nnn", 9));
    EXPECT_TRUE(WorkPathIntact(fs));
}

namespace {

struct RelativeRow { const char *full, *relative; };

// With base C:\A\B.
const RelativeRow relativeRows[] = {
    {"C:\\A\\B\\x.txt", "x.txt"},
    {"C:\\A\\C\\x.txt", "..\\C\\x.txt"},
    {"C:\\A\\B\\D\\x.txt", "D\\x.txt"},
    {"C:\\A\\x.txt", "..\\x.txt"},
    {"C:\\x.txt", "..\\..\\x.txt"},
    {"D:\\x.txt", "D:\\x.txt"},
    {"C:\\A\\Bx\\y.txt", "..\\Bx\\y.txt"},
    {"C:\\A\\B\\D\\E\\f", "D\\E\\f"},
};

}

TEST(TFileSysRelativePath, FromTheBaseDirectory)
{
    TFileSys fs(0);
    for (const RelativeRow &row : relativeRows)
        EXPECT_STREQ(row.relative, fs.RelativePath(row.full, "C:\\A\\B")) << "row " << row.full;
    struct Row { const char *file, *base, *out; } rows[] = {
        {"sub\\x.txt", "C:\\A\\B", "sub\\x.txt"},              // relative already
        {"\\A\\C\\x.txt", "C:\\A\\B", "..\\C\\x.txt"},         // on the base's drive
        {"c:\\a\\b\\x.txt", "C:\\A\\B\\", "x.txt"},
        {"d:\\x.txt", "D:\\", "x.txt"},
        {"C:\\A\\x.txt", "B", "C:\\A\\x.txt"},                  // nothing in common
        {"C:\\A\\x.txt", "", "C:\\A\\x.txt"},
    };
    for (const Row &row : rows)
        EXPECT_STREQ(row.out, fs.RelativePath(row.file, row.base)) << "row " << row.file << " base " << row.base;
    strcpy(fs.workPath, "C:\\A\\C\\x.txt");
    EXPECT_STREQ("..\\C\\x.txt", fs.RelativePath(fs.workPath, "C:\\A\\B"));
}

TEST(TFileSysRelativePath, TooManyLevelsAreRefused)
{
    TFileSys fs(0);
    std::string base = "C:";
    while (base.size() + 2 <= 260)
        base += "\\a";                     // 129 levels: 387 characters of ..\ .
    EXPECT_STREQ("", fs.RelativePath("C:\\b\\x.txt", base.c_str()));
    EXPECT_STREQ("", fs.RelativePath(LongPath(600).c_str(), "C:\\"));
    std::string p260 = LongPath(260);
    EXPECT_STREQ(p260.substr(3).c_str(), fs.RelativePath(p260.c_str(), "C:\\"));
    EXPECT_TRUE(WorkPathIntact(fs));
}

TEST(TFileSysAbsolutePath, FromTheBaseDirectory)
{
    TFileSys fs(0);
    struct Row { const char *relative, *base, *out; } rows[] = {
        {"..\\x.txt", "C:\\A\\B", "C:\\A\\x.txt"},
        {"..\\..\\x.txt", "C:\\A\\B", "C:\\x.txt"},
        {"..\\..\\..\\x.txt", "C:\\A\\B", "C:\\x.txt"},
        {".\\x.txt", "C:\\A\\B", "C:\\A\\B\\x.txt"},
        {".\\x.txt", "C:\\A\\B\\", "C:\\A\\B\\x.txt"},
        {"\\x.txt", "C:\\A\\B", "C:\\x.txt"},
        {"sub\\x.txt", "C:\\A\\B", "C:\\A\\B\\sub\\x.txt"},
        {"sub\\x.txt", "C:\\A\\B\\", "C:\\A\\B\\sub\\x.txt"},
        {"D:\\y", "C:\\A\\B", "D:\\y"},
        {"..\\x.txt", "\\A", "..\\x.txt"},                     // cannot climb
        {"..\\x.txt", "C:\\", "C:\\x.txt"},
        {"..\\x.txt", "", "..\\x.txt"},
        // Names beginning with a dot, bare and mixed groups.
        {".profile", "C:\\A\\B", "C:\\A\\B\\.profile"},
        {"..x", "C:\\A\\B", "C:\\A\\B\\..x"},
        {"..", "C:\\A\\B", "C:\\A\\"},
        {"..\\..", "C:\\A\\B", "C:\\"},
        {"..\\.\\x", "C:\\A\\B", "C:\\A\\x"},
        {"../x", "C:\\A\\B", "C:\\A\\x"},
    };
    for (const Row &row : rows)
        EXPECT_STREQ(row.out, fs.AbsolutePath(row.relative, row.base))
            << "row " << row.relative << " base " << row.base;
}

TEST(TFileSysAbsolutePath, InvertsRelativePath)
{
    TFileSys fs(0);
    for (const RelativeRow &row : relativeRows) {
        std::string relative = fs.RelativePath(row.full, "C:\\A\\B");
        EXPECT_STREQ(row.full, fs.AbsolutePath(relative.c_str(), "C:\\A\\B")) << "row " << row.full;
    }
}

TEST(TFileSysAbsolutePath, ResultsThatDoNotFitAreRefused)
{
    TFileSys fs(0);
    std::string base = LongPath(255);
    EXPECT_STREQ("", fs.AbsolutePath("sub\\x.txt", base.c_str()));
    EXPECT_STREQ("", fs.AbsolutePath(".\\sub\\x.txt", base.c_str()));
    EXPECT_STREQ("", fs.AbsolutePath(LongPath(600).c_str(), "C:\\"));
    EXPECT_STREQ("", fs.AbsolutePath("x", LongPath(600).c_str()));
    std::string climb = "..\\" + std::string(250, 'y');
    std::string expected = base.substr(0, base.rfind('\\') + 1);
    EXPECT_STREQ("", fs.AbsolutePath(climb.c_str(), base.c_str()));
    EXPECT_EQ(expected + "y", fs.AbsolutePath("..\\y", base.c_str()));
    std::string rooted = "\\" + std::string(259, 'r');
    EXPECT_STREQ("", fs.AbsolutePath(rooted.c_str(), "C:\\A"));
    EXPECT_TRUE(WorkPathIntact(fs));
}
