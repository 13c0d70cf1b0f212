// The whole cycle: install, run the application, remove it all again with
// the uninstaller that the installation registered.
#include "setup_driver.h"

using namespace robot;
using namespace setup_e2e;

ROBOT_SCENARIO(install_run_and_uninstall)
{
    std::string base = "C:\\e2e-setup";
    std::string directory = base + "\\Cycle";
    CleanSlate(directory);
    // Files of the user's beside what is installed, which must survive.
    std::string programs = ProgramsFolder();
    std::string userNote = Join(programs, "user notes.txt");
    std::string userFile = Join(base, "user file.txt");
    MakeDirectories(base);
    REQUIRE(WriteBytes(userNote, "mine") && WriteBytes(userFile, "mine too"),
            "the user's files are laid out");
    AtEnd([=]() {
        DeleteFileA(userNote.c_str());
        DeleteFileA(userFile.c_str());
    });
    SetProxy(nullptr);
    SetAutoDial(nullptr);

    Process installer = StartInstaller();
    Choices choices;
    choices.german = true;
    choices.path = directory;
    choices.startWithWindows = 1;
    choices.startAfterInstall = 1;
    Answer(WalkToCompletion(installer, choices), IDOK);
    HWND application = WaitWindow("PellinoMain", "Veltrano 1.0", PAGE_TIMEOUT);
    REQUIRE(application, "the application runs after the installation");
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);

    std::string command;
    REQUIRE(RegReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", &command),
            "the uninstall entry names the uninstaller");
    Process uninstaller = Start(command);
    REQUIRE(uninstaller.pid, "the uninstaller starts from %s", command.c_str());
    HWND question = WaitWindow("#32770", "Deinstall", PAGE_TIMEOUT, uninstaller.pid);
    REQUIRE(question, "the uninstaller asks first");
    Answer(question, IDYES);
    CHECK(WaitWindowGone(application, PAGE_TIMEOUT), "the application closes on the broadcast");
    HWND notice = WaitWindow("#32770", "Uninstall", PAGE_TIMEOUT, uninstaller.pid);
    REQUIRE(notice, "the notice follows");
    Answer(notice, IDOK);
    CHECK_EQ(WaitExit(uninstaller, PAGE_TIMEOUT), 1);

    CHECK(WaitUntil([&]() { return !DirectoryExists(directory); }, 30000, 200),
          "the installation directory goes");
    std::string group = Join(programs, "Veltrano 1.0");
    CHECK(!DirectoryExists(group), "the program group goes");
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "the uninstall entry goes");
    CHECK(WaitUntil([]() { return !FileExists(TempDirectory() + "del_Quorvid.bat"); }, 30000, 200),
          "the batch file deletes itself");
    // What stays: the start-up shortcut, which was never listed, and the
    // user's own files.
    CHECK(FileExists(Join(StartupFolder(), "Veltrano 1.0.lnk")), "the start-up shortcut stays");
    std::string bytes;
    CHECK(ReadBytes(userNote, &bytes) && bytes == "mine", "the user's file in Programs stays");
    CHECK(ReadBytes(userFile, &bytes) && bytes == "mine too", "the user's file beside it stays");
    CHECK(DirectoryExists(programs), "the Programs folder stays");
}
