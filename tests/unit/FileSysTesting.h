// Helpers for the TFileSys tests: long paths and the check that workPath
// was not written past its end.
#ifndef VELTRANO_FILESYSTESTING_H
#define VELTRANO_FILESYSTESTING_H

#include <string>
#include "TFileSys.h"
#include "BoundedString.h"

// A path of exactly length characters: drive, then components of "a" runs
// of at most 50 characters, ending in a file name with extension ".txt".
inline std::string LongPath(unsigned length)
{
    std::string p = "C:";
    while (p.size() + 1 + 50 + 4 < length)
        p += "\\" + std::string(50, 'a');
    p += "\\";
    p += std::string(length - p.size() - 4, 'f');
    p += ".txt";
    return p;
}

// workPath is terminated within its 261 characters (a longer result would
// have run into the next field).
inline bool WorkPathIntact(const TFileSys &fs)
{
    return LengthBounded(fs.workPath, sizeof fs.workPath) < sizeof fs.workPath;
}

#endif
