#include "PellinoSettings.h"
#include "BoundedString.h"
#include <windows.h>

// Reads one key of section "Settings"; an absent key leaves "".
static void ReadSetting(const char *file, const char *key, char *value)
{
    value[0] = '\0';
    GetPrivateProfileStringA("Settings", key, "", value, PELLINO_TEXT_SIZE, file);
    value[PELLINO_TEXT_SIZE - 1] = '\0';
}

// Builds <program directory>\Pellino.exe.ini into file. Returns 1 on success,
// 0 when the module path is unavailable or too long for the buffer.
static int BuildSettingsPath(char *file)
{
    file[0] = '\0';
    char module[PELLINO_TEXT_SIZE];
    DWORD n = GetModuleFileNameA(NULL, module, PELLINO_TEXT_SIZE);
    if (n == 0 || n >= PELLINO_TEXT_SIZE)   // failed or cut: no trustworthy path
        return 0;
    module[n] = '\0';
    char *slash = NULL;
    for (char *p = module; *p; p++)
        if (*p == '\\' || *p == '/')
            slash = p;
    if (!slash)
        return 0;
    slash[1] = '\0';
    if (!CopyBounded(file, module, PELLINO_TEXT_SIZE) ||
        !AppendBounded(file, "Pellino.exe.ini", PELLINO_TEXT_SIZE)) {
        file[0] = '\0';
        return 0;
    }
    return 1;
}

int ReadPellinoSettings(PellinoSettings &settings)
{
    settings.defaultPage[0] = settings.proxyServer[0] = settings.proxyPort[0] = '\0';
    settings.webScanAutomatically[0] = '\0';

    DWORD n = GetCurrentDirectoryA(PELLINO_TEXT_SIZE, settings.workingDirectory);
    if (n == 0 || n >= PELLINO_TEXT_SIZE)   // on overflow the buffer holds nothing usable
        settings.workingDirectory[0] = '\0';

    if (!BuildSettingsPath(settings.settingsFile))
        return 0;
    ReadSetting(settings.settingsFile, "DefaultPage", settings.defaultPage);
    ReadSetting(settings.settingsFile, "ProxyServer", settings.proxyServer);
    ReadSetting(settings.settingsFile, "ProxyPort", settings.proxyPort);
    ReadSetting(settings.settingsFile, "WebScanAutomatically", settings.webScanAutomatically);
    return 1;
}
