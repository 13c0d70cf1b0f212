// The TFileSys operations that ask the file system: directory chains, path
// and drive tests, the current directory of a drive, short names and the
// program's own directory. Each test works in its own scratch directory.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "FileSysTesting.h"
#include "PathText.h"
#include "ProgramFolder.h"
#include "Scratch.h"

namespace {

bool IsDirectory(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A drive letter that the system does not have, or 0.
char MissingDrive()
{
    DWORD drives = GetLogicalDrives();
    for (char d = 'Z'; d > 'C'; d--)
        if (!(drives & (1u << (d - 'A'))))
            return d;
    return 0;
}

}

TEST(TFileSysCreateDirectoryPath, CreatesMissingLevelsFromTheLeft)
{
    Scratch s;
    TFileSys fs(0);
    s.MakeDir("A");
    EXPECT_EQ(1, fs.CreateDirectoryPath(s.Path("A\\B\\C").c_str()));
    EXPECT_TRUE(IsDirectory(s.Path("A\\B\\C")));
    EXPECT_EQ(1, fs.CreateDirectoryPath(s.Path("A\\B\\C").c_str())) << "all present";
    EXPECT_EQ(1, fs.CreateDirectoryPath(s.Path("a\\b\\D\\").c_str())) << "case, trailing separator";
    EXPECT_TRUE(IsDirectory(s.Path("A\\B\\D")));
    EXPECT_EQ(1, fs.CreateDirectoryPath(s.Path("A\\\\E").c_str())) << "empty component";
    EXPECT_TRUE(IsDirectory(s.Path("A\\E")));
    EXPECT_EQ(1, fs.CreateDirectoryPath("C:\\"));
    EXPECT_EQ(1, fs.CreateDirectoryPath("C:"));
}

TEST(TFileSysCreateDirectoryPath, StopsAtAPlainFileOrAHiddenFile)
{
    Scratch s;
    TFileSys fs(0);
    s.Write("F", "plain");
    EXPECT_EQ(0, fs.CreateDirectoryPath(s.Path("F\\B").c_str()));
    EXPECT_FALSE(s.Exists("F\\B"));
    EXPECT_EQ("plain", s.Read("F"));
    s.Write(".hid", "");                   // a hidden file is not listed: its creation fails
    EXPECT_EQ(0, fs.CreateDirectoryPath(s.Path(".hid\\B").c_str()));
    s.Write("G", "");
    EXPECT_EQ(0, fs.CreateDirectoryPath(s.Path("G").c_str())) << "a file is no directory";
}

TEST(TFileSysCreateDirectoryPath, RefusesEmptyAndOverlongPaths)
{
    Scratch s;
    TFileSys fs(0);
    EXPECT_EQ(0, fs.CreateDirectoryPath(""));
    EXPECT_EQ(0, fs.CreateDirectoryPath(0));
    std::string longPath = s.Path("") + "\\" + std::string(600, 'l');
    EXPECT_EQ(0, fs.CreateDirectoryPath(longPath.c_str()));
    size_t cut = 260 - (s.Path("").size() + 1);   // what a cut path would have made
    EXPECT_FALSE(s.Exists(std::string(cut, 'l').c_str()));
}

#ifndef _WIN32
// Only on Linux: the test controls the current directory of the stand-in layer.
TEST(TFileSysCreateDirectoryPath, SingleRelativeComponentIsMadeInTheCurrentDirectory)
{
    Scratch s;
    TFileSys fs(0);
    HostSetCurrentDirectory(s.Path("").c_str());
    EXPECT_EQ(1, fs.CreateDirectoryPath("Rel"));
    EXPECT_TRUE(IsDirectory(s.Path("Rel")));
    EXPECT_EQ(1, fs.CreateDirectoryPath("rel\\"));
    EXPECT_EQ(1, fs.CreateDirectoryPath("C")) << "a drive letter alone is its root";
    EXPECT_FALSE(s.Exists("C"));
}
#endif

// Each row lays out folders (a file where the name begins with "*") and
// names the system's program folder; the search for "prog*" takes only that
// folder, whatever the directory order.
TEST(FindProgramFolder, TakesOnlyTheSystemsProgramFolder)
{
    struct Row {
        std::vector<const char *> entries;
        const char *system, *taken;
    } rows[] = {{{"Prog0", "progA", "Program Files", "Program Files0"}, "Program Files", "Program Files"},
                {{"Programme"}, "PROGRAMME\\", "Programme"},
                {{"Prog0"}, "Program Files", 0},
                {{"*Program Files"}, "Program Files", 0}};
    for (const Row &row : rows) {
        Scratch s;
        for (const char *entry : row.entries)
            entry[0] == '*' ? s.Write(entry + 1, "") : s.MakeDir(entry);
        std::string system = s.Path(row.system);
        const char *folders[] = {"", system.c_str()};
        char folder[MAX_PATH] = "";
        EXPECT_EQ(row.taken ? 1 : 0, FindProgramFolder(s.Path("prog*").c_str(), folders, 2, folder,
                                                        sizeof folder)) << row.entries[0];
        if (row.taken)
            EXPECT_EQ(s.Path(row.taken), std::string(folder));
    }
}

TEST(TFileSysPathExists, PathsAndDrives)
{
    Scratch s;
    TFileSys fs(0);
    s.MakeDir("d");
    s.Write("f.txt", "");
    struct Row { std::string path; int present; } rows[] = {
        {s.Path("d"), 1}, {s.Path("d\\"), 1}, {s.Path("D"), 1}, {s.Path("f.txt"), 1},
        {s.Path("missing"), 0}, {s.Path("missing\\"), 0}, {"C:\\", 1}, {"C:", 1}, {"c", 1},
        {"\\", 1}, {"", 0}, {std::string(600, 'x'), 0},
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.present, fs.PathExists(row.path.c_str())) << "row " << row.path;
    if (char missing = MissingDrive()) {
        char root[] = {missing, ':', '\\', 0};
        EXPECT_EQ(0, fs.PathExists(root)) << root;
        EXPECT_EQ(0, fs.PathExists(std::string(1, missing).c_str())) << missing;
    }
    EXPECT_EQ(1, fs.FileExists(s.Path("d").c_str()));
    EXPECT_EQ(1, fs.FileExists(s.Path("F.TXT").c_str()));
    EXPECT_EQ(0, fs.FileExists(s.Path("missing").c_str()));
}

TEST(TFileSysIsWritable, ReadOnlyFilesAndMissingDirectories)
{
    Scratch s;
    TFileSys fs(0);
    s.Write("ro.txt", "x");
    s.Write("rw.txt", "x");
    ASSERT_TRUE(SetFileAttributesA(s.Path("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, fs.IsWritable(s.Path("ro.txt").c_str()));
    EXPECT_EQ(1, fs.IsWritable(s.Path("rw.txt").c_str()));
    EXPECT_EQ(1, fs.IsWritable(s.Path("new.txt").c_str()));
    EXPECT_EQ(0, fs.IsWritable(s.Path("nodir\\new.txt").c_str()));
    EXPECT_EQ(0, fs.IsWritable(LongPath(600).c_str()));
}

TEST(TFileSysFirstExistingPath, ChoosesByTheDirectory)
{
    Scratch s;
    TFileSys fs(0);
    s.MakeDir("here");
    std::string present = s.Path("here\\file.txt"), absent = s.Path("gone\\file.txt");
    EXPECT_EQ(present, fs.FirstExistingPath(present.c_str(), absent.c_str()));
    EXPECT_EQ(present, fs.FirstExistingPath(absent.c_str(), present.c_str()));
    EXPECT_STREQ(TFileSys::windowsDir, fs.FirstExistingPath(absent.c_str(), absent.c_str()));
    EXPECT_STREQ(TFileSys::windowsDir, fs.FirstExistingPath(absent.c_str(), 0));
    EXPECT_STREQ(TFileSys::windowsDir, fs.FirstExistingPath(LongPath(600).c_str(), 0));
    if (char missing = MissingDrive()) {
        char onMissing[] = {missing, ':', '\\', 'f', '.', 't', 0};
        EXPECT_STREQ(TFileSys::windowsDir, fs.FirstExistingPath(onMissing, 0));
    }
}

TEST(TFileSysDriveCurrentDirectory, AnswersOfTheDrive)
{
    Scratch s;
    TFileSys fs(0);
    char expected[MAX_PATH + 1];
    ASSERT_GT(GetFullPathNameA("C:", sizeof expected, expected, 0), 0u);
    EXPECT_STREQ(expected, fs.DriveCurrentDirectory('c'));
    if (char missing = MissingDrive()) {
        char root[] = {missing, ':', '\\', 0};
        EXPECT_STREQ(root, fs.DriveCurrentDirectory((char)(missing - 'A' + 'a')));
    }
    EXPECT_STREQ("1:\\", fs.DriveCurrentDirectory('1'));
}

#ifndef _WIN32
TEST(TFileSysDriveCurrentDirectory, ADirectoryBelowTheRoot)
{
    Scratch s;
    TFileSys fs(0);
    HostSetCurrentDirectory("C:\\WINDOWS\\SYSTEM");
    EXPECT_STREQ("C:\\WINDOWS\\SYSTEM", fs.DriveCurrentDirectory('c'));
}
#endif

TEST(TFileSysShortPathName, ShortNamesOfEveryComponent)
{
    Scratch s;
    TFileSys fs(0);
    s.MakeDir("Long Directory Name");
    s.Write("Long Directory Name\\A File With Spaces.text", "x");
    s.MakeDir("short");
    std::string longPath = s.Path("Long Directory Name\\A File With Spaces.text");
    EXPECT_STREQ("C:", fs.ShortPathName("C:\\"));
    EXPECT_STREQ("", fs.ShortPathName(s.Path("Missing\\x").c_str()));
    EXPECT_STREQ("", fs.ShortPathName(""));
    EXPECT_STREQ("", fs.ShortPathName("\\no\\drive"));
    EXPECT_STREQ("", fs.ShortPathName(LongPath(600).c_str()));
    std::string shortened = fs.ShortPathName(longPath.c_str());
    ASSERT_NE("", shortened);
    EXPECT_NE('\\', shortened[shortened.size() - 1]);
    OFSTRUCT info;
    HFILE h = OpenFile(shortened.c_str(), &info, OF_READ);
    EXPECT_NE(HFILE_ERROR, h)
        << "the short path names the file: " << shortened;
    if (h != HFILE_ERROR)
        _lclose(h);
#ifdef _WIN32
    // The real short names: what the platform's own conversion gives.
    char expected[MAX_PATH + 1];
    ASSERT_GT(GetShortPathNameA(longPath.c_str(), expected, sizeof expected), 0u);
    EXPECT_TRUE(SamePathText(expected, shortened.c_str())) << expected << " / " << shortened;
    EXPECT_EQ(std::string::npos, shortened.find(' '));
#else
    // No 8.3 names here: every component keeps its long name, as stored.
    EXPECT_EQ(longPath, shortened);
    EXPECT_EQ(s.Path("short"), fs.ShortPathName(s.Path("SHORT\\").c_str()));
#endif
}

TEST(TFileSysConstruction, ModuleDirectoryOfTheRunningProgram)
{
    Scratch s;
    char module[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(0, module, sizeof module);
    ASSERT_GT(n, 0u);
    std::string expected(module, strrchr(module, '\\') + 1);
#ifdef _WIN32
    TFileSys fs(GetModuleHandleA(0));
#else
    TFileSys fs((HINSTANCE)1);
#endif
    EXPECT_EQ(expected, fs.ModuleDirectory());
    EXPECT_EQ(expected, fs.moduleDir);
    EXPECT_EQ(expected, fs.StripSeparator(fs.ModuleDirectory()) + std::string("\\"));
}

#ifndef _WIN32
TEST(TFileSysConstruction, AModuleNameThatDoesNotFitIsNotCut)
{
    Scratch s;
    std::string longName = "C:\\" + std::string(300, 'm') + "\\Program.exe";
    HostSetModuleFileName(longName.c_str());
    TFileSys fs((HINSTANCE)1);
    EXPECT_STREQ("", fs.ModuleDirectory());
    EXPECT_TRUE(WorkPathIntact(fs));
}
#endif
