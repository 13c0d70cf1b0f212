// Shell links read back (and written) through IShellLinkA and IPersistFile.
#include "Robot.h"

#include <objbase.h>
#include <shlobj.h>

namespace robot {

namespace {

// Runs work with an IShellLinkA and its IPersistFile, COM initialised around it.
bool WithShellLink(const std::function<bool(IShellLinkA *, IPersistFile *)> &work)
{
    HRESULT init = CoInitialize(nullptr);
    bool ok = false;
    IShellLinkA *link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, reinterpret_cast<void **>(&link)))) {
        IPersistFile *file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            ok = work(link, file);
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}

std::wstring Wide(const std::string &s)
{
    wchar_t buffer[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, buffer, MAX_PATH * 2);
    return buffer;
}

}  // namespace

bool ReadShellLink(const std::string &linkFile, LinkInfo *out)
{
    return WithShellLink([&](IShellLinkA *link, IPersistFile *file) {
        if (FAILED(file->Load(Wide(linkFile).c_str(), STGM_READ)))
            return false;
        char buffer[MAX_PATH * 2];
        buffer[0] = '\0';
        link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH);
        out->target = buffer;
        buffer[0] = '\0';
        link->GetDescription(buffer, sizeof buffer);
        out->description = buffer;
        buffer[0] = '\0';
        link->GetWorkingDirectory(buffer, sizeof buffer);
        out->workingDirectory = buffer;
        buffer[0] = '\0';
        link->GetArguments(buffer, sizeof buffer);
        out->arguments = buffer;
        return true;
    });
}

bool WriteShellLink(const std::string &linkFile, const LinkInfo &in)
{
    return WithShellLink([&](IShellLinkA *link, IPersistFile *file) {
        link->SetPath(in.target.c_str());
        link->SetDescription(in.description.c_str());
        if (!in.workingDirectory.empty())
            link->SetWorkingDirectory(in.workingDirectory.c_str());
        if (!in.arguments.empty())
            link->SetArguments(in.arguments.c_str());
        return SUCCEEDED(file->Save(Wide(linkFile).c_str(), TRUE));
    });
}

}  // namespace robot
