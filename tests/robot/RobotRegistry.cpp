// Registry reads for checks and writes for laying out a known state.
#include "Robot.h"

namespace robot {

bool RegReadString(HKEY root, const std::string &key, const char *value, std::string *out)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    char data[4096];
    DWORD type = 0, size = sizeof data - 1;
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    data[size] = '\0';
    *out = data;
    return true;
}

bool RegReadDword(HKEY root, const std::string &key, const char *value, DWORD *out)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof *out;
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE *>(out), &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

bool RegKeyExists(HKEY root, const std::string &key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

bool RegValueExists(HKEY root, const std::string &key, const char *value)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    LONG rc = RegQueryValueExA(k, value, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

static bool SetValue(HKEY root, const std::string &key, const char *value, DWORD type,
                     const void *data, DWORD size)
{
    HKEY k;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(k, value, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

bool RegSetString(HKEY root, const std::string &key, const char *value, const std::string &data)
{
    return SetValue(root, key, value, REG_SZ, data.c_str(), DWORD(data.size() + 1));
}

bool RegSetDword(HKEY root, const std::string &key, const char *value, DWORD data)
{
    return SetValue(root, key, value, REG_DWORD, &data, sizeof data);
}

bool RegRemoveValue(HKEY root, const std::string &key, const char *value)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
        return false;
    LONG rc = RegDeleteValueA(k, value);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

bool RegRemoveKey(HKEY root, const std::string &key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
        return false;
    char name[256];
    for (;;) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(k, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!RegRemoveKey(root, key + "\\" + name))
            break;
    }
    RegCloseKey(k);
    return RegDeleteKeyA(root, key.c_str()) == ERROR_SUCCESS;
}

}  // namespace robot
