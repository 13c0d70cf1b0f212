// Reading lines with FileIO: line ends, empty and missing files, and the
// places where a line meets the edge of a 2048-byte block.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "FileIO.h"
#include "Scratch.h"

namespace {

typedef std::vector<std::string> Lines;

// Reads every line of path until Eof. Checks on the way that each line lies
// inside the object's buffer (or is the empty string), that no line is
// longer than a piece, and that "" with Eof 1 ends the file.
Lines ReadAll(const std::string &path)
{
    Lines lines;
    FileIO file(path.c_str(), OF_READ);
    EXPECT_EQ(1, file.IsOpen());
    for (int guard = 0; guard < 100 && !file.Eof(); guard++) {
        const char *line = file.ReadLine();
        if (file.Eof()) {
            EXPECT_STREQ("", line) << "the call that meets the end returns the empty string";
            break;
        }
        if (line[0] != '\0') {
            EXPECT_GE(line, file.buffer);
            EXPECT_LT(line, file.buffer + sizeof file.buffer);
        }
        EXPECT_LE(std::string(line).size(), (size_t)FILEIO_LINE);
        lines.push_back(line);
    }
    EXPECT_EQ(1, file.Eof());
    EXPECT_STREQ("", file.ReadLine()) << "reading on after the end";
    return lines;
}

std::string Repeat(char c, size_t n) { return std::string(n, c); }

// Shows long lines as "c x 2047" so that a failure stays readable.
std::string Describe(const Lines &lines)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string &l = lines[i];
        bool same = !l.empty() && l.find_first_not_of(l[0]) == std::string::npos;
        out += "[";
        out += same && l.size() > 8 ? std::string(1, l[0]) + " x " + std::to_string(l.size()) : l;
        out += "]";
    }
    return out;
}

struct ReadCase {
    const char *name;
    std::string bytes;
    Lines expected;
};

} // namespace

TEST(FileIORead, LinesComeBackWithoutTheirEnds)
{
    const std::string p2046 = Repeat('p', 2046) + "\r\n";   // next line starts at byte 2048
    const ReadCase cases[] = {
        {"empty file", "", {}},
        {"two lines", "a\r\nb\r\n", {"a", "b"}},
        {"last line without end", "a\r\nb", {"a", "b"}},
        {"empty lines are lines", "\r\n\r\nx\r\n", {"", "", "x"}},
        {"bare LF ends a line, nothing eaten", "ab\ncd\n\ne", {"ab", "cd", "", "e"}},
        {"bare LF as first byte", "\nx\r\n", {"", "x"}},
        {"CR not in front of LF stays", "a\rb\r\n", {"a\rb"}},
        {"CR at end of file stays", "a\r", {"a\r"}},
        {"CR LF split over blocks (CR byte 2048)",
         "x\r\n" + Repeat('y', 2044) + "\r\nz\r\n", {"x", Repeat('y', 2044), "z"}},
        {"bare LF first byte of second block", p2046 + "\nd", {Repeat('p', 2046), "", "d"}},
        {"2046 inside a block", "ab\r\n" + Repeat('c', 2046) + "\r\nd", {"ab", Repeat('c', 2046), "d"}},
        {"2047 inside a block", "ab\r\n" + Repeat('c', 2047) + "\r\nd", {"ab", Repeat('c', 2047), "d"}},
        {"2048 inside a block", "ab\r\n" + Repeat('c', 2048) + "\r\nd",
         {"ab", Repeat('c', 2047), "c", "d"}},
        {"3000 inside a block", "ab\r\n" + Repeat('c', 3000) + "\r\n",
         {"ab", Repeat('c', 2047), Repeat('c', 953)}},
        {"2046 at a block boundary", p2046 + Repeat('c', 2046) + "\r\nd",
         {Repeat('p', 2046), Repeat('c', 2046), "d"}},
        {"2047 at a block boundary", p2046 + Repeat('c', 2047) + "\r\nd",
         {Repeat('p', 2046), Repeat('c', 2047), "d"}},
        {"2048 at a block boundary", p2046 + Repeat('c', 2048) + "\r\nd",
         {Repeat('p', 2046), Repeat('c', 2047), "c", "d"}},
        {"3000 at a block boundary", p2046 + Repeat('c', 3000) + "\r\nd",
         {Repeat('p', 2046), Repeat('c', 2047), Repeat('c', 953), "d"}},
        {"2047 first in the file", Repeat('c', 2047) + "\r\nd", {Repeat('c', 2047), "d"}},
        {"2048 first in the file", Repeat('c', 2048) + "\r\n", {Repeat('c', 2047), "c"}},
        {"2048 bytes without line end", Repeat('c', 2048), {Repeat('c', 2047), "c"}},
        {"2047 then bare LF", Repeat('c', 2047) + "\nd", {Repeat('c', 2047), "d"}},
        {"2047 then a CR that is no line end", Repeat('c', 2047) + "\rx\r\n",
         {Repeat('c', 2047), "\rx"}},
        {"two pieces exactly, then an empty line", Repeat('c', 4094) + "\r\n\r\nd",
         {Repeat('c', 2047), Repeat('c', 2047), "", "d"}},
    };
    for (const ReadCase &c : cases) {
        Scratch s;
        s.Write("in.txt", c.bytes);
        Lines got = ReadAll(s.Path("in.txt"));
        EXPECT_EQ(Describe(c.expected), Describe(got)) << "case: " << c.name;
    }
}

TEST(FileIORead, MissingFileIsClosedAndAtItsEnd)
{
    Scratch s;
    FileIO file(s.Path("missing.txt").c_str(), OF_READ);
    EXPECT_EQ(0, file.IsOpen());
    EXPECT_EQ(HFILE_ERROR, file.handle);
    EXPECT_EQ(1, file.Eof());
    EXPECT_STREQ("", file.ReadLine());
}
