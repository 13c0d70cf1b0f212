#include <gtest/gtest.h>
#include <string.h>
#include "BoundedString.h"

// Canary-filled buffers: a write past the given size would change the canary.
struct Guarded {
    char bytes[16];
    Guarded() { memset(bytes, '#', sizeof bytes); }
    bool CanaryFrom(unsigned index) const {
        for (unsigned i = index; i < sizeof bytes; i++)
            if (bytes[i] != '#') return false;
        return true;
    }
};

TEST(BoundedString, CopyFitsExactlyTooSmallAndLarge)
{
    Guarded g;
    EXPECT_EQ(1, CopyBounded(g.bytes, "abcd", 5));   // exactly fitting
    EXPECT_STREQ("abcd", g.bytes);
    EXPECT_TRUE(g.CanaryFrom(5));

    Guarded s;
    EXPECT_EQ(0, CopyBounded(s.bytes, "abcdef", 4)); // too small: cut, terminated
    EXPECT_STREQ("abc", s.bytes);
    EXPECT_TRUE(s.CanaryFrom(4));

    Guarded l;
    EXPECT_EQ(1, CopyBounded(l.bytes, "ab", 12));    // large: rest untouched
    EXPECT_STREQ("ab", l.bytes);
    EXPECT_TRUE(l.CanaryFrom(3));

    Guarded z;
    EXPECT_EQ(0, CopyBounded(z.bytes, "ab", 0));     // no room at all: nothing written
    EXPECT_TRUE(z.CanaryFrom(0));
}

TEST(BoundedString, AppendCutsAtTheEndAndRepairsAnUnterminatedTarget)
{
    Guarded g;
    strcpy(g.bytes, "ab");
    EXPECT_EQ(1, AppendBounded(g.bytes, "cd", 5));
    EXPECT_STREQ("abcd", g.bytes);
    EXPECT_EQ(0, AppendBounded(g.bytes, "e", 5));
    EXPECT_STREQ("abcd", g.bytes);
    EXPECT_TRUE(g.CanaryFrom(5));

    Guarded u;                                      // no terminator within size
    EXPECT_EQ(0, AppendBounded(u.bytes, "x", 4));
    EXPECT_EQ(3u, strlen(u.bytes));
    EXPECT_TRUE(u.CanaryFrom(4));

    Guarded d;
    strcpy(d.bytes, "+");
    EXPECT_EQ(1, AppendDecimal(d.bytes, 0, 16));
    EXPECT_EQ(1, AppendDecimal(d.bytes, 4294967295u, 16));
    EXPECT_STREQ("+04294967295", d.bytes);
    EXPECT_EQ(0, AppendDecimal(d.bytes, 77, 14));     // cut like any append
    EXPECT_STREQ("+042949672957", d.bytes);
    EXPECT_TRUE(d.CanaryFrom(14));

    EXPECT_EQ(3u, LengthBounded("abc", 10));
    EXPECT_EQ(2u, LengthBounded("abc", 2));
}
