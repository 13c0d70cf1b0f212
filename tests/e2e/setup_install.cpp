// Completed installations: the files, the settings file byte for byte, the
// registry, the shortcuts, the completion message and the application's
// start; installing twice; a drive root; special cases of the user's setup.
#include "setup_driver.h"
#include "uninstall_layout.h"

using namespace robot;
using namespace setup_e2e;

namespace {

const char BASE[] = "C:\\e2e-setup";

std::string SettingsFile(const std::string &directory)
{
    std::string bytes;
    if (!ReadBytes(Join(directory, "Pellino.exe.ini"), &bytes))
        return "<missing>";
    return bytes;
}

void CheckLink(const std::string &linkFile, const std::string &target, const char *description)
{
    LinkInfo link;
    REQUIRE(ReadShellLink(linkFile, &link), "%s can be read as a shell link", linkFile.c_str());
    CHECK(SameIgnoringCase(link.target, target), "%s points at %s (got %s)", linkFile.c_str(),
          target.c_str(), link.target.c_str());
    CHECK_EQ(link.description, std::string(description));
    CHECK_EQ(link.workingDirectory, std::string(""));
    CHECK_EQ(link.arguments, std::string(""));
}

// Time of a plain copy of the installed payload bytes, for comparison.
DWORD PlainCopyMs(const std::string &from, const std::string &to)
{
    MakeDirectories(to);
    AtEnd([to]() { RemoveTree(to); });
    DWORD start = GetTickCount();
    for (const PayloadRow &row : Payload())
        CopyFileA(Join(from, row.fileName).c_str(), Join(to, row.fileName).c_str(), FALSE);
    return GetTickCount() - start;
}

HWND WaitApplication() { return WaitWindow("PellinoMain", "Veltrano 1.0", PAGE_TIMEOUT); }

FILETIME WriteTime(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

}  // namespace

ROBOT_SCENARIO(english_installation)
{
    std::string directory = std::string(BASE) + "\\English Veltrano";
    CleanSlate(directory);
    SetProxy("proxy.example:8080");
    DWORD on = 1;
    SetAutoDial(&on);
    Process installer = StartInstaller();
    Choices choices;
    choices.path = directory;
    choices.startAfterInstall = 1;
    DWORD elapsed = 0;
    HWND box = WalkToCompletion(installer, choices, &elapsed);
    CHECK_EQ(MessageBoxText(box), std::string("Please read the Copyright-Note in the help-file. Good-Luck!"));
    Sleep(500);
    CHECK(!FindTopWindow("PellinoMain", nullptr), "the application is not started before the message is closed");

    CheckPayloadFiles(directory);
    DWORD copyMs = PlainCopyMs(directory, std::string(BASE) + "\\plain copy");
    Say("  installation %lu ms, plain copy of the same bytes %lu ms, ratio %.1f", elapsed, copyMs,
        copyMs ? double(elapsed) / copyMs : 0.0);
    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, true,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm",
                                   "ProxyPort=8080", "ProxyServer=proxy.example",
                                   "WebScanAutomatically=0"}));
    CheckUninstallEntry(directory);
    std::string group = Join(ProgramsFolder(), "Veltrano 1.0");
    CheckLink(Join(group, "Veltrano 1.0.lnk"), Join(directory, "pellino.exe"), "Veltrano 1.0");
    CheckLink(Join(group, "Help.lnk"), Join(directory, "VeltranoHelp.htm"), "Help");
    CHECK(!FileExists(Join(StartupFolder(), "Veltrano 1.0.lnk")), "no start-up shortcut");

    Answer(box, IDOK);
    HWND application = WaitApplication();
    REQUIRE(application, "the application starts after the message");
    CHECK(SameIgnoringCase(Text(Control(application, 105)), directory),
          "its working directory is the installation directory (got %s)",
          Text(Control(application, 105)).c_str());
    CHECK_EQ(Text(Control(application, 101)), directory + "\\VeltranoHelp.htm");
    std::string parent = ParentProcessName("Pellino.exe");
    CHECK(SameIgnoringCase(parent, "explorer.exe"),
          "the desktop shell started it, not the elevated setup (parent %s)", parent.c_str());
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    // Nobody else may change the directory made. (Wine derives the list from
    // the Unix mode, where Everyone's entry then goes.)
    std::string list = AccessList(directory);
    Say("  access list of the new directory: %s", list.c_str());
    CHECK(!list.empty() && list.find(";;;WD)") == std::string::npos &&
              list.find(";;;AU)") == std::string::npos,
          "neither Everyone nor Authenticated Users may change it");
}

ROBOT_SCENARIO(german_installation_enter_after_typing)
{
    std::string directory = std::string(BASE) + "\\Deutsch";
    CleanSlate(directory);
    SetProxy("proxyhost");
    DWORD off = 0;
    SetAutoDial(&off);
    Process installer = StartInstaller();
    Choices choices;
    choices.german = true;
    choices.path = directory;
    choices.enterAfterTyping = true;
    choices.startWithWindows = 1;
    choices.startAfterInstall = 1;
    HWND box = WalkToCompletion(installer, choices);
    CHECK_EQ(MessageBoxText(box),
             std::string("Lesen Sie bitte die Copyright-Hinweise in der Online-Hilfe. Viel Spa\xDF!"));
    // The user ends the desktop shell while the message is open: the
    // elevated setup must not start the application itself.
    // Under Wine the shell that comes back registers nowhere while the
    // ended one's registration stays with the COM service: both go again
    // at the end, so that the next shell is whole.
    AtEnd([]() {
        EndProcesses("explorer.exe");
        EndProcesses("rpcss.exe");
    });
    CHECK(EndProcesses("explorer.exe") > 0, "the desktop shell is ended");
    Answer(box, IDOK);
    WaitWindowGone(box, PAGE_TIMEOUT);
    HWND notStarted = WaitBox(installer, "Willkommen zum Brisquet! ");
    CHECK(notStarted != nullptr, "a box says that the application was not started");
    if (notStarted) {
        CHECK(MessageBoxText(notStarted).find(Join(directory, "Pellino.exe")) != std::string::npos,
              "it names the program (%s)", MessageBoxText(notStarted).c_str());
        Answer(notStarted, IDOK);
    }
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    Sleep(1000);
    CHECK(ParentProcessId("Pellino.exe") != installer.pid,
          "the application does not run as the setup's child");

    CheckPayloadFiles(directory);
    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, true,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm",
                                   "ProxyServer=proxyhost", "WebScanAutomatically=1"},
                                  true));
    CheckUninstallEntry(directory);
    CheckLink(Join(StartupFolder(), "Veltrano 1.0.lnk"), Join(directory, "Pellino.exe"),
              "Veltrano 1.0");
    CHECK(!FindTopWindow("PellinoMain", nullptr), "the application is not started");
}

ROBOT_SCENARIO(proxy_list_without_program_group)
{
    std::string directory = std::string(BASE) + "\\NoGroup";
    CleanSlate(directory);
    SetProxy("http=web.example:3128;ftp=files.example:21");
    SetAutoDial(nullptr);
    Process installer = StartInstaller();
    Choices choices;
    choices.path = directory;
    choices.programGroup = 0;
    HWND box = WalkToCompletion(installer, choices);
    Answer(box, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);

    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, false,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm",
                                   "ProxyPort=3128;ftp=files.example:21",
                                   "ProxyServer=http=web.example"}));
    CHECK(!DirectoryExists(Join(ProgramsFolder(), "Veltrano 1.0")), "no program group");
}

ROBOT_SCENARIO(installing_twice_keeps_one_list)
{
    std::string directory = std::string(BASE) + "\\Twice";
    CleanSlate(directory);
    SetProxy("first:1");
    SetAutoDial(nullptr);
    Process first = StartInstaller();
    Choices choices;
    choices.path = directory;
    choices.startAfterInstall = 1;
    Answer(WalkToCompletion(first, choices), IDOK);
    CHECK_EQ(WaitExit(first, PAGE_TIMEOUT), 0);
    HWND application = WaitApplication();
    REQUIRE(application, "the application runs from the first installation");

    // The user's own key in the file, and an installed file spoilt.
    std::string settings = SettingsFile(directory);
    size_t at = settings.find("[Settings]\r\n");
    REQUIRE(at != std::string::npos, "the first installation wrote section Settings");
    settings.insert(at + 12, "Colour=teal\r\n");
    WriteBytes(Join(directory, "Pellino.exe.ini"), settings);
    WriteBytes(Join(directory, "Readme.rtf"), "spoilt");
    FILETIME before = WriteTime(Join(directory, "Pellino.exe"));

    // Installing again while the application runs: it is asked to close,
    // and its file is replaced too.
    SetProxy("second:2");
    std::string otherCase = "c:\\E2E-SETUP\\TWICE";
    // The wizard proposes the installation that is there; over it, with
    // every file its own list names, it asks nothing.
    Process second = StartInstaller();
    choices.proposed = directory;
    choices.path = otherCase;
    choices.startAfterInstall = 0;
    Answer(WalkToCompletion(second, choices), IDOK);
    CHECK_EQ(WaitExit(second, PAGE_TIMEOUT), 0);
    CHECK(!IsWindow(application), "the running application was closed");
    FILETIME after = WriteTime(Join(directory, "Pellino.exe"));
    CHECK(CompareFileTime(&before, &after) < 0, "Pellino.exe was written again");

    CheckPayloadFiles(directory);
    std::string expected = ExpectedSettingsFile(
        directory, true,
        {"Colour=teal", "DefaultPage=" + otherCase + "\\VeltranoHelp.htm", "ProxyPort=2",
         "ProxyServer=second"});
    CHECK_EQ(SettingsFile(directory), expected);
    CheckUninstallEntry(otherCase);
}

ROBOT_SCENARIO(single_letter_path_is_a_drive_root)
{
    // Drive V: is mapped to a directory of the build tree by the test set-up.
    REQUIRE(GetDriveTypeA("V:\\") > DRIVE_NO_ROOT_DIR, "drive V: is mapped");
    CleanSlate("");
    // The installer runs in the robot's current directory.
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string stray = std::string(current) + "\\V";
    RemoveDirectoryA(stray.c_str());
    AtEnd([]() {
        for (const PayloadRow &row : Payload())
            DeleteFileA(Join("V", row.fileName).c_str());
        DeleteFileA("V:\\Pellino.exe.ini");
    });
    SetProxy(nullptr);
    SetAutoDial(nullptr);
    Process installer = StartInstaller();
    Choices choices;
    choices.path = "V";
    choices.programGroup = 0;
    choices.startAfterInstall = 1;
    Answer(WalkToCompletion(installer, choices), IDOK);
    HWND application = WaitApplication();
    REQUIRE(application, "the application starts from the drive root");
    CHECK(SameIgnoringCase(Text(Control(application, 105)), "V:\\"),
          "its working directory is V:\\ (got %s)", Text(Control(application, 105)).c_str());
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);

    CheckPayloadFiles("V:\\");
    CHECK(!DirectoryExists(stray), "no folder V in the setup program's current directory");
    // DefaultPage is the path and the literal "\VeltranoHelp.htm" as they are.
    CHECK_EQ(SettingsFile("V:\\"),
             ExpectedSettingsFile("V", false, {"DefaultPage=V\\VeltranoHelp.htm"}));
    CheckUninstallEntry("V");

    // The removal: a drive's root is no directory to remove, so the batch
    // file has no loop waiting for that, and a folder of the user's stays.
    REQUIRE(MakeDirectories("V:\\Empty folder"), "a folder of the user's on V:");
    AtEnd([]() { RemoveDirectoryA("V:\\Empty folder"); });
    CHECK_EQ(RunRegisteredUninstaller(application), 1);
    DWORD start = GetTickCount();
    CHECK(WaitForBatchEnd(BATCH_END_MS), "the batch file ends");
    DWORD batchMs = GetTickCount() - start;
    Say("  batch file ended %lu ms after the uninstaller", (unsigned long)batchMs);
    CHECK(batchMs < 5000, "without waiting for the root to go");
    for (const PayloadRow &row : Payload())
        CHECK(!FileExists(Join("V", row.fileName)), "%s removed", row.fileName);
    CHECK(DirectoryExists("V:\\Empty folder"), "the user's empty folder stays");
}

ROBOT_SCENARIO(read_only_application_is_named)
{
    std::string directory = std::string(BASE) + "\\ReadOnly";
    std::string application = Join(directory, "Pellino.exe");
    CleanSlate(directory);
    REQUIRE(MakeDirectories(directory) && WriteBytes(application, "old") &&
                SetFileAttributesA(application.c_str(), FILE_ATTRIBUTE_READONLY),
            "a read-only Pellino.exe waits in the directory");
    // And two files of the user's that happen to bear payload names: they are
    // replaced only after Yes.
    REQUIRE(WriteBytes(Join(directory, "Readme.rtf"), "mine") &&
                WriteBytes(Join(directory, "Index.htm"), "mine too"),
            "the user's Readme.rtf and Index.htm");
    std::string list = AccessList(directory);
    SetProxy(nullptr);
    SetAutoDial(nullptr);
    Process installer = StartInstaller();
    Choices choices;
    choices.path = directory;
    choices.programGroup = 0;
    choices.startAfterInstall = 1;
    choices.incomplete = true;
    choices.replaceQuestion = "The folder already holds files with the names of the program's "
                              "files, which its installation did not write:\n\nPellino.exe\n"
                              "Readme.rtf\nIndex.htm\n\nReplace these files?";
    HWND box = WalkToCompletion(installer, choices);
    CHECK_EQ(MessageBoxText(box),
             std::string("The installation is incomplete. Not written:\n\nPellino.exe"));
    std::string mine;
    CHECK(ReadBytes(Join(directory, "Readme.rtf"), &mine) && mine != "mine",
          "after Yes the user's Readme.rtf was replaced");
    Answer(box, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CHECK(!WaitWindow("PellinoMain", nullptr, 1000), "the application is not started");
    CHECK_EQ(AccessList(directory), list);   // an existing directory keeps its own
    std::string command;
    CHECK(RegReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", &command) &&
              command == "\"" + Join(directory, "_purgel.exe") + "\"",
          "the other steps ran: the uninstall entry");
    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, false,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm"}));
}

ROBOT_SCENARIO(deep_path_installs_every_file)
{
    // Longer than the 128 characters of the old file functions' record.
    std::string top = std::string(BASE) + "\\" + std::string(70, 'd');
    std::string directory = top + "\\" + std::string(70, 'e') + "\\Veltrano";
    CleanSlate(top);
    SetProxy(nullptr);
    SetAutoDial(nullptr);
    Process installer = StartInstaller();
    Choices choices;
    choices.path = directory;
    choices.programGroup = 0;
    Answer(WalkToCompletion(installer, choices), IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CheckPayloadFiles(directory);
    // The uninstaller needs the settings file and its list here too.
    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, false,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm"}, false,
                                  {top, top + "\\" + std::string(70, 'e')}));
    CheckUninstallEntry(directory);
}

ROBOT_SCENARIO(missing_programs_folder_leaves_the_group_out)
{
    std::string directory = std::string(BASE) + "\\NoPrograms";
    CleanSlate(directory);
    std::string programs = ProgramsFolder();
    REQUIRE(!programs.empty(), "Shell Folders names a Programs folder");
    RegRemoveValue(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Programs");
    AtEnd([programs]() { RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Programs", programs); });
    SetProxy(nullptr);
    SetAutoDial(nullptr);
    Process installer = StartInstaller();
    Choices choices;
    choices.path = directory;
    Answer(WalkToCompletion(installer, choices), IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);

    CheckPayloadFiles(directory);
    // Without a Programs folder the group is left out, and not listed.
    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, false,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm"}));
    CHECK(!DirectoryExists(Join(programs, "Veltrano 1.0")), "no program group");
    CHECK(!DirectoryExists("C:\\Veltrano 1.0"), "no group at a drive's root either");

    // A Programs folder that the list could not name as a line of its own:
    // no group, and its shortcuts are named as not written.
    std::string unlistable = std::string(BASE) + "\\Start=Menu";
    REQUIRE(MakeDirectories(unlistable), "Programs folder with \"=\" made");
    RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Programs", unlistable);
    CleanSlate(directory);
    installer = StartInstaller();
    choices.incomplete = true;
    HWND box = WalkToCompletion(installer, choices);
    CHECK_EQ(MessageBoxText(box), "The installation is incomplete. Not written:\n\n" + unlistable +
                                      "\\Veltrano 1.0\\Veltrano 1.0.lnk\n" + unlistable +
                                      "\\Veltrano 1.0\\Help.lnk");
    Answer(box, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CHECK(!DirectoryExists(Join(unlistable, "Veltrano 1.0")), "no group in it");
    CHECK(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "the installation is registered");
}

// A directory that cannot be made (a name the file system refuses), and a
// disk that fills up: nothing is made elsewhere for them, no file is left
// cut short, and nothing is registered.
ROBOT_SCENARIO(failed_installation_leaves_nothing)
{
    std::string directory = std::string(BASE) + "\\No|Dir\\Veltrano";
    CleanSlate("");
    SetProxy(nullptr);
    SetAutoDial(nullptr);
    Process installer = StartInstaller();
    Choices choices;
    choices.path = directory;
    choices.incomplete = true;
    HWND box = WalkToCompletion(installer, choices);
    CHECK_EQ(MessageBoxText(box),
             std::string("The installation is incomplete. Not written:\n\nPellino.exe\n"
                         "Readme.rtf\n_purgel.exe\n+25\n\nThe installation is not registered in "
                         "the list of installed software."));
    Answer(box, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CHECK(!DirectoryExists(Join(ProgramsFolder(), "Veltrano 1.0")), "no program group");
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "no uninstall entry");

    // A disk that fills up: drive W: is a 32 KiB file system (the prepare
    // step mounts it), too small for _purgel.exe after the application.
    ULARGE_INTEGER total = {};
    if (!GetDiskFreeSpaceExA("W:\\", nullptr, &total, nullptr) || total.QuadPart > 64 * 1024) {
        Say("  NOT RUN: drive W: is no small file system (mounting one needs root)");
        return;
    }
    directory = "W:\\Veltrano";
    CleanSlate(directory);
    installer = StartInstaller();
    choices.path = directory;
    box = WalkToCompletion(installer, choices);
    std::string text = MessageBoxText(box);
    CHECK(text.rfind("The installation is incomplete. Not written:\n\n", 0) == 0 &&
              text.find("_purgel.exe") != std::string::npos &&
              text.find("The installation is not registered") != std::string::npos,
          "the full disk is reported: %s", Show(text).c_str());
    Answer(box, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "no uninstall entry");
    CHECK(!DirectoryExists(Join(ProgramsFolder(), "Veltrano 1.0")), "no program group");
    int written = 0;
    for (const PayloadRow &row : Payload()) {
        std::string bytes;
        if (!ReadBytes(Join(directory, row.fileName), &bytes))
            continue;
        written++;
        CHECK(bytes == PayloadBytes(row), "%s is whole or absent, never cut", row.fileName);
    }
    CHECK(written > 0, "the disk took some files before it was full");
    CleanSlate(directory);
}

namespace {

// Stores text as a REG_SZ value of exactly its length, without a terminator.
bool SetUnterminated(HKEY root, const char *key, const char *value, const std::string &text)
{
    HKEY k;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(k, value, 0, REG_SZ, (const BYTE *)text.data(), (DWORD)text.size());
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

}  // namespace

ROBOT_SCENARIO(registry_texts_at_their_limits)
{
    std::string directory = std::string(BASE) + "\\Limits";
    CleanSlate(directory);
    SetAutoDial(nullptr);
    // A proxy text that fills all 260 bytes and has no terminator.
    std::string host(250, 'h');
    SetProxy(nullptr);
    REQUIRE(SetUnterminated(HKEY_CURRENT_USER, INTERNET_KEY, "ProxyServer", host + ":123456789"),
            "the 260-byte proxy value is stored");
    // A Shell Folders value too long for the buffers, met before "Programs".
    std::string programs = ProgramsFolder();
    REQUIRE(!programs.empty(), "Shell Folders names a Programs folder");
    RegRemoveValue(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Programs");
    RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "A long value", std::string(400, 'a'));
    RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Programs", programs);
    AtEnd([]() { RegRemoveValue(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "A long value"); });

    Process installer = StartInstaller();
    Choices choices;
    choices.path = directory;
    Answer(WalkToCompletion(installer, choices), IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, true,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm",
                                   "ProxyPort=123456789", "ProxyServer=" + host}));
    CHECK(DirectoryExists(Join(programs, "Veltrano 1.0")),
          "the Programs folder is found past the long value");
}

// Shell Folders may be changed by the user's unelevated programs: folders
// reached through a link get nothing, and the warning names the shortcuts.
ROBOT_SCENARIO(shell_folders_through_a_link_get_no_shortcuts)
{
    std::string directory = std::string(BASE) + "\\Linked folders";
    std::string target = std::string(BASE) + "\\link target", linked = std::string(BASE) + "\\linked";
    CleanSlate(directory);
    std::string programs = ProgramsFolder(), startup = StartupFolder();
    REQUIRE(MakeDirectories(target + "\\Startup") && PlantFolderLink(linked, target),
            "%s is a link to %s", linked.c_str(), target.c_str());
    AtEnd([=]() {
        RemoveTree(target);
        RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Programs", programs);
        RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Startup", startup);
    });
    RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Programs", linked);
    RegSetString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, "Startup", linked + "\\Startup");
    SetProxy(nullptr);
    SetAutoDial(nullptr);
    Process installer = StartInstaller();
    Choices choices;
    choices.german = true;
    choices.path = directory;
    choices.startWithWindows = 1;
    choices.incomplete = true;
    HWND box = WalkToCompletion(installer, choices);
    std::string group = linked + "\\Veltrano 1.0\\";
    CHECK_EQ(MessageBoxText(box), "Die Installation ist unvollst\xE4ndig. Nicht geschrieben:\n\n" +
                                      group + "Veltrano 1.0.lnk\n" + group + "Help.lnk\n" +
                                      linked + "\\Startup\\Veltrano 1.0.lnk");
    Answer(box, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CHECK(!DirectoryExists(Join(target, "Veltrano 1.0")) &&
              !FileExists(target + "\\Startup\\Veltrano 1.0.lnk"),
          "nothing appeared behind the link");
    CHECK_EQ(SettingsFile(directory),
             ExpectedSettingsFile(directory, false,
                                  {"DefaultPage=" + directory + "\\VeltranoHelp.htm"}));
}
