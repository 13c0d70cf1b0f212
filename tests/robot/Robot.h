// Robot: drives real Win32 programs the way a person would and reports what
// it saw, for the end-to-end scenarios that run under Wine.
//
// A scenario executable is a table of named scenarios:
//
//     #include "Robot.h"
//     ROBOT_SCENARIO(no_changes_nothing) {
//         robot::Process p = robot::Start("C:\\x\\_purgel.exe", "C:\\x");
//         HWND box = robot::WaitWindow("#32770", "Deinstall", 10000, p.pid);
//         REQUIRE(box, "confirmation box appeared");
//         robot::Click(robot::Control(box, IDNO));
//         CHECK_EQ(robot::WaitExit(p, 10000), 1);
//     }
//     int main(int argc, char **argv) { return robot::Main(argc, argv); }
//
// `prog --list` prints the names, `prog NAME` runs one scenario; every check
// is written to a transcript on stdout and the exit code is 0 when all checks
// passed, 1 otherwise. CHECK records a failure and goes on; REQUIRE records
// it and abandons the scenario (its clean-ups still run). Clean-ups
// registered with robot::AtEnd run in reverse order after the scenario,
// however it ended.
//
// Everything here is test code: std::string and exceptions are fine. All
// texts are ANSI (the code page of the Wine prefix, normally 1252).
#ifndef VELTRANO_ROBOT_H
#define VELTRANO_ROBOT_H

#include <windows.h>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace robot {

// ---------------------------------------------------------------- transcript

// Writes one line (printf format) to the transcript, flushed at once.
void Say(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Records the outcome of a check: prints "ok" or "FAIL file:line" with the
// condition and the formatted text. Returns ok.
bool Record(bool ok, const char *file, int line, const char *condition, const char *format,
            ...) __attribute__((format(printf, 5, 6)));

// Number of failed checks so far.
int Failures();

// Thrown by REQUIRE to abandon the running scenario.
struct Abandon {};

template <typename T> std::string Show(const T &v)
{
    std::ostringstream s;
    s << v;
    return s.str();
}
std::string Show(const std::string &v);   // quoted, with bytes >= 0x80 and controls escaped
std::string Show(const char *v);

// Compares two values with ==; on failure the transcript shows both.
template <typename A, typename B>
bool RecordEqual(const A &actual, const B &expected, const char *file, int line,
                 const char *actualText, const char *expectedText)
{
    bool ok = actual == expected;
    return Record(ok, file, line, actualText, "%s == %s (got %s, expected %s)", actualText,
                  expectedText, Show(actual).c_str(), Show(expected).c_str());
}

#define CHECK(cond, ...) ::robot::Record(!!(cond), __FILE__, __LINE__, #cond, __VA_ARGS__)
#define CHECK_EQ(actual, expected)                                                     \
    ::robot::RecordEqual((actual), (expected), __FILE__, __LINE__, #actual, #expected)
#define REQUIRE(cond, ...)                                                             \
    do {                                                                               \
        if (!::robot::Record(!!(cond), __FILE__, __LINE__, #cond, __VA_ARGS__))       \
            throw ::robot::Abandon();                                                  \
    } while (0)

// ---------------------------------------------------------------- scenarios

typedef void (*ScenarioFunction)();

// Adds a scenario to the executable's table (used by ROBOT_SCENARIO).
struct ScenarioRegistration {
    ScenarioRegistration(const char *name, ScenarioFunction run);
};

#define ROBOT_SCENARIO(name)                                                           \
    static void scenario_##name();                                                     \
    static ::robot::ScenarioRegistration registration_##name(#name, scenario_##name);  \
    static void scenario_##name()

// Registers a clean-up to run after the current scenario, last one first.
void AtEnd(std::function<void()> cleanup);

// Runs the scenario named in argv[1] ("--list" prints all names). Returns the
// process exit code: 0 when every check passed, 1 otherwise (also for an
// unknown name or an exception that escaped the scenario).
int Main(int argc, char **argv);

// ---------------------------------------------------------------- waiting

// Polls cond every pollMs until it is true or timeoutMs has passed. Returns
// the last result of cond.
bool WaitUntil(std::function<bool()> cond, DWORD timeoutMs, DWORD pollMs = 50);

// ---------------------------------------------------------------- processes

struct Process {
    HANDLE handle = nullptr;
    DWORD pid = 0;
    DWORD tid = 0;
};

// Starts commandLine (CreateProcessA, no application name) in directory
// (nullptr: the robot's own). A started process is ended and closed by the
// scenario's clean-up if it still runs. Returns a Process with pid 0 on
// failure.
Process Start(const std::string &commandLine, const char *directory = nullptr);

// Waits up to timeoutMs for the process to end. Returns its exit code, or -1
// when it did not end in time (or was never started).
long WaitExit(const Process &process, DWORD timeoutMs);

// Whether a process with this executable name (case ignored, e.g. "cmd.exe")
// is running; pids of the robot's own process are not counted.
bool ProcessRunning(const char *exeName);

// The executable names of every other process that runs now, with their
// parents' process ids ("cmd.exe<-1c4 ping.exe<-2a0 ..."), for a report.
std::string RunningProcesses();

// Waits until no process of that name runs. Returns true when none is left.
bool WaitNoProcess(const char *exeName, DWORD timeoutMs);

// Ends every process of that name (the desktop shell "explorer.exe", say).
// Returns how many were ended.
int EndProcesses(const char *exeName);

// The executable name of the parent of the first process named exeName
// (case ignored); "" when there is none or its parent has ended.
std::string ParentProcessName(const char *exeName);
// The id of that parent, also after it ended; 0 when no such process runs.
DWORD ParentProcessId(const char *exeName);

// The command lines of the running processes with this executable name
// (case ignored), as each received it; empty when none runs.
std::vector<std::string> CommandLines(const char *exeName);

// The full paths of the modules (the executable and its DLLs) that the
// process has loaded; empty when they cannot be listed.
std::vector<std::string> ProcessModules(DWORD pid);

// ---------------------------------------------------------------- windows

// Finds a visible top-level window of any process by class and caption
// (either may be nullptr: any); pid 0 means any process. Returns nullptr when
// none is there.
HWND FindTopWindow(const char *className, const char *caption, DWORD pid = 0);

// Polls FindTopWindow until a window appears or timeoutMs has passed.
HWND WaitWindow(const char *className, const char *caption, DWORD timeoutMs, DWORD pid = 0);

// Waits until the window is gone (destroyed or hidden). Returns true if so.
bool WaitWindowGone(HWND window, DWORD timeoutMs);

// The control with this id in a dialog, or nullptr.
HWND Control(HWND dialog, int id);

// Message boxes: the id of the static control that holds the text.
const int MESSAGE_BOX_TEXT_ID = 0xFFFF;

// ---------------------------------------------------------------- reading

std::string Text(HWND window);         // WM_GETTEXT across processes ("" on failure)
std::string ClassOf(HWND window);
LONG Style(HWND window);
LONG ExStyle(HWND window);
int CheckState(HWND button);           // BM_GETCHECK: BST_UNCHECKED/CHECKED/INDETERMINATE
RECT Rectangle(HWND window);           // screen coordinates
bool IsVisible(HWND window);
bool IsEnabled(HWND window);
bool IsMaximised(HWND window);
// The control that has the keyboard focus on the thread that owns window.
HWND FocusOf(HWND window);
// The text of a message box (its static text control).
std::string MessageBoxText(HWND box);
// The icon a message box shows (STM_GETICON of its icon control), nullptr
// when it shows none. Under Wine the system icons are loaded per process, so
// the handle cannot be compared with the robot's own LoadIconA(0, IDI_...).
HICON MessageBoxIcon(HWND box);

// ---------------------------------------------------------------- screen

// The whole screen's pixels at the moment of construction (empty when the
// screen could not be read).
class ScreenImage {
public:
    ScreenImage();
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The colour at x, y; CLR_INVALID outside the image.
    COLORREF At(int x, int y) const;
    // The smallest rectangle (right and bottom exclusive) around the pixels
    // of exactly this colour within area; all zero when there are none.
    RECT Bounds(const RECT &area, COLORREF colour) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

// Sets Wine's display DPI ("LogPixels" of HKEY_CURRENT_USER\Control
// Panel\Desktop, which Wine reads when a process starts) for the programs
// started from now on; the scenario's clean-up restores the earlier setting.
void SetDisplayDpi(DWORD dpi);

// ---------------------------------------------------------------- acting

// Clicks a button (posts BM_CLICK, so that a modal loop the click opens does
// not block the robot). Returns false for a null handle.
bool Click(HWND button);
// Sets an edit control's text (WM_SETTEXT).
bool SetText(HWND edit, const std::string &text);
// Moves the dialog's focus to control (WM_NEXTDLGCTL, as the dialog manager
// itself does).
void Focus(HWND dialog, HWND control);
// Presses a key (VK_RETURN, VK_ESCAPE, VK_TAB, ...) on the focused control of
// window's thread: WM_KEYDOWN and WM_KEYUP are posted to it, so the dialog
// manager's IsDialogMessage handles them as a real key press.
bool PressKey(HWND window, UINT virtualKey);
// Answers a message box by clicking its button with this id (IDYES, IDNO,
// IDOK, ...). Returns false when the box has no such button.
bool Answer(HWND box, int buttonId);

// ---------------------------------------------------------------- application stand-in

// A top-level window on its own thread that records every WM_DDE_INITIATE it
// receives (application and topic atom names). With hang set, its thread
// stops answering after it has recorded the first initiation (until the
// stand-in is destroyed), as a program that is stuck would; with slowMs, it
// takes that long to answer each initiation.
class DdeListener {
public:
    struct Initiation {
        std::string application;
        std::string topic;
        HWND sender;
    };
    explicit DdeListener(const char *caption = "Robot application", bool hang = false,
                         DWORD slowMs = 0);
    ~DdeListener();
    HWND Window() const { return window_; }
    std::vector<Initiation> Initiations();

private:
    static DWORD WINAPI Thread(void *self);
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    std::string caption_;
    bool hang_;
    DWORD slowMs_;
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    CRITICAL_SECTION lock_;
    std::vector<Initiation> seen_;
};

// ---------------------------------------------------------------- files

// A Linux path as Wine sees it: "Z:" followed by the path with backslashes.
std::string WinePath(const std::string &linuxPath);
bool ReadBytes(const std::string &path, std::string *bytes);   // whole file
bool WriteBytes(const std::string &path, const std::string &bytes);
bool FileExists(const std::string &path);       // a file (not a directory)
bool DirectoryExists(const std::string &path);
bool MakeDirectories(const std::string &path);  // with all missing parents
// Removes a file or a directory tree (read-only attributes cleared first);
// a link in it is left alone, never followed.
void RemoveTree(const std::string &path);
// Plants a link at link to the folder target: a Unix symbolic link made by
// ln (Wine's CreateSymbolicLinkA makes nothing), which Wine shows as a
// reparse point. The scenario's clean-up removes it. True when it is there.
bool PlantFolderLink(const std::string &link, const std::string &target);
// The access list of a file or folder in the security descriptor definition
// language ("D:P(A;OICI;FA;;;BA)..."); "" when it cannot be read.
std::string AccessList(const std::string &path);
// Gives Everyone full control of a folder, as a careless or hostile owner
// would (Wine turns that into Unix mode 0777). True when it was set and
// the list reads back with an entry for Everyone.
bool OpenToEveryone(const std::string &path);
std::string TempDirectory();                    // GetTempPathA, ends in "\"
// A shell folder from SHGetFolderPathA (CSIDL_PROGRAMS, CSIDL_STARTUP, ...).
std::string ShellFolder(int csidl);

// ---------------------------------------------------------------- snapshots

// The files and folders under a folder (with their sizes) and the registry
// keys and values under HKLM\Software and HKCU, as of now.
struct Snapshot {
    std::map<std::string, std::string> entries;   // "C:\a\b" or "HKCU\k\:value" -> what it holds
};
Snapshot TakeSnapshot(const std::string &folder);
// What differs between two snapshots ("new: ", "gone: ", "changed: " and the
// entry), leaving out entries that begin with one of ignored (case ignored).
std::vector<std::string> Differences(const Snapshot &before, const Snapshot &after,
                                     const std::vector<std::string> &ignored);

// ---------------------------------------------------------------- registry

bool RegReadString(HKEY root, const std::string &key, const char *value, std::string *out);
bool RegReadDword(HKEY root, const std::string &key, const char *value, DWORD *out);
bool RegKeyExists(HKEY root, const std::string &key);
bool RegValueExists(HKEY root, const std::string &key, const char *value);
bool RegSetString(HKEY root, const std::string &key, const char *value, const std::string &data);
bool RegSetDword(HKEY root, const std::string &key, const char *value, DWORD data);
bool RegRemoveValue(HKEY root, const std::string &key, const char *value);
bool RegRemoveKey(HKEY root, const std::string &key);   // with all subkeys

// ---------------------------------------------------------------- shell links

struct LinkInfo {
    std::string target;
    std::string description;
    std::string workingDirectory;
    std::string arguments;
};
// Reads a .lnk file back through IShellLinkA.
bool ReadShellLink(const std::string &linkFile, LinkInfo *link);
// Writes a .lnk file through IShellLinkA and IPersistFile (to lay out a state).
bool WriteShellLink(const std::string &linkFile, const LinkInfo &link);

}  // namespace robot

#endif
