// The closing message: nothing of the installation is left behind without a
// word. The texts are the uninstaller's own English ones, as its other two
// boxes are.
#include "Uninstall.h"

#include "BoundedString.h"
#include "TBuffer.h"

#define MESSAGE_SIZE 256

void NoteRemaining(Remains *remains, const char *path, int folder)
{
    if (folder) {
        if (remains->keptCount++)
            AppendBounded(remains->kept, "\n", KEPT_NAMES_SIZE);
        AppendBounded(remains->kept, path, KEPT_NAMES_SIZE);
        return;
    }
    if (remains->count < REMAINS_NAMED) {
        if (remains->count)
            AppendBounded(remains->names, "\n", REMAINS_NAMES_SIZE);
        AppendBounded(remains->names, path, REMAINS_NAMES_SIZE);
    }
    remains->count++;
}

// What remains keeps the uninstall entry, the settings file and the
// uninstaller itself, so the message can send the user to run it again.
void ShowRemains(const Remains &remains)
{
    const unsigned size = 2 * MESSAGE_SIZE + REMAINS_NAMES_SIZE + KEPT_NAMES_SIZE;
    TBuffer text(size);
    if (remains.count) {
        CopyBounded(text, "Veltrano could not be removed completely. These items remain:\n\n", size);
        AppendBounded(text, remains.names, size);
        if (remains.count > REMAINS_NAMED) {
            AppendBounded(text, "\n+", size);
            AppendDecimal(text, remains.count - REMAINS_NAMED, size);
        }
        AppendBounded(text,
                      "\n\nClose Veltrano and any program that uses these items, then run the "
                      "removal again to finish it.",
                      size);
    } else if (remains.keptCount) {
        CopyBounded(text, remains.keptCount > 1
                              ? "Veltrano has been removed. These folders were kept because they "
                                "hold files that Veltrano did not install:\n\n"
                              : "Veltrano has been removed. This folder was kept because it holds "
                                "files that Veltrano did not install:\n\n",
                    size);
        AppendBounded(text, remains.kept, size);
    } else {
        return;
    }
    MessageBoxA(0, text, "Uninstall",
                MB_OK | (remains.count ? MB_ICONWARNING : MB_ICONINFORMATION));
}

// A box that says why nothing was removed: before, the folder, then after
// (which may be "").
static void ShowNothingRemoved(const char *before, const char *folder, const char *after)
{
    const unsigned size = 2 * MESSAGE_SIZE + FS_PATH_LENGTH + 1;
    TBuffer text(size);
    CopyBounded(text, before, size);
    AppendBounded(text, folder, size);
    AppendBounded(text, after, size);
    MessageBoxA(0, text, "Uninstall", MB_OK | MB_ICONWARNING);
}

void ShowOpenFolder(const char *folder)
{
    ShowNothingRemoved("Veltrano was not removed. Other users could rename or change this folder, "
                       "so that what the removal deletes there could be theirs:\n\n",
                       folder,
                       "\n\nAllow only administrators to change it, then run the removal again.");
}

void ShowInexactFolder(const char *shown)
{
    ShowNothingRemoved("Veltrano cannot be removed here: the name of its folder holds a character "
                       "that this system's code page cannot represent exactly. Nothing was "
                       "removed.\n\n",
                       shown, "");
}
