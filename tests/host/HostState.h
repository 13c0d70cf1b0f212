// Shared state of the stand-in layer: the root that holds the drive
// directories, the fixed directories, the current directory of each drive.
#ifndef VELTRANO_HOSTSTATE_H
#define VELTRANO_HOSTSTATE_H

#include <string>

namespace host {

// The full Windows form of a path (drive, backslashes, "." and ".." resolved)
// against the current directories; empty when the path names no drive.
std::string FullWindowsPath(const char *path);
// The Linux directory that stands for a drive letter; empty when it is missing.
std::string DriveDirectory(char letter);
// Linux path for a Windows path (see HostMapPath); empty when unmappable.
std::string MapPath(const char *windowsPath);
// Windows and system directories and the module file name, as set.
const std::string &WindowsDirectory();
const std::string &SystemDirectory();
const std::string &ModuleFileName();
// Case-insensitive comparison with the single-byte a-z rule.
bool SameName(const std::string &a, const std::string &b);

}

#endif
