// The wizard of Install.exe: the first page and the background, every
// transition between pages, the quit question, and the options page.
#include "setup_driver.h"
#include <stdlib.h>

using namespace robot;
using namespace setup_e2e;

namespace {

// Nothing of an installation exists: no uninstall entry and no directory.
void CheckNothingInstalled(const std::string &directory)
{
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "no uninstall entry was written");
    CHECK(!DirectoryExists(directory), "%s was not created", directory.c_str());
}

// Quits through the quit question's Yes and checks the exit code.
void QuitWithYes(const Process &installer, HWND page, const char *caption)
{
    Click(Control(page, 101));
    HWND box = WaitBox(installer, caption);
    REQUIRE(box, "the quit question appears");
    Answer(box, IDYES);
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
}

// Agrees on the welcome page and returns the options page that follows.
HWND OpenOptionsPage(const Process &installer)
{
    HWND page = WaitPage(installer);
    Click(Control(page, 1));
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "Agree opens the options page");
    return page;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

}  // namespace

ROBOT_SCENARIO(first_page_centred_on_teal_background)
{
    std::string directory = DefaultInstallPath();
    CleanSlate(directory);
    Process installer = StartInstaller();
    HWND page = WaitPage(installer);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "the first page is the welcome page");
    CHECK_EQ(Text(page), std::string("Veltrano 1.0"));
    CHECK_EQ(Text(Control(page, 102)), std::string("Welcome to Veltrano 1.0"));
    CHECK_EQ(Text(Control(page, 1)), std::string("Agree >>"));
    CHECK_EQ(Text(Control(page, 101)), std::string("Quit"));
    CHECK(!Control(page, 2), "the welcome page has no Back button");
    CHECK(WaitUntil([&]() { return FocusOf(page) == Control(page, 1); }, 3000),
          "the focus starts on the Agree button");

    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT r = Rectangle(page);
    CHECK_EQ(r.left, (screenWidth - (r.right - r.left)) / 2);
    CHECK_EQ(r.top, (screenHeight - (r.bottom - r.top)) / 2);
    CHECK((GetWindowLongA(page, GWL_STYLE) & WS_SYSMENU) == 0, "the page has no system menu");

    HWND background = FindTopWindow("InstClass", nullptr, installer.pid);
    REQUIRE(background, "the background window of class InstClass is there");
    CHECK_EQ(Text(background), std::string(""));
    CHECK(IsMaximised(background), "the background is maximised");
    RECT b = Rectangle(background);
    CHECK(b.left <= 0 && b.top <= 0 && b.right >= screenWidth && b.bottom >= screenHeight,
          "the background covers the screen (%ld,%ld,%ld,%ld)", b.left, b.top, b.right, b.bottom);
    CHECK_EQ(ScreenPixel(screenWidth - 10, screenHeight - 10), RGB(0, 128, 128));
    // The white title with its black shadow at the top left.
    bool white = false, black = false;
    for (int x = 20; x < 200; x++)
        for (int y = 20; y < 70; y += 3) {
            COLORREF c = ScreenPixel(x, y);
            white = white || c == RGB(255, 255, 255);
            black = black || c == RGB(0, 0, 0);
        }
    CHECK(white && black, "the title is drawn in white with a black shadow");
    // Wine took the program's manifest: the page's controls come from the
    // common controls of version 6, which only a manifest asks for.
    bool controls6 = false;
    for (const std::string &module : ProcessModules(installer.pid))
        controls6 = controls6 || (module.find("common-controls") != std::string::npos &&
                                  module.find("_6.0.") != std::string::npos);
    CHECK(controls6, "Install.exe uses the common controls 6 that its manifest names");

    QuitWithYes(installer, page, "Exit installation");
    CheckNothingInstalled(directory);
}

namespace {

// The first page and the title beside it, as the screen shows them.
struct FirstPage {
    RECT page;
    RECT title;    // the white letters
    RECT shadow;   // the black ones
};

// Starts Install.exe at the display's current DPI, takes the welcome page's
// place and the title's on the background above it, and quits.
FirstPage MeasureFirstPage()
{
    Process installer = StartInstaller();
    HWND page = WaitPage(installer);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "the welcome page opens");
    FirstPage seen = {Rectangle(page), {}, {}};
    RECT above = {0, 0, GetSystemMetrics(SM_CXSCREEN), seen.page.top};
    // The background paints once the page has opened: wait for the title.
    WaitUntil([&]() {
        RECT white = ScreenImage().Bounds(above, RGB(255, 255, 255));
        return !IsRectEmpty(&white);
    }, 5000, 100);
    Sleep(300);   // let it finish painting
    ScreenImage screen;
    seen.title = screen.Bounds(above, RGB(255, 255, 255));
    seen.shadow = screen.Bounds(above, RGB(0, 0, 0));
    Say("  page (%ld,%ld)-(%ld,%ld), title (%ld,%ld)-(%ld,%ld), shadow (%ld,%ld)-(%ld,%ld)",
        seen.page.left, seen.page.top, seen.page.right, seen.page.bottom, seen.title.left,
        seen.title.top, seen.title.right, seen.title.bottom, seen.shadow.left, seen.shadow.top,
        seen.shadow.right, seen.shadow.bottom);
    QuitWithYes(installer, page, "Exit installation");
    return seen;
}

// Whether big is one and a half times small, give or take a tenth.
bool OneAndAHalf(LONG big, LONG small)
{
    return small > 0 && big * 20 >= small * 27 && big * 20 <= small * 33;
}

}  // namespace

// At 144 DPI the pages grow with their font, and the title, its distance
// from the corner and its shadow grow with them: all of the title shows,
// above the page, as large beside it as at 96 DPI.
ROBOT_SCENARIO(title_scales_with_the_display_dpi)
{
    std::string directory = DefaultInstallPath();
    CleanSlate(directory);
    FirstPage normal = MeasureFirstPage();
    SetDisplayDpi(144);
    FirstPage large = MeasureFirstPage();

    LONG width = large.page.right - large.page.left, height = large.page.bottom - large.page.top;
    CHECK(OneAndAHalf(width, normal.page.right - normal.page.left) &&
              OneAndAHalf(height, normal.page.bottom - normal.page.top),
          "the page is half as large again at 144 DPI (%ld x %ld)", width, height);
    CHECK(!IsRectEmpty(&large.title) && !IsRectEmpty(&normal.title), "the title shows");
    CHECK(OneAndAHalf(large.title.right - large.title.left,
                      normal.title.right - normal.title.left) &&
              OneAndAHalf(large.title.bottom - large.title.top,
                          normal.title.bottom - normal.title.top),
          "the title is half as large again");
    CHECK(OneAndAHalf(large.title.left, normal.title.left) &&
              OneAndAHalf(large.title.top, normal.title.top),
          "its distance from the corner too");
    // The shadow's offset, to the right and down, within a pixel of 1.5
    // times the offset at 96 DPI.
    LONG dx = large.shadow.right - large.title.right, dy = large.shadow.bottom - large.title.bottom;
    LONG dx96 = normal.shadow.right - normal.title.right;
    LONG dy96 = normal.shadow.bottom - normal.title.bottom;
    CHECK(dx96 > 0 && dy96 > 0 && abs(2 * dx - 3 * dx96) <= 2 && abs(2 * dy - 3 * dy96) <= 2,
          "the shadow's offset grows with it (%ld, %ld at 144 DPI; %ld, %ld at 96)", dx, dy, dx96,
          dy96);
    // Uncut: the letters and the shadow end inside the screen, and above the
    // page rather than under it.
    CHECK(large.title.left > 0 && large.title.top > 0 &&
              large.shadow.right < GetSystemMetrics(SM_CXSCREEN) &&
              large.shadow.bottom < large.page.top,
          "the whole title shows on the background above the page");
}

ROBOT_SCENARIO(every_page_transition)
{
    std::string directory = DefaultInstallPath();
    CleanSlate(directory);
    Process installer = StartInstaller();
    HWND page = WaitPage(installer);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "the first page is the welcome page");

    PressKey(page, VK_ESCAPE);                      // welcome -> language
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == LANGUAGE_PAGE, "Escape on the welcome page opens the language page");
    CHECK_EQ(Text(page), std::string("Veltrano 1.0"));
    CHECK_EQ(CheckState(Control(page, 104)), BST_CHECKED);
    CHECK_EQ(CheckState(Control(page, 102)), BST_UNCHECKED);
    CHECK(ShowsText(page, "Bitte w\xE4hlen die Sprache, aus, mit der Brisquet installiert werden "
                          "soll. Die Sprache kann auch nachtr\xE4glich ge\xE4ndert werden."),
          "the German text keeps its umlauts");
    CHECK(ShowsText(page, "Please choose the language Brisquet should install. You can change "
                          "these language later."),
          "the English text is there too");
    CHECK_EQ(Text(Control(page, 101)), std::string("Ende/Quit"));

    Click(Control(page, 102));                      // Deutsch, then Next
    WaitUntil([&]() { return CheckState(Control(page, 102)) == BST_CHECKED; }, 5000);
    Click(Control(page, 1));
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "Next on the language page opens the welcome page");
    CHECK_EQ(Text(Control(page, 102)), std::string("Willkommen zu Veltrano 1.0"));
    CHECK_EQ(Text(Control(page, 1)), std::string("Weiter >>"));
    CHECK_EQ(Text(Control(page, 101)), std::string("Beenden"));
    CHECK(ShowsText(page, "Das Programm ben\xF6tigt etwa 200 KByte Festplattenspeicher."),
          "the German welcome page (template 2) with its umlaut");

    Click(Control(page, 1));                        // welcome -> German options
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "Next opens the options page");
    CHECK(Control(page, 108) != nullptr, "the German options page has the start-up option");
    CHECK_EQ(Text(Control(page, 108)), std::string("Programm mit Windows starten."));
    CHECK_EQ(Text(Control(page, 2)), std::string("<< Zur\xFC" "ck"));
    CHECK_EQ(Text(Control(page, 105)), std::string("Suchen"));
    CHECK(WaitUntil([&]() { return FocusOf(page) == Control(page, 107); }, 3000),
          "the focus starts on the program-group check box");

    Click(Control(page, 2));                        // options -> welcome (Back)
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "Back opens the welcome page");
    CHECK_EQ(Text(Control(page, 1)), std::string("Weiter >>"));

    PressKey(page, VK_ESCAPE);                      // welcome -> language, Deutsch kept
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == LANGUAGE_PAGE, "Escape opens the language page again");
    CHECK_EQ(CheckState(Control(page, 102)), BST_CHECKED);

    Click(Control(page, 101));                      // Quit, then No: the same page again
    HWND box = WaitBox(installer, "Installation beenden");
    REQUIRE(box, "the quit question comes in German");
    CHECK_EQ(MessageBoxText(box), std::string("Soll die Installation wirklich beendet werden?"));
    Answer(box, IDNO);
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == LANGUAGE_PAGE, "No reopens the language page");

    PressKey(page, VK_ESCAPE);                      // Escape on the language page: nothing
    CHECK(WaitWindowGone(page, PAGE_TIMEOUT), "Escape closes the language page");
    Sleep(1500);
    CHECK(!FindTopWindow("#32770", nullptr, installer.pid), "no page follows it");
    HWND background = FindTopWindow("InstClass", nullptr, installer.pid);
    CHECK(background != nullptr, "the background stays");
    PostMessageA(background, WM_CLOSE, 0, 0);       // as Alt+F4 would
    CHECK_EQ(WaitExit(installer, PAGE_TIMEOUT), 0);
    CheckNothingInstalled(directory);
}

namespace {

struct BrowserSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK VisitForBrowser(HWND window, LPARAM parameter)
{
    BrowserSearch *s = reinterpret_cast<BrowserSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == s->pid && IsWindowVisible(window) && ClassOf(window) == "#32770" &&
        Text(window) != PAGE_CAPTION) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// The folder browser: a dialog of the installer other than a wizard page.
HWND FindBrowser(DWORD pid)
{
    BrowserSearch search = {pid, nullptr};
    EnumWindows(VisitForBrowser, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

ROBOT_SCENARIO(options_page_keeps_choices)
{
    std::string directory = DefaultInstallPath();
    std::string typed = "C:\\e2e-setup\\typed elsewhere";
    CleanSlate(directory);
    CleanSlate(typed);
    // Folders that any user may make in the root of C:, found before the
    // system's program folder, are never proposed.
    for (std::string planted : {"C:\\Prog0", "C:\\progA", "C:\\Program Files0"}) {
        REQUIRE(MakeDirectories(planted), "%s is planted", planted.c_str());
        AtEnd([planted]() { RemoveTree(planted); });
    }
    WIN32_FIND_DATAA found = {};
    FindClose(FindFirstFileA("c:\\prog*", &found));
    REQUIRE(SameIgnoringCase(found.cFileName, "Prog0"), "c:\\prog* finds Prog0 first");
    Process installer = StartInstaller();
    HWND page = OpenOptionsPage(installer);
    CHECK_EQ(Text(Control(page, 106)), directory);
    CHECK_EQ(CheckState(Control(page, 107)), BST_CHECKED);
    CHECK_EQ(CheckState(Control(page, 109)), BST_CHECKED);
    CHECK(!Control(page, 108), "the English options page has no start-up option");
    CHECK_EQ(Text(Control(page, 1)), std::string("Next >>"));
    CHECK_EQ(Text(Control(page, 2)), std::string("<< Back"));

    Click(Control(page, 105));                      // the folder browser, cancelled
    HWND browser = nullptr;
    WaitUntil([&]() { return (browser = FindBrowser(installer.pid)) != nullptr; }, PAGE_TIMEOUT);
    REQUIRE(browser, "Search opens the folder browser");
    CHECK(ShowsText(browser, "Search for Installation-path:"), "the browser shows its title line");
    Click(Control(browser, IDCANCEL));
    CHECK(WaitWindowGone(browser, PAGE_TIMEOUT), "Cancel closes the browser");
    CHECK_EQ(Text(Control(page, 106)), directory);

    TypePath(page, typed, true);                    // typed, focus moved on
    SetCheck(page, 107, 0);
    SetCheck(page, 109, 0);
    Click(Control(page, 101));                      // Quit, No: the page as it was left
    HWND box = WaitBox(installer, "Exit installation");
    REQUIRE(box, "the quit question appears");
    CHECK_EQ(MessageBoxText(box), std::string("Are you sure to quit the installation?"));
    Answer(box, IDNO);
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "No reopens the options page");
    CHECK_EQ(Text(Control(page, 106)), typed);
    CHECK_EQ(CheckState(Control(page, 107)), BST_UNCHECKED);
    CHECK_EQ(CheckState(Control(page, 109)), BST_UNCHECKED);

    Click(Control(page, 2));                        // Back and Next again
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == WELCOME_PAGE, "Back opens the welcome page");
    CHECK_EQ(Text(Control(page, 1)), std::string("Agree >>"));
    Click(Control(page, 1));
    page = WaitPage(installer, page);
    REQUIRE(KindOf(page) == OPTIONS_PAGE, "Agree opens the options page again");
    CHECK_EQ(Text(Control(page, 106)), typed);

    QuitWithYes(installer, page, "Exit installation");
    CheckNothingInstalled(typed);
    CheckNothingInstalled(directory);
}

ROBOT_SCENARIO(unusable_path_keeps_options_page_open)
{
    std::string directory = DefaultInstallPath();
    CleanSlate(directory);
    Process installer = StartInstaller();
    HWND page = OpenOptionsPage(installer);

    // Through a link the installation would write wherever it points.
    std::string target = "C:\\e2e-setup\\link target", linked = "C:\\e2e-setup\\linked";
    REQUIRE(MakeDirectories(target), "the link's target is there");
    AtEnd([target]() { RemoveTree(target); });
    REQUIRE(PlantFolderLink(linked, target), "%s is a link to %s", linked.c_str(), target.c_str());
    char shortName[MAX_PATH] = "";
    GetShortPathNameA(target.c_str(), shortName, MAX_PATH);
    REQUIRE(!SameIgnoringCase(shortName, target), "%s has a short name", target.c_str());
    const std::string drive = "Please enter the full path of a folder on a drive, such as "
                              "C:\\Programs\\Veltrano.";
    const std::string link = "The path leads through a link (junction, mount point or symbolic "
                             "link). Please choose a folder that is reached directly.";
    const std::string characters = "The path holds a character that the uninstall list cannot "
                                   "carry (=, [ or ]). Please choose another folder.";
    // A folder that everyone may change: the directory below it, and that
    // folder as the directory itself.
    std::string open = "C:\\e2e-setup\\open to all";
    RemoveTree(open);
    REQUIRE(MakeDirectories(open) && OpenToEveryone(open), "%s is open to everyone", open.c_str());
    AtEnd([open]() { RemoveTree(open); });
    const std::string others = "Other users could rename or delete a folder on this path, or put "
                               "files into it, or the drive keeps no access rights. Please choose "
                               "a folder that only administrators can change.";
    struct Row {
        const char *what;
        std::string path, reason;
    } rows[] = {{"empty", "", drive},
                {"blanks only", "   ", drive},
                {"no room for a file name", "C:\\" + std::string(240, 'x'),
                 "The path is too long. Please choose a shorter one."},
                {"relative", "foo", drive},
                {"drive-relative", "C:foo", drive},
                {"a file's", Join(target, "file.txt") + "\\Veltrano", drive},
                {"a network path", "\\\\localhost\\C$\\Veltrano",
                 "A network path cannot be installed into. Please choose a folder on a drive of "
                 "this computer."},
                {"a short name", std::string(shortName) + "\\Veltrano",
                 "The path holds a short (8.3) name. Please enter the folder's full name."},
                {"with =", "C:\\e2e-setup\\A=B\\Veltrano", characters},
                {"with [", "C:\\e2e-setup\\[A]\\Veltrano", characters},
                {"a link", linked, link},
                {"below a link", linked + "\\Veltrano", link},
                {"below a folder open to all", open + "\\New\\Veltrano", others},
                {"a folder open to all", open, others}};
    REQUIRE(WriteBytes(Join(target, "file.txt"), "a file"), "a file in the way");
    for (const Row &row : rows) {
        TypePath(page, row.path, false);
        PressKey(page, VK_RETURN);
        HWND box = WaitBox(installer, "Installation path");
        CHECK(box != nullptr, "a path that is %s is refused with a box", row.what);
        if (box) {
            CHECK_EQ(MessageBoxText(box), row.reason);
            Answer(box, IDOK);
        }
        Sleep(300);
        CHECK(IsWindow(page) && IsVisible(page), "a path that is %s keeps the page open",
              row.what);
    }
    QuitWithYes(installer, page, "Exit installation");
    CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY), "nothing was installed");
    CHECK(!FileExists(Join(target, "Pellino.exe")) && !DirectoryExists(Join(target, "Veltrano")),
          "nothing appeared behind the link");
    CHECK(!DirectoryExists(Join(open, "New")) && !FileExists(Join(open, "Pellino.exe")),
          "nothing was made in the open folder");
}
