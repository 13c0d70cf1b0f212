// Laying out an installation for the uninstaller's scenarios, running the
// uninstaller through its two message boxes, and checking what it left.
#ifndef VELTRANO_E2E_UNINSTALL_LAYOUT_H
#define VELTRANO_E2E_UNINSTALL_LAYOUT_H

#include "Robot.h"

#include <string>
#include <vector>

const char *const UNINSTALL_ENTRY_KEY =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrano";

// What a scenario's installation should look like.
struct LayoutOptions {
    std::string directoryName = "Veltrano";   // under the scenario's root
    bool programGroup = true;                 // group with two shortcuts, listed
    std::string programsFolder;               // holds the group; "" for the user's Programs
    bool startupShortcut = false;             // in the user's Startup folder, listed
    std::vector<std::string> missingFiles;    // listed payload files not written
    std::vector<std::string> readOnlyFiles;   // payload files made read-only
    std::vector<std::string> extraLines;      // more lines for "DeInstall"
    unsigned fillerLines = 0;                 // and as many again, not kept in listed:
                                              // own files that are missing, and refused paths
};

// An installation laid out by a scenario; removed again by the scenario's
// clean-up, whatever the uninstaller left.
struct Installation {
    std::string root;          // C:\e2e_uninstall\<scenario>
    std::string directory;     // the installation directory
    std::string exe;           // directory\_purgel.exe, a copy of the built one
    std::string settingsFile;  // directory\Pellino.exe.ini
    std::string group;         // program group folder ("" without one)
    std::string startupLink;   // Startup shortcut ("" without one)
    std::vector<std::string> listed;   // the text lines of "DeInstall"
};

Installation LayOut(const char *scenario, const LayoutOptions &options);

// The uninstaller's batch folders ("VeltranoRemoval-*" in the system's or the
// user's temporary directory), and the batch file in the first of them ("" when
// there is none).
std::vector<std::string> BatchFolders();
std::string BatchFilePath();

// How the robot answers the two message boxes.
enum class Answering {
    Buttons,    // clicks the buttons
    Keyboard,   // moves the focus to the button and presses Enter
};

// Starts the uninstaller in directory, answers the confirmation with answer
// (IDYES or IDNO) and, after Yes, the notice with OK; checks both boxes'
// texts on the way. With closingBox, a third box "Uninstall" (what remains,
// or which folders were kept) is required, its text stored there and
// answered with OK; without it, none may come. Returns the exit code (-1
// when it did not end in time, a box left unanswered included).
long RunUninstaller(const Installation &install, const std::string &directory, int answer,
                    Answering how = Answering::Buttons, std::string *closingBox = nullptr);
// The time from the last RunUninstaller's Yes to its notice: how long the
// broadcast before the notice held it.
DWORD NoticeAfterYesMs();

// Waits until the batch file has done its work and deleted itself and its
// folder, and no cmd.exe runs any more. Returns true when it ended within
// timeoutMs; a batch file that took longer than usual is said in the report.
bool WaitForBatchEnd(DWORD timeoutMs);
// Time enough for every batch file: it tries to delete the uninstaller for
// a minute before it gives up, and a loaded machine may need that long.
#define BATCH_END_MS 75000

// Whether the first batch folder's DACL (as SDDL into dacl) allows only
// Administrators, SYSTEM and the current user, and no one else: not
// Everyone, Users or Authenticated Users. (Wine keeps no DACL of its own for
// a file, but derives one from the owner's and others' Unix permissions.)
bool BatchFolderPrivate(std::string *dacl);

#endif
