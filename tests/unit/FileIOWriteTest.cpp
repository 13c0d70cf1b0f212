// Writing with FileIO: the exact bytes in the file and when they get there.
#include <gtest/gtest.h>
#include <string>
#include "FileIO.h"
#include "Scratch.h"

TEST(FileIOWrite, ShortTextsAreCollectedAndWrittenInOrder)
{
    Scratch s;
    {
        FileIO file(s.Path("out.txt").c_str(), OF_CREATE | OF_WRITE);
        ASSERT_EQ(1, file.IsOpen());
        file << "abc" << "abc";
        file.Write("abc");
        EXPECT_EQ("", s.Read("out.txt")) << "nothing reaches the file before the buffer is full";
    }
    EXPECT_EQ("abcabcabc", s.Read("out.txt"));
}

TEST(FileIOWrite, FullBufferIsWrittenBeforeTheTextThatOverflowsIt)
{
    Scratch s;
    const std::string first(2000, 'a'), second(100, 'b');
    {
        FileIO file(s.Path("out.txt").c_str(), OF_CREATE | OF_WRITE);
        file << first.c_str();
        EXPECT_EQ("", s.Read("out.txt"));
        file << second.c_str();
        EXPECT_EQ(first, s.Read("out.txt")) << "the 100 bytes stay in the buffer";
    }
    EXPECT_EQ(first + second, s.Read("out.txt"));
}

TEST(FileIOWrite, BufferHoldsAtMost2047Bytes)
{
    Scratch s;
    const std::string fits(2047, 'a');
    {
        FileIO file(s.Path("out.txt").c_str(), OF_CREATE | OF_WRITE);
        file << fits.c_str();
        EXPECT_EQ("", s.Read("out.txt"));
        file << "b";
        EXPECT_EQ(fits, s.Read("out.txt"));
    }
    EXPECT_EQ(fits + "b", s.Read("out.txt"));
}

TEST(FileIOWrite, LongTextPassesStraightThroughAfterTheBufferedBytes)
{
    Scratch s;
    const std::string big(3000, 'x');
    {
        FileIO file(s.Path("out.txt").c_str(), OF_CREATE | OF_WRITE);
        file << "abc" << big.c_str();
        EXPECT_EQ("abc" + big, s.Read("out.txt"));
        file << "tail";
        EXPECT_EQ(1, file.Close()) << "every byte reached the file";
        EXPECT_EQ(0, file.Close()) << "closed twice";
    }
    EXPECT_EQ("abc" + big + "tail", s.Read("out.txt"));
}

TEST(FileIOWrite, CreatingWithoutWritingTruncates)
{
    Scratch s;
    s.Write("out.txt", "old content");
    {
        FileIO file(s.Path("out.txt").c_str(), OF_CREATE | OF_WRITE);
        EXPECT_EQ(1, file.IsOpen());
    }
    EXPECT_TRUE(s.Exists("out.txt"));
    EXPECT_EQ("", s.Read("out.txt"));
}

TEST(FileIOWrite, MissingDirectoryLosesTheTextAndCloseSaysSo)
{
    Scratch s;
    {
        FileIO file(s.Path("nodir\\out.txt").c_str(), OF_CREATE | OF_WRITE);
        EXPECT_EQ(0, file.IsOpen());
        file << "abc" << std::string(3000, 'x').c_str();
        EXPECT_EQ(0, file.Close());
    }
    EXPECT_FALSE(s.Exists("nodir\\out.txt"));
}

#ifndef _WIN32
// Only on Linux: the stand-in layer fills the disk on request.
TEST(FileIOWrite, ShortWriteIsAFailure)
{
    Scratch s;
    struct Row { long room; size_t length; } rows[] = {
        {2, 3},          // the last flush, at Close, is cut short
        {2000, 3000},    // a text written straight through is cut short
        {0, 3000},       // nothing fits
    };
    for (const Row &row : rows) {
        HostSetDiskRoom(row.room);
        FileIO file(s.Path("out.txt").c_str(), OF_CREATE | OF_WRITE);
        ASSERT_EQ(1, file.IsOpen());
        file << std::string(row.length, 'x').c_str();
        EXPECT_EQ(0, file.Close()) << "room " << row.room;
        EXPECT_EQ((size_t)row.room, s.Read("out.txt").size()) << "room " << row.room;
    }
    HostSetDiskRoom(-1);
}
#endif

// A deep installation directory must still get its settings file: a path
// longer than OpenFile's record is written and read back all the same.
TEST(FileIOWrite, PathLongerThanOpenFileTakesIsWrittenAndRead)
{
    Scratch s;
    const std::string level(60, 'p');
    s.MakeDir(level.c_str());
    s.MakeDir((level + "\\" + level).c_str());
    std::string path = s.Path((level + "\\" + level + "\\Pellino.exe.ini").c_str());
    ASSERT_GE(path.size(), (size_t)OFS_MAXPATHNAME);
    {
        FileIO file(path.c_str(), OF_CREATE | OF_WRITE);
        ASSERT_EQ(1, file.IsOpen());
        file << "[DeInstall]\r\n" << "x\r\n";
    }
    FileIO file(path.c_str(), OF_READ);
    ASSERT_EQ(1, file.IsOpen());
    EXPECT_STREQ("[DeInstall]", file.ReadLine());
    EXPECT_STREQ("x", file.ReadLine());
    EXPECT_STREQ("", file.ReadLine());
    EXPECT_EQ(1, file.Eof());
}
