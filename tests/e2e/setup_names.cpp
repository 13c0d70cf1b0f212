// Names beyond the system's code page: installed and removed exactly, with
// the program group and the start-up shortcut in a Programs folder of such
// a name; and an installation that an earlier version listed in the system's
// code page. The robot is an ANSI program of that code page, so these names
// are handled with the platform's UTF-16 functions here.
#include "setup_driver.h"
#include "uninstall_layout.h"

#include <stdlib.h>

using namespace robot;
using namespace setup_e2e;

namespace {

bool ExistsW(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Removes a file or a folder tree (no link in it is followed).
void RemoveTreeW(const std::wstring &path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                if (lstrcmpW(found.cFileName, L".") && lstrcmpW(found.cFileName, L".."))
                    RemoveTreeW(path + L"\\" + found.cFileName);
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
}

// Points the Shell Folders value name at folder for this scenario.
void SetShellFolderW(const wchar_t *name, const std::wstring &folder)
{
    HKEY key;
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, 0, KEY_ALL_ACCESS, &key) ==
                ERROR_SUCCESS,
            "Shell Folders opened");
    std::vector<BYTE> before(1024);
    DWORD size = (DWORD)before.size(), type = 0;
    bool had = RegQueryValueExW(key, name, nullptr, &type, before.data(), &size) == ERROR_SUCCESS;
    before.resize(had ? size : 0);
    RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)folder.c_str(),
                   DWORD((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    std::wstring value = name;
    AtEnd([value, had, type, before]() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, 0, KEY_ALL_ACCESS, &key)) return;
        if (had)
            RegSetValueExW(key, value.c_str(), 0, type, before.data(), DWORD(before.size()));
        else
            RegDeleteValueW(key, value.c_str());
        RegCloseKey(key);
    });
}

// Runs the uninstaller that the entry names (read and started in UTF-16):
// Yes, then OK. Returns its exit code.
long RunRegisteredUninstallerW()
{
    HKEY key;
    wchar_t command[1024] = L"";
    DWORD size = sizeof command - sizeof(wchar_t);
    REQUIRE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS &&
                RegQueryValueExW(key, L"UninstallString", nullptr, nullptr, (BYTE *)command,
                                 &size) == ERROR_SUCCESS,
            "the uninstall entry names the uninstaller");
    RegCloseKey(key);
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process;
    REQUIRE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process),
            "the uninstaller starts");
    CloseHandle(process.hThread);
    Process uninstaller;
    uninstaller.handle = process.hProcess;
    uninstaller.pid = process.dwProcessId;
    AtEnd([process]() {
        TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
    });
    HWND question = WaitWindow("#32770", "Deinstall", PAGE_TIMEOUT, uninstaller.pid);
    REQUIRE(question, "the uninstaller asks first");
    Answer(question, IDYES);
    HWND notice = WaitWindow("#32770", "Uninstall", PAGE_TIMEOUT, uninstaller.pid);
    REQUIRE(notice, "the notice follows");
    Answer(notice, IDOK);
    return WaitExit(uninstaller, PAGE_TIMEOUT);
}

// Install.exe as a build without the UTF-8 code page would be, or as
// Windows before 10 1903, which ignores the element, runs it: the element's
// value made one that the platform does not know, in the program and in the
// uninstaller it carries. Returns its path (a Linux path in the build tree).
std::string EarlierInstaller()
{
    std::string bytes, from = "UTF-8</activeCodePage>", to = "UTF-7</activeCodePage>";
    REQUIRE(ReadBytes(WinePath(E2E_BINARY_DIR "/Install.exe"), &bytes), "Install.exe read");
    unsigned changed = 0;
    for (size_t at; (at = bytes.find(from)) != std::string::npos; changed++)
        bytes.replace(at, from.size(), to);
    std::string copy = E2E_BINARY_DIR "/e2e-earlier-Install.exe";
    REQUIRE(changed == 2 && WriteBytes(WinePath(copy), bytes),
            "a copy without the UTF-8 code page written (%u elements)", changed);
    AtEnd([copy]() { DeleteFileA(WinePath(copy).c_str()); });
    return copy;
}

// Installs in German into directory (below made, which the setup makes),
// with the program group and the start-up shortcut in the Programs folder
// programs (below menu; both made here) and its Startup folder startup;
// checks the completion message's text, every file and shortcut; then
// removes it all with the registered uninstaller and checks that nothing
// of it stays.
void InstallAndRemoveW(const std::wstring &made, const std::wstring &directory,
                       const std::wstring &menu, const std::wstring &programs,
                       const std::wstring &startup)
{
    CleanSlate("");
    AtEnd([=]() {
        RemoveTreeW(made);
        RemoveTreeW(menu);
    });
    REQUIRE(CreateDirectoryW(menu.c_str(), nullptr) && CreateDirectoryW(programs.c_str(), nullptr) &&
                CreateDirectoryW(startup.c_str(), nullptr),
            "the Programs and Startup folders made");
    SetShellFolderW(L"Programs", programs);
    SetShellFolderW(L"Startup", startup);

    Process installer = StartInstaller();
    Choices choices;
    choices.german = true;   // the page with the start-up shortcut
    choices.widePath = directory;
    choices.startWithWindows = 1;
    HWND done = WalkToCompletion(installer, choices);
    wchar_t text[256] = L"";
    GetDlgItemTextW(done, 0xFFFF, text, 256);
    CHECK(!lstrcmpW(text, L"Lesen Sie bitte die Copyright-Hinweise in der Online-Hilfe. Viel Spa\u00DF!"),
          "the German message keeps its \u00DF");
    Answer(done, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    int files = 0;
    for (const PayloadRow &row : Payload()) {
        std::wstring name(row.fileName, row.fileName + strlen(row.fileName));
        files += ExistsW(directory + L"\\" + name);
    }
    CHECK_EQ(files, 26);
    CHECK(ExistsW(directory + L"\\Pellino.exe.ini"), "the settings file is there");
    CHECK(!DirectoryExists("C:\\e2e-setup\\Lodz") && !DirectoryExists("C:\\e2e-setup\\Veltrano"),
          "nothing went to a look-alike folder, nor lost a separator");
    const std::wstring group = programs + L"\\Veltrano 1.0";
    CHECK(ExistsW(group + L"\\Veltrano 1.0.lnk") && ExistsW(group + L"\\Help.lnk") &&
              ExistsW(startup + L"\\Veltrano 1.0.lnk"),
          "the group and the start-up shortcut are made");

    CHECK_EQ(RunRegisteredUninstallerW(), 1L);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "the batch file ends");
    CHECK(!ExistsW(made), "the installation and the folders made above it are gone");
    CHECK(!ExistsW(group) && !ExistsW(startup + L"\\Veltrano 1.0.lnk"),
          "the group and the start-up shortcut are gone");
    CHECK(ExistsW(startup), "the Startup folder stays");
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "the entry is gone");
}

// Starts a build without UTF-8 (EarlierInstaller) and types path on its
// options page: it must refuse it with the code page's reason and keep the
// page open. Returns the page.
HWND RefusedByEarlierBuild(Process *installer, const std::wstring &path)
{
    _putenv(("SETUP_E2E_INSTALLER=" + EarlierInstaller()).c_str());
    *installer = StartInstaller();
    _putenv("SETUP_E2E_INSTALLER=");
    HWND page = WaitPage(*installer);
    Click(Control(page, 1));
    page = WaitPage(*installer, page);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "the options page opens");
    SetCheck(page, 109, 0);
    SendMessageW(Control(page, 106), WM_SETTEXT, 0, (LPARAM)path.c_str());
    PressKey(page, VK_RETURN);
    HWND box = WaitBox(*installer, "Installation path");
    REQUIRE(box, "the path is refused with a box");
    CHECK_EQ(MessageBoxText(box), std::string("The path holds a character that this system's code "
                                              "page cannot represent exactly. Please choose "
                                              "another folder."));
    Answer(box, IDOK);
    Sleep(300);
    CHECK(IsWindow(page) && IsVisible(page), "the page stays open");
    return page;
}

}  // namespace

ROBOT_SCENARIO(names_beyond_the_code_page)
{
    // Cyrillic, Chinese, an emoji, and letters that best fit turns into
    // others (Ł into L, ź into z), in the folder the setup program makes,
    // and a Cyrillic Programs folder with the Startup folder in it.
    const std::wstring made = L"C:\\e2e-setup\\\u0141\u00F3d\u017A \u7A0B\u5E8F \u041F\u0440\u043E\u0433 \U0001F600";
    const std::wstring menu = L"C:\\e2e-setup\\\u041C\u0435\u043D\u044E";
    const std::wstring programs = menu + L"\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B";
    InstallAndRemoveW(made, made + L"\\Veltrano", menu, programs,
                      programs + L"\\\u0410\u0432\u0442\u043E");
}

ROBOT_SCENARIO(earlier_version_list_in_a_non_ascii_folder)
{
    const std::string made = "C:\\e2e-setup\\M\xFCller";   // code page 1252
    const std::string directory = made + "\\Veltrano";
    CleanSlate(made);
    SetProxy(nullptr);
    SetAutoDial(nullptr);
    std::string earlier = EarlierInstaller();
    _putenv(("SETUP_E2E_INSTALLER=" + earlier).c_str());
    Process first = StartInstaller();
    _putenv("SETUP_E2E_INSTALLER=");
    Choices choices;
    choices.path = directory;
    Answer(WalkToCompletion(first, choices), IDOK);
    CHECK_EQ(WaitExit(first, PAGE_TIMEOUT), 0);
    std::string list;
    REQUIRE(ReadBytes(Join(directory, "Pellino.exe.ini"), &list) &&
                list.find("[DeInstall]\r\n" + made + "\r\n") != std::string::npos,
            "the earlier version listed the folder it made, in code page 1252");

    // This version, in UTF-8, finds that installation, adds no second line
    // for any item, and writes the default page as the application reads it.
    Process second = StartInstaller();
    choices.proposed = directory;
    choices.startAfterInstall = 1;
    Answer(WalkToCompletion(second, choices), IDOK);
    CHECK_EQ(WaitExit(second, PAGE_TIMEOUT), 0);
    std::string again;
    ReadBytes(Join(directory, "Pellino.exe.ini"), &again);
    CHECK_EQ(again, list);
    CheckPayloadFiles(directory);
    HWND application = WaitWindow("PellinoMain", "Veltrano 1.0", PAGE_TIMEOUT);
    REQUIRE(application, "the application runs");
    CHECK_EQ(Text(Control(application, 101)), directory + "\\VeltranoHelp.htm");

    CHECK_EQ(RunRegisteredUninstaller(application), 1L);
    CHECK(WaitForBatchEnd(BATCH_END_MS), "the batch file ends");
    CHECK(!DirectoryExists(made), "the installation and the folder made above it are gone");
    CHECK(!DirectoryExists(Join(ProgramsFolder(), "Veltrano 1.0")), "the group is gone");
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "the entry is gone");
}

ROBOT_SCENARIO(names_the_code_page_cannot_carry_are_never_used)
{
    // Where UTF-8 is not in force, a name that code page 1252 cannot carry
    // would reach the program as "?" or as a look-alike (Ł as L).
    const std::wstring programs = L"C:\\e2e-setup\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B";
    const std::string directory = "C:\\e2e-setup\\Earlier";
    CleanSlate(directory);
    AtEnd([=]() { RemoveTreeW(programs); });
    REQUIRE(CreateDirectoryW(programs.c_str(), nullptr), "a Cyrillic Programs folder made");
    SetShellFolderW(L"Programs", programs);
    Process installer;
    HWND page = RefusedByEarlierBuild(&installer, L"C:\\e2e-setup\\\u0141\u00F3d\u017A\\Veltrano");
    CHECK(!DirectoryExists("C:\\e2e-setup\\Lodz"), "nothing went to a look-alike folder");

    // An ASCII path: installed, but the group is left out of the Programs
    // folder that the code page cannot name, and its shortcuts are named.
    TypePath(page, directory, false);
    PressKey(page, VK_RETURN);
    HWND box = WaitBox(installer, "Installation incomplete");
    REQUIRE(box, "the installation ends with the warning");
    std::string text = MessageBoxText(box);
    std::string named = "\\e2e-setup\\?????????\\Veltrano 1.0\\";
    CHECK(text.find(named + "Veltrano 1.0.lnk") != std::string::npos &&
              text.find(named + "Help.lnk") != std::string::npos,
          "the warning names the group's shortcuts: %s", Show(text).c_str());
    Answer(box, IDOK);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CHECK(!ExistsW(programs + L"\\Veltrano 1.0") && !DirectoryExists("C:\\e2e-setup\\?????????"),
          "no group was made anywhere");
    CHECK(FileExists(Join(directory, "Pellino.exe")), "the files are installed");
}

ROBOT_SCENARIO(names_on_a_japanese_system)
{
    // Run in a prefix whose code page is 932, where a character's second
    // byte may be "\\" (表), "[" (ー) or "|" (ポ), and German has no ä or ß.
    const std::wstring made = L"C:\\e2e-setup\\\u8868";
    const std::wstring menu = L"C:\\e2e-setup\\\u30B9\u30BF\u30FC\u30C8 \u30E1\u30CB\u30E5\u30FC";
    const std::wstring programs = menu + L"\\\u30D7\u30ED\u30B0\u30E9\u30E0";
    REQUIRE(GetACP() == 932, "the robot runs on code page 932 (it runs %u)", GetACP());
    InstallAndRemoveW(made, made + L"\\\u30C7\u30FC\u30BF\\\u30DD\\Veltrano", menu, programs,
                      programs + L"\\\u30B9\u30BF\u30FC\u30C8\u30A2\u30C3\u30D7");

    // Where UTF-8 is not in force, a name with a two-byte character is
    // refused with a reason (its second byte would read as "\\").
    Process earlier;
    RefusedByEarlierBuild(&earlier, made + L"\\Veltrano");
    CHECK(!ExistsW(made) && !DirectoryExists("C:\\e2e-setup\\Veltrano"), "nothing was made");
}
