// A scratch drive for the fuzz targets: a temporary directory made the root
// of the stand-in layer, holding drive C, made once per process.
#ifndef VELTRANO_FUZZSCRATCH_H
#define VELTRANO_FUZZSCRATCH_H

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include "Win32.h"

static std::string fuzzRoot;

static int FuzzRemoveEntry(const char *path, const struct stat *, int, struct FTW *)
{
    remove(path);
    return 0;
}

// Removes the scratch root when the fuzzer ends.
static void FuzzRemoveRoot()
{
    if (!fuzzRoot.empty())
        nftw(fuzzRoot.c_str(), FuzzRemoveEntry, 8, FTW_DEPTH | FTW_PHYS);
}

// Linux path of drive C's root directory, with a trailing slash.
static const std::string &FuzzDriveC()
{
    static std::string drive;
    if (drive.empty()) {
        char root[] = "/tmp/veltrano-fuzz-XXXXXX";
        if (!mkdtemp(root))
            abort();
        fuzzRoot = root;
        atexit(FuzzRemoveRoot);
        drive = fuzzRoot + "/c/";
        mkdir(drive.c_str(), 0700);
        HostSetRoot(root);
    }
    return drive;
}

// Writes bytes into the file name on drive C.
static void FuzzWriteFile(const char *name, const unsigned char *data, size_t size)
{
    FILE *f = fopen((FuzzDriveC() + name).c_str(), "wb");
    if (!f)
        abort();
    if (size && fwrite(data, 1, size, f) != size)
        abort();
    fclose(f);
}

#endif
