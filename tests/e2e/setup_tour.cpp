// The tours that scripts/run.sh shows on a virtual display: the first walks
// through every page of Install.exe, asks for a screenshot of each, makes a
// default installation and reports what was installed (the installation
// stays); the second shows the first two pages again at 144 DPI.
//
// A screenshot is asked for by the line "SHOT name" on standard output; the
// tour goes on once name.png exists in the directory SETUP_TOUR_SHOTS (a
// Windows path), or after ten seconds.
#include "setup_driver.h"
#include <stdlib.h>
#include <algorithm>

using namespace robot;
using namespace setup_e2e;

namespace {

void Shot(const char *name)
{
    const char *directory = getenv("SETUP_TOUR_SHOTS");
    if (!directory)
        return;
    Sleep(300);   // let the page finish painting
    Say("SHOT %s", name);
    std::string file = Join(directory, std::string(name) + ".png");
    WaitUntil([&]() { return FileExists(file); }, 10000, 100);
}

HWND Next(const Process &installer, HWND page, int button)
{
    Click(Control(page, button));
    return WaitPage(installer, page);
}

void Summarise(const std::string &directory)
{
    Say("summary: installed into %s", directory.c_str());
    int files = 0;
    unsigned long bytes = 0;
    for (const PayloadRow &row : Payload()) {
        std::string content;
        if (ReadBytes(Join(directory, row.fileName), &content)) {
            files++;
            bytes += content.size();
        }
    }
    Say("summary: %d of 26 payload files, %lu bytes", files, bytes);
    std::string group = Join(ProgramsFolder(), "Veltrano 1.0");
    for (const char *link : {"Veltrano 1.0.lnk", "Help.lnk"}) {
        LinkInfo info;
        if (ReadShellLink(Join(group, link), &info))
            Say("summary: shortcut %s -> %s", Join(group, link).c_str(), info.target.c_str());
    }
    std::string command;
    if (RegReadString(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", &command))
        Say("summary: uninstall entry HKLM\\%s runs %s", UNINSTALL_KEY, command.c_str());
    std::string settings;
    if (ReadBytes(Join(directory, "Pellino.exe.ini"), &settings)) {
        size_t at = settings.find("[Settings]");
        Say("summary: settings file %s, %lu lines in DeInstall",
            Join(directory, "Pellino.exe.ini").c_str(),
            (unsigned long)std::count(settings.begin(), settings.begin() + (at == std::string::npos ? 0 : at), '\n') - 2);
        std::string section = at == std::string::npos ? "" : settings.substr(at);
        while (!section.empty() && (section.back() == '\r' || section.back() == '\n'))
            section.pop_back();
        if (!section.empty())
            Say("summary: %s", section.c_str());
    }
}

}  // namespace

ROBOT_SCENARIO(default_installation_tour)
{
    Process installer = StartInstaller();
    HWND page = WaitPage(installer);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "the welcome page opens");
    Shot("1-welcome");
    PressKey(page, VK_ESCAPE);
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == LANGUAGE_PAGE, "the language page opens");
    Shot("2-language");
    Click(Control(page, 102));
    WaitUntil([&]() { return CheckState(Control(page, 102)) == BST_CHECKED; }, 5000);
    page = Next(installer, page, 1);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "the German welcome page opens");
    Shot("3-welcome-german");
    page = Next(installer, page, 1);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "the German options page opens");
    Shot("4-options-german");
    page = Next(installer, page, 2);
    PressKey(page, VK_ESCAPE);
    page = WaitPage(installer, page);
    Click(Control(page, 104));
    WaitUntil([&]() { return CheckState(Control(page, 104)) == BST_CHECKED; }, 5000);
    page = Next(installer, page, 1);
    page = Next(installer, page, 1);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "the English options page opens");
    Shot("5-options");
    std::string directory = Text(Control(page, 106));
    Click(Control(page, 101));
    HWND question = WaitBox(installer, "Exit installation");
    REQUIRE(question, "the quit question appears");
    Shot("6-quit-question");
    Answer(question, IDNO);
    page = WaitPage(installer, page);
    Click(Control(page, 1));
    HWND done = WaitBox(installer, "Welcome to the Veltrano! ");
    REQUIRE(done, "the installation completes");
    Shot("7-completed");
    Answer(done, IDOK);
    HWND application = WaitWindow("PellinoMain", "Veltrano 1.0", PAGE_TIMEOUT);
    CHECK(application != nullptr, "the application starts");
    Shot("8-application");
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    Summarise(directory);
    if (application) {
        PostMessageA(application, WM_CLOSE, 0, 0);
        WaitWindowGone(application, 5000);
    }
}

// The welcome and options pages once more, on a display of 144 DPI: the
// pages grow with their font and the title with them. Nothing is installed.
ROBOT_SCENARIO(high_dpi_tour)
{
    SetDisplayDpi(144);
    Process installer = StartInstaller();
    HWND page = WaitPage(installer);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "the welcome page opens at 144 DPI");
    Shot("9-welcome-144dpi");
    page = Next(installer, page, 1);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "the options page opens at 144 DPI");
    Shot("10-options-144dpi");
    Click(Control(page, 101));
    HWND question = WaitBox(installer, "Exit installation");
    REQUIRE(question, "the quit question appears");
    Answer(question, IDYES);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
}

int main(int argc, char **argv) { return robot::Main(argc, argv); }
