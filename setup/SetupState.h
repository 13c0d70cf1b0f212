// The program-wide state of Install and its fixed names: product constants,
// wizard commands and page results, control, string and icon identifiers.
// The resource script includes this header too, so that the dialogs and the
// code share one set of numbers.
#ifndef VELTRANO_SETUPSTATE_H
#define VELTRANO_SETUPSTATE_H

#include "Product.h"

// Added to every string identifier and to the templates of pages 2 and 5.
#define LANGUAGE_GERMAN 0
#define LANGUAGE_ENGLISH 4000

// Wizard commands: the wParam of a WM_COMMAND that the main window posts to
// itself. A page's number is also its dialog creation parameter and, for the
// welcome and options pages, its template identifier without the language.
#define PAGE_LANGUAGE 1
#define PAGE_WELCOME 2
#define PAGE_OPTIONS 5
#define CMD_INSTALL 6

// Page results, passed to EndDialog.
#define RESULT_NEXT 1
#define RESULT_BACK 2
#define RESULT_QUIT 3

// Controls of the wizard pages (1 and 2 are IDOK and IDCANCEL).
#define IDC_NEXT 1
#define IDC_BACK 2
#define IDC_QUIT 101
#define IDC_GERMAN 102       // language page
#define IDC_WELCOME_TITLE 102 // welcome page: "Welcome to %s"
#define IDC_ENGLISH 104
#define IDC_SEARCH 105       // options page
#define IDC_PATH 106
#define IDC_PROGRAM_GROUP 107
#define IDC_START_WITH_WINDOWS 108
#define IDC_START_AFTER_INSTALL 109

// String table bases; the identifier loaded is base + languageOffset.
#define STR_QUIT_CAPTION 1
#define STR_QUIT_TEXT 2
#define STR_BROWSE_TITLE 3
#define STR_DONE_TEXT 5
#define STR_DONE_CAPTION 6
#define STR_INCOMPLETE_TEXT 7      // the warning that replaces the completion message
#define STR_INCOMPLETE_CAPTION 8
#define STR_UNINSTALL_ENTRY 9      // the name of the uninstall entry in that warning
// Why the options page refuses a path, in a box with this caption.
#define STR_PATH_NOT_ON_DRIVE 10
#define STR_PATH_NETWORK 11
#define STR_PATH_SHORT_NAME 12
#define STR_PATH_LINK 13
#define STR_PATH_CHARACTERS 14
#define STR_PATH_TOO_LONG 15
#define STR_PATH_CAPTION 16
// The question before files of the same names as ours are replaced.
#define STR_REPLACE_TEXT 17
#define STR_REPLACE_QUESTION 18
#define STR_REPLACE_CAPTION 19
// The warning's last line when no uninstall entry was written.
#define STR_NOT_REGISTERED 20
// Said after the completion message when no desktop shell started the
// application.
#define STR_NOT_STARTED 21
// Why the options page refuses a path that another user could change (see
// STR_PATH_NOT_ON_DRIVE and the rest above).
#define STR_PATH_OPEN 22
// Why the options page refuses a path that the program's code page cannot
// carry exactly (where UTF-8 is not in force).
#define STR_PATH_CODE_PAGE 23

// Icons: the window class's and the welcome page's.
#define ICON_MAIN 1
#define ICON_WELCOME 3

#ifndef RC_INVOKED
#include <windows.h>
#include "TFileSys.h"

// Room of installPath, terminator included.
#define INSTALL_PATH_SIZE MAX_PATH

extern int languageOffset;          // LANGUAGE_GERMAN or LANGUAGE_ENGLISH
extern HINSTANCE appInstance;
extern HWND mainWindow;             // owner of every page
extern char installPath[INSTALL_PATH_SIZE];
// 1 while installPath holds a typed or chosen path that the program's code
// page could not carry exactly (it holds "?" there, and is never used).
extern int installPathInexact;
extern int createProgramGroup;      // 0 or 1
extern int startWithWindows;        // 0 or 1
extern int startAfterInstall;       // 0 or 1
extern TFileSys *installContext;    // the program's one TFileSys

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WizardDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
void CenterPage(HWND window);
void ConfirmQuit(HWND owner, int page);
void RunInstallation(HWND window);

// Registry names and data: 260 bytes, room for the terminator that the
// platform adds when it converts a text, and one more for a terminator that
// the stored data may lack.
#define REGISTRY_TEXT_SIZE (MAX_PATH + 2)
// Reads the string value name of key into text (REGISTRY_TEXT_SIZE bytes).
// A text of 260 bytes is read whole, and terminated even when the stored
// data has no terminator; bytes after the data are zero. Returns 1 when read.
int QueryRegistryText(HKEY key, const char *name, char *text);
// Starts file in directory through the desktop shell, as the user who is
// logged on; 1 when the shell took the request, 0 when none answered.
int StartThroughDesktop(const char *file, const char *directory);

// 0 when path can be installed into: a folder of a drive, short enough that
// every path the installation builds from it fits into a path buffer, each
// line it lists for removal readable back from the settings file, and what
// exists of it reached without a link and changeable by no other user
// (FolderChainProtected). Else the string base (STR_PATH_...) that says why
// not.
int InstallPathProblem(const char *path);
// Before anything is written into installPath: when it holds files with the
// names of payload files that its settings file does not list (files that
// are not ours), asks owner's user, naming them, whether to replace them.
// Returns 1 when nothing is in the way or the answer was Yes.
int ConfirmReplacingFiles(HWND owner);
// The directory of the installation that the uninstall entry names, into
// directory (INSTALL_PATH_SIZE): its uninstaller exists, the settings file
// beside it lists that uninstaller, and the options page would take the
// path. Returns 1 when found, else 0 (directory then holds nothing useful).
int FindInstallation(char *directory);
#endif

#endif
