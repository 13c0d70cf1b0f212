// Laying out an installation and running the uninstaller over it.
#include "uninstall_layout.h"

#include <sddl.h>
#include <shlobj.h>

using namespace robot;

namespace {

// Payload files of the laid-out installation, in the setup program's order.
const char *const PAYLOAD[] = {"Pellino.exe", "Readme.rtf", "_purgel.exe", "VeltranoHelp.htm",
                               "logo.gif"};

bool Contains(const std::vector<std::string> &list, const std::string &name)
{
    for (const std::string &s : list)
        if (s == name)
            return true;
    return false;
}

std::string BuiltUninstaller() { return WinePath(E2E_BINARY_DIR "/payload/_purgel.exe"); }

}  // namespace

std::vector<std::string> BatchFolders()
{
    std::vector<std::string> folders;
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (std::string base : {std::string(windows) + "\\Temp\\", TempDirectory()}) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((base + "VeltranoRemoval-*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do
            folders.push_back(base + found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return folders;
}

std::string BatchFilePath()
{
    std::vector<std::string> folders = BatchFolders();
    return folders.empty() ? "" : folders[0] + "\\del_Quorvid.bat";
}

// The current user's SID as text.
static std::string UserSid()
{
    HANDLE token;
    BYTE user[256];
    DWORD size = 0;
    char *sid = nullptr;
    std::string text;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        if (GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
            ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER *>(user)->User.Sid, &sid))
            text = sid;
        LocalFree(sid);
        CloseHandle(token);
    }
    return text;
}

bool BatchFolderPrivate(std::string *dacl)
{
    std::vector<std::string> folders = BatchFolders();
    *dacl = folders.empty() ? "" : AccessList(folders[0]);
    if (dacl->empty())
        *dacl = "<unreadable>";
    // "D:" or "D:P", then one "(type;flags;rights;;;sid)" per entry.
    size_t at = dacl->find('(');
    if (dacl->compare(0, 2, "D:") != 0 || at == std::string::npos)
        return false;
    const std::string allowed[] = {";;;BA)", ";;;SY)", ";;;" + UserSid() + ")"};
    while (at < dacl->size()) {
        size_t end = dacl->find(')', at);
        if (end == std::string::npos || dacl->compare(at, 3, "(A;") != 0)
            return false;
        std::string entry = dacl->substr(at, end + 1 - at);
        bool known = false;
        for (const std::string &sid : allowed)
            known = known || (entry.size() > sid.size() &&
                              entry.compare(entry.size() - sid.size(), sid.size(), sid) == 0);
        if (!known)
            return false;
        at = end + 1;
    }
    return true;
}

static void RemoveBatchFolders()
{
    for (const std::string &folder : BatchFolders())
        RemoveTree(folder);
}

Installation LayOut(const char *scenario, const LayoutOptions &options)
{
    Installation in;
    in.root = std::string("C:\\e2e_uninstall\\") + scenario;
    RemoveTree(in.root);
    RemoveBatchFolders();
    in.directory = in.root + "\\" + options.directoryName;
    in.exe = in.directory + "\\_purgel.exe";
    in.settingsFile = in.directory + "\\Pellino.exe.ini";
    REQUIRE(MakeDirectories(in.directory), "installation directory %s made", in.directory.c_str());
    std::string root = in.root;
    AtEnd([root]() {
        RemoveTree(root);
        RemoveBatchFolders();
        RegRemoveKey(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY);
    });

    for (const char *name : PAYLOAD) {
        std::string path = in.directory + "\\" + name;
        in.listed.push_back(path);
        if (Contains(options.missingFiles, name))
            continue;
        if (std::string(name) == "_purgel.exe") {
            REQUIRE(CopyFileA(BuiltUninstaller().c_str(), path.c_str(), FALSE),
                    "uninstaller copied from %s", BuiltUninstaller().c_str());
        } else {
            REQUIRE(WriteBytes(path, std::string("payload ") + name + "\r\n"), "%s written", name);
        }
        if (Contains(options.readOnlyFiles, name))
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    in.listed.push_back(in.directory + "\\pellino.exe.ini");

    if (options.programGroup) {
        std::string programs =
            options.programsFolder.empty() ? ShellFolder(CSIDL_PROGRAMS) : options.programsFolder;
        in.group = programs + "\\Veltrano 1.0";
        RemoveTree(in.group);
        REQUIRE(MakeDirectories(in.group), "program group %s made", in.group.c_str());
        std::string group = in.group;
        AtEnd([group]() { RemoveTree(group); });
        LinkInfo app{in.directory + "\\pellino.exe", "Veltrano 1.0", "", ""};
        LinkInfo help{in.directory + "\\VeltranoHelp.htm", "Help", "", ""};
        REQUIRE(WriteShellLink(in.group + "\\Veltrano 1.0.lnk", app), "group shortcut written");
        REQUIRE(WriteShellLink(in.group + "\\Help.lnk", help), "help shortcut written");
        in.listed.push_back(in.group + "\\Veltrano 1.0.lnk");
        in.listed.push_back(in.group + "\\Help.lnk");
        in.listed.push_back(in.group);
    }
    if (options.startupShortcut) {
        in.startupLink = ShellFolder(CSIDL_STARTUP) + "\\Veltrano 1.0.lnk";
        LinkInfo app{in.directory + "\\Pellino.exe", "Veltrano 1.0", "", ""};
        REQUIRE(WriteShellLink(in.startupLink, app), "Startup shortcut written");
        in.listed.push_back(in.startupLink);
        std::string link = in.startupLink;
        AtEnd([link]() { RemoveTree(link); });
    }
    for (const std::string &line : options.extraLines)
        in.listed.push_back(line);

    std::string ini = "[DeInstall]\r\n";
    for (const std::string &line : in.listed)
        ini += line + "\r\n";
    for (unsigned i = 0; i < options.fillerLines; i++)
        ini += (i % 2 ? "C:\\windows\\filler" : in.directory + "\\missing") + std::to_string(i) +
               ".txt\r\n";
    ini += "\r\n[Settings]\r\nDefaultPage=" + in.directory + "\\VeltranoHelp.htm\r\n\r\n\r\n";
    REQUIRE(WriteBytes(in.settingsFile, ini), "settings file written");

    REQUIRE(RegSetString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "DisplayName", "Veltrano 1.0") &&
                RegSetString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "UninstallString",
                             "\"" + in.exe + "\""),
            "uninstall entry written");
    return in;
}

// Presses the box's button buttonId as a person would: by mouse, or by
// moving the focus to it and pressing Enter.
static void Press(HWND box, int buttonId, Answering how)
{
    HWND button = Control(box, buttonId);
    if (how == Answering::Buttons) {
        REQUIRE(Answer(box, buttonId), "button %d clicked", buttonId);
        return;
    }
    if (FocusOf(box) != button) {
        Focus(box, button);
        REQUIRE(WaitUntil([&]() { return FocusOf(box) == button; }, 5000),
                "focus moved to button %d", buttonId);
    }
    REQUIRE(PressKey(box, VK_RETURN), "Enter pressed on button %d", buttonId);
}

static DWORD noticeAfterYesMs;

DWORD NoticeAfterYesMs()
{
    return noticeAfterYesMs;
}

long RunUninstaller(const Installation &install, const std::string &directory, int answer,
                    Answering how, std::string *closingBox)
{
    Process p = Start("\"" + install.exe + "\"", directory.c_str());
    REQUIRE(p.pid != 0, "uninstaller started from %s", directory.c_str());
    HWND box = WaitWindow("#32770", "Deinstall", 20000, p.pid);
    REQUIRE(box, "confirmation box \"Deinstall\" shown");
    CHECK_EQ(MessageBoxText(box), std::string("Are you sure to remove Veltrano?"));
    CHECK(Control(box, IDYES) && Control(box, IDNO) && !Control(box, IDOK),
          "confirmation offers Yes and No only");
    CHECK(MessageBoxIcon(box) != nullptr, "confirmation shows an icon");
    CHECK(FocusOf(box) == Control(box, IDYES), "Yes is the focused default button");
    DWORD yesAt = GetTickCount();
    Press(box, answer, how);
    if (answer == IDYES) {
        HWND notice = WaitWindow("#32770", "Uninstall", 30000, p.pid);
        REQUIRE(notice, "notice \"Uninstall\" shown");
        noticeAfterYesMs = GetTickCount() - yesAt;
        CHECK_EQ(MessageBoxText(notice), std::string("Please quit all running instances of Veltrano"));
        CHECK(MessageBoxIcon(notice) != nullptr, "notice shows an icon");
        CHECK(Control(notice, IDOK) && !Control(notice, IDYES) && !Control(notice, IDNO),
              "notice offers OK only");
        Press(notice, IDOK, how);
        if (closingBox) {
            REQUIRE(WaitWindowGone(notice, 10000), "notice closed");
            HWND last = WaitWindow("#32770", "Uninstall", 30000, p.pid);
            REQUIRE(last, "closing box \"Uninstall\" shown");
            *closingBox = MessageBoxText(last);
            CHECK(MessageBoxIcon(last) != nullptr, "closing box shows an icon");
            CHECK(Control(last, IDOK) && !Control(last, IDYES) && !Control(last, IDNO),
                  "closing box offers OK only");
            Press(last, IDOK, how);
        }
    }
    long code = WaitExit(p, 30000);
    if (HWND box = code == -1 ? FindTopWindow("#32770", nullptr, p.pid) : nullptr)
        Say("  unanswered box \"%s\": %s", Text(box).c_str(), MessageBoxText(box).c_str());
    return code;
}

bool WaitForBatchEnd(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    if (WaitUntil([&]() { return BatchFolders().empty() && !ProcessRunning("cmd.exe"); },
                  timeoutMs, 200)) {
        DWORD took = GetTickCount() - start;
        if (took > 20000)
            Say("  note: the batch file took %lu ms", (unsigned long)took);
        return true;
    }
    // What is left, so that a batch file that did not end can be told apart
    // from one that could not remove its folder.
    for (const std::string &folder : BatchFolders()) {
        std::string names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
                names += std::string(" ") + found.cFileName;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        Say("  left: %s, holding:%s", folder.c_str(), names.c_str());
    }
    Say("  running: %s", RunningProcesses().c_str());
    return false;
}
