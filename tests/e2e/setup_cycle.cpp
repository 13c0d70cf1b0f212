// The whole cycle: install with every option, run the application, remove
// it all again with the uninstaller that the installation registered, and
// compare the machine with what it was before.
#include "setup_driver.h"
#include "uninstall_layout.h"

using namespace robot;
using namespace setup_e2e;

namespace {

const char BASE[] = "C:\\e2e-setup";
// Below BASE; "Cycle" does not exist before the installation.
const char DIRECTORY[] = "C:\\e2e-setup\\Cycle\\New\\Veltrano";

// What may change on the machine without the kit doing anything: Wine's own
// records, the console's settings (which Wine makes when a prefix's first
// console starts, the batch file's cmd in a new prefix), and the temporary
// directories, where cmd and the shell keep files of their own (the kit's
// batch folder is checked on its own).
std::vector<std::string> Bookkeeping()
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    return {"HKCU\\Software\\Wine\\", "HKCU\\Console\\", std::string(windows) + "\\Temp\\",
            TempDirectory()};
}

// Installs into DIRECTORY with the program group, the start-up shortcut and
// the start afterwards, and returns the application's window.
HWND InstallEverything()
{
    Process installer = StartInstaller();
    Choices choices;
    choices.german = true;
    choices.path = DIRECTORY;
    choices.startWithWindows = 1;
    choices.startAfterInstall = 1;
    Answer(WalkToCompletion(installer, choices), IDOK);
    HWND application = WaitWindow("PellinoMain", "Veltrano 1.0", PAGE_TIMEOUT);
    REQUIRE(application, "the application runs after the installation");
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    return application;
}

// Uninstalls, and tells how long it took from the Yes until the outermost
// folder that the installation created was gone (unless a closing box says
// that a folder stays for the user's files).
void Uninstall(HWND application, std::string *closingBox = nullptr)
{
    DWORD yesAt = 0;
    CHECK_EQ(RunRegisteredUninstaller(application, &yesAt, closingBox), 1);
    if (!closingBox) {
        WaitUntil([]() { return !DirectoryExists("C:\\e2e-setup\\Cycle"); }, 30000, 10);
        Say("  from Yes to the last item gone: %lu ms", (unsigned long)(GetTickCount() - yesAt));
    }
    CHECK(WaitForBatchEnd(BATCH_END_MS), "the batch file ends");
}

std::string Listed(const std::vector<std::string> &differences)
{
    std::string text;
    for (const std::string &line : differences)
        text += "\n    " + line;
    return text;
}

}  // namespace

ROBOT_SCENARIO(install_run_and_uninstall_leaves_no_trace)
{
    CleanSlate("C:\\e2e-setup\\Cycle");
    // Files of the user's beside what is installed, which must survive.
    std::string userNote = Join(ProgramsFolder(), "user notes.txt");
    std::string userFile = Join(BASE, "user file.txt");
    REQUIRE(WriteBytes(userNote, "mine") && WriteBytes(userFile, "mine too"),
            "the user's files are laid out");
    AtEnd([=]() {
        DeleteFileA(userNote.c_str());
        DeleteFileA(userFile.c_str());
    });
    SetProxy("proxy.example:8080");
    SetAutoDial(nullptr);

    Snapshot before = TakeSnapshot("C:");
    Say("  snapshot of %zu files, folders, keys and values", before.entries.size());
    HWND application = InstallEverything();
    CHECK(FileExists(Join(StartupFolder(), "Veltrano 1.0.lnk")), "the start-up shortcut is made");
    Uninstall(application);
    std::vector<std::string> differences =
        Differences(before, TakeSnapshot("C:"), Bookkeeping());
    CHECK(differences.empty(), "the machine is as it was before:%s", Listed(differences).c_str());
    // The temporary directories are left out above; what the kit put there
    // is gone too.
    CHECK(BatchFolders().empty(), "no batch folder is left");
    // Under Wine the desktop closed here, under the robot, once the batch
    // file's programs had gone (robot::Main keeps it open).
    CHECK(ProcessRunning("explorer.exe"), "the desktop shell still runs");
}

ROBOT_SCENARIO(user_file_and_injected_list_line_survive)
{
    CleanSlate("C:\\e2e-setup\\Cycle");
    // The user's proxy text carries line breaks that, written as they are,
    // would add the user's own file to the removal list.
    std::string mine = Join(DIRECTORY, "my notes.txt");
    SetProxy(("host:8080\r\n[DeInstall]\r\n" + mine).c_str());
    SetAutoDial(nullptr);

    Snapshot before = TakeSnapshot("C:");
    HWND application = InstallEverything();
    REQUIRE(WriteBytes(mine, "the user's own"), "the user's file is left in the directory");
    std::string settings;
    ReadBytes(Join(DIRECTORY, "Pellino.exe.ini"), &settings);
    CHECK(settings.find("ProxyPort=8080  [DeInstall]  " + mine + "\r\n") != std::string::npos,
          "the proxy text stays on its line");
    std::string closing;
    Uninstall(application, &closing);
    CHECK_EQ(closing, "Veltrano has been removed. This folder was kept because it holds files "
                      "that Veltrano did not install:\n\n" + std::string(DIRECTORY));
    std::vector<std::string> differences =
        Differences(before, TakeSnapshot("C:"), Bookkeeping());
    const std::vector<std::string> expected = {
        "new: C:\\e2e-setup\\Cycle\\", "new: C:\\e2e-setup\\Cycle\\New\\",
        "new: " + std::string(DIRECTORY) + "\\", "new: " + mine};
    CHECK(differences == expected, "only the user's file and its folders remain:%s",
          Listed(differences).c_str());
    std::string bytes;
    CHECK(ReadBytes(mine, &bytes) && bytes == "the user's own", "the user's file is unchanged");
}
