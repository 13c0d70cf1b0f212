// The items of the uninstaller's own installation: the payload files in its
// directory, found by their names, and the shortcuts that lead into it,
// found by their targets. A copy of the uninstaller elsewhere, or the old
// one after a reinstallation into another directory, so removes its own
// files and never the registered installation's.
#include "Uninstall.h"

#include "BoundedString.h"
#include "Hardening.h"
#include "PathText.h"
#include "ShellFolders.h"
#include "TBuffer.h"

#define PATH_SIZE (FS_PATH_LENGTH + 1)

// target = folder + separator + name + suffix within PATH_SIZE characters;
// 0 when it does not fit (a cut path would name something else) or folder
// is "".
static int JoinName(char *target, const char *folder, const char *name, const char *suffix = "")
{
    if (!folder[0] || !CopyBounded(target, folder, PATH_SIZE))
        return 0;
    installContext->AddSeparator(target, PATH_SIZE);
    unsigned length = LengthBounded(target, PATH_SIZE);
    return target[length - 1] == '\\' && AppendBounded(target, name, PATH_SIZE) &&
           AppendBounded(target, suffix, PATH_SIZE);
}

int RemovePayload(const char *exePath, Remains *remains)
{
    TBuffer path(PATH_SIZE);
    int removedApplication = 0;
    for (const PayloadFile *row = payloadFiles; row->identifier; row++) {
        if (!JoinName(path, installContext->ModuleDirectory(), row->fileName) ||
            SamePathText(path, exePath))
            continue;
        // Whether it was there: a file missing before this run was not
        // removed by it.
        int present = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
        if (!RemoveReachedItem(path, 1))
            NoteRemaining(remains, path, 0);
        else if (present && row == &payloadFiles[APPLICATION_ROW])
            removedApplication = 1;
    }
    return removedApplication;
}

// 1 when the shortcut linkFile leads to a file directly inside the
// uninstaller's own directory (its target as the link stores it, case
// ignored); 0 for anything else, a file that is no shortcut included.
static int LeadsIntoOwnDirectory(const char *linkFile)
{
    TBuffer target(PATH_SIZE);
    if (!installContext->ShellLinkTarget(linkFile, target, PATH_SIZE))
        return 0;
    // Its folder: the target up to its last separator.
    unsigned length = LengthBounded(target, PATH_SIZE);
    while (length > 0 && target[length - 1] != '\\')
        length--;
    target[length] = '\0';
    return length > 0 && SameFolderText(target, installContext->ModuleDirectory());
}

// Removes the shortcut folder\name suffix when it leads into the own
// directory; notes it when it stays. Returns 1 when this removed it.
static int RemoveOwnShortcut(const char *folder, const char *name, const char *suffix,
                             Remains *remains)
{
    TBuffer link(PATH_SIZE);
    if (!JoinName(link, folder, name, suffix) || !LeadsIntoOwnDirectory(link))
        return 0;
    if (RemoveReachedItem(link, 1))
        return 1;
    NoteRemaining(remains, link, 0);
    return 0;
}

// The Programs and Startup folders come from the user's registry, which
// anyone of the user's processes may change; a shortcut is removed only
// when its own target says that it is ours, and (as the setup program puts
// none there) never from a folder reached through a link.
void RemoveOwnShortcuts(Remains *remains)
{
    TBuffer programs(PATH_SIZE);
    TBuffer startup(PATH_SIZE);
    TBuffer group(PATH_SIZE);
    int inexact = FindShellFolders(programs, startup);
    if (inexact & SHELL_PROGRAMS_INEXACT)
        programs[0] = '\0';
    if (inexact & SHELL_STARTUP_INEXACT)
        startup[0] = '\0';
    if (JoinName(group, programs, GROUP_FOLDER_NAME) && FolderReachedWithoutLink(group)) {
        int removed = 0;
        for (const GroupShortcut *row = groupShortcuts; row->linkName[0]; row++)
            removed |= RemoveOwnShortcut(group, row->linkName, ".lnk", remains);
        // The group goes with the last of our shortcuts, once it is empty.
        if (removed && !RemoveReachedItem(group, 0))
            NoteRemaining(remains, group, 1);
    }
    if (FolderReachedWithoutLink(startup))
        RemoveOwnShortcut(startup, STARTUP_LINK_NAME, "", remains);
}

// 1 when folder holds nothing but entries named first or second (case
// ignored; second may be 0), or cannot be listed at all.
static int HoldsOnly(const char *folder, const char *first, const char *second)
{
    TBuffer pattern(PATH_SIZE);
    if (!JoinName(pattern, folder, "*"))
        return 1;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 1;
    int only = 1;
    do {
        const char *name = found.cFileName;
        if (lstrcmpA(name, ".") && lstrcmpA(name, "..") && !SamePathText(name, first) &&
            !(second && SamePathText(name, second)))
            only = 0;
    } while (only && FindNextFileA(search, &found));
    FindClose(search);
    return only;
}

// The batch file removes the folders with "rd", which leaves one that is not
// empty; they are looked at now, so that the closing message can say which
// one stays and why, before the uninstaller ends.
void NoteKeptFolders(const char *exePath, const ListVerdict &verdict, Remains *remains)
{
    const char *own = installContext->ModuleDirectory();
    unsigned length = LengthBounded(own, PATH_SIZE);
    if (!verdict.removeDirectory || length <= 3 || length > FS_PATH_LENGTH)
        return;
    TBuffer folder(PATH_SIZE);
    CopyBounded(folder, own, PATH_SIZE);
    folder[length - 1] = '\0';
    const char *exeName = exePath;
    for (const char *c = exePath; *c; c++)
        if (*c == '\\')
            exeName = c + 1;
    if (!HoldsOnly(folder, exeName, SETTINGS_FILE_NAME)) {
        NoteRemaining(remains, folder, 1);
        return;
    }
    // Innermost first: a created folder goes when it holds only the folder
    // below it, and that one goes too (it ends at going).
    unsigned going = length - 1;
    for (unsigned n = length - 2; n > 3; n--) {
        if (!verdict.createdFolder[n])
            continue;
        unsigned child = n + 1;
        while (child < length && own[child] != '\\')
            child++;
        // folder: the created folder, and behind its end the name below it.
        folder[child] = '\0';
        folder[n] = '\0';
        int empty = child == going && HoldsOnly(folder, folder + n + 1, 0);
        if (!empty) {
            NoteRemaining(remains, folder, 1);
            return;
        }
        going = n;
    }
}
