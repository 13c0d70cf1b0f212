// What the uninstaller removes, what it leaves, and the batch file it writes.
#include "uninstall_layout.h"

#include <shlobj.h>
#include <string.h>

using namespace robot;

namespace {

bool Exists(const std::string &path) { return FileExists(path) || DirectoryExists(path); }

// Checks that every listed item except those in keep is gone.
void CheckListedGone(const Installation &in, const std::vector<std::string> &keep = {})
{
    for (const std::string &item : in.listed) {
        bool kept = false;
        for (const std::string &k : keep)
            kept = kept || item == k;
        if (item == in.exe || kept)
            continue;   // the exe goes with the batch file
        CHECK(!Exists(item), "listed item removed: %s", item.c_str());
    }
}

void CheckEntryGone()
{
    CHECK(!RegValueExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "DisplayName"),
          "DisplayName deleted");
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY), "uninstall key deleted");
}

// Whether text holds path, case ignored: the uninstaller names its items by
// the path the system gives for its own file.
bool Names(std::string text, std::string path)
{
    CharUpperA(&text[0]);
    CharUpperA(&path[0]);
    return text.find(path) != std::string::npos;
}

// After a run that left something of ours: the closing box names it and how
// to finish, and the entry, the settings file and the uninstaller stay, so
// that a second run can.
void CheckRemains(const Installation &in, const std::string &box, const std::string &item)
{
    CHECK(Names(box, item) && box.find("run the removal again") != std::string::npos,
          "the box names %s and says how to finish: %s", item.c_str(), Show(box).c_str());
    CHECK(FileExists(item), "still there: %s", item.c_str());
    std::string data;
    CHECK(RegReadString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "UninstallString", &data) &&
              data == "\"" + in.exe + "\"",
          "uninstall entry stays");
    CHECK(FileExists(in.settingsFile) && FileExists(in.exe), "settings file and _purgel.exe stay");
    CHECK(BatchFolders().empty(), "no batch file written");
}

// After a second, finishing run: nothing of the installation is left.
void CheckFinished(const Installation &in)
{
    CheckEntryGone();
    CheckListedGone(in);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!FileExists(in.exe) && !DirectoryExists(in.directory), "_purgel.exe and directory gone");
}

// The settings file as the list names it.
std::string ListedSettings(const Installation &in) { return in.directory + "\\pellino.exe.ini"; }

}  // namespace

ROBOT_SCENARIO(no_changes_nothing)
{
    Installation in = LayOut("no_changes_nothing", LayoutOptions());
    DdeListener application("Veltrano stand-in");
    CHECK_EQ(RunUninstaller(in, in.directory, IDNO, Answering::Keyboard), 1L);
    for (const std::string &item : in.listed)
        CHECK(Exists(item), "still there: %s", item.c_str());
    std::string data;
    CHECK(RegReadString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "UninstallString", &data) &&
              data == "\"" + in.exe + "\"",
          "uninstall entry unchanged");
    CHECK(BatchFolders().empty(), "no batch file written");
    CHECK(application.Initiations().empty(), "no broadcast after No");

    // Yes, with a folder above the directory that everyone may change: what
    // the removal deleted by path there could be anyone's, so it removes
    // nothing, itself and its entry included, and names the folder.
    REQUIRE(OpenToEveryone(in.root), "%s is open to everyone", in.root.c_str());
    std::string box;
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES, Answering::Buttons, &box), 1L);
    CHECK_EQ(box, "Veltrano was not removed. Other users could rename or change this folder, so "
                  "that what the removal deletes there could be theirs:\n\n" + in.root +
                      "\n\nAllow only administrators to change it, then run the removal again.");
    for (const std::string &item : in.listed)
        CHECK(Exists(item), "still there: %s", item.c_str());
    CHECK(RegValueExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "UninstallString"),
          "uninstall entry kept");
    CHECK(BatchFolders().empty(), "no batch file written");
}

ROBOT_SCENARIO(yes_full_installation)
{
    LayoutOptions options;
    options.startupShortcut = true;
    Installation in = LayOut("yes_full_installation", options);
    DdeListener application("Veltrano stand-in");
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);

    std::vector<DdeListener::Initiation> seen = application.Initiations();
    CHECK_EQ(seen.size(), size_t(1));
    if (!seen.empty()) {
        CHECK_EQ(seen[0].application, std::string("Veltrano"));
        CHECK_EQ(seen[0].topic, std::string("Uninstall"));
        CHECK(seen[0].sender == nullptr, "initiation sent without a sending window");
    }
    CheckEntryGone();
    CheckListedGone(in);
    CHECK(!DirectoryExists(in.group), "program group went with its last shortcut");
    CHECK(DirectoryExists(ShellFolder(CSIDL_PROGRAMS)), "the user's Programs folder stays");
    CHECK(DirectoryExists(ShellFolder(CSIDL_STARTUP)), "the Startup folder stays");

    // Watch the batch file work: the uninstaller's file first, then the
    // directory, then the batch file itself.
    DWORD start = GetTickCount(), exeGone = 0, directoryGone = 0, batchGone = 0;
    WaitUntil([&]() {
        DWORD now = GetTickCount() - start + 1;
        if (!exeGone && !FileExists(in.exe))
            exeGone = now;
        if (!directoryGone && !DirectoryExists(in.directory))
            directoryGone = now;
        if (!batchGone && BatchFolders().empty())
            batchGone = now;
        return exeGone && directoryGone && batchGone;
    }, 30000, 20);
    Say("  gone after: _purgel.exe %lu ms, directory %lu ms, batch file %lu ms",
        (unsigned long)exeGone, (unsigned long)directoryGone, (unsigned long)batchGone);
    CHECK(exeGone, "batch file deleted _purgel.exe");
    CHECK(directoryGone, "batch file removed the installation directory");
    CHECK(batchGone, "batch file deleted itself");
    CHECK(exeGone <= directoryGone && directoryGone <= batchGone,
          "in the order _purgel.exe, directory, batch file");
    CHECK(WaitForBatchEnd(10000), "no cmd.exe left");
}

ROBOT_SCENARIO(settings_from_own_directory)
{
    Installation in = LayOut("settings_from_own_directory", LayoutOptions());
    // The current directory holds a settings file of the same name that lists
    // a file of someone else's: neither may be touched.
    std::string elsewhere = in.root + "\\elsewhere";
    std::string victim = in.root + "\\victim.txt";
    MakeDirectories(elsewhere);
    REQUIRE(WriteBytes(victim, "not ours\r\n"), "unrelated file written");
    REQUIRE(WriteBytes(elsewhere + "\\Pellino.exe.ini", "[DeInstall]\r\n" + victim + "\r\n"),
            "decoy settings file written");
    CHECK_EQ(RunUninstaller(in, elsewhere, IDYES, Answering::Keyboard), 1L);
    CheckListedGone(in);
    CHECK(FileExists(victim), "file listed only by the decoy settings file stays");
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(FileExists(elsewhere + "\\Pellino.exe.ini"),
          "settings file of the current directory stays");
    CHECK(!DirectoryExists(in.directory), "installation directory removed");
}

ROBOT_SCENARIO(tampered_list_removes_only_its_own)
{
    std::string root = "C:\\e2e_uninstall\\tampered_list_removes_only_its_own";
    std::string dir = root + "\\Veltrano";
    std::string victim = root + "\\victim.txt";
    // In the build tree, which both kinds of Windows share: named by process.
    std::string otherDrive =
        WinePath(E2E_BINARY_DIR "/e2e-victim-") + std::to_string(GetCurrentProcessId()) + ".txt";
    std::string ownFolder = dir + "\\Data";   // a folder the setup program never makes
    const std::vector<std::string> refused = {
        root + "\\keep=1\\kept.txt",            // read back as a key
        victim,                                  // outside the installation
        dir + "\\..\\victim.txt",                // climbing out of it
        dir + "\\Data\\..\\..\\victim.txt",
        "\\\\?\\" + victim,                         // long and device forms, UNC
        "\\\\.\\" + victim,
        "\\\\localhost\\C$" + victim.substr(2),
        otherDrive,
        root + "\\Empty",                         // an empty folder outside
        root + "\\Programs",                      // the folder that holds the group
    };
    // A "Veltrano 1.0" group outside the user's Programs folder, with its
    // shortcuts, and a file of the user's in the installation directory.
    LayoutOptions options;
    options.programsFolder = root + "\\Programs";
    options.fillerLines = 100000;
    options.extraLines = refused;
    options.extraLines.push_back(dir + "\\my notes.txt");
    options.extraLines.push_back(ownFolder);
    Installation in = LayOut("tampered_list_removes_only_its_own", options);
    REQUIRE(MakeDirectories(root + "\\keep=1") && MakeDirectories(root + "\\Empty") &&
                MakeDirectories(ownFolder) && WriteBytes(root + "\\keep=1\\kept.txt", "kept") &&
                WriteBytes(victim, "not ours") && WriteBytes(otherDrive, "not ours either") &&
                WriteBytes(dir + "\\my notes.txt", "the user's own"),
            "files outside the installation laid out");
    AtEnd([otherDrive]() { DeleteFileA(otherDrive.c_str()); });

    DWORD start = GetTickCount();
    std::string box;
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES, Answering::Buttons, &box), 1L);
    DWORD elapsed = GetTickCount() - start;
    CHECK(box.find("kept") != std::string::npos && Names(box, in.directory),
          "the closing box names the directory kept for the user's files: %s", Show(box).c_str());
    Say("  uninstaller ran %lu ms over a list of %zu lines", (unsigned long)elapsed,
        in.listed.size() + options.fillerLines + 1);
    CHECK(elapsed < 15000, "a hostile list is processed in seconds");
    std::vector<std::string> kept = refused;
    kept.insert(kept.end(), {dir + "\\my notes.txt", ownFolder, in.group,
                             in.group + "\\Veltrano 1.0.lnk", in.group + "\\Help.lnk"});
    for (const std::string &line : kept)
        CHECK(line.find("\\\\") == 0 || Exists(line), "still there: %s", line.c_str());
    CheckListedGone(in, kept);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(DirectoryExists(in.directory), "the directory with the user's file stays");
}

ROBOT_SCENARIO(user_file_survives)
{
    LayoutOptions options;
    options.programGroup = false;
    Installation in = LayOut("user_file_survives", options);
    std::string mine = in.directory + "\\my notes.txt";
    REQUIRE(WriteBytes(mine, "the user's own\r\n"), "user's file written");
    std::string box;
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES, Answering::Buttons, &box), 1L);
    std::string kept = "Veltrano has been removed. This folder was kept because it holds files "
                       "that Veltrano did not install:\n\n" + in.directory;
    CHECK(lstrcmpiA(box.c_str(), kept.c_str()) == 0, "the box names the kept directory: %s",
          Show(box).c_str());
    CheckEntryGone();
    CheckListedGone(in);
    DWORD start = GetTickCount();
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file gave up on the directory and ended");
    Say("  batch file ended %lu ms after the uninstaller", (unsigned long)(GetTickCount() - start));
    CHECK(!FileExists(in.exe), "_purgel.exe deleted");
    CHECK(FileExists(mine), "user's file survives");
    CHECK(DirectoryExists(in.directory), "its directory survives");
}

ROBOT_SCENARIO(non_ascii_directory)
{
    LayoutOptions options;
    options.directoryName = "M\xFCller\\Stra\xDF" "e";   // code page 1252
    Installation in = LayOut("non_ascii_directory", options);
    Say("  ANSI code page %u, OEM code page %u", GetACP(), GetOEMCP());
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);
    CheckListedGone(in);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!FileExists(in.exe), "_purgel.exe in the non-ASCII directory deleted");
    CHECK(!DirectoryExists(in.directory), "non-ASCII installation directory removed");
    CHECK(DirectoryExists(in.root + "\\M\xFCller"), "its parent, not listed, stays");

    // A letter that the OEM code page, in which cmd reads a batch file, has
    // no equivalent for: the batch file names no path, so it goes too.
    std::string unconvertible;
    for (int c = 0x80; c <= 0xFF && unconvertible.empty(); c++) {
        char ansi[2] = {char(c), 0}, oem[2] = {0, 0}, back[2] = {0, 0};
        CharToOemBuffA(ansi, oem, 1);
        OemToCharBuffA(oem, back, 1);
        if (back[0] != ansi[0] && IsCharAlphaA(ansi[0]))
            unconvertible = ansi;
    }
    REQUIRE(!unconvertible.empty(), "the OEM code page lacks a letter of the ANSI one");
    options.directoryName = "Veltrano " + unconvertible;
    Installation other = LayOut("non_ascii_directory_unconvertible", options);
    CHECK_EQ(RunUninstaller(other, other.directory, IDYES), 1L);
    CheckListedGone(other);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!FileExists(other.exe) && !DirectoryExists(other.directory),
          "_purgel.exe and its directory, named by a letter the OEM code page lacks, removed");
}

ROBOT_SCENARIO(created_folders)
{
    // The setup program made the two folders above the directory; the outer
    // one has since received a file of the user's: the inner one goes, and
    // the closing box names the outer one.
    const std::string tools = "C:\\e2e_uninstall\\created_folders\\Tools";
    LayoutOptions options;
    options.programGroup = false;
    options.directoryName = "Tools\\Inner\\Veltrano";
    options.extraLines = {tools, tools + "\\Inner"};
    Installation in = LayOut("created_folders", options);
    REQUIRE(WriteBytes(tools + "\\notes.txt", "the user's own"), "user's file written");
    std::string box;
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES, Answering::Buttons, &box), 1L);
    std::string kept = "Veltrano has been removed. This folder was kept because it holds files "
                       "that Veltrano did not install:\n\n" + tools;
    CHECK(lstrcmpiA(box.c_str(), kept.c_str()) == 0, "the box names the outer folder: %s",
          Show(box).c_str());
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!DirectoryExists(tools + "\\Inner"), "the directory and the inner folder went");
    CHECK(FileExists(tools + "\\notes.txt"), "the outer folder stays with the user's file");
}

ROBOT_SCENARIO(read_only_and_missing_files)
{
    LayoutOptions options;
    options.readOnlyFiles = {"Readme.rtf"};
    options.missingFiles = {"logo.gif"};
    Installation in = LayOut("read_only_and_missing_files", options);
    std::string readOnly = in.directory + "\\Readme.rtf";
    std::string box;
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES, Answering::Buttons, &box), 1L);
    CheckRemains(in, box, readOnly);
    CHECK(box.find("logo.gif") == std::string::npos, "a file that was never there is not named");
    CheckListedGone(in, {readOnly, ListedSettings(in)});

    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);
    CheckFinished(in);
}

ROBOT_SCENARIO(hung_window)
{
    // An application that ignores the close request and keeps a file of the
    // installation open without delete sharing.
    Installation in = LayOut("hung_window", LayoutOptions());
    DdeListener stuck("Stuck application", true);
    std::string help = in.directory + "\\VeltranoHelp.htm";
    static HANDLE held;
    held = CreateFileA(help.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    REQUIRE(held != INVALID_HANDLE_VALUE, "help page held open");
    AtEnd([]() {
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    });
    DWORD start = GetTickCount();
    std::string box;
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES, Answering::Buttons, &box), 1L);
    Say("  uninstaller ran %lu ms with a window that does not answer",
        (unsigned long)(GetTickCount() - start));
    CHECK(!stuck.Initiations().empty(), "the stuck window was sent the initiation");
    CheckRemains(in, box, help);
    CHECK(!DirectoryExists(in.group), "the group went all the same");

    CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
    // Programs that each take their time to answer hold the removal no
    // longer, together, than the broadcast's one bound.
    DdeListener slow1("Slow 1", false, 1500), slow2("Slow 2", false, 1500),
        slow3("Slow 3", false, 1500), slow4("Slow 4", false, 1500);
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);
    CHECK(NoticeAfterYesMs() < 4500, "the broadcast held the removal %lu ms, at most its 3 s",
          (unsigned long)NoticeAfterYesMs());
    CheckFinished(in);
}

ROBOT_SCENARIO(batch_file_bytes)
{
    // A name that cmd would change if the batch file held it, or if a value
    // were read again for variables.
    LayoutOptions options;
    options.programGroup = false;
    options.directoryName = "Veltrano 100% %SystemRoot% & ^!x!";
    Installation in = LayOut("batch_file_bytes", options);
    // Holding the uninstaller's file open without delete sharing keeps loop d1
    // retrying, so the batch file can be read before it deletes itself.
    static HANDLE hold;
    hold = CreateFileA(in.exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    REQUIRE(hold != INVALID_HANDLE_VALUE, "uninstaller's file held open");
    AtEnd([]() {
        if (hold != INVALID_HANDLE_VALUE)
            CloseHandle(hold);
        hold = INVALID_HANDLE_VALUE;
    });
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);

    std::string actual, golden;
    REQUIRE(ReadBytes(BatchFilePath(), &actual), "batch file read while loop d1 waits");
    REQUIRE(ReadBytes(WinePath(E2E_SOURCE_DIR "/tests/e2e/golden/uninstall_batch.bat"), &golden),
            "golden file read");
    CHECK_EQ(actual, golden);
    CHECK(FileExists(in.exe), "d1 waits while the file cannot be deleted");
    std::string dacl;
    bool onlyOwners = BatchFolderPrivate(&dacl);
    CHECK(onlyOwners, "the batch folder is open only to its owners: %s", dacl.c_str());
    // Both cmd processes ignore the registry's AutoRun, extensions and
    // delayed expansion settings: the batch file's, and the one that its
    // last line starts to remove its folder.
    const std::string switches = " /d /e:on /v:off /c ";
    std::vector<std::string> lines = CommandLines("cmd.exe");
    CHECK(lines.size() == 1 && lines[0].find(switches + "\"\"" + BatchFilePath() + "\"\"") !=
                                   std::string::npos,
          "the batch file's cmd: %s", lines.empty() ? "none" : Show(lines[0]).c_str());

    CloseHandle(hold);
    hold = INVALID_HANDLE_VALUE;
    std::string last;
    WaitUntil([&]() {
        for (const std::string &line : CommandLines("cmd.exe"))
            if (line.find("ping.exe") != std::string::npos)
                last = line;
        return !last.empty();
    }, 40000, 20);
    CHECK(last.find(switches) != std::string::npos, "the last line's cmd: %s", Show(last).c_str());
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended once the file was released");
    CHECK(!FileExists(in.exe), "_purgel.exe deleted after the release");
    CHECK(!DirectoryExists(in.directory), "directory %s removed", Show(in.directory).c_str());

    // The batch file's last line removes its folder also where a user's
    // temporary directory (the unelevated case) has "&" or "^" in its path.
    size_t at = actual.rfind("@del \"%VeltranoBatch%\"");
    REQUIRE(at != std::string::npos, "the batch file's last line found");
    std::string folder = in.root + "\\R&D^1";
    REQUIRE(MakeDirectories(folder) && WriteBytes(folder + "\\del_Quorvid.bat", actual.substr(at)),
            "the last line copied into %s", folder.c_str());
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    SetEnvironmentVariableA("VeltranoSystem", system);
    SetEnvironmentVariableA("VeltranoBatch", (folder + "\\del_Quorvid.bat").c_str());
    SetEnvironmentVariableA("VeltranoBatchFolder", folder.c_str());
    std::string cmd = std::string(system) + "\\cmd.exe";
    Process p = Start("\"" + cmd + "\"" + switches + "\"\"" + folder + "\\del_Quorvid.bat\"\"", system);
    CHECK(p.pid != 0 && WaitExit(p, 10000) >= 0, "the line ran");
    CHECK(WaitUntil([&]() { return !DirectoryExists(folder); }, 10000, 100),
          "it removed the folder with \"&\" and \"^\" in its path");
}

ROBOT_SCENARIO(planted_batch_file_never_runs)
{
    LayoutOptions options;
    options.programGroup = false;
    Installation in = LayOut("planted_batch_file_never_runs", options);
    // Another process of the user plants the batch file's old name in the
    // temporary directories, as a hard link to a file of the user's that is a
    // batch file itself: written through, it would be spoilt; run, it leaves
    // a marker.
    std::string marker = in.root + "\\planted batch ran.txt";
    std::string planted = "@echo planted> \"" + marker + "\"\r\n";
    std::string victim = in.root + "\\victim.bat";
    REQUIRE(WriteBytes(victim, planted), "the user's batch file written");
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const std::string &base : {TempDirectory(), std::string(windows) + "\\Temp\\"}) {
        std::string link = base + "del_Quorvid.bat";
        DeleteFileA(link.c_str());
        REQUIRE(CreateHardLinkA(link.c_str(), victim.c_str(), nullptr), "%s planted", link.c_str());
        AtEnd([link]() { DeleteFileA(link.c_str()); });
    }
    // Commands named like the programs the batch runs, where cmd would look
    // first if it searched, and a command that cmd would run at its start.
    for (const std::string &base : {TempDirectory(), std::string(windows) + "\\Temp\\"}) {
        for (const char *name : {"ping.bat", "ping.cmd", "cmd.bat", "cmd.cmd"}) {
            std::string command = base + name;
            REQUIRE(WriteBytes(command, planted), "%s planted", command.c_str());
            AtEnd([command]() { DeleteFileA(command.c_str()); });
        }
    }
    const char *const processor = "Software\\Microsoft\\Command Processor";
    REQUIRE(RegSetString(HKEY_CURRENT_USER, processor, "AutoRun", "echo planted> \"" + marker + "\""),
            "AutoRun command set");
    AtEnd([processor]() { RegRemoveValue(HKEY_CURRENT_USER, processor, "AutoRun"); });
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);
    CheckListedGone(in);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "the uninstaller's own batch file ended");
    CHECK(!DirectoryExists(in.directory), "and removed the installation directory");
    CHECK(!FileExists(marker), "nothing planted ran");
    std::string bytes;
    CHECK(ReadBytes(victim, &bytes) && bytes == planted, "nothing was written through the links");
}

ROBOT_SCENARIO(copy_outside_its_installation)
{
    LayoutOptions options;
    options.startupShortcut = true;
    Installation in = LayOut("copy_outside_its_installation", options);
    // A file of the user's that bears a payload file's name.
    std::string downloads = in.root + "\\Downloads";
    REQUIRE(MakeDirectories(downloads) && WriteBytes(downloads + "\\Readme.rtf", "the user's"),
            "Downloads made");
    Installation copy = in;
    copy.exe = downloads + "\\_purgel.exe";
    REQUIRE(CopyFileA(in.exe.c_str(), copy.exe.c_str(), FALSE), "uninstaller copied to Downloads");
    CHECK_EQ(RunUninstaller(copy, downloads, IDYES), 1L);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!FileExists(copy.exe), "the copy deleted itself");
    CHECK(DirectoryExists(downloads), "the folder it ran from stays");
    CHECK(FileExists(downloads + "\\Readme.rtf"), "with the user's file of a payload name");
    CHECK(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY),
          "the installation's uninstall entry stays");
    for (const std::string &item : in.listed)
        CHECK(Exists(item), "the installation stays: %s", item.c_str());

    // A full backup of the directory, settings file included, removes
    // itself and nothing of the installation it was copied from.
    Installation backup = in;
    backup.directory = in.root + "\\Backup";
    backup.exe = backup.directory + "\\_purgel.exe";
    REQUIRE(MakeDirectories(backup.directory), "Backup made");
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((in.directory + "\\*").c_str(), &found);
    REQUIRE(find != INVALID_HANDLE_VALUE, "directory listed");
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            CopyFileA((in.directory + "\\" + found.cFileName).c_str(),
                      (backup.directory + "\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    CHECK_EQ(RunUninstaller(backup, backup.directory, IDYES), 1L);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!DirectoryExists(backup.directory), "the backup removed itself");
    CHECK(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY),
          "the installation's uninstall entry stays after the backup's removal");
    for (const std::string &item : in.listed)
        CHECK(Exists(item), "the installation stays after the backup's removal: %s", item.c_str());
}

ROBOT_SCENARIO(lost_settings_file)
{
    LayoutOptions options;
    options.startupShortcut = true;
    Installation in = LayOut("lost_settings_file", options);
    REQUIRE(DeleteFileA(in.settingsFile.c_str()), "settings file deleted by the user");
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);
    CheckFinished(in);
}

ROBOT_SCENARIO(renamed_folder)
{
    LayoutOptions options;
    options.startupShortcut = true;
    Installation in = LayOut("renamed_folder", options);
    Installation renamed = in;
    renamed.directory = in.root + "\\Veltrano old";
    renamed.exe = renamed.directory + "\\_purgel.exe";
    REQUIRE(MoveFileA(in.directory.c_str(), renamed.directory.c_str()), "folder renamed");
    for (std::string &item : renamed.listed)
        if (item.compare(0, in.directory.size() + 1, in.directory + "\\") == 0)
            item = renamed.directory + item.substr(in.directory.size());
    CHECK_EQ(RunUninstaller(renamed, renamed.directory, IDYES), 1L);
    // The shortcuts lead to the old name, not into its directory: they stay.
    CheckListedGone(renamed, {in.group, in.group + "\\Veltrano 1.0.lnk", in.group + "\\Help.lnk",
                              in.startupLink});
    CheckEntryGone();
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!DirectoryExists(renamed.directory), "the renamed directory went with its application");
}

ROBOT_SCENARIO(old_copy_after_reinstallation)
{
    // Installed into one directory, then again into another: the second
    // installation's group, Startup shortcut and entry replace the first's.
    LayoutOptions options;
    options.startupShortcut = true;
    Installation old = LayOut("old_copy_after_reinstallation", options);
    Installation now = LayOut("old_copy_after_reinstallation_new", options);
    CHECK_EQ(RunUninstaller(old, old.directory, IDYES), 1L);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!DirectoryExists(old.directory), "the old directory went");
    for (const std::string &item : now.listed)
        CHECK(Exists(item), "the new installation stays: %s", item.c_str());
    LinkInfo link;
    CHECK(ReadShellLink(now.startupLink, &link) &&
              lstrcmpiA(link.target.c_str(), (now.directory + "\\Pellino.exe").c_str()) == 0,
          "the Startup shortcut still leads to the new installation: %s", link.target.c_str());
    std::string data;
    CHECK(RegReadString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "UninstallString", &data) &&
              data == "\"" + now.exe + "\"",
          "the entry still names the new installation's uninstaller");
}

ROBOT_SCENARIO(items_behind_a_link_stay)
{
    // C:\e2e_links\linked is a link to this scenario's root: what is
    // reached through it is the same folder.
    const std::string root = "C:\\e2e_uninstall\\items_behind_a_link_stay";
    const std::string linked = "C:\\e2e_links\\linked";
    const char *const shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    REQUIRE(MakeDirectories(root) && MakeDirectories("C:\\e2e_links") &&
                PlantFolderLink(linked, root),
            "%s is a link to %s", linked.c_str(), root.c_str());
    LayoutOptions options;
    options.programsFolder = linked + "\\Programs";
    Installation in = LayOut("items_behind_a_link_stay", options);
    REQUIRE(FileExists(in.root + "\\Programs\\Veltrano 1.0\\Help.lnk"), "the link leads to the root");
    // The Programs folder that the uninstaller reads lies behind the link.
    std::string programs;
    REQUIRE(RegReadString(HKEY_CURRENT_USER, shellFolders, "Programs", &programs), "Programs read");
    REQUIRE(RegSetString(HKEY_CURRENT_USER, shellFolders, "Programs", options.programsFolder),
            "Programs set behind the link");
    AtEnd([shellFolders, programs]() {
        RegSetString(HKEY_CURRENT_USER, shellFolders, "Programs", programs);
    });
    CHECK_EQ(RunUninstaller(in, in.directory, IDYES), 1L);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!DirectoryExists(in.directory), "the installation itself went");
    for (const char *item : {"", "\\Veltrano 1.0.lnk", "\\Help.lnk"})
        CHECK(Exists(in.root + "\\Programs\\Veltrano 1.0" + item), "behind the link, stays: %s", item);

    // Started through the link, the uninstaller's directory may be anyone's:
    // it removes its own file and nothing else.
    options.programsFolder.clear();
    options.programGroup = false;
    in = LayOut("items_behind_a_link_stay", options);
    Installation through = in;
    through.exe = linked + "\\Veltrano\\_purgel.exe";
    CHECK_EQ(RunUninstaller(through, in.root, IDYES), 1L);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "batch file ended");
    CHECK(!FileExists(in.exe), "the uninstaller deleted itself");
    for (const std::string &item : in.listed)
        CHECK(item == in.exe || Exists(item), "stays: %s", item.c_str());
}
