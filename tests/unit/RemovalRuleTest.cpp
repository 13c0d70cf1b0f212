// What the uninstaller may take from its list: each row names the attack or
// the item of a real installation that it stands for.
#include <gtest/gtest.h>
#include <string>
#include "RemovalRule.h"

namespace {

const char OWN[] = "C:\\Program Files\\Veltrano\\";

struct Row {
    const char *name, *line;
    RemovalKind kind;
};

const Row rows[] = {
    {"payload file", "C:\\Program Files\\Veltrano\\Pellino.exe", REMOVE_OWN_ITEM},
    {"settings file, other case", "c:\\PROGRAM FILES\\veltrano\\pellino.exe.ini", REMOVE_OWN_ITEM},
    {"help page", "C:\\Program Files\\Veltrano\\Index.htm", REMOVE_OWN_ITEM},
    // Shortcuts and the group are found by their targets, never by the list.
    {"group shortcut", "C:\\Users\\me\\Start Menu\\Programs\\Veltrano 1.0\\Help.lnk",
     REMOVE_NOTHING},
    {"group folder", "C:\\Users\\me\\Start Menu\\Programs\\Veltrano 1.0", REMOVE_NOTHING},
    {"user's file in the directory", "C:\\Program Files\\Veltrano\\my notes.txt", REMOVE_NOTHING},
    {"payload name lengthened", "C:\\Program Files\\Veltrano\\Pellino.exe.bak", REMOVE_NOTHING},
    {"payload name shortened", "C:\\Program Files\\Veltrano\\Pellino.ex", REMOVE_NOTHING},
    {"startup shortcut", "C:\\Users\\me\\Start Menu\\Programs\\Startup\\Veltrano 1.0.lnk",
     REMOVE_NOTHING},
    {"created parent folder", "C:\\Program Files", REMOVE_CREATED_FOLDER},
    {"system file", "C:\\Windows\\system.ini", REMOVE_NOTHING},
    {"other drive", "D:\\Program Files\\Veltrano\\Pellino.exe", REMOVE_NOTHING},
    {"subdirectory", "C:\\Program Files\\Veltrano\\Docs\\page.htm", REMOVE_NOTHING},
    {"climb", "C:\\Program Files\\Veltrano\\..\\..\\Windows\\win.ini", REMOVE_NOTHING},
    {"climb to a sibling", "C:\\Program Files\\Veltrano\\..\\x.txt", REMOVE_NOTHING},
    {"dot component", "C:\\Program Files\\Veltrano\\.\\Pellino.exe", REMOVE_NOTHING},
    {"trailing dots", "C:\\Program Files\\Veltrano\\...", REMOVE_NOTHING},
    {"forward slash", "C:\\Program Files\\Veltrano/../../Windows/win.ini", REMOVE_NOTHING},
    {"doubled separator", "C:\\Program Files\\Veltrano\\\\Pellino.exe", REMOVE_NOTHING},
    {"relative", "Pellino.exe", REMOVE_NOTHING},
    {"drive-relative", "C:Pellino.exe", REMOVE_NOTHING},
    {"rooted without drive", "\\Program Files\\Veltrano\\Pellino.exe", REMOVE_NOTHING},
    {"UNC", "\\\\server\\share\\Veltrano\\Pellino.exe", REMOVE_NOTHING},
    {"long form", "\\\\?\\C:\\Program Files\\Veltrano\\Pellino.exe", REMOVE_NOTHING},
    {"device form", "\\\\.\\C:\\Program Files\\Veltrano\\Pellino.exe", REMOVE_NOTHING},
    {"stream", "C:\\Program Files\\Veltrano\\Pellino.exe:evil", REMOVE_NOTHING},
    {"wildcard", "C:\\Program Files\\Veltrano\\*.exe", REMOVE_NOTHING},
    {"the directory itself", "C:\\Program Files\\Veltrano", REMOVE_NOTHING},
    {"drive root", "C:\\", REMOVE_NOTHING},
    {"control character", "C:\\Program Files\\Veltrano\\a\tb", REMOVE_NOTHING},
    {"empty", "", REMOVE_NOTHING},
};

}  // namespace

TEST(RemovalRule, AllowedAndRefusedLines)
{
    for (const Row &row : rows)
        EXPECT_EQ(row.kind, ListedItemKind(row.line, OWN)) << "row: " << row.name;
}

TEST(RemovalRule, DependsOnWhereTheUninstallerRuns)
{
    // From a drive's root, its files are its own and no folder lies above it.
    EXPECT_EQ(REMOVE_OWN_ITEM, ListedItemKind("D:\\Pellino.exe", "D:\\"));
    EXPECT_EQ(REMOVE_NOTHING, ListedItemKind("D:\\Tools\\x.exe", "D:\\"));
    // Without a known directory nothing is allowed.
    EXPECT_EQ(REMOVE_NOTHING, ListedItemKind("C:\\x\\Pellino.exe", ""));
    EXPECT_EQ(REMOVE_NOTHING, ListedItemKind("C:\\x", nullptr));
    // A directory longer than a path can be is not cut to fit.
    std::string longer = std::string("C:\\Program Files\\") + std::string(243, 'x') + "\\y\\";
    EXPECT_EQ(REMOVE_NOTHING, ListedItemKind("C:\\Program Files", longer.c_str()));
    // From a UNC or relative directory, or one without its separator, no own
    // file can be named.
    EXPECT_EQ(REMOVE_NOTHING, ListedItemKind("C:\\a.txt", "\\\\server\\share\\"));
    EXPECT_EQ(REMOVE_NOTHING, ListedItemKind("C:\\a.txt", "C:"));
    EXPECT_EQ(REMOVE_NOTHING, ListedItemKind("C:\\x\\Pellino.exe", "C:\\x"));
}
