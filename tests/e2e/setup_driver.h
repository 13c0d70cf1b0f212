// What the setup scenarios share: starting Install.exe, finding and telling
// apart its pages, walking the wizard, the state a scenario lays out and
// removes again, and the expected results (payload bytes, settings file).
#ifndef VELTRANO_SETUP_DRIVER_H
#define VELTRANO_SETUP_DRIVER_H

#include "Robot.h"
#include <string>
#include <vector>

namespace setup_e2e {

const DWORD PAGE_TIMEOUT = 15000;
const char PAGE_CAPTION[] = "Veltrano 1.0";
const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrano";
const char SHELL_FOLDERS_KEY[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char INTERNET_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

enum PageKind { NO_PAGE, LANGUAGE_PAGE, WELCOME_PAGE, OPTIONS_PAGE };

struct PayloadRow {
    int identifier;
    const char *fileName;
};
// The 26 payload rows in installation order.
const std::vector<PayloadRow> &Payload();
// The bytes a payload file must have: the built program or the document.
std::string PayloadBytes(const PayloadRow &row);

// Starts Install.exe; the scenario's clean-up ends it if it still runs.
robot::Process StartInstaller();
// Waits for a wizard page of the process, other than previous (which must
// close first). Returns nullptr when none appeared in time.
HWND WaitPage(const robot::Process &installer, HWND previous = nullptr);
PageKind KindOf(HWND page);
// The texts of all child windows, and whether one of them is text exactly.
std::vector<std::string> ChildTexts(HWND window);
bool ShowsText(HWND window, const std::string &text);
bool SameIgnoringCase(const std::string &a, const std::string &b);
// Waits for a message box (a dialog with this caption) of the process.
HWND WaitBox(const robot::Process &installer, const char *caption);

// The installer's default directory: "c:\" and the first directory that
// matches c:\prog* and is one of the system's program folders, then
// "\Veltrano".
std::string DefaultInstallPath();
// The user's Programs and Startup folders as Shell Folders records them.
std::string ProgramsFolder();
std::string StartupFolder();

// Makes sure nothing of an earlier installation is around (uninstall entry,
// program group, start-up shortcut) and registers the same clean-up for the
// end of the scenario; also the installation directory given. The
// scenarios' common parent C:\e2e-setup exists until the end, so that only
// a scenario that asks for it has folders created above its directory.
void CleanSlate(const std::string &installDirectory);
// Sets (or, with a null value, removes) the user's Internet Settings value
// for this scenario; the original is restored at its end.
void SetProxy(const char *proxyServer);
void SetAutoDial(const DWORD *enableAutoDial);

// Types path into the options page's edit. With leaveField the focus then
// moves on to the next control, as a user's Tab would.
void TypePath(HWND options, const std::string &path, bool leaveField);
// Sets a check box of the options page to checked (1) or not (0).
void SetCheck(HWND options, int id, int checked);

// The options that a wizard walk chooses.
struct Choices {
    bool german = false;
    std::string path;
    std::wstring widePath;   // typed instead of path when set (characters beyond the robot's code page)
    int programGroup = 1;
    int startWithWindows = 0;   // German page only
    int startAfterInstall = 0;
    bool enterAfterTyping = false;   // Enter right after typing, focus still in the path
    bool incomplete = false;         // the warning about failed items ends it, not the
                                     // completion message
    std::string proposed;            // when set: the path the options page must propose
    std::string replaceQuestion;     // when set: the text of the question before files
                                     // not ours are replaced; No is answered first (the
                                     // page stays), then Yes
};
// Walks from the first page to the completion message (or the warning):
// language page if German, welcome, options (choices set, Next). Returns the box,
// or abandons the scenario. elapsedMs receives the time from Next on the
// options page to the box.
HWND WalkToCompletion(const robot::Process &installer, const Choices &choices,
                      DWORD *elapsedMs = nullptr);

// The settings file that a first installation writes: "DeInstall" with the
// folders created above the installation directory, the payload paths, the
// settings file, (with the group) the shortcuts and the group folder and
// (with startupLink) the start-up shortcut; "Settings" with the given keys,
// sorted.
std::string ExpectedSettingsFile(const std::string &installDirectory, bool programGroup,
                                 const std::vector<std::string> &settingsLines,
                                 bool startupLink = false,
                                 const std::vector<std::string> &createdFolders = {});

// Runs the uninstaller that the uninstall entry names: Yes, then OK on the
// notice; with an application window, checks that it closes on the
// broadcast. yesAt, when given, receives the tick count of the Yes; with
// closingBox, a third box "Uninstall" is expected, its text read and OK
// pressed. Returns the uninstaller's exit code (-1 when it did not end).
long RunRegisteredUninstaller(HWND application = nullptr, DWORD *yesAt = nullptr,
                              std::string *closingBox = nullptr);
// installDirectory + separator + name, as the installer builds it.
std::string Join(const std::string &directory, const std::string &name);

// Checks every payload file under directory byte for byte.
void CheckPayloadFiles(const std::string &directory);
// Checks the uninstall entry's values and their exact data.
void CheckUninstallEntry(const std::string &installDirectory);

}  // namespace setup_e2e

#endif
