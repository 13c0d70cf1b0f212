// The uninstaller's removal rule against an oracle of its own. The input is
// cut at its first line feed into the listed line and the uninstaller's
// directory (the seeds' further lines are ignored). Whatever the rule admits
// must be exactly one of the files the setup program makes in the
// directory, or a folder above the directory other than a drive's root, and
// always a plain full path.
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "RemovalRule.h"

namespace {

const char *const installedNames[] = {
#define PAYLOAD_FILE(identifier, fileName) fileName,
#include "product/Payload.inc"
#undef PAYLOAD_FILE
    "Pellino.exe.ini"};

std::string Upper(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

bool Same(const std::string &a, const std::string &b) { return Upper(a) == Upper(b); }

// "X:\" and names that Windows keeps as written, at most 260 characters.
bool PlainFullPath(const std::string &path)
{
    char drive = Upper(path.substr(0, 1))[0];
    if (path.size() < 4 || path.size() > 260 || drive < 'A' || drive > 'Z' ||
        path.compare(1, 2, ":\\") != 0)
        return false;
    size_t start = 3;
    for (size_t end; start <= path.size(); start = end + 1) {
        end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        std::string name = path.substr(start, end - start);
        if (name.empty() || name.back() == '.' || name.back() == ' ')
            return false;
        for (unsigned char c : name)
            if (c < 0x20 || std::string("/:*?\"<>|").find(char(c)) != std::string::npos)
                return false;
    }
    return true;
}

void Fail(const char *what, const std::string &line)
{
    fprintf(stderr, "removal rule admitted %s: \"%s\"\n", what, line.c_str());
    abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    std::string parts[2];
    size_t part = 0;
    for (size_t i = 0; i < size; i++) {
        if (data[i] == '\n' && ++part > 1)
            break;
        if (data[i] != '\n')
            parts[part] += data[i] ? char(data[i]) : '\x01';
    }
    const std::string &line = parts[0], &own = parts[1];
    RemovalKind kind = ListedItemKind(line.c_str(), own.c_str());
    if (kind != REMOVE_NOTHING && !PlainFullPath(line))
        Fail("a path that is not plain", line);
    bool ownKnown = !own.empty() && own.back() == '\\' &&
                    (own.size() == 3 || PlainFullPath(own.substr(0, own.size() - 1)));
    bool ok = true;
    switch (kind) {
    case REMOVE_NOTHING:
        break;
    case REMOVE_OWN_ITEM:
        ok = false;
        for (const char *name : installedNames)
            ok = ok || (ownKnown && Same(line, own + name));
        break;
    case REMOVE_CREATED_FOLDER:
        ok = ownKnown && line.size() > 3 && line.size() + 1 < own.size() &&
             Same(line + "\\", own.substr(0, line.size() + 1));
        break;
    }
    if (!ok)
        Fail("an item the setup program does not make", line);
    return 0;
}
