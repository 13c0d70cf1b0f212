// Drive mapping and the directory functions of the stand-in layer.
#include "HostWin32.h"
#include "HostState.h"
#include <dirent.h>
#include <string.h>
#include <sys/stat.h>
#include <vector>

namespace {

std::string root;                      // Linux directory holding a/, b/, c/ ...
std::string windowsDirectory = "C:\\WINDOWS";
std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
std::string tempDirectory = "C:\\TEMP\\";
std::string moduleFileName = "C:\\Program.exe";
char currentDrive = 'C';
std::string driveCurrent[26];          // current directory per drive, "" = root

char Upper(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Copies text into a caller's buffer the way the Get...Directory functions do:
// the length without terminator when it fits, else the room needed.
DWORD Answer(const std::string &text, char *buffer, DWORD size)
{
    if (text.size() + 1 > size)
        return (DWORD)text.size() + 1;
    memcpy(buffer, text.c_str(), text.size() + 1);
    return (DWORD)text.size();
}

}

namespace host {

bool SameName(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

std::string DriveDirectory(char letter)
{
    if (!IsLetter(letter) || root.empty())
        return std::string();
    std::string d = root + "/" + (char)(Upper(letter) - 'A' + 'a');
    struct stat st;
    if (stat(d.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::string();
    return d;
}

std::string FullWindowsPath(const char *path)
{
    if (!path || !*path)
        return std::string();
    char drive = currentDrive;
    const char *rest = path;
    if (IsLetter(path[0]) && path[1] == ':') {
        drive = Upper(path[0]);
        rest = path + 2;
    }
    std::vector<std::string> parts;
    if (!IsSeparator(rest[0])) {          // relative: start at the drive's current directory
        const std::string &cur = driveCurrent[drive - 'A'];
        size_t start = 0;
        while (start < cur.size()) {
            size_t end = cur.find('\\', start);
            if (end == std::string::npos) end = cur.size();
            if (end > start) parts.push_back(cur.substr(start, end - start));
            start = end + 1;
        }
    }
    const char *p = rest;
    while (*p) {
        while (IsSeparator(*p)) p++;
        const char *q = p;
        while (*q && !IsSeparator(*q)) q++;
        std::string part(p, q - p);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        p = q;
    }
    std::string full(1, drive);
    full += ":";
    for (const std::string &part : parts)
        full += "\\" + part;
    size_t n = strlen(path);
    if (parts.empty() || IsSeparator(path[n - 1]))
        full += "\\";
    return full;
}

std::string MapPath(const char *windowsPath)
{
    std::string full = FullWindowsPath(windowsPath);
    if (full.empty())
        return std::string();
    std::string unixPath = DriveDirectory(full[0]);
    if (unixPath.empty())
        return std::string();
    bool matching = true;                  // earlier components were all found
    size_t start = 3;
    while (start < full.size()) {
        size_t end = full.find('\\', start);
        if (end == std::string::npos) end = full.size();
        std::string part = full.substr(start, end - start);
        std::string actual = part;
        if (matching) {
            matching = false;
            if (DIR *d = opendir(unixPath.c_str())) {
                while (struct dirent *e = readdir(d)) {
                    if (SameName(e->d_name, part)) {
                        actual = e->d_name;
                        matching = true;
                        break;
                    }
                }
                closedir(d);
            }
        }
        unixPath += "/" + actual;
        start = end + 1;
    }
    if (full.size() > 3 && full[full.size() - 1] == '\\')
        unixPath += "/";                   // "file\" must not name a file
    return unixPath;
}

const std::string &WindowsDirectory() { return windowsDirectory; }
const std::string &SystemDirectory() { return systemDirectory; }
const std::string &ModuleFileName() { return moduleFileName; }

}

void HostSetRoot(const char *unixDirectory)
{
    root = unixDirectory ? unixDirectory : "";
    HostSetDiskRoom(-1);
    currentDrive = 'C';
    for (std::string &d : driveCurrent)
        d.clear();
}

void HostSetModuleFileName(const char *windowsPath) { moduleFileName = windowsPath; }

void HostSetDirectories(const char *windows, const char *system, const char *temp)
{
    windowsDirectory = windows;
    systemDirectory = system;
    tempDirectory = temp;
}

void HostSetCurrentDirectory(const char *windowsPath)
{
    std::string full = host::FullWindowsPath(windowsPath);
    if (full.empty())
        return;
    currentDrive = full[0];
    std::string rest = full.substr(3);
    if (!rest.empty() && rest[rest.size() - 1] == '\\')
        rest.erase(rest.size() - 1);
    driveCurrent[currentDrive - 'A'] = rest;
}

int HostMapPath(const char *windowsPath, char *unixPath, unsigned size)
{
    std::string mapped = host::MapPath(windowsPath);
    if (mapped.empty() || mapped.size() + 1 > size)
        return 0;
    memcpy(unixPath, mapped.c_str(), mapped.size() + 1);
    return 1;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) { return Answer(windowsDirectory, buffer, size); }
UINT GetSystemDirectoryA(LPSTR buffer, UINT size) { return Answer(systemDirectory, buffer, size); }
DWORD GetTempPathA(DWORD size, LPSTR buffer) { return Answer(tempDirectory, buffer, size); }

DWORD GetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size)
{
    if (size == 0)
        return 0;
    DWORD n = (DWORD)moduleFileName.size();
    if (n + 1 > size) {                    // cut and terminated; the result is size
        memcpy(buffer, moduleFileName.c_str(), size - 1);
        buffer[size - 1] = '\0';
        return size;
    }
    memcpy(buffer, moduleFileName.c_str(), n + 1);
    return n;
}

// "X:" or "X:\"; a separator alone (or no path) is the current drive's root.
UINT GetDriveTypeA(LPCSTR rootPath)
{
    char drive[] = {currentDrive, ':', '\0'};
    if (!rootPath || (IsSeparator(rootPath[0]) && rootPath[1] == '\0'))
        rootPath = drive;
    if (!IsLetter(rootPath[0]) || rootPath[1] != ':'
        || (rootPath[2] != '\0' && !(IsSeparator(rootPath[2]) && rootPath[3] == '\0')))
        return DRIVE_NO_ROOT_DIR;
    return host::DriveDirectory(rootPath[0]).empty() ? DRIVE_NO_ROOT_DIR : DRIVE_FIXED;
}

DWORD GetLogicalDrives(void)
{
    DWORD mask = 0;
    for (int i = 0; i < 26; i++)
        if (!host::DriveDirectory((char)('A' + i)).empty())
            mask |= 1u << i;
    return mask;
}

DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR *filePart)
{
    std::string full = host::FullWindowsPath(path);
    if (full.empty())
        return 0;
    DWORD n = Answer(full, buffer, size);
    if (filePart && n < size) {
        size_t last = full.rfind('\\');
        *filePart = (last + 1 < full.size()) ? buffer + last + 1 : 0;
    }
    return n;
}
