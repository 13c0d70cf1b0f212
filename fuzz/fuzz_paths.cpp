// Fuzz target for the TFileSys path operations. The input is cut at each
// line feed into up to four strings (file, base, extension, directory); the
// first byte also chooses the display maximum and a drive letter. Directory
// chains are created on the stand-in layer below a scratch root that is
// emptied after each run. Every result must stay inside workPath.
#include <dirent.h>
#include <errno.h>
#include <signal.h>
#include <ftw.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include "TFileSys.h"
#include "BoundedString.h"

namespace {

std::string root;

int RemoveEntry(const char *path, const struct stat *, int type, struct FTW *level)
{
    if (level->level == 0)
        return 0;
    chmod(path, 0755);
    return type == FTW_DP ? rmdir(path) : unlink(path);
}

// Removes the roots of earlier runs whose process has ended: libFuzzer may
// end a run without running exit handlers.
void RemoveStaleRoots()
{
    const char prefix[] = "veltrano-fuzz-paths-";
    DIR *d = opendir("/tmp");
    if (!d)
        return;
    while (struct dirent *e = readdir(d)) {
        if (strncmp(e->d_name, prefix, sizeof prefix - 1))
            continue;
        long pid = atol(e->d_name + sizeof prefix - 1);
        if (pid <= 0 || (kill((pid_t)pid, 0) != 0 && errno == ESRCH)) {
            std::string stale = std::string("/tmp/") + e->d_name;
            nftw(stale.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
            rmdir(stale.c_str());
        }
    }
    closedir(d);
}

void SetUp()
{
    RemoveStaleRoots();
    root = "/tmp/veltrano-fuzz-paths-" + std::to_string((long)getpid());
    nftw(root.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    mkdir(root.c_str(), 0700);
    mkdir((root + "/c").c_str(), 0755);
    mkdir((root + "/c/WINDOWS").c_str(), 0755);
    HostSetRoot(root.c_str());
    HostSetDirectories("C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\TEMP\\");
    atexit([] { nftw(root.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS); rmdir(root.c_str()); });
}

// 1 when the drive holds anything but the Windows directory.
bool Created()
{
    bool found = false;
    if (DIR *d = opendir((root + "/c").c_str())) {
        while (struct dirent *e = readdir(d))
            if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..") && strcmp(e->d_name, "WINDOWS"))
                found = true;
        closedir(d);
    }
    return found;
}

void Check(const TFileSys &fs)
{
    if (LengthBounded(fs.workPath, sizeof fs.workPath) >= sizeof fs.workPath)
        abort();
    if (LengthBounded(fs.dir, sizeof fs.dir) > FS_PART_LENGTH
        || LengthBounded(fs.name, sizeof fs.name) > FS_PART_LENGTH
        || LengthBounded(fs.ext, sizeof fs.ext) > FS_PART_LENGTH
        || LengthBounded(fs.drive, sizeof fs.drive) > 2)
        abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (root.empty())
        SetUp();
    if (size == 0 || size > 4096)
        return 0;
    unsigned char control = data[0];
    std::string text((const char *)data + 1, size - 1);
    std::string part[4];
    size_t at = 0;
    for (int i = 0; i < 4 && at <= text.size(); i++) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        part[i] = text.substr(at, end - at);
        at = end + 1;
    }
    const char *file = part[0].c_str(), *base = part[1].c_str();
    const char *extension = part[2].c_str(), *directory = part[3].c_str();

    TFileSys fs(0);
    fs.Split(file); Check(fs);
    fs.Merge(); Check(fs);
    fs.StripSeparator(file); Check(fs);
    fs.StripSeparator(fs.workPath); Check(fs);
    fs.DirectoryOf(file); Check(fs);
    fs.DirectoryOf(fs.workPath); Check(fs);
    fs.FileNameOf(file); Check(fs);
    fs.ChangeExtension(file, extension); Check(fs);
    fs.MakeFileName(file, directory, extension); Check(fs);
    fs.TempFileName(file); Check(fs);
    fs.PathInDirectory(directory, file); Check(fs);
    fs.DisplayPath(file, base, (int)(control & 0x7f) - 8); Check(fs);
    fs.DisplayPath(file, fs.workPath, control); Check(fs);
    fs.RelativePath(file, base); Check(fs);
    std::string relative = fs.workPath;
    fs.AbsolutePath(relative.c_str(), base); Check(fs);
    fs.AbsolutePath(file, base); Check(fs);
    fs.AbsolutePath(fs.workPath, fs.workPath); Check(fs);
    fs.DriveCurrentDirectory((char)control); Check(fs);
    fs.PathExists(file); Check(fs);
    fs.IsWritable(file); Check(fs);
    fs.FirstExistingPath(file, base); Check(fs);

    // AddSeparator into a buffer of exactly the given room, canary behind it.
    unsigned room = (control % 8) + (unsigned)part[0].size();
    std::string guarded(room + 16, '#');
    memcpy(&guarded[0], file, part[0].size() < room ? part[0].size() + 1 : room);
    fs.AddSeparator(&guarded[0], room);
    for (unsigned i = room; i < guarded.size(); i++)
        if (guarded[i] != '#')
            abort();

    // The file system: directory chains and short names on the scratch drive.
    fs.CreateDirectoryPath(file); Check(fs);
    fs.ShortPathName(file); Check(fs);
    std::string inside = "C:\\fz\\" + part[3];
    fs.CreateDirectoryPath(inside.c_str()); Check(fs);
    fs.ShortPathName(inside.c_str()); Check(fs);
    if (Created()) {
        nftw((root + "/c").c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        mkdir((root + "/c/WINDOWS").c_str(), 0755);
    }
    return 0;
}
