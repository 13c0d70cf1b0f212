// Querying and changing a profile in memory: lookups, values, text lines,
// deletion and renaming, and when the profile counts as modified.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "Scratch.h"
#include "TINIFile.h"

namespace {

// A profile on a scratch file that never writes it back.
struct Profile : public TINIFile {
    explicit Profile(const std::string &path) : TINIFile(path.c_str(), 1) {}
    ~Profile() { ClearModified(); }
    using TINIFile::FindSection;
};

} // namespace

TEST(TINIFileEdit, LookupsIgnoreCaseWhateverTheSortOrder)
{
    Scratch s;
    s.Write("p.ini", "[A]\r\nk=1\r\n[B]\r\nAlpha=a\r\nBeta=b\r\nGamma=c\r\n[C]\r\nt\r\n");
    Profile ini(s.Path("p.ini"));
    const char *names[] = {"A", "a", "B", "b", "C", "c"};
    for (const char *name : names)
        EXPECT_NE(nullptr, ini.FindSection(name)) << "section " << name;
    EXPECT_EQ(nullptr, ini.FindSection("D"));
    EXPECT_EQ(nullptr, ini.FindSection(""));
    const char *keys[] = {"alpha", "BETA", "gamma", "Gamma"};
    for (const char *key : keys)
        EXPECT_NE(std::string("-"), ini.GetValue("b", key, "-").Text()) << "key " << key;
    EXPECT_STREQ("-", ini.GetValue("B", "delta", "-").Text());
    EXPECT_EQ(1u, ini.TextCount("c"));
    // Equality ignores ASCII letters only: 0xC4 and 0xE4 differ.
    ini.PutText("\xC4", "x", 0x7FFFFFFF);
    EXPECT_EQ(nullptr, ini.FindSection("\xE4"));
}

TEST(TINIFileEdit, RepeatedNamesFindTheFirstInTheFile)
{
    Scratch s;
    s.Write("p.ini", "[S]\r\nk=1\r\nk=2\r\nt1\r\n[S]\r\nt2\r\n");
    Profile ini(s.Path("p.ini"));
    EXPECT_EQ(2u, ini.SectionCount());
    EXPECT_STREQ("1", ini.GetValue("S", "k", "").Text());
    EXPECT_STREQ("t1", ini.GetText("s", 0));
}

TEST(TINIFileEdit, GetValueReturnsTheStoredValueOrTheDefault)
{
    Scratch s;
    Profile ini(s.Path("p.ini"));
    ini.SetValue("S", "k", "stored");
    TStringData found = ini.GetValue("S", "K", "default");
    EXPECT_STREQ("stored", found.text.Chars());
    EXPECT_STREQ("stored", found.chars);
    EXPECT_STREQ("default", ini.GetValue("S", "other", "default").Text());
    EXPECT_STREQ("default", ini.GetValue("T", "k", "default").Text());
}

TEST(TINIFileEdit, SetValueMarksOnlyRealChanges)
{
    Scratch s;
    s.Write("p.ini", "[S]\r\nk=Value\r\n");
    Profile ini(s.Path("p.ini"));
    ini.SetValue("S", "k", "Value");
    EXPECT_EQ(0, ini.modified) << "same value";
    ini.SetValue("s", "K", "Value");
    EXPECT_EQ(0, ini.modified) << "same value under other spelling of the names";
    ini.SetValue("S", "k", "value");
    EXPECT_EQ(1, ini.modified) << "other letter case is a change";
    EXPECT_STREQ("value", ini.GetValue("S", "k", "").Text());

    ini.ClearModified();
    TStringData kept("other");
    ini.AddValue("S", "k", kept);
    EXPECT_EQ(0, ini.modified);
    EXPECT_STREQ("value", ini.GetValue("S", "k", "").Text());
    ini.AddValue("S", "new", kept);
    EXPECT_EQ(1, ini.modified);
    EXPECT_STREQ("other", ini.GetValue("S", "new", "").Text());
    EXPECT_EQ(2u, ini.KeyCount("S"));
}

TEST(TINIFileEdit, EmptyValueIsStoredButNotSaved)
{
    Scratch s;
    {
        TINIFile ini(s.Path("p.ini").c_str(), 1);
        ini.SetValue("S", "K", "");
        EXPECT_EQ(1, ini.modified);
        EXPECT_EQ(1u, ini.KeyCount("S"));
    }
    EXPECT_EQ("[S]\r\n\r\n\r\n", s.Read("p.ini"));
    Profile again(s.Path("p.ini"));
    EXPECT_EQ(0u, again.KeyCount("S"));
    EXPECT_STREQ("absent", again.GetValue("S", "K", "absent").Text());
}

TEST(TINIFileEdit, PutTextAppendsReplacesAndSkipsEqualLines)
{
    Scratch s;
    Profile ini(s.Path("p.ini"));
    ini.PutText("DeInstall", "c:\\x\\a.exe", 0x7FFFFFFF);
    ini.PutText("DeInstall", "b", 0x7FFFFFFF);
    ini.ClearModified();

    ini.PutText("DeInstall", "C:\\X\\A.EXE", 0x7FFFFFFF);
    EXPECT_EQ(2u, ini.TextCount("DeInstall")) << "an equal line ignoring case";
    EXPECT_EQ(0, ini.modified);

    ini.PutText("DeInstall", "c", 2);       // at the count: appended
    ini.PutText("DeInstall", "d", 100);     // beyond: appended
    ini.PutText("DeInstall", "B2", 1);      // inside: replaces "b"
    EXPECT_EQ(1, ini.modified);
    const char *expected[] = {"c:\\x\\a.exe", "B2", "c", "d"};
    ASSERT_EQ(4u, ini.TextCount("DeInstall"));
    for (unsigned i = 0; i < 4; i++)
        EXPECT_STREQ(expected[i], ini.GetText("DeInstall", i)) << "line " << i;
}

TEST(TINIFileEdit, PutTextReplacesTheFirstOfEqualLines)
{
    Scratch s;
    s.Write("p.ini", "[S]\r\nx\r\ny\r\nX\r\n");
    Profile ini(s.Path("p.ini"));
    ini.PutText("S", "z", 2);   // line 2 is "X", equal to line 0: line 0 goes
    ASSERT_EQ(3u, ini.TextCount("S"));
    EXPECT_STREQ("z", ini.GetText("S", 0));
    EXPECT_STREQ("y", ini.GetText("S", 1));
    EXPECT_STREQ("X", ini.GetText("S", 2));
}

TEST(TINIFileEdit, IndexesBeyondTheEndGiveTheLastOrNothing)
{
    Scratch s;
    s.Write("p.ini", "[S]\r\nb=2\r\na=1\r\nt1\r\nt2\r\n[Keys]\r\nk=v\r\n[Texts]\r\nt\r\n");
    Profile ini(s.Path("p.ini"));
    EXPECT_STREQ("a", ini.GetKey("S", 0));
    EXPECT_STREQ("b", ini.GetKey("S", 2));
    EXPECT_STREQ("t1", ini.GetText("S", 0));
    EXPECT_STREQ("t2", ini.GetText("S", 7));
    EXPECT_STREQ("", ini.GetText("Missing", 0));
    EXPECT_STREQ("", ini.GetKey("Missing", 0));
    EXPECT_STREQ("", ini.GetText("Keys", 0)) << "a section without text lines";
    EXPECT_STREQ("", ini.GetKey("Texts", 0)) << "a section without entries";
    EXPECT_EQ(0u, ini.TextCount("Missing"));
    EXPECT_EQ(0u, ini.KeyCount("Missing"));
    EXPECT_STREQ("Keys", ini.SectionName(0));
    EXPECT_STREQ("Texts", ini.SectionName(2));
    EXPECT_STREQ("Falscher Index", ini.SectionName(3));
}

TEST(TINIFileEdit, DeletingTheLastItemRemovesTheSection)
{
    Scratch s;
    s.Write("p.ini", "[Keys]\r\nk=v\r\n[Mixed]\r\nk=v\r\nt\r\n[Texts]\r\na\r\nb\r\nA\r\n");
    Profile ini(s.Path("p.ini"));

    ini.DeleteKey("Keys", "missing");
    ini.DeleteText("Texts", "missing");
    ini.DeleteTextAt("Texts", 3);
    ini.DeleteSection("Missing");
    EXPECT_EQ(0, ini.modified) << "deleting nothing changes nothing";

    ini.DeleteKey("keys", "K");
    EXPECT_EQ(1, ini.modified);
    EXPECT_EQ(nullptr, ini.FindSection("Keys"));
    ini.DeleteKey("Mixed", "k");
    EXPECT_NE(nullptr, ini.FindSection("Mixed")) << "a text line keeps it";
    ini.DeleteText("Mixed", "T");
    EXPECT_EQ(nullptr, ini.FindSection("Mixed"));

    ini.DeleteTextAt("Texts", 2);   // "A" equals "a": the first of them goes
    ASSERT_EQ(2u, ini.TextCount("Texts"));
    EXPECT_STREQ("b", ini.GetText("Texts", 0));
    EXPECT_STREQ("A", ini.GetText("Texts", 1));
    ini.DeleteTextAt("Texts", 0);
    ini.DeleteTextAt("Texts", 0);
    EXPECT_EQ(0u, ini.SectionCount());
}

TEST(TINIFileEdit, DeletedSectionIsNoLongerSaved)
{
    Scratch s;
    s.Write("p.ini", "[A]\r\nk=v\r\n[B]\r\nt\r\n");
    {
        TINIFile ini(s.Path("p.ini").c_str(), 1);
        ini.DeleteKey("A", "k");
    }
    EXPECT_EQ("[B]\r\nt\r\n\r\n\r\n", s.Read("p.ini"));
    {
        TINIFile ini(s.Path("p.ini").c_str(), 1);
        ini.DeleteSection("b");
    }
    EXPECT_EQ("\r\n\r\n", s.Read("p.ini"));
}

TEST(TINIFileEdit, RenameSectionMovesItToItsSortedPlace)
{
    Scratch s;
    s.Write("p.ini", "[Beta]\r\nb\r\n[Zeta]\r\nk=v\r\nz\r\n");
    Profile ini(s.Path("p.ini"));
    EXPECT_EQ(0, ini.RenameSection("Zeta", "BETA"));
    EXPECT_EQ(1, ini.RenameSection("Missing", "Other"));
    EXPECT_EQ(0, ini.modified) << "a refused or empty rename changes nothing";
    EXPECT_STREQ("Beta", ini.SectionName(0));

    EXPECT_EQ(1, ini.RenameSection("zeta", "Alpha"));
    EXPECT_EQ(1, ini.modified);
    EXPECT_STREQ("Alpha", ini.SectionName(0));
    EXPECT_STREQ("Beta", ini.SectionName(1));
    EXPECT_STREQ("v", ini.GetValue("Alpha", "k", "").Text());
    EXPECT_STREQ("z", ini.GetText("Alpha", 0));
    EXPECT_EQ(nullptr, ini.FindSection("Zeta"));
}

TEST(TINIFileEdit, ManyItemsStaySortedAsTheArraysGrow)
{
    Scratch s;
    Profile ini(s.Path("p.ini"));
    for (int i = 99; i >= 0; i--) {
        char name[8];
        snprintf(name, sizeof name, "s%02d", i);
        ini.SetValue(name, name, "v");
        ini.PutText("texts", name, 0x7FFFFFFF);
        ini.SetValue("keys", name, name);
    }
    ASSERT_EQ(102u, ini.SectionCount());
    for (unsigned i = 0; i + 1 < ini.SectionCount(); i++)
        EXPECT_LT(std::string(ini.SectionName(i)), std::string(ini.SectionName(i + 1)));
    ASSERT_EQ(100u, ini.KeyCount("keys"));
    EXPECT_STREQ("s00", ini.GetKey("keys", 0));
    EXPECT_STREQ("s99", ini.GetKey("keys", 99));
    EXPECT_STREQ("s57", ini.GetValue("keys", "S57", "").Text());
    EXPECT_STREQ("s99", ini.GetText("texts", 0)) << "texts keep insertion order";
    EXPECT_STREQ("s00", ini.GetText("texts", 99));
}
