// Payload extraction, shell links and the shell's copy and delete, against
// the real platform (run under Wine).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <string>
#include "Hardening.h"
#include "TFileSys.h"
#include "Scratch.h"
#include "ShellTestResources.h"

namespace {

std::string ReadAll(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char chunk[512];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void WriteAll(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD done = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &done, NULL);
    CloseHandle(file);
}

bool Present(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The Unix form of a Windows path, quoted, by Wine's own mapping.
std::string UnixPath(const std::string &path)
{
    typedef char *(CDECL * ToUnix)(LPCWSTR);
    ToUnix toUnix = (ToUnix)(void *)GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                   "wine_get_unix_file_name");
    std::wstring wide(path.begin(), path.end());   // the tests' paths are ASCII
    char *mapped = toUnix ? toUnix(wide.c_str()) : NULL;
    return "\"" + std::string(mapped ? mapped : "") + "\"";
}

// Runs a Unix command line through Wine, which hands back no process to
// wait for, then waits until path is a link (link true) or is none.
bool RunUnix(const std::string &command, const std::string &path, bool link)
{
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process;
    std::string line = command;
    if (CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &start, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (int tries = 0; tries < 200; tries++, Sleep(50)) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (link == (attributes != INVALID_FILE_ATTRIBUTES &&
                     (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0))
            return true;
    }
    return false;
}

// What a link file says about itself, read through IShellLinkA.
struct LinkFacts {
    HRESULT loaded;
    std::string target, description, workingDirectory, arguments;
};

LinkFacts ReadLink(const std::string &linkFile)
{
    LinkFacts facts;
    facts.loaded = E_FAIL;
    CoInitialize(NULL);
    IShellLinkA *link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   (void **)&link))) {
        IPersistFile *persist = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&persist))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH);
            facts.loaded = persist->Load(wide, STGM_READ);
            persist->Release();
        }
        char text[MAX_PATH];
        text[0] = '\0';
        link->GetPath(text, MAX_PATH, NULL, SLGP_RAWPATH);
        facts.target = text;
        text[0] = '\0';
        link->GetDescription(text, MAX_PATH);
        facts.description = text;
        text[0] = '\0';
        link->GetWorkingDirectory(text, MAX_PATH);
        facts.workingDirectory = text;
        text[0] = '\0';
        link->GetArguments(text, MAX_PATH);
        facts.arguments = text;
        link->Release();
    }
    CoUninitialize();
    return facts;
}

class Shell : public ::testing::Test {
protected:
    Scratch scratch;
    TFileSys fs{GetModuleHandleA(NULL)};
};

TEST_F(Shell, ExtractResourceWritesTheBytesExactlyInBothForms)
{
    std::string named = scratch.Path("named.bin");
    EXPECT_EQ(1, fs.ExtractResource("INSTALL_FILE", TEST_PAYLOAD_ID, named.c_str()));
    EXPECT_EQ(std::string(testPayload, TEST_PAYLOAD_SIZE), ReadAll(named));

    std::string numbered = scratch.Path("numbered.bin");
    EXPECT_EQ(1, fs.ExtractResource(TEST_NUMBERED_TYPE, TEST_NUMBERED_ID, numbered.c_str()));
    EXPECT_EQ(std::string(testNumbered), ReadAll(numbered));
}

TEST_F(Shell, ExtractResourceOfAMissingIdentifierOrTypeMakesNoFile)
{
    std::string file = scratch.Path("missing.bin");
    EXPECT_EQ(0, fs.ExtractResource("INSTALL_FILE", 4711, file.c_str()));
    EXPECT_EQ(0, fs.ExtractResource("NO_SUCH_TYPE", TEST_PAYLOAD_ID, file.c_str()));
    EXPECT_EQ(0, fs.ExtractResource(301, TEST_NUMBERED_ID, file.c_str()));
    EXPECT_FALSE(Present(file));
}

TEST_F(Shell, ExtractResourceReplacesALongerFileEntirely)
{
    std::string file = scratch.Path("old.bin");
    WriteAll(file, std::string(4000, 'x'));
    EXPECT_EQ(1, fs.ExtractResource("INSTALL_FILE", TEST_PAYLOAD_ID, file.c_str()));
    EXPECT_EQ(std::string(testPayload, TEST_PAYLOAD_SIZE), ReadAll(file));

    // A name planted as a hard link to a file elsewhere is replaced, not
    // written through: the other file keeps its bytes.
    std::string other = scratch.Path("other.txt"), link = scratch.Path("link.bin");
    WriteAll(other, "someone else's");
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), other.c_str(), NULL));
    EXPECT_EQ(1, fs.ExtractResource("INSTALL_FILE", TEST_PAYLOAD_ID, link.c_str()));
    EXPECT_EQ(std::string(testPayload, TEST_PAYLOAD_SIZE), ReadAll(link));
    EXPECT_EQ("someone else's", ReadAll(other));
}

TEST_F(Shell, ExtractResourceIntoAMissingDirectoryFails)
{
    std::string file = scratch.Path("no such dir\\x.bin");
    EXPECT_EQ(0, fs.ExtractResource("INSTALL_FILE", TEST_PAYLOAD_ID, file.c_str()));
    EXPECT_FALSE(Present(file));
}

// The installation directory may be far longer than the 128 characters of
// the old file record; the file must still be written.
TEST_F(Shell, ExtractResourceIntoALongPath)
{
    std::string directory = scratch.Path(std::string(60, 'd').c_str()) + "\\" + std::string(60, 'e');
    ASSERT_TRUE(CreateDirectoryA(scratch.Path(std::string(60, 'd').c_str()).c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), NULL));
    std::string file = directory + "\\" + std::string(40, 'f') + ".bin";
    ASSERT_GT(file.size(), 180u);
    EXPECT_EQ(1, fs.ExtractResource("INSTALL_FILE", TEST_PAYLOAD_ID, file.c_str()));
    EXPECT_EQ(std::string(testPayload, TEST_PAYLOAD_SIZE), ReadAll(file));
}

TEST_F(Shell, ExtractResourceKeepsTheCursorItFound)
{
    HCURSOR before = SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_CROSS));
    std::string file = scratch.Path("cursor.bin");
    fs.ExtractResource("INSTALL_FILE", TEST_PAYLOAD_ID, file.c_str());
    EXPECT_EQ(LoadCursorA(NULL, (LPCSTR)IDC_CROSS), GetCursor());
    SetCursor(before);
}

TEST_F(Shell, CreateShellLinkReplacesAFileWithALinkOfTargetAndDescriptionOnly)
{
    std::string target = scratch.Path("Pellino.exe");
    WriteAll(target, "MZ");
    std::string linkFile = scratch.Path("Veltrano 1.0.lnk");
    WriteAll(linkFile, std::string(3000, 'z'));   // an old file in the way

    EXPECT_EQ(S_OK, fs.CreateShellLink(target.c_str(), linkFile.c_str(), "Veltrano 1.0"));
    LinkFacts facts = ReadLink(linkFile);
    EXPECT_EQ(S_OK, facts.loaded);
    EXPECT_STRCASEEQ(target.c_str(), facts.target.c_str());
    EXPECT_EQ("Veltrano 1.0", facts.description);
    EXPECT_EQ("", facts.workingDirectory);
    EXPECT_EQ("", facts.arguments);
    // ShellLinkTarget reads the same target back; not from a file that is
    // no link, and not into a buffer too small for it.
    char read[MAX_PATH];
    EXPECT_EQ(1, fs.ShellLinkTarget(linkFile.c_str(), read, sizeof read));
    EXPECT_STRCASEEQ(target.c_str(), read);
    EXPECT_EQ(0, fs.ShellLinkTarget(linkFile.c_str(), read, (unsigned)target.size()));
    EXPECT_STREQ("", read);
    EXPECT_EQ(0, fs.ShellLinkTarget(target.c_str(), read, sizeof read));

    // COM was released again: a second link in the same thread works too.
    std::string second = scratch.Path("Help.lnk");
    EXPECT_EQ(S_OK, fs.CreateShellLink(target.c_str(), second.c_str(), "Help"));
    EXPECT_EQ("Help", ReadLink(second).description);

    // A name planted as a hard link to a file elsewhere: the link replaces
    // the name, and that file keeps its bytes.
    std::string victim = scratch.Path("victim.txt");
    WriteAll(victim, "keep me");
    DeleteFileA(second.c_str());
    ASSERT_TRUE(CreateHardLinkA(second.c_str(), victim.c_str(), NULL));
    EXPECT_EQ(S_OK, fs.CreateShellLink(target.c_str(), second.c_str(), "Help"));
    EXPECT_EQ("keep me", ReadAll(victim));
}

// A folder swapped for a link to another (a Unix symbolic link, which Wine
// shows as a reparse point): neither the old link's removal nor the new
// one's write reaches the folder behind it.
TEST_F(Shell, CreateShellLinkWritesNothingBehindAFolderLink)
{
    std::string target = scratch.Path("Pellino.exe");
    scratch.MakeDir("elsewhere");
    scratch.Write("elsewhere\\Help.lnk", "keep me");
    std::string swapped = scratch.Path("group");
    ASSERT_TRUE(RunUnix("/bin/ln -sfn " + UnixPath(scratch.Path("elsewhere")) + " " +
                            UnixPath(swapped),
                        swapped, true));
    EXPECT_TRUE(FAILED(fs.CreateShellLink(target.c_str(), (swapped + "\\Help.lnk").c_str(), "Help")));
    EXPECT_TRUE(FAILED(fs.CreateShellLink(target.c_str(), (swapped + "\\New.lnk").c_str(), "New")));
    // Only the folder itself is held, never what a link leads to. (Wine
    // enforces no sharing on folders, so that a held one still moves there.)
    EXPECT_EQ(INVALID_HANDLE_VALUE, HoldFolder(swapped.c_str()));
    HANDLE held = HoldFolder(scratch.Path("elsewhere").c_str());
    EXPECT_NE(INVALID_HANDLE_VALUE, held);
    CloseHandle(held);
    EXPECT_EQ("keep me", scratch.Read("elsewhere\\Help.lnk"));
    EXPECT_FALSE(scratch.Exists("elsewhere\\New.lnk"));
    EXPECT_TRUE(RunUnix("/bin/rm -f " + UnixPath(swapped), swapped, false));
}

TEST_F(Shell, CreateShellLinkIntoAMissingDirectoryReportsFailure)
{
    std::string linkFile = scratch.Path("no such dir\\x.lnk");
    EXPECT_TRUE(FAILED(fs.CreateShellLink("C:\\x.exe", linkFile.c_str(), "x")));
    EXPECT_FALSE(Present(linkFile));
}

TEST_F(Shell, ShellCopyReplacesOnlyWhenAsked)
{
    std::string source = scratch.Path("source.txt");
    std::string destination = scratch.Path("destination.txt");
    WriteAll(source, "new content");

    fs.ShellCopy(destination.c_str(), source.c_str(), 0, NULL, "Copy");
    EXPECT_EQ("new content", ReadAll(destination));   // absent destination: copied

    WriteAll(destination, "old");
    fs.ShellCopy(destination.c_str(), source.c_str(), 0, NULL, "Copy");
    EXPECT_EQ("old", ReadAll(destination));           // replace 0: untouched

    fs.ShellCopy(destination.c_str(), source.c_str(), 1, NULL, "Copy");
    EXPECT_EQ("new content", ReadAll(destination));   // replace 1: copied over
    EXPECT_EQ("new content", ReadAll(source));
}

TEST_F(Shell, ShellDeleteRemovesWhatMatchesAndLeavesTheRest)
{
    std::string keep = scratch.Path("keep.txt");
    WriteAll(keep, "keep");
    WriteAll(scratch.Path("a.tmp"), "a");
    WriteAll(scratch.Path("b.tmp"), "b");

    fs.ShellDelete(scratch.Path("*.none").c_str(), NULL, "Delete");        // matches nothing
    fs.ShellDelete(scratch.Path("missing\\x.txt").c_str(), NULL, "Delete"); // not present
    EXPECT_TRUE(Present(scratch.Path("a.tmp")));
    EXPECT_TRUE(Present(keep));

    fs.ShellDelete(scratch.Path("*.tmp").c_str(), NULL, "Delete");
    EXPECT_FALSE(Present(scratch.Path("a.tmp")));
    EXPECT_FALSE(Present(scratch.Path("b.tmp")));
    EXPECT_EQ("keep", ReadAll(keep));
}

}  // namespace
