// The pure path operations of TFileSys: split and merge, separators,
// directories, names and extensions, including inputs of 259 to 600
// characters.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "FileSysTesting.h"
#include "PathText.h"
#include "Scratch.h"

namespace {

struct SplitRow {
    const char *path, *drive, *dir, *name, *ext;
    bool roundTrip;                        // Merge gives the path back unchanged
};

const SplitRow splitRows[] = {
    {"C:\\A\\B\\file.txt", "C:", "\\A\\B\\", "file", ".txt", true},
    {"C:file.txt", "C:", "", "file", ".txt", true},
    {"C:\\A\\archive.tar.gz", "C:", "\\A\\", "archive.tar", ".gz", true},
    {"C:\\A\\..", "C:", "\\A\\..", "", "", false},
    {"..", "", "..", "", "", false},
    {"C:.", "C:", ".", "", "", false},
    {"name.", "", "", "name", ".", true},
    {"a/b\\c.d", "", "a/b\\", "c", ".d", true},
    {"x:y:z", "x:", "", "y:z", "", true},
    {"\\A\\.profile", "", "\\A\\", "", ".profile", true},
    {"C:\\A.B\\C", "C:", "\\A.B\\", "C", "", true},
    {"C:\\A\\..x", "C:", "\\A\\", ".", ".x", true},
    {"C:\\", "C:", "\\", "", "", true},
    {"file", "", "", "file", "", true},
    {"", "", "", "", "", true},
};

}

TEST(TFileSysSplit, PartsAndRoundTrip)
{
    TFileSys fs(0);
    for (const SplitRow &row : splitRows) {
        fs.Split(row.path);
        EXPECT_STREQ(row.drive, fs.drive) << "row " << row.path;
        EXPECT_STREQ(row.dir, fs.dir) << "row " << row.path;
        EXPECT_STREQ(row.name, fs.name) << "row " << row.path;
        EXPECT_STREQ(row.ext, fs.ext) << "row " << row.path;
        if (row.roundTrip)
            EXPECT_STREQ(row.path, fs.Merge()) << "row " << row.path;
    }
}

TEST(TFileSysSplit, CutsThePathAndEachPart)
{
    TFileSys fs(0);
    // 261 characters, cut to 260 "C:\ddd...\": a directory part of 258, cut to 255.
    std::string huge = "C:\\" + std::string(256, 'd') + "\\" + std::string(300, 'n') + ".txt";
    fs.Split(huge.c_str());
    EXPECT_STREQ("C:", fs.drive);
    EXPECT_EQ(255u, strlen(fs.dir));
    EXPECT_STREQ("", fs.name);
    EXPECT_STREQ("", fs.ext);
    std::string name = "C:\\" + std::string(258, 'n');
    fs.Split(name.c_str());
    EXPECT_EQ(255u, strlen(fs.name));
    fs.Split(0);
    EXPECT_STREQ("", fs.dir);
}

TEST(TFileSysMerge, AddsMissingSeparatorAndDot)
{
    TFileSys fs(0);
    struct Row { const char *drive, *dir, *name, *ext, *expected; } rows[] = {
        {"", "\\A", "x", "", "\\A\\x"},
        {"", "", "x", "txt", "x.txt"},
        {"C:", "\\A\\B\\", "", "", "C:\\A\\B\\"},
        {"C:", "", "", "", "C:"},
        {"", "", "", "", ""},
        {"c", "/A/", "x", ".y", "c:/A/x.y"},
    };
    for (const Row &row : rows) {
        strcpy(fs.drive, row.drive);
        strcpy(fs.dir, row.dir);
        strcpy(fs.name, row.name);
        strcpy(fs.ext, row.ext);
        EXPECT_STREQ(row.expected, fs.Merge()) << "row " << row.expected;
    }
}

TEST(TFileSysMerge, RefusesAResultLongerThanTheBuffer)
{
    TFileSys fs(0);
    strcpy(fs.drive, "C:");
    memset(fs.dir, 'd', 255);
    fs.dir[255] = '\0';
    memset(fs.name, 'n', 255);
    fs.name[255] = '\0';
    strcpy(fs.ext, ".txt");
    EXPECT_STREQ("", fs.Merge());
    EXPECT_TRUE(WorkPathIntact(fs));
}

TEST(TFileSysAddSeparator, Rows)
{
    TFileSys fs(0);
    struct Row { const char *in, *out; } rows[] = {
        {"D", "D:\\"}, {"D:", "D:\\"}, {"C:\\A", "C:\\A\\"}, {"C:\\A\\", "C:\\A\\"},
        {"C:\\", "C:\\"}, {"", ""}, {"ab", "ab\\"},
    };
    for (const Row &row : rows) {
        char buffer[16];
        strcpy(buffer, row.in);
        EXPECT_EQ(buffer, fs.AddSeparator(buffer)) << "row " << row.in;
        EXPECT_STREQ(row.out, buffer) << "row " << row.in;
    }
}

TEST(TFileSysAddSeparator, AppendsNothingThatDoesNotFit)
{
    TFileSys fs(0);
    struct Row { const char *in; unsigned size; const char *out; } rows[] = {
        {"abc", 4, "abc"}, {"abc", 5, "abc\\"}, {"D", 3, "D"}, {"D", 4, "D:\\"},
        {"D", 2, "D"}, {"", 1, ""},
    };
    for (const Row &row : rows) {
        char buffer[16];
        memset(buffer, '#', sizeof buffer);
        memcpy(buffer, row.in, strlen(row.in) + 1);
        fs.AddSeparator(buffer, row.size);
        EXPECT_STREQ(row.out, buffer) << "row " << row.in << " size " << row.size;
        for (unsigned i = row.size; i < sizeof buffer; i++)
            ASSERT_EQ('#', buffer[i]) << "canary overwritten, row " << row.in << " size " << row.size;
    }
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    fs.AddSeparator(unterminated, sizeof unterminated);
    EXPECT_EQ(0, memcmp(unterminated, "abcd", 4));

    for (unsigned length : {259u, 260u}) {
        char buffer[FS_PATH_LENGTH + 1 + 8];
        memset(buffer, '#', sizeof buffer);
        memset(buffer, 'p', length);
        buffer[length] = '\0';
        fs.AddSeparator(buffer);
        EXPECT_EQ(260u, strlen(buffer)) << "length " << length;   // 259 gains one, 260 none
        EXPECT_EQ(length == 259 ? '\\' : 'p', buffer[259]) << "length " << length;
        for (unsigned i = FS_PATH_LENGTH + 1; i < sizeof buffer; i++)
            ASSERT_EQ('#', buffer[i]) << "canary overwritten, length " << length;
    }
}

TEST(TFileSysStripSeparator, RemovesOneTrailingBackslash)
{
    TFileSys fs(0);
    struct Row { const char *in, *out; } rows[] = {
        {"C:\\", "C:"}, {"C:\\A\\\\", "C:\\A\\"}, {"C:\\A", "C:\\A"}, {"", ""}, {"\\", ""},
        {"C:/A/", "C:/A/"},
    };
    for (const Row &row : rows)
        EXPECT_STREQ(row.out, fs.StripSeparator(row.in)) << "row " << row.in;
    strcpy(fs.workPath, "C:\\X\\");
    EXPECT_STREQ("C:\\X", fs.StripSeparator(fs.workPath));   // in place
    std::string full = LongPath(260) + "\\";                 // 261: does not fit
    EXPECT_STREQ("", fs.StripSeparator(full.c_str()));
    std::string fits = LongPath(260);
    EXPECT_EQ(fits, fs.StripSeparator(fits.c_str()));
}

TEST(TFileSysDirectoryOf, Rows)
{
    TFileSys fs(0);
    struct Row { const char *in, *out; } rows[] = {
        {"C:\\A\\file.txt", "C:\\A\\"}, {"C:\\A\\B", "C:\\A\\B"}, {"file.txt", ""},
        {"C:\\A.B\\C", "C:\\A.B\\"}, {"C:file.txt", "C:"},
        {"C:\\Programs\\Veltrano 1.0", "C:\\Programs\\"}, {"", ""},
    };
    for (const Row &row : rows)
        EXPECT_STREQ(row.out, fs.DirectoryOf(row.in)) << "row " << row.in;
    strcpy(fs.workPath, "C:\\W\\f.ini");
    EXPECT_STREQ("C:\\W\\", fs.DirectoryOf(fs.workPath));
    strcpy(fs.workPath, "C:\\W");
    EXPECT_STREQ("C:\\W", fs.DirectoryOf(fs.workPath));
}

TEST(TFileSysNames, FileNameExtensionAndPlaces)
{
    TFileSys fs(0);
    EXPECT_STREQ("file.txt", fs.FileNameOf("C:\\A\\file.txt"));
    EXPECT_STREQ("archive.tar.gz", fs.FileNameOf("archive.tar.gz"));
    EXPECT_STREQ("", fs.FileNameOf("C:\\A\\"));

    struct Row { const char *file, *extension, *out; } changes[] = {
        {"C:\\A\\f.txt", ".ini", "C:\\A\\f.ini"}, {"C:\\A\\f.txt", "ini", "C:\\A\\f.ini"},
        {"C:\\A\\f.txt", "", "C:\\A\\f"}, {"f", ".bak", "f.bak"},
    };
    for (const Row &row : changes)
        EXPECT_STREQ(row.out, fs.ChangeExtension(row.file, row.extension))
            << "row " << row.file << " " << row.extension;

    struct MakeRow { const char *file, *directory, *extension, *out; } makes[] = {
        {"C:\\A\\f.txt", "C:\\B", ".bak", "C:\\B\\f.bak"},
        {"C:\\A\\f.txt", "C:\\B", "bak", "C:\\B\\fbak"},
        {"C:\\A\\f.txt", "C:\\B\\", ".bak", "C:\\B\\f.bak"},
        {"f.txt", "", ".x", "f.x"},
        {"C:\\A\\f.txt", "D", ".bak", "D:\\f.bak"},
    };
    for (const MakeRow &row : makes)
        EXPECT_STREQ(row.out, fs.MakeFileName(row.file, row.directory, row.extension))
            << "row " << row.file << " " << row.directory << " " << row.extension;

    EXPECT_STREQ("C:\\X\\f.txt", fs.PathInDirectory("C:\\X", "D:\\Y\\f.txt"));
    EXPECT_STREQ("C:\\X\\f.txt", fs.PathInDirectory("C:\\X\\", "f.txt"));
    EXPECT_STREQ("\\X\\f", fs.PathInDirectory("\\X", "C:f"));
}

TEST(TFileSysNames, TempFileNameIsInTheTemporaryDirectory)
{
    Scratch s;
    TFileSys fs(0);
    char temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    EXPECT_STREQ(TFileSys::tempDir, temp);
    EXPECT_EQ(std::string(temp) + "report.TMP", fs.TempFileName("C:\\A\\report.txt"));
}

TEST(TFileSysNames, LongInputsAreRefusedNotCut)
{
    TFileSys fs(0);
    std::string p600 = LongPath(600), p261 = LongPath(261), p260 = LongPath(260);
    std::string p259 = LongPath(259);
    EXPECT_STREQ("", fs.DirectoryOf(p600.c_str()));
    EXPECT_STREQ("", fs.DirectoryOf(p261.c_str()));
    EXPECT_EQ(p260.substr(0, p260.rfind('\\') + 1), fs.DirectoryOf(p260.c_str()));
    EXPECT_STREQ("", fs.FileNameOf(p600.c_str()));
    EXPECT_STREQ("", fs.ChangeExtension(p600.c_str(), ".ini"));
    EXPECT_EQ(p260.substr(0, 256) + ".ini", fs.ChangeExtension(p260.c_str(), ".ini"));
    EXPECT_STREQ("", fs.ChangeExtension(p259.c_str(), ".extension"));   // 265 characters
    EXPECT_STREQ("", fs.MakeFileName("f.txt", p260.c_str(), ".x"));
    EXPECT_STREQ("", fs.MakeFileName(p600.c_str(), "C:\\B", ".x"));
    EXPECT_STREQ("", fs.PathInDirectory(p259.c_str(), "C:\\name.txt"));
    EXPECT_STREQ("", fs.PathInDirectory(p600.c_str(), "C:\\name.txt"));
    // A last component longer than a part holds would be cut by the split.
    std::string longName = "C:\\" + std::string(257, 'n');
    EXPECT_STREQ("", fs.ChangeExtension(longName.c_str(), ""));
    EXPECT_TRUE(WorkPathIntact(fs));
}

TEST(TFileSysMultiString, BarsBecomeTerminators)
{
    TFileSys fs(0);
    char buffer[8] = "a|b|";
    EXPECT_EQ(4, fs.MakeMultiString(buffer));
    EXPECT_EQ(0, memcmp(buffer, "a\0b\0\0", 5));
    char none[4] = "abc";
    EXPECT_EQ(3, fs.MakeMultiString(none));
    EXPECT_STREQ("abc", none);
}

TEST(TFileSysConstruction, WithoutAnInstance)
{
    TFileSys fs(0);
    EXPECT_STREQ("", fs.ModuleDirectory());
    EXPECT_STREQ("", fs.workPath);
    EXPECT_EQ(TFileSys::windowsDir, fs.WindowsDirectory());
    char windows[MAX_PATH + 1];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_TRUE(SamePathText(windows, TFileSys::windowsDir)) << TFileSys::windowsDir;
}
