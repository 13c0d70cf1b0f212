// Files, directories and shell folders for laying out and checking state.
#include "Robot.h"

#include <sddl.h>
#include <shlobj.h>

namespace robot {

std::string WinePath(const std::string &linuxPath)
{
    std::string out = "Z:";
    for (char c : linuxPath)
        out += c == '/' ? '\\' : c;
    return out;
}

bool ReadBytes(const std::string &path, std::string *bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                              FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes->clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
        bytes->append(buffer, got);
    CloseHandle(file);
    return true;
}

bool WriteBytes(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool FileExists(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectories(const std::string &path)
{
    if (path.empty() || DirectoryExists(path))
        return true;
    std::string::size_type cut = path.find_last_of("\\/");
    if (cut != std::string::npos && cut > 2)
        MakeDirectories(path.substr(0, cut));
    return CreateDirectoryA(path.c_str(), nullptr) || DirectoryExists(path);
}

void RemoveTree(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (a & FILE_ATTRIBUTE_REPARSE_POINT)
        return;   // Wine's RemoveDirectoryA would remove the link's target
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

bool PlantFolderLink(const std::string &link, const std::string &target)
{
    typedef char *(CDECL * ToUnix)(LPCWSTR);
    ToUnix toUnix = (ToUnix)(void *)GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                   "wine_get_unix_file_name");
    auto unix = [toUnix](const std::string &path) {
        std::wstring wide(path.begin(), path.end());   // the scenarios' paths are ASCII
        char *mapped = toUnix ? toUnix(wide.c_str()) : nullptr;
        return "\"" + std::string(mapped ? mapped : "") + "\"";
    };
    auto attributes = [link]() { return GetFileAttributesA(link.c_str()); };
    std::string from = unix(link);
    // Wine starts a Unix program, but hands back no process to wait for.
    AtEnd([=]() {
        Start("/bin/rm -f " + from);
        WaitUntil([=]() { return attributes() == INVALID_FILE_ATTRIBUTES; }, 10000);
    });
    Start("/bin/ln -sfn " + unix(target) + " " + from);
    return WaitUntil([=]() {
        DWORD a = attributes();
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
    }, 10000);
}

std::string AccessList(const std::string &path)
{
    char descriptor[4096], *text = nullptr;
    DWORD needed = 0;
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor,
                          &needed) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr))
        return "";
    std::string list = text;
    LocalFree(text);
    return list;
}

bool OpenToEveryone(const std::string &path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;OICI;FA;;;WD)", SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    bool set = SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor) != 0;
    LocalFree(descriptor);
    return set && AccessList(path).find(";;;WD)") != std::string::npos;
}

std::string TempDirectory()
{
    char buffer[MAX_PATH + 1] = "";
    GetTempPathA(sizeof buffer, buffer);
    return buffer;
}

std::string ShellFolder(int csidl)
{
    char buffer[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, buffer)))
        return "";
    return buffer;
}

}  // namespace robot
