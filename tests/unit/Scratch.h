// Scratch: a fresh directory for one test, removed with everything in it
// when the test ends. On Linux it also sets up the stand-in layer: a new
// temporary root with drive C and the Windows, system and temporary
// directories C:\WINDOWS, C:\WINDOWS\SYSTEM and C:\TEMP\. Under Wine the
// directory is made below the real temporary directory.
#ifndef VELTRANO_SCRATCH_H
#define VELTRANO_SCRATCH_H

#include <string>

class Scratch {
public:
    Scratch();
    ~Scratch();
    // Windows path of relative inside the scratch directory; "" gives the
    // directory itself without a trailing separator.
    std::string Path(const char *relative) const;
    // Writes bytes into a file (created or truncated); fails the test on error.
    void Write(const char *relative, const std::string &bytes);
    // The whole content of a file; empty when it cannot be read.
    std::string Read(const char *relative) const;
    // 1 when a file or directory of that name exists.
    bool Exists(const char *relative) const;
    void MakeDir(const char *relative);

private:
    std::string base;          // Windows path of the scratch directory, no trailing separator
    std::string unixRoot;      // Linux only: the stand-in layer's root
    Scratch(const Scratch &);
    Scratch &operator=(const Scratch &);
};

#endif
