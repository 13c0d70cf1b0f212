// What the window shows: the settings read from "Pellino.exe.ini" next to the
// program, and the process's working directory. Every text is a fixed,
// always terminated buffer; a value that is absent or cannot be read is "".
#ifndef PELLINO_SETTINGS_H
#define PELLINO_SETTINGS_H

enum { PELLINO_TEXT_SIZE = 261 };   // MAX_PATH characters plus the terminator

struct PellinoSettings {
    char defaultPage[PELLINO_TEXT_SIZE];
    char proxyServer[PELLINO_TEXT_SIZE];
    char proxyPort[PELLINO_TEXT_SIZE];
    char webScanAutomatically[PELLINO_TEXT_SIZE];
    char workingDirectory[PELLINO_TEXT_SIZE];
    char settingsFile[PELLINO_TEXT_SIZE];
};

// Fills every text of settings anew: builds the settings file's full path
// from the program's own path (the profile functions would otherwise look in
// the Windows directory), reads section "Settings" from it and asks for the
// current directory. Returns 1 when the settings file's path could be built,
// else 0 (then only the working directory is filled in).
int ReadPellinoSettings(PellinoSettings &settings);

#endif
