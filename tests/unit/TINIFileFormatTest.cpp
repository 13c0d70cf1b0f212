// The profile's file format: how lines load, and the exact bytes it saves.
#include <gtest/gtest.h>
#include <string>
#include "Scratch.h"
#include "TINIFile.h"
#include "Win32.h"
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// The whole content in one line: "[name]" per section in array order, then
// "{key|value}" per entry and "{text}" per text line.
std::string Dump(const TINIFile &ini)
{
    std::string out;
    for (unsigned s = 0; s < ini.sections->Count(); s++) {
        const section *item = ini.sections->At(s);
        out += std::string("[") + item->Chars() + "]";
        for (unsigned e = 0; e < item->entries.Count(); e++)
            out += std::string("{") + item->entries.At(e)->Chars() + "|" +
                   item->entries.At(e)->value.Chars() + "}";
        for (unsigned t = 0; t < item->texts.Count(); t++)
            out += std::string("{") + item->texts.At(t)->Chars() + "}";
    }
    return out;
}

struct LoadCase {
    const char *name;
    const char *bytes;
    int parseEntries;
    const char *content;   // Dump after loading
    const char *saved;     // file bytes after SetModified and destruction
};

} // namespace

TEST(TINIFileFormat, LoadingRulesAndTheBytesSavedAgain)
{
    const LoadCase cases[] = {
        {"mixed example", "x=1\r\n[A]\r\nk = v \r\n  ; note\r\n=5\r\n[B\r\nt\r\n", 1,
         "[A]{k |v}{; note}{t}", "[A]\r\nk =v\r\n; note\r\nt\r\n\r\n\r\n"},
        {"bracket inside a value starts a section", "[S]\r\nPath=C:\\[x]\\y\r\n", 1,
         "[S][x]", "[S]\r\n\r\n[x]\r\n\r\n\r\n"},
        {"only the first = splits", "[S]\r\na=b=c\r\n", 1, "[S]{a|b=c}", "[S]\r\na=b=c\r\n\r\n\r\n"},
        {"] in front of [", "[S]\r\n]a[ b] \r\n", 1, "[S][b]]", "[S]\r\n\r\n[b]]\r\n\r\n\r\n"},
        {"header trimmed", "[\t Spaced Name \t]\r\nv=1\r\n", 1, "[Spaced Name]{v|1}",
         "[Spaced Name]\r\nv=1\r\n\r\n\r\n"},
        {"empty value kept in memory, not saved", "[S]\r\nk=\r\nt\r\n", 1, "[S]{k|}{t}",
         "[S]\r\nt\r\n\r\n\r\n"},
        {"six blanks trimmed, 0xA0 is no blank", "[S]\r\n\t\v\fk\xA0=\xA0v \r\n", 1,
         "[S]{k\xA0|\xA0v}", "[S]\r\nk\xA0=\xA0v\r\n\r\n\r\n"},
        {"entries sorted in front of texts", "[S]\r\nz\r\nb=2\r\na=1\r\n", 1, "[S]{a|1}{b|2}{z}",
         "[S]\r\na=1\r\nb=2\r\nz\r\n\r\n\r\n"},
        {"repeated headers and keys kept", "[S]\r\nk=1\r\nk=2\r\n[s]\r\nx\r\n", 1,
         "[S]{k|1}{k|2}[s]{x}", "[S]\r\nk=1\r\nk=2\r\n\r\n[s]\r\nx\r\n\r\n\r\n"},
        {"empty section name", "[]\r\nt\r\n", 1, "[]{t}", "[]\r\nt\r\n\r\n\r\n"},
        {"without parsing entries", "[S]\r\nk=v\r\n", 0, "[S]{k=v}", "[S]\r\nk=v\r\n\r\n\r\n"},
        {"bare LF line ends", "[S]\nk=v\nt\n", 1, "[S]{k|v}{t}", "[S]\r\nk=v\r\nt\r\n\r\n\r\n"},
        {"nothing but stray lines", "a=1\r\nfree text\r\n[open\r\n", 1, "", "\r\n\r\n"},
    };
    for (const LoadCase &c : cases) {
        Scratch s;
        s.Write("p.ini", c.bytes);
        {
            TINIFile ini(s.Path("p.ini").c_str(), c.parseEntries);
            EXPECT_EQ(c.content, Dump(ini)) << "case: " << c.name;
            EXPECT_EQ(0, ini.modified) << "case: " << c.name;
            ini.SetModified();
        }
        EXPECT_EQ(c.saved, s.Read("p.ini")) << "case: " << c.name;
    }
}

TEST(TINIFileFormat, SavedFileIsSortedWithKeysBeforeTexts)
{
    Scratch s;
    {
        TINIFile ini(s.Path("Pellino.exe.ini").c_str(), 1);
        ini.SetValue("Settings", "ProxyPort", "8080");
        ini.SetValue("Settings", "DefaultPage", "C:\\Program Files\\Veltrano\\VeltranoHelp.htm");
        ini.PutText("DeInstall", "C:\\Program Files\\Veltrano\\Pellino.exe", 0x7FFFFFFF);
        ini.PutText("DeInstall", "C:\\Program Files\\Veltrano\\pellino.exe.ini", 0x7FFFFFFF);
        ini.SetValue("Settings", "Empty", "");
    }
    EXPECT_EQ("[DeInstall]\r\n"
              "C:\\Program Files\\Veltrano\\Pellino.exe\r\n"
              "C:\\Program Files\\Veltrano\\pellino.exe.ini\r\n"
              "\r\n"
              "[Settings]\r\n"
              "DefaultPage=C:\\Program Files\\Veltrano\\VeltranoHelp.htm\r\n"
              "ProxyPort=8080\r\n"
              "\r\n\r\n",
              s.Read("Pellino.exe.ini"));

    TINIFile again(s.Path("Pellino.exe.ini").c_str(), 1);
    EXPECT_EQ("[DeInstall]{C:\\Program Files\\Veltrano\\Pellino.exe}"
              "{C:\\Program Files\\Veltrano\\pellino.exe.ini}"
              "[Settings]{DefaultPage|C:\\Program Files\\Veltrano\\VeltranoHelp.htm}"
              "{ProxyPort|8080}",
              Dump(again));
    again.ClearModified();
}

TEST(TINIFileFormat, LineBreaksStayInsideTheirLine)
{
    Scratch s;
    {
        TINIFile ini(s.Path("p.ini").c_str(), 1);
        ini.SetValue("Settings", "ProxyServer", "h\r\n[DeInstall]\r\nC:\\victim.txt");
        ini.SetValue("Settings", "Key\nX", "1");
        ini.PutText("New\rSection", "line\nbreak", 0x7FFFFFFF);
    }
    EXPECT_EQ("[New Section]\r\nline break\r\n\r\n[Settings]\r\nKey X=1\r\n"
              "ProxyServer=h  [DeInstall]  C:\\victim.txt\r\n\r\n\r\n",
              s.Read("p.ini"));
    TINIFile again(s.Path("p.ini").c_str(), 1);
    EXPECT_EQ(0u, again.TextCount("DeInstall"));
    EXPECT_EQ(1u, again.TextCount("New Section"));
}

TEST(TINIFileFormat, SectionsSortCaseSensitively)
{
    Scratch s;
    {
        TINIFile ini(s.Path("p.ini").c_str(), 1);
        ini.PutText("b", "1", 0x7FFFFFFF);
        ini.PutText("A", "2", 0x7FFFFFFF);
        ini.PutText("C", "3", 0x7FFFFFFF);
    }
    EXPECT_EQ("[A]\r\n2\r\n\r\n[C]\r\n3\r\n\r\n[b]\r\n1\r\n\r\n\r\n", s.Read("p.ini"));
}

TEST(TINIFileFormat, FileIsWrittenOnlyWhenSomethingChanged)
{
    Scratch s;
    {
        TINIFile ini(s.Path("new.ini").c_str(), 1);
        EXPECT_STREQ("", ini.GetValue("S", "K", "").Text());
    }
    EXPECT_FALSE(s.Exists("new.ini")) << "an unchanged profile wrote a file";

    {
        TINIFile ini(s.Path("new.ini").c_str(), 1);
        ini.SetModified();
    }
    EXPECT_EQ("\r\n\r\n", s.Read("new.ini"));

    s.Write("keep.ini", "[S]\r\nk=v\r\n");
    {
        TINIFile ini(s.Path("keep.ini").c_str(), 1);
        ini.SetValue("S", "k", "changed");
        ini.ClearModified();
    }
    EXPECT_EQ("[S]\r\nk=v\r\n", s.Read("keep.ini")) << "ClearModified keeps the file unwritten";
}

// The setup program builds its profile before the directory exists.
TEST(TINIFileFormat, DirectoryMayAppearBeforeTheSave)
{
    Scratch s;
    {
        TINIFile ini(s.Path("later\\p.ini").c_str(), 1);
        ini.SetValue("S", "k", "v");
        s.MakeDir("later");
    }
    EXPECT_EQ("[S]\r\nk=v\r\n\r\n\r\n", s.Read("later\\p.ini"));

    TINIFile lost(s.Path("never\\p.ini").c_str(), 1);
    lost.SetValue("S", "k", "v");
    EXPECT_EQ(0, lost.Save());
    EXPECT_EQ(0, lost.modified) << "a failed save clears modified all the same";
    EXPECT_FALSE(s.Exists("never"));
}

// The new file is written beside the old one and replaces it only when it
// is whole; a planted file under the new file's name is not used.
TEST(TINIFileFormat, FailedSaveLeavesTheOldFileWhole)
{
    Scratch s;
    const std::string old = "[S]\r\nk=old\r\n";
    const std::string line(3000, 'q');     // longer than one buffer: written in parts
    const std::string saved = "[S]\r\nk=new\r\n" + line + "\r\n\r\n\r\n";
    s.Write("p.ini", old);
    TINIFile ini(s.Path("p.ini").c_str(), 1);
    ini.SetValue("S", "k", "new");
    ini.PutText("S", line.c_str(), 0x7FFFFFFF);

    s.Write("p.ini.new", "planted");
    ASSERT_TRUE(SetFileAttributesA(s.Path("p.ini.new").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, ini.Save()) << "the new file's name is taken";
    ASSERT_TRUE(SetFileAttributesA(s.Path("p.ini.new").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(old, s.Read("p.ini"));
    EXPECT_EQ("planted", s.Read("p.ini.new"));

#ifndef _WIN32
    HostSetDiskRoom(2500);                 // the disk fills up half-way
    ini.SetModified();
    EXPECT_EQ(0, ini.Save());
    HostSetDiskRoom(-1);
    EXPECT_EQ(old, s.Read("p.ini"));
    EXPECT_FALSE(s.Exists("p.ini.new"));
#endif

    s.Write("p.ini.new", "left over");     // by a save cut off half-way
    ini.SetModified();
    EXPECT_EQ(1, ini.Save());
    EXPECT_EQ(saved, s.Read("p.ini"));
    EXPECT_FALSE(s.Exists("p.ini.new"));
    EXPECT_EQ(1, ini.Save()) << "nothing to write";

    TINIFile blocked(s.Path("d.ini").c_str(), 1);
    s.MakeDir("d.ini");                    // a directory holds the name: the move fails
    blocked.SetValue("S", "k", "v");
    EXPECT_EQ(0, blocked.Save());
    EXPECT_FALSE(s.Exists("d.ini.new"));
}

#ifndef _WIN32
// Only on Linux: the links are made with the platform's own call.
TEST(TINIFileFormat, SaveWritesThroughNoLinkPlantedBesideIt)
{
    Scratch s;
    s.Write("victim.txt", "victim");
    char victim[512], settings[512], newFile[512];
    ASSERT_TRUE(HostMapPath(s.Path("victim.txt").c_str(), victim, sizeof victim));
    ASSERT_TRUE(HostMapPath(s.Path("p.ini").c_str(), settings, sizeof settings));
    ASSERT_TRUE(HostMapPath(s.Path("p.ini.new").c_str(), newFile, sizeof newFile));
    ASSERT_EQ(0, link(victim, settings));
    ASSERT_EQ(0, symlink(victim, newFile));
    {
        TINIFile ini(s.Path("p.ini").c_str(), 1);
        ini.SetValue("S", "k", "v");
        EXPECT_EQ(1, ini.Save());
    }
    EXPECT_EQ("victim", s.Read("victim.txt"));
    EXPECT_EQ("[S]\r\nk=v\r\n\r\n\r\n", s.Read("p.ini"));
    EXPECT_FALSE(s.Exists("p.ini.new"));
}
#endif

TEST(TINIFileFormat, LongLineComesBackInPieces)
{
    Scratch s;
    const std::string longText(3000, 'q');
    {
        TINIFile ini(s.Path("p.ini").c_str(), 1);
        ini.PutText("S", longText.c_str(), 0x7FFFFFFF);
    }
    TINIFile ini(s.Path("p.ini").c_str(), 1);
    ASSERT_EQ(2u, ini.TextCount("S"));
    EXPECT_EQ(std::string(2047, 'q'), ini.GetText("S", 0));
    EXPECT_EQ(std::string(953, 'q'), ini.GetText("S", 1));
}

// ReadsBackAsText answers what a real save and load of the line give.
TEST(TINIFileFormat, ReadsBackAsTextAgreesWithSaveAndLoad)
{
    const char *const texts[] = {
        "C:\\Program Files\\Veltrano\\Pellino.exe", "C:\\Tools\\A=B\\Veltrano",
        "C:\\Tools\\[x\\Veltrano", "C:\\Tools\\x]\\Veltrano", "C:\\[x]\\y", " C:\\lead",
        "C:\\trail ", "line\nbreak", "=C:\\x", "", "\xE4\xF6\xFC\\\xE8\xA1\xA8\\x",
    };
    for (const char *text : texts) {
        Scratch s;
        {
            TINIFile ini(s.Path("p.ini").c_str(), 1);
            ini.PutText("DeInstall", text, 0x7FFFFFFF);
        }
        TINIFile again(s.Path("p.ini").c_str(), 1);
        bool same = again.TextCount("DeInstall") == 1 &&
                    std::string(again.GetText("DeInstall", 0)) == text &&
                    again.SectionCount() == 1;
        EXPECT_EQ(same ? 1 : 0, TINIFile::ReadsBackAsText(text)) << "text: " << text;
    }
    EXPECT_EQ(0, TINIFile::ReadsBackAsText(nullptr));
}
