// The removal list in section "DeInstall" of the settings file, and the one
// routine through which every item is removed.
#include "Uninstall.h"

#include "BoundedString.h"
#include "CodePage.h"
#include "PathText.h"
#include "RemovalRule.h"
#include "TBuffer.h"
#include "TINIFile.h"

// The list is read only for what cannot be told otherwise: which folders
// above the directory the setup program made (only it knew which were
// there before) and whether the list is this installation's. The payload
// and the shortcuts are found by their names and targets, so that a list
// that is lost, emptied or another installation's costs at most the created
// folders. Every line costs a bounded amount of work, whatever the list's
// length.
void ReadRemovalList(const char *settingsPath, const char *exePath, ListVerdict *verdict)
{
    ZeroMemory(verdict, sizeof *verdict);
    TINIFile *profile = new TINIFile(settingsPath, 1);
    unsigned count = profile->TextCount(DEINSTALL_SECTION);
    TBuffer item(FS_PATH_LENGTH + 1);
    for (unsigned i = 0; i < count; i++) {
        // A line too long for a path is not one the setup program wrote.
        if (!CopyBounded(item, profile->GetText(DEINSTALL_SECTION, i), FS_PATH_LENGTH + 1))
            continue;
        RemovalKind kind = ListedItemKind(item, installContext->ModuleDirectory());
        // A line of an earlier version's list, in the system's code page,
        // counts as the path it names.
        if (kind == REMOVE_NOTHING && NameFromSystemCodePage(profile->GetText(DEINSTALL_SECTION, i),
                                                             item, FS_PATH_LENGTH + 1))
            kind = ListedItemKind(item, installContext->ModuleDirectory());
        if (kind == REMOVE_OWN_ITEM && exePath[0] && SamePathText(item, exePath))
            verdict->namesUninstaller = 1;
        else if (kind == REMOVE_CREATED_FOLDER)
            verdict->createdFolder[LengthBounded(item, FS_PATH_LENGTH + 1)] = 1;
    }
    delete profile;
}
