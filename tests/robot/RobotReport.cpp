// Transcript, checks and the scenario table of a robot executable.
#include "Robot.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace robot {

namespace {

struct Scenario {
    const char *name;
    ScenarioFunction run;
};

std::vector<Scenario> &Table()
{
    static std::vector<Scenario> table;
    return table;
}

std::vector<std::function<void()>> &Cleanups()
{
    static std::vector<std::function<void()>> cleanups;
    return cleanups;
}

int failures = 0;
int checks = 0;

std::string Format(const char *format, va_list args)
{
    char buffer[2048];
    vsnprintf(buffer, sizeof buffer, format, args);
    return buffer;
}

void RunCleanups()
{
    std::vector<std::function<void()>> &list = Cleanups();
    while (!list.empty()) {
        std::function<void()> cleanup = list.back();
        list.pop_back();
        try {
            cleanup();
        } catch (...) {
            Say("  clean-up threw an exception");
        }
    }
}

// Waits for good: a second thread of the robot's on the desktop.
DWORD WINAPI StayOnDesktop(void *)
{
    Sleep(INFINITE);
    return 0;
}

// Keeps the robot's desktop, and the desktop shell on it, for the whole
// scenario, and starts that shell before any program does. Wine 8 closes a
// desktop a second after one of the shell's own threads ends while a single
// thread of another program is left on it (its server takes the thread off
// the desktop before it takes it off the shell's running threads, and then
// sees the shell alone): the robot waiting alone with one thread was such a
// moment, and a program it started next found no shell. With two threads of
// the robot's it never is. A program asking for the desktop at the same
// moment as the robot would also start a second shell.
void KeepDesktop()
{
    GetDesktopWindow();
    HANDLE thread = CreateThread(nullptr, 0, StayOnDesktop, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
}

}  // namespace

void Say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = Format(format, args);
    va_end(args);
    fputs(text.c_str(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

bool Record(bool ok, const char *file, int line, const char *condition, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = Format(format, args);
    va_end(args);
    const char *base = strrchr(file, '/');
    base = base ? base + 1 : file;
    ++checks;
    if (ok) {
        Say("  ok    %s", text.c_str());
    } else {
        ++failures;
        Say("  FAIL  %s:%d: %s [%s]", base, line, text.c_str(), condition);
    }
    return ok;
}

int Failures() { return failures; }

std::string Show(const char *v) { return v ? Show(std::string(v)) : "(null)"; }

std::string Show(const std::string &v)
{
    std::string out = "\"";
    for (unsigned char c : v) {
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

ScenarioRegistration::ScenarioRegistration(const char *name, ScenarioFunction run)
{
    Table().push_back(Scenario{name, run});
}

void AtEnd(std::function<void()> cleanup) { Cleanups().push_back(cleanup); }

int Main(int argc, char **argv)
{
    if (argc < 2) {
        Say("usage: %s --list | SCENARIO", argv[0]);
        return 1;
    }
    if (strcmp(argv[1], "--list") == 0) {
        for (const Scenario &s : Table())
            Say("%s", s.name);
        return 0;
    }
    for (const Scenario &s : Table()) {
        if (strcmp(s.name, argv[1]) != 0)
            continue;
        Say("scenario %s", s.name);
        KeepDesktop();
        DWORD start = GetTickCount();
        try {
            s.run();
        } catch (const Abandon &) {
            Say("  scenario abandoned after a failed requirement");
        } catch (const std::exception &e) {
            ++failures;
            Say("  FAIL  exception: %s", e.what());
        } catch (...) {
            ++failures;
            Say("  FAIL  unknown exception");
        }
        RunCleanups();
        if (checks == 0) {
            ++failures;
            Say("  FAIL  the scenario checked nothing");
        }
        Say("scenario %s: %s (%d checks, %d failed, %lu ms)", s.name,
            failures ? "FAILED" : "passed", checks, failures,
            (unsigned long)(GetTickCount() - start));
        return failures ? 1 : 0;
    }
    Say("unknown scenario %s", argv[1]);
    return 1;
}

bool WaitUntil(std::function<bool()> cond, DWORD timeoutMs, DWORD pollMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (cond())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return cond();
        Sleep(pollMs);
    }
}

}  // namespace robot
