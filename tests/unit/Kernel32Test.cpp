// The kernel32 behaviour the library relies on. Run against the stand-in
// layer on Linux and against the real API under Wine: where they disagree,
// the stand-in is wrong.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "Scratch.h"
#include "Win32.h"

TEST(Kernel32, OpenFileCreatesWritesReadsAndTruncates)
{
    Scratch s;
    OFSTRUCT info;
    std::string file = s.Path("data.bin");
    HFILE h = OpenFile(file.c_str(), &info, OF_READ);
    EXPECT_EQ(HFILE_ERROR, h) << "a missing file opened for reading";

    h = OpenFile(file.c_str(), &info, OF_CREATE | OF_WRITE);
    ASSERT_NE(HFILE_ERROR, h);
    EXPECT_EQ(5u, _lwrite(h, "hello", 5));
    EXPECT_EQ(0, _lclose(h));

    h = OpenFile(file.c_str(), &info, OF_READ);
    ASSERT_NE(HFILE_ERROR, h);
    char buffer[16] = {0};
    EXPECT_EQ(5u, _lread(h, buffer, sizeof buffer));   // short read at the end only
    EXPECT_EQ(0u, _lread(h, buffer, sizeof buffer));
    EXPECT_EQ(0, _lclose(h));
    EXPECT_STREQ("hello", buffer);

    h = OpenFile(file.c_str(), &info, OF_CREATE);        // truncates
    ASSERT_NE(HFILE_ERROR, h);
    _lclose(h);
    EXPECT_EQ("", s.Read("data.bin"));
    EXPECT_TRUE(s.Exists("data.bin"));
}

TEST(Kernel32, ZeroLengthWriteCutsTheFileAtThePosition)
{
    Scratch s;
    s.Write("f", "abcdef");
    OFSTRUCT info;
    HFILE h = OpenFile(s.Path("f").c_str(), &info, OF_READWRITE);
    ASSERT_NE(HFILE_ERROR, h);
    char two[2];
    EXPECT_EQ(2u, _lread(h, two, 2));
    EXPECT_EQ(0u, _lwrite(h, "", 0));
    _lclose(h);
    EXPECT_EQ("ab", s.Read("f"));
}

TEST(Kernel32, NamesMatchWithoutRegardToCase)
{
    Scratch s;
    s.MakeDir("MixedCase");
    s.Write("MixedCase\\File.TXT", "x");
    EXPECT_EQ("x", s.Read("mixedcase\\file.txt"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(s.Path("MIXEDCASE\\FILE.txt").c_str()));
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(s.Path("mixedcase\\file.txt").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_STREQ("File.TXT", found.cFileName);          // the stored spelling
    FindClose(h);
}

TEST(Kernel32, AttributesOfFilesDirectoriesAndReadOnly)
{
    Scratch s;
    s.MakeDir("d");
    s.Write("f", "1");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(s.Path("missing").c_str()));
    EXPECT_TRUE(GetFileAttributesA(s.Path("d").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(GetFileAttributesA(s.Path("d\\").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    DWORD a = GetFileAttributesA(s.Path("f").c_str());
    EXPECT_FALSE(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(s.Path("f\\").c_str()));

    ASSERT_TRUE(SetFileAttributesA(s.Path("f").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(GetFileAttributesA(s.Path("f").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(DeleteFileA(s.Path("f").c_str())) << "a read-only file was deleted";
    ASSERT_TRUE(SetFileAttributesA(s.Path("f").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileA(s.Path("f").c_str()));
    EXPECT_FALSE(s.Exists("f"));
}

TEST(Kernel32, DirectoriesAreCreatedAndRemovedOneLevelAtATime)
{
    Scratch s;
    EXPECT_FALSE(CreateDirectoryA(s.Path("a\\b").c_str(), 0)) << "made two levels at once";
    EXPECT_TRUE(CreateDirectoryA(s.Path("a").c_str(), 0));
    EXPECT_FALSE(CreateDirectoryA(s.Path("a").c_str(), 0)) << "made an existing directory";
    EXPECT_TRUE(CreateDirectoryA(s.Path("a\\b").c_str(), 0));
    EXPECT_FALSE(RemoveDirectoryA(s.Path("a").c_str())) << "removed a non-empty directory";
    EXPECT_FALSE(DeleteFileA(s.Path("a\\b").c_str())) << "deleted a directory as a file";
    EXPECT_TRUE(RemoveDirectoryA(s.Path("a\\b").c_str()));
    EXPECT_TRUE(RemoveDirectoryA(s.Path("a").c_str()));
    s.Write("plain", "");
    EXPECT_FALSE(CreateDirectoryA(s.Path("plain\\below").c_str(), 0));
}

TEST(Kernel32, FindFirstFileMatchesWildcardsInTheLastComponent)
{
    Scratch s;
    s.Write("one.txt", "");
    s.Write("two.txt", "");
    s.Write("three.ini", "");
    s.MakeDir("sub");
    struct Row { const char *pattern; int count; } rows[] = {
        {"*.txt", 2}, {"t*", 2}, {"???.txt", 2}, {"*.ini", 1}, {"sub", 1}, {"SUB", 1},
        {"*", 6}, {"*.*", 6},                         // with "." and ".."
        {"*.doc", 0}, {"missing", 0}, {"sub\\", 0},
    };
    for (const Row &row : rows) {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA(s.Path(row.pattern).c_str(), &found);
        int count = 0;
        if (h != INVALID_HANDLE_VALUE) {
            do count++;
            while (FindNextFileA(h, &found));
            FindClose(h);
        }
        EXPECT_EQ(row.count, count) << "pattern " << row.pattern;
    }
}

TEST(Kernel32, FixedDirectoriesAndDrives)
{
    Scratch s;
    char buffer[MAX_PATH + 1];
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, sizeof buffer);
    EXPECT_NE('\\', buffer[n - 1]);
    EXPECT_TRUE(GetFileAttributesA(buffer) & FILE_ATTRIBUTE_DIRECTORY);
    char tiny[3] = {'#', '#', '#'};
    EXPECT_EQ(n + 1, GetWindowsDirectoryA(tiny, sizeof tiny)) << "too small: the room needed";

    n = GetSystemDirectoryA(buffer, sizeof buffer);
    ASSERT_GT(n, 0u);
    EXPECT_TRUE(GetFileAttributesA(buffer) & FILE_ATTRIBUTE_DIRECTORY);

    n = GetTempPathA(sizeof buffer, buffer);
    ASSERT_GT(n, 0u);
    EXPECT_EQ('\\', buffer[n - 1]);

    n = GetModuleFileNameA(0, buffer, sizeof buffer);
    ASSERT_GT(n, 3u);
    EXPECT_EQ(':', buffer[1]);

    EXPECT_TRUE(GetLogicalDrives() & (1u << 2));
    EXPECT_NE((UINT)DRIVE_UNKNOWN, GetDriveTypeA("C:\\"));
    EXPECT_NE((UINT)DRIVE_NO_ROOT_DIR, GetDriveTypeA("C:\\"));
    char current[MAX_PATH + 1];                          // "\" is the current drive's root
    ASSERT_EQ(3u, GetFullPathNameA("\\", sizeof current, current, 0));
    EXPECT_NE((UINT)DRIVE_NO_ROOT_DIR, GetDriveTypeA(current));
    EXPECT_EQ(GetDriveTypeA(current), GetDriveTypeA("\\")) << current;
    for (char d = 'Z'; d > 'C'; d--) {
        if (GetLogicalDrives() & (1u << (d - 'A')))
            continue;
        char root[] = {d, ':', '\\', 0};
        EXPECT_EQ((UINT)DRIVE_NO_ROOT_DIR, GetDriveTypeA(root)) << root;
        break;
    }
}

TEST(Kernel32, FullPathOfADriveIsItsCurrentDirectory)
{
    Scratch s;
    char buffer[MAX_PATH + 1];
    DWORD n = GetFullPathNameA("C:", sizeof buffer, buffer, 0);
    ASSERT_GT(n, 2u);
    ASSERT_LT(n, sizeof buffer);
    EXPECT_EQ('C', buffer[0] & ~0x20);
    EXPECT_EQ(':', buffer[1]);
    EXPECT_EQ('\\', buffer[2]);
    EXPECT_EQ(n, strlen(buffer));
}

TEST(Kernel32, OpenFileSearchesABareNameInTheModuleDirectoryFirst)
{
    Scratch s;
    char module[MAX_PATH + 1];
    GetModuleFileNameA(0, module, sizeof module);
    std::string directory(module, strrchr(module, '\\') + 1);
    std::string name = "vt_search_probe.txt";
    std::string path = directory + name;
    OFSTRUCT info;
    HFILE h = OpenFile(path.c_str(), &info, OF_CREATE | OF_WRITE);
    ASSERT_NE(HFILE_ERROR, h) << path;
    _lwrite(h, "found", 5);
    _lclose(h);
    h = OpenFile(name.c_str(), &info, OF_READ);
    EXPECT_NE(HFILE_ERROR, h);
    char buffer[8] = {0};
    if (h != HFILE_ERROR) {
        _lread(h, buffer, 5);
        _lclose(h);
    }
    EXPECT_STREQ("found", buffer);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// OpenFile's record holds 127 characters of path; _lopen and _lcreat take
// longer paths, which FileIO falls back on.
TEST(Kernel32, OpenFileRefusesLongNamesThatLopenAndLcreatTake)
{
    Scratch s;
    const std::string level(60, 'd');
    s.MakeDir(level.c_str());
    s.MakeDir((level + "\\" + level).c_str());
    std::string file = s.Path((level + "\\" + level + "\\deep.txt").c_str());
    ASSERT_GE(file.size(), (size_t)OFS_MAXPATHNAME);

    OFSTRUCT info;
    EXPECT_EQ(HFILE_ERROR, OpenFile(file.c_str(), &info, OF_CREATE | OF_WRITE));
    HFILE h = _lcreat(file.c_str(), 0);
    ASSERT_NE(HFILE_ERROR, h);
    EXPECT_EQ(4u, _lwrite(h, "deep", 4));
    _lclose(h);
    h = _lopen(file.c_str(), OF_READ);
    ASSERT_NE(HFILE_ERROR, h);
    char buffer[8] = {0};
    EXPECT_EQ(4u, _lread(h, buffer, sizeof buffer));
    EXPECT_STREQ("deep", buffer);
    _lclose(h);
    EXPECT_TRUE(DeleteFileA(file.c_str()));
}

// A profile is saved into a new file that then replaces the old one.
TEST(Kernel32, CreateNewOnlyOnAFreeNameAndMoveReplacingAFile)
{
    Scratch s;
    std::string made = s.Path("made"), old = s.Path("old");
    HANDLE h = CreateFileA(made.c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    HFILE file = (HFILE)(INT_PTR)h;                      // the _l* calls take the handle
    EXPECT_EQ(3u, _lwrite(file, "new", 3));
    EXPECT_EQ(0, _lclose(file));
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              CreateFileA(made.c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0));
    EXPECT_EQ("new", s.Read("made"));

    s.Write("old", "old");
    EXPECT_FALSE(MoveFileExA(made.c_str(), old.c_str(), 0)) << "replaced without being asked to";
    EXPECT_EQ("old", s.Read("old"));
    s.MakeDir("dir");
    EXPECT_FALSE(MoveFileExA(made.c_str(), s.Path("dir").c_str(), MOVEFILE_REPLACE_EXISTING))
        << "replaced a directory";
    EXPECT_TRUE(MoveFileExA(made.c_str(), old.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ("new", s.Read("old"));
    EXPECT_FALSE(s.Exists("made"));
}
