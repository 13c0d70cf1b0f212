// Shared steps of the setup scenarios (see setup_driver.h).
#include "setup_driver.h"

#include <cstdlib>

using namespace robot;

namespace setup_e2e {

// The programs under test are the build tree's, unless the environment names
// others (a release): SETUP_E2E_INSTALLER an Install.exe, SETUP_E2E_PROGRAMS
// the directory of the Pellino.exe and _purgel.exe that it carries.
static std::string FromEnvironment(const char *name, const std::string &otherwise)
{
    const char *value = getenv(name);
    return value && *value ? value : otherwise;
}

const std::vector<PayloadRow> &Payload()
{
    static const std::vector<PayloadRow> rows = {
        {1, "Pellino.exe"}, {2, "Readme.rtf"}, {3, "_purgel.exe"}, {1001, "Index.htm"},
        {1002, "GettingStarted.htm"}, {1003, "Settings.htm"}, {1004, "Uninstall.htm"},
        {1005, "VeltranoHelp.htm"}, {1006, "Keyboard.htm"}, {1007, "Proxy.htm"},
        {1008, "Troubleshooting.htm"}, {1009, "Glossary.htm"}, {1010, "Contact.htm"},
        {1011, "Logo.gif"}, {1012, "Banner.gif"}, {1013, "Window.gif"}, {1014, "Settings.gif"},
        {1015, "Back.gif"}, {1016, "Next.gif"}, {1017, "Home.gif"}, {1018, "Bullet.gif"},
        {1019, "Divider.gif"}, {1020, "Tip.gif"}, {1021, "Warning.gif"}, {1022, "Note.gif"},
        {1023, "License.rtf"}};
    return rows;
}

std::string PayloadBytes(const PayloadRow &row)
{
    std::string name = row.fileName;
    std::string programs = FromEnvironment("SETUP_E2E_PROGRAMS", E2E_BINARY_DIR "/payload");
    std::string source = name.size() > 4 && name.substr(name.size() - 4) == ".exe"
                             ? programs + "/" + name
                             : std::string(E2E_SOURCE_DIR) + "/app/docs/" + name;
    std::string bytes;
    if (!ReadBytes(WinePath(source), &bytes))
        return "<unreadable " + source + ">";
    return bytes;
}

Process StartInstaller()
{
    std::string file = FromEnvironment("SETUP_E2E_INSTALLER", E2E_BINARY_DIR "/Install.exe");
    Process installer = Start(WinePath(file));
    REQUIRE(installer.pid, "Install.exe started");
    return installer;
}

HWND WaitPage(const Process &installer, HWND previous)
{
    if (previous)
        WaitWindowGone(previous, PAGE_TIMEOUT);
    return WaitWindow("#32770", PAGE_CAPTION, PAGE_TIMEOUT, installer.pid);
}

static BOOL CALLBACK CollectText(HWND child, LPARAM texts)
{
    reinterpret_cast<std::vector<std::string> *>(texts)->push_back(Text(child));
    return TRUE;
}

std::vector<std::string> ChildTexts(HWND window)
{
    std::vector<std::string> texts;
    if (window)
        EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool ShowsText(HWND window, const std::string &text)
{
    for (const std::string &shown : ChildTexts(window))
        if (shown == text)
            return true;
    return false;
}

bool SameIgnoringCase(const std::string &a, const std::string &b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

PageKind KindOf(HWND page)
{
    if (!page)
        return NO_PAGE;
    if (Control(page, 106))
        return OPTIONS_PAGE;
    if (Control(page, 104))
        return LANGUAGE_PAGE;
    return WELCOME_PAGE;
}

HWND WaitBox(const Process &installer, const char *caption)
{
    return WaitWindow("#32770", caption, PAGE_TIMEOUT, installer.pid);
}

std::string DefaultInstallPath()
{
    const char key[] = "Software\\Microsoft\\Windows\\CurrentVersion";
    std::string programFiles, native;
    RegReadString(HKEY_LOCAL_MACHINE, key, "ProgramFilesDir", &programFiles);
    RegReadString(HKEY_LOCAL_MACHINE, key, "ProgramW6432Dir", &native);
    WIN32_FIND_DATAA found;
    std::string path;
    HANDLE search = FindFirstFileA("c:\\prog*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string candidate = std::string("c:\\") + found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                (SameIgnoringCase(candidate, programFiles) || SameIgnoringCase(candidate, native))) {
                path = candidate;
                break;
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (path.empty()) {
        char windows[MAX_PATH] = "";
        GetWindowsDirectoryA(windows, MAX_PATH);
        path = windows;
    }
    return Join(path, "Veltrano");
}

static std::string ShellFolderValue(const char *name)
{
    std::string value;
    RegReadString(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, name, &value);
    return value;
}

std::string ProgramsFolder() { return ShellFolderValue("Programs"); }
std::string StartupFolder() { return ShellFolderValue("Startup"); }

std::string Join(const std::string &directory, const std::string &name)
{
    if (directory.size() == 1)
        return directory + ":\\" + name;
    if (!directory.empty() && directory.back() == '\\')
        return directory + name;
    return directory + "\\" + name;
}

static void RemoveInstallation(const std::string &installDirectory)
{
    RegRemoveKey(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    if (!ProgramsFolder().empty())
        RemoveTree(Join(ProgramsFolder(), "Veltrano 1.0"));
    if (!StartupFolder().empty())
        DeleteFileA(Join(StartupFolder(), "Veltrano 1.0.lnk").c_str());
    if (!installDirectory.empty())
        RemoveTree(installDirectory);
}

void CleanSlate(const std::string &installDirectory)
{
    RemoveInstallation(installDirectory);
    MakeDirectories("C:\\e2e-setup");
    AtEnd([installDirectory]() {
        // An application that the scenario started is ended first, so that
        // its files can go.
        HWND application;
        while ((application = FindTopWindow("PellinoMain", nullptr)) != nullptr) {
            PostMessageA(application, WM_CLOSE, 0, 0);
            WaitWindowGone(application, 5000);
        }
        WaitNoProcess("Pellino.exe", 5000);
        RemoveInstallation(installDirectory);
        RemoveDirectoryA("C:\\e2e-setup");   // the scenarios' common parent, once empty
    });
}

static void RestoreValueAtEnd(const char *value)
{
    std::string text;
    DWORD number = 0;
    bool hadText = RegReadString(HKEY_CURRENT_USER, INTERNET_KEY, value, &text);
    bool hadNumber = !hadText && RegReadDword(HKEY_CURRENT_USER, INTERNET_KEY, value, &number);
    std::string name = value;
    AtEnd([=]() {
        if (hadText)
            RegSetString(HKEY_CURRENT_USER, INTERNET_KEY, name.c_str(), text);
        else if (hadNumber)
            RegSetDword(HKEY_CURRENT_USER, INTERNET_KEY, name.c_str(), number);
        else
            RegRemoveValue(HKEY_CURRENT_USER, INTERNET_KEY, name.c_str());
    });
}

void SetProxy(const char *proxyServer)
{
    RestoreValueAtEnd("ProxyServer");
    if (proxyServer)
        RegSetString(HKEY_CURRENT_USER, INTERNET_KEY, "ProxyServer", proxyServer);
    else
        RegRemoveValue(HKEY_CURRENT_USER, INTERNET_KEY, "ProxyServer");
}

void SetAutoDial(const DWORD *enableAutoDial)
{
    RestoreValueAtEnd("EnableAutoDial");
    if (enableAutoDial)
        RegSetDword(HKEY_CURRENT_USER, INTERNET_KEY, "EnableAutoDial", *enableAutoDial);
    else
        RegRemoveValue(HKEY_CURRENT_USER, INTERNET_KEY, "EnableAutoDial");
}

static void FocusAndWait(HWND page, HWND control)
{
    Focus(page, control);
    WaitUntil([&]() { return FocusOf(page) == control; }, 5000);
}

void TypePath(HWND options, const std::string &path, bool leaveField)
{
    HWND edit = Control(options, 106);
    FocusAndWait(options, edit);
    SetText(edit, path);
    if (leaveField)
        FocusAndWait(options, Control(options, 105));
}

void SetCheck(HWND options, int id, int checked)
{
    HWND box = Control(options, id);
    if (CheckState(box) != checked) {
        Click(box);
        WaitUntil([&]() { return CheckState(box) == checked; }, 5000);
    }
}

HWND WalkToCompletion(const Process &installer, const Choices &choices, DWORD *elapsedMs)
{
    HWND page = WaitPage(installer);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "the welcome page opens first");
    if (choices.german) {
        PressKey(page, VK_ESCAPE);
        page = WaitPage(installer, page);
        REQUIRE(KindOf(page) == LANGUAGE_PAGE, "Escape opens the language page");
        Click(Control(page, 102));
        WaitUntil([&]() { return CheckState(Control(page, 102)) == BST_CHECKED; }, 5000);
        Click(Control(page, 1));
        page = WaitPage(installer, page);
        REQUIRE(KindOf(page) == WELCOME_PAGE, "the German welcome page follows");
    }
    Click(Control(page, 1));
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "the options page follows the welcome page");
    if (!choices.proposed.empty())
        CHECK_EQ(Text(Control(page, 106)), choices.proposed);
    SetCheck(page, 107, choices.programGroup);
    if (choices.german)
        SetCheck(page, 108, choices.startWithWindows);
    SetCheck(page, 109, choices.startAfterInstall);
    DWORD start;
    if (choices.enterAfterTyping) {
        TypePath(page, choices.path, false);
        start = GetTickCount();
        PressKey(page, VK_RETURN);
    } else {
        if (!choices.path.empty())
            TypePath(page, choices.path, true);
        if (!choices.widePath.empty()) {
            FocusAndWait(page, Control(page, 106));
            SendMessageW(Control(page, 106), WM_SETTEXT, 0, (LPARAM)choices.widePath.c_str());
            FocusAndWait(page, Control(page, 105));
        }
        start = GetTickCount();
        Click(Control(page, 1));
    }
    if (!choices.replaceQuestion.empty()) {
        const char *question = choices.german ? "Dateien ersetzen" : "Replace files";
        for (int answer : {IDNO, IDYES}) {
            HWND box = WaitBox(installer, question);
            REQUIRE(box, "the question \"%s\" appears", question);
            CHECK_EQ(MessageBoxText(box), choices.replaceQuestion);
            Answer(box, answer);
            if (answer == IDNO) {
                Sleep(500);
                REQUIRE(IsWindow(page) && IsVisible(page), "No keeps the options page open");
                start = GetTickCount();
                Click(Control(page, 1));
            }
        }
    }
    const char *caption = choices.incomplete
                              ? (choices.german ? "Installation unvollst\xE4ndig" : "Installation incomplete")
                              : (choices.german ? "Willkommen zum Brisquet! " : "Welcome to the Veltrano! ");
    HWND box = WaitBox(installer, caption);
    if (elapsedMs)
        *elapsedMs = GetTickCount() - start;
    REQUIRE(box, "the message \"%s\" appears", caption);
    return box;
}

std::string ExpectedSettingsFile(const std::string &installDirectory, bool programGroup,
                                 const std::vector<std::string> &settingsLines, bool startupLink,
                                 const std::vector<std::string> &createdFolders)
{
    std::string file = "[DeInstall]\r\n";
    for (const std::string &folder : createdFolders)
        file += folder + "\r\n";
    for (const PayloadRow &row : Payload())
        file += Join(installDirectory, row.fileName) + "\r\n";
    file += Join(installDirectory, "pellino.exe.ini") + "\r\n";
    if (programGroup) {
        std::string group = Join(ProgramsFolder(), "Veltrano 1.0");
        file += group + "\\Veltrano 1.0.lnk\r\n";
        file += group + "\\Help.lnk\r\n";
        file += group + "\r\n";
    }
    if (startupLink)
        file += Join(StartupFolder(), "Veltrano 1.0.lnk") + "\r\n";
    file += "\r\n[Settings]\r\n";
    for (const std::string &line : settingsLines)
        file += line + "\r\n";
    return file + "\r\n\r\n";
}

long RunRegisteredUninstaller(HWND application, DWORD *yesAt, std::string *closingBox)
{
    std::string command;
    REQUIRE(RegReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", &command),
            "the uninstall entry names the uninstaller");
    Process uninstaller = Start(command);
    REQUIRE(uninstaller.pid, "the uninstaller starts from %s", command.c_str());
    HWND question = WaitWindow("#32770", "Deinstall", PAGE_TIMEOUT, uninstaller.pid);
    REQUIRE(question, "the uninstaller asks first");
    if (yesAt)
        *yesAt = GetTickCount();
    Answer(question, IDYES);
    if (application)
        CHECK(WaitWindowGone(application, PAGE_TIMEOUT), "the application closes on the broadcast");
    HWND notice = WaitWindow("#32770", "Uninstall", PAGE_TIMEOUT, uninstaller.pid);
    REQUIRE(notice, "the notice follows");
    Answer(notice, IDOK);
    if (closingBox) {
        REQUIRE(WaitWindowGone(notice, PAGE_TIMEOUT), "the notice closes");
        HWND last = WaitWindow("#32770", "Uninstall", PAGE_TIMEOUT, uninstaller.pid);
        REQUIRE(last, "the closing box follows");
        *closingBox = MessageBoxText(last);
        Answer(last, IDOK);
    }
    return WaitExit(uninstaller, PAGE_TIMEOUT);
}

void CheckPayloadFiles(const std::string &directory)
{
    int same = 0;
    for (const PayloadRow &row : Payload()) {
        std::string installed;
        bool read = ReadBytes(Join(directory, row.fileName), &installed);
        if (read && installed == PayloadBytes(row))
            same++;
        else
            CHECK(false, "%s is installed with the payload's bytes", row.fileName);
    }
    CHECK_EQ(same, 26);
}

void CheckUninstallEntry(const std::string &installDirectory)
{
    HKEY key;
    REQUIRE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS,
            "the uninstall key exists");
    size_t payloadBytes = 0;
    for (const PayloadRow &row : Payload())
        payloadBytes += PayloadBytes(row).size();
    auto text = [](const std::string &s) { return s + '\0'; };   // stored with its terminator
    auto number = [](DWORD n) { return std::string(reinterpret_cast<const char *>(&n), 4); };
    struct Expected {
        const char *name;
        DWORD type;
        std::string data;
    } values[] = {
        {"DisplayName", REG_SZ, text("Veltrano 1.0")},
        {"UninstallString", REG_SZ, text("\"" + Join(installDirectory, "_purgel.exe") + "\"")},
        {"DisplayIcon", REG_SZ, text(Join(installDirectory, "Pellino.exe") + ",0")},
        {"DisplayVersion", REG_SZ, text("1.0")},
        {"InstallLocation", REG_SZ, text(Join(installDirectory, ""))},
        {"EstimatedSize", REG_DWORD, number(DWORD((payloadBytes + 1023) / 1024))},
        {"NoModify", REG_DWORD, number(1)},
        {"NoRepair", REG_DWORD, number(1)}};
    for (const Expected &value : values) {
        char data[1024];
        DWORD type = 0, size = sizeof data;
        LONG rc = RegQueryValueExA(key, value.name, nullptr, &type, (BYTE *)data, &size);
        CHECK(rc == ERROR_SUCCESS && type == value.type, "%s is there with type %lu (got %lu)",
              value.name, value.type, type);
        CHECK_EQ(std::string(data, rc == ERROR_SUCCESS ? size : 0), value.data);
    }
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    CHECK_EQ(count, DWORD(sizeof values / sizeof values[0]));
    RegCloseKey(key);
}

}  // namespace setup_e2e
