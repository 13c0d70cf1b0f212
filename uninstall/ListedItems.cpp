// Deletion of the items that the installation listed in section "DeInstall".
#include "Uninstall.h"

#include "BoundedString.h"
#include "TBuffer.h"
#include "TINIFile.h"

// Copies path into target (FS_PATH_LENGTH + 1 characters) without its
// trailing backslashes, so that "C:\A\" and "C:\A" compare equal.
static void WithoutSeparator(char *target, const char *path)
{
    CopyBounded(target, path, FS_PATH_LENGTH + 1);
    unsigned length = LengthBounded(target, FS_PATH_LENGTH + 1);
    while (length > 0 && target[length - 1] == '\\')
        target[--length] = '\0';
}

// Whether directory is one the uninstaller may remove: its own directory, or
// one that a line of the list names. The directory part of a listed path that
// is itself a directory ("...\Programs\Veltrano 1.0") is the user's Programs
// folder, which must stay even when it is empty.
static int MayRemoveDirectory(TINIFile *profile, unsigned count, const char *directory)
{
    TBuffer wanted(FS_PATH_LENGTH + 1);
    TBuffer candidate(FS_PATH_LENGTH + 1);
    WithoutSeparator(wanted, directory);
    if (wanted[0] == '\0')
        return 0;
    WithoutSeparator(candidate, installContext->ModuleDirectory());
    if (lstrcmpiA(wanted, candidate) == 0)
        return 1;
    for (unsigned i = 0; i < count; i++) {
        WithoutSeparator(candidate, profile->GetText(DEINSTALL_SECTION, i));
        if (lstrcmpiA(wanted, candidate) == 0)
            return 1;
    }
    return 0;
}

// The whole settings file is read before the first deletion, so the settings
// file may be among the listed items. A directory goes with the step of the
// last listed item inside it, once it is empty.
void RemoveListedItems(const char *settingsPath)
{
    TINIFile *profile = new TINIFile(settingsPath, 1);
    unsigned count = profile->TextCount(DEINSTALL_SECTION);
    TBuffer item(FS_PATH_LENGTH + 1);
    TBuffer directory(FS_PATH_LENGTH + 1);
    for (unsigned i = 0; i < count; i++) {
        // A line too long for a path is not one the setup program wrote.
        if (!CopyBounded(item, profile->GetText(DEINSTALL_SECTION, i), FS_PATH_LENGTH + 1))
            continue;
        DeleteFileA(item);
        CopyBounded(directory, installContext->DirectoryOf(item), FS_PATH_LENGTH + 1);
        if (MayRemoveDirectory(profile, count, directory))
            RemoveDirectoryA(directory);
    }
    delete profile;
}
