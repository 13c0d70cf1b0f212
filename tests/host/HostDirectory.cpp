// Attributes, directory search, creation, removal and renaming of the
// stand-in layer.
// Read-only is the owner's write permission; hidden is a name beginning with
// a dot; the system attribute lives in a table of this process only.
#include "HostWin32.h"
#include "HostState.h"
#include <dirent.h>
#include <set>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::set<std::string> systemFiles;        // Linux paths marked FILE_ATTRIBUTE_SYSTEM

std::string Canonical(const std::string &unixPath)
{
    std::string p = unixPath;
    while (p.size() > 1 && p[p.size() - 1] == '/')
        p.erase(p.size() - 1);
    return p;
}

std::string LastName(const std::string &unixPath)
{
    std::string p = Canonical(unixPath);
    size_t last = p.rfind('/');
    return last == std::string::npos ? p : p.substr(last + 1);
}

DWORD AttributesOf(const std::string &unixPath, const struct stat &st)
{
    DWORD a = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (!(st.st_mode & S_IWUSR))
        a |= FILE_ATTRIBUTE_READONLY;
    std::string name = LastName(unixPath);
    if (name.size() > 1 && name[0] == '.' && name != "..")
        a |= FILE_ATTRIBUTE_HIDDEN;
    if (systemFiles.count(Canonical(unixPath)))
        a |= FILE_ATTRIBUTE_SYSTEM;
    return a;
}

// '*' matches any run of characters, '?' one character; case is ignored.
// ("*.*" is the old spelling of "everything", names without a dot included.)
bool Matches(const char *pattern, const char *name)
{
    for (;;) {
        if (*pattern == '*') {
            while (*pattern == '*') pattern++;
            if (!*pattern) return true;
            for (const char *n = name; *n; n++)
                if (Matches(pattern, n)) return true;
            return false;
        }
        if (!*pattern) return !*name;
        if (!*name) return false;
        char a = *pattern, b = *name;
        if (a >= 'a' && a <= 'z') a -= 32;
        if (b >= 'a' && b <= 'z') b -= 32;
        if (a != '?' && a != b) return false;
        pattern++;
        name++;
    }
}

struct Search {
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next;
};

void Fill(WIN32_FIND_DATAA *data, const std::string &unixPath, const char *name)
{
    memset(data, 0, sizeof *data);
    struct stat st;
    if (stat(unixPath.c_str(), &st) == 0) {
        data->dwFileAttributes = AttributesOf(unixPath, st);
        data->nFileSizeLow = (DWORD)st.st_size;
        data->nFileSizeHigh = (DWORD)((uint64_t)st.st_size >> 32);
    }
    size_t n = strlen(name) < MAX_PATH - 1 ? strlen(name) : MAX_PATH - 1;
    memcpy(data->cFileName, name, n);
}

bool IsReadOnly(const std::string &unixPath)
{
    struct stat st;
    return stat(unixPath.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR);
}

}

DWORD GetFileAttributesA(LPCSTR path)
{
    std::string unixPath = host::MapPath(path);
    struct stat st;
    if (unixPath.empty() || stat(unixPath.c_str(), &st) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return AttributesOf(unixPath, st);
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes)
{
    std::string unixPath = host::MapPath(path);
    struct stat st;
    if (unixPath.empty() || stat(unixPath.c_str(), &st) != 0)
        return FALSE;
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~(mode_t)0222) : (mode | S_IWUSR);
    if (chmod(unixPath.c_str(), mode) != 0)
        return FALSE;
    if (attributes & FILE_ATTRIBUTE_SYSTEM)
        systemFiles.insert(Canonical(unixPath));
    else
        systemFiles.erase(Canonical(unixPath));
    return TRUE;
}

// Searches the directory of path for names matching its last component. As
// the real one, a path ending in a separator or naming a drive root finds
// nothing, and a wildcard search lists "." and ".." below a drive root.
HANDLE FindFirstFileA(LPCSTR path, WIN32_FIND_DATAA *data)
{
    std::string full = host::FullWindowsPath(path);
    size_t n = path ? strlen(path) : 0;
    if (full.empty() || full.size() <= 3 || path[n - 1] == '\\' || path[n - 1] == '/')
        return INVALID_HANDLE_VALUE;
    size_t last = full.rfind('\\');
    std::string pattern = full.substr(last + 1);
    std::string parent = full.substr(0, last + 1);
    std::string unixParent = host::MapPath(parent.c_str());
    struct stat st;
    if (unixParent.empty() || stat(unixParent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return INVALID_HANDLE_VALUE;
    if (unixParent[unixParent.size() - 1] != '/')
        unixParent += "/";

    Search *search = new Search();
    search->next = 0;
    bool wild = pattern.find_first_of("*?") != std::string::npos;
    if (DIR *d = opendir(unixParent.c_str())) {
        while (struct dirent *e = readdir(d)) {
            bool dots = !strcmp(e->d_name, ".") || !strcmp(e->d_name, "..");
            if (dots && (!wild || parent.size() <= 3))
                continue;
            bool match = wild ? (pattern == "*.*" || Matches(pattern.c_str(), e->d_name))
                              : host::SameName(pattern, e->d_name);
            if (!match)
                continue;
            WIN32_FIND_DATAA entry;
            Fill(&entry, unixParent + e->d_name, e->d_name);
            search->entries.push_back(entry);
            if (!wild)
                break;
        }
        closedir(d);
    }
    if (search->entries.empty()) {
        delete search;
        return INVALID_HANDLE_VALUE;
    }
    *data = search->entries[search->next++];
    return search;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA *data)
{
    Search *search = (Search *)handle;
    if (!search || handle == INVALID_HANDLE_VALUE || search->next >= search->entries.size())
        return FALSE;
    *data = search->entries[search->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return FALSE;
    delete (Search *)handle;
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES)
{
    std::string unixPath = host::MapPath(path);
    return !unixPath.empty() && mkdir(unixPath.c_str(), 0755) == 0;
}

BOOL RemoveDirectoryA(LPCSTR path)
{
    std::string unixPath = host::MapPath(path);
    if (unixPath.empty() || rmdir(Canonical(unixPath).c_str()) != 0)
        return FALSE;
    systemFiles.erase(Canonical(unixPath));
    return TRUE;
}

// A read-only file cannot be deleted, as on Windows.
BOOL DeleteFileA(LPCSTR path)
{
    std::string unixPath = host::MapPath(path);
    struct stat st;
    if (unixPath.empty() || lstat(unixPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)
        || IsReadOnly(unixPath) || unlink(unixPath.c_str()) != 0)
        return FALSE;
    systemFiles.erase(Canonical(unixPath));
    return TRUE;
}

// Renames a file. An existing target is replaced only with
// MOVEFILE_REPLACE_EXISTING and never when it is a directory; a read-only
// file is replaced, as under Wine; a link under the target name is itself
// replaced, not followed.
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags)
{
    std::string source = host::MapPath(from), target = host::MapPath(to);
    struct stat st;
    if (source.empty() || target.empty() || lstat(source.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return FALSE;
    if (lstat(target.c_str(), &st) == 0
        && (!(flags & MOVEFILE_REPLACE_EXISTING) || S_ISDIR(st.st_mode)))
        return FALSE;
    if (rename(source.c_str(), target.c_str()) != 0)
        return FALSE;
    bool system = systemFiles.erase(Canonical(source)) > 0;
    systemFiles.erase(Canonical(target));
    if (system)
        systemFiles.insert(Canonical(target));
    return TRUE;
}
