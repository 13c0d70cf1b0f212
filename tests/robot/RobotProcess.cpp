// Starting programs, waiting for them, and looking for running processes.
#include "Robot.h"

#include <cstdio>
#include <tlhelp32.h>
#include <winternl.h>

namespace robot {

Process Start(const std::string &commandLine, const char *directory)
{
    Process p;
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    // Wine says ERROR_INTERNAL_ERROR when the new process ended before any
    // of its own code ran (its loader could not set it up, now and then on
    // a loaded machine): that start is tried again, twice at most.
    for (int attempt = 1;; attempt++) {
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                           &si, &pi))
            break;
        DWORD error = GetLastError();
        Say("  could not start %s (error %lu)", commandLine.c_str(), error);
        if (error != ERROR_INTERNAL_ERROR || attempt == 3)
            return p;
    }
    CloseHandle(pi.hThread);
    p.handle = pi.hProcess;
    p.pid = pi.dwProcessId;
    p.tid = pi.dwThreadId;
    HANDLE handle = pi.hProcess;
    AtEnd([handle]() {
        if (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) {
            Say("  clean-up: ending a process that still runs");
            TerminateProcess(handle, 99);
            WaitForSingleObject(handle, 5000);
        }
        CloseHandle(handle);
    });
    return p;
}

long WaitExit(const Process &process, DWORD timeoutMs)
{
    if (!process.handle || WaitForSingleObject(process.handle, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.handle, &code);
    return long(code);
}

namespace {

// The processes that run now, from one snapshot.
std::vector<PROCESSENTRY32> Processes()
{
    std::vector<PROCESSENTRY32> list;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return list;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        list.push_back(entry);
    CloseHandle(snapshot);
    return list;
}

bool Named(const PROCESSENTRY32 &entry, const char *exeName)
{
    return entry.th32ProcessID != GetCurrentProcessId() && !lstrcmpiA(entry.szExeFile, exeName);
}

}  // namespace

bool ProcessRunning(const char *exeName)
{
    for (const PROCESSENTRY32 &entry : Processes())
        if (Named(entry, exeName))
            return true;
    return false;
}

std::string RunningProcesses()
{
    std::string names;
    for (const PROCESSENTRY32 &entry : Processes()) {
        if (entry.th32ProcessID == GetCurrentProcessId())
            continue;
        char line[MAX_PATH + 32];
        snprintf(line, sizeof line, "%s%s(%lx)<-%lx", names.empty() ? "" : " ", entry.szExeFile,
                 (unsigned long)entry.th32ProcessID, (unsigned long)entry.th32ParentProcessID);
        names += line;
    }
    return names;
}

bool WaitNoProcess(const char *exeName, DWORD timeoutMs)
{
    return WaitUntil([exeName]() { return !ProcessRunning(exeName); }, timeoutMs, 100);
}

int EndProcesses(const char *exeName)
{
    int ended = 0;
    for (const PROCESSENTRY32 &entry : Processes()) {
        HANDLE process = Named(entry, exeName)
                             ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)
                             : nullptr;
        if (process && TerminateProcess(process, 1) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0)
            ended++;
        if (process)
            CloseHandle(process);
    }
    return ended;
}

DWORD ParentProcessId(const char *exeName)
{
    for (const PROCESSENTRY32 &entry : Processes())
        if (Named(entry, exeName))
            return entry.th32ParentProcessID;
    return 0;
}

std::string ParentProcessName(const char *exeName)
{
    DWORD parent = ParentProcessId(exeName);
    for (const PROCESSENTRY32 &entry : Processes())
        if (parent && entry.th32ProcessID == parent)
            return entry.szExeFile;
    return "";
}

std::vector<std::string> ProcessModules(DWORD pid)
{
    std::vector<std::string> modules;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE)
        return modules;
    MODULEENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry))
        modules.push_back(entry.szExePath);
    CloseHandle(snapshot);
    return modules;
}

std::vector<std::string> CommandLines(const char *exeName)
{
    // Read from the process's own memory (the robot and the processes it
    // looks at are of one bitness): its PEB, its parameters, their text.
    typedef LONG(WINAPI * Query)(HANDLE, PROCESSINFOCLASS, void *, ULONG, ULONG *);
    Query query = (Query)(void *)GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                                "NtQueryInformationProcess");
    std::vector<std::string> lines;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (!query || snapshot == INVALID_HANDLE_VALUE)
        return lines;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName))
            continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                     entry.th32ProcessID);
        PROCESS_BASIC_INFORMATION basic;
        PEB peb;
        RTL_USER_PROCESS_PARAMETERS parameters;
        if (process && query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
            ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) &&
            ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters,
                              nullptr)) {
            std::vector<WCHAR> text(parameters.CommandLine.Length / 2 + 1, 0);
            char line[4096] = "";
            if (ReadProcessMemory(process, parameters.CommandLine.Buffer, text.data(),
                                  parameters.CommandLine.Length, nullptr))
                WideCharToMultiByte(CP_ACP, 0, text.data(), -1, line, sizeof line - 1, nullptr,
                                    nullptr);
            lines.push_back(line);
        }
        if (process)
            CloseHandle(process);
    }
    CloseHandle(snapshot);
    return lines;
}

}  // namespace robot
