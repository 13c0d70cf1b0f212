// Snapshots of the files under a folder and of registry trees, to show that
// a run left nothing behind.
#include "Robot.h"

#include <algorithm>

namespace robot {

static void ListFiles(const std::string &folder, std::map<std::string, std::string> *into)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*into)[path + "\\"] = "folder";
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                ListFiles(path, into);
        } else {
            // Sizes, not times: a file written again with the same bytes is
            // the same file for this purpose.
            (*into)[path] = std::to_string(found.nFileSizeLow) + " bytes";
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

static void ListKeys(HKEY root, const std::string &shown, const std::string &key,
                     std::map<std::string, std::string> *into)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return;
    std::string prefix = shown + (key.empty() ? "" : "\\" + key);
    (*into)[prefix + "\\"] = "key";
    std::vector<char> name(16384), data(65536);
    for (DWORD i = 0;; i++) {
        DWORD nameSize = DWORD(name.size()), dataSize = DWORD(data.size()), type = 0;
        if (RegEnumValueA(k, i, name.data(), &nameSize, nullptr, &type,
                          reinterpret_cast<BYTE *>(data.data()), &dataSize) != ERROR_SUCCESS)
            break;
        (*into)[prefix + "\\:" + std::string(name.data(), nameSize)] =
            std::to_string(type) + ":" + std::string(data.data(), dataSize);
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; i++) {
        DWORD nameSize = DWORD(name.size());
        if (RegEnumKeyExA(k, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subkeys.push_back(std::string(name.data(), nameSize));
    }
    RegCloseKey(k);
    for (const std::string &subkey : subkeys)
        ListKeys(root, shown, key.empty() ? subkey : key + "\\" + subkey, into);
}

Snapshot TakeSnapshot(const std::string &folder)
{
    Snapshot snapshot;
    ListFiles(folder, &snapshot.entries);
    ListKeys(HKEY_LOCAL_MACHINE, "HKLM", "Software", &snapshot.entries);
    ListKeys(HKEY_CURRENT_USER, "HKCU", "", &snapshot.entries);
    return snapshot;
}

std::vector<std::string> Differences(const Snapshot &before, const Snapshot &after,
                                     const std::vector<std::string> &ignored)
{
    auto isIgnored = [&](const std::string &entry) {
        for (const std::string &prefix : ignored)
            if (lstrcmpiA(entry.substr(0, prefix.size()).c_str(), prefix.c_str()) == 0)
                return true;
        return false;
    };
    std::vector<std::string> differences;
    for (const auto &item : before.entries) {
        auto other = after.entries.find(item.first);
        if (isIgnored(item.first))
            continue;
        if (other == after.entries.end())
            differences.push_back("gone: " + item.first);
        else if (other->second != item.second)
            differences.push_back("changed: " + item.first);
    }
    for (const auto &item : after.entries)
        if (!isIgnored(item.first) && before.entries.find(item.first) == before.entries.end())
            differences.push_back("new: " + item.first);
    return differences;
}

}  // namespace robot
