#include "Scratch.h"
#include "Win32.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#ifndef _WIN32
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Deletes a directory and everything below it, read-only entries included.
void RemoveTree(const std::string &directory)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, ".."))
                continue;
            std::string path = directory + "\\" + found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(directory.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(directory.c_str());
}

#ifndef _WIN32
int RemoveEntry(const char *path, const struct stat *, int type, struct FTW *)
{
    if (type == FTW_DP)
        return rmdir(path);
    return unlink(path);
}
#endif

}

Scratch::Scratch()
{
    static unsigned counter = 0;
    char unique[64];
#ifdef _WIN32
    snprintf(unique, sizeof unique, "vt%lu_%u", (unsigned long)GetCurrentProcessId(), ++counter);
#else
    char root[] = "/tmp/veltrano-host-XXXXXX";
    if (!mkdtemp(root)) {
        ADD_FAILURE() << "cannot make a temporary root";
        return;
    }
    unixRoot = root;
    const char *dirs[] = {"/c", "/c/WINDOWS", "/c/WINDOWS/SYSTEM", "/c/TEMP"};
    for (const char *d : dirs)
        mkdir((unixRoot + d).c_str(), 0755);
    HostSetRoot(root);
    HostSetDirectories("C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\TEMP\\");
    HostSetModuleFileName("C:\\WINDOWS\\Program.exe");
    HostSetCurrentDirectory("C:\\");
    snprintf(unique, sizeof unique, "vt%u", ++counter);
#endif
    char temp[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp) {
        ADD_FAILURE() << "no temporary directory";
        return;
    }
    base = std::string(temp) + unique;
    RemoveTree(base);                      // left over from a run that crashed
    if (!CreateDirectoryA(base.c_str(), 0))
        ADD_FAILURE() << "cannot make the scratch directory " << base;
}

Scratch::~Scratch()
{
    if (!base.empty())
        RemoveTree(base);
#ifndef _WIN32
    if (!unixRoot.empty()) {
        // Read-only entries are made writable by RemoveTree for the scratch
        // part; the rest of the root was made by us and is writable.
        nftw(unixRoot.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        HostSetRoot("");
    }
#endif
}

std::string Scratch::Path(const char *relative) const
{
    if (!relative || !*relative)
        return base;
    return base + "\\" + relative;
}

void Scratch::Write(const char *relative, const std::string &bytes)
{
    OFSTRUCT info;
    HFILE file = OpenFile(Path(relative).c_str(), &info, OF_CREATE | OF_WRITE);
    ASSERT_NE(HFILE_ERROR, file) << "cannot create " << Path(relative);
    UINT written = bytes.empty() ? 0 : _lwrite(file, bytes.data(), (UINT)bytes.size());
    _lclose(file);
    ASSERT_EQ(bytes.size(), written) << "short write to " << Path(relative);
}

std::string Scratch::Read(const char *relative) const
{
    OFSTRUCT info;
    HFILE file = OpenFile(Path(relative).c_str(), &info, OF_READ);
    if (file == HFILE_ERROR)
        return std::string();
    std::string content;
    char chunk[4096];
    for (;;) {
        UINT n = _lread(file, chunk, sizeof chunk);
        if (n == 0 || n == (UINT)HFILE_ERROR)
            break;
        content.append(chunk, n);
    }
    _lclose(file);
    return content;
}

bool Scratch::Exists(const char *relative) const
{
    return GetFileAttributesA(Path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Scratch::MakeDir(const char *relative)
{
    EXPECT_TRUE(CreateDirectoryA(Path(relative).c_str(), 0)) << "cannot make " << Path(relative);
}
