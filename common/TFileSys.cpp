// TFileSys: construction and the basic path operations (split and merge,
// separators, directories and names of paths, drive and path tests,
// creation of a directory chain).
//
// Buffers: workPath holds 260 characters. A result that would not fit is
// refused (workPath becomes the empty string, a test gives 0) rather than
// cut, because a cut path names another file. Only Split cuts, as Split is
// defined; the operations that build on it refuse when it had to.
#include "TFileSys.h"
#include "BoundedString.h"
#include "PathText.h"
#include "TBuffer.h"

char TFileSys::windowsDir[FS_PATH_LENGTH + 2];
char TFileSys::tempDir[FS_PATH_LENGTH + 2];

namespace {

const unsigned PATH_ROOM = FS_PATH_LENGTH + 1;   // workPath with its terminator
const unsigned PART_ROOM = FS_PART_LENGTH + 1;   // a split part with its terminator

// Copies length characters of source into a split part, cut to 255.
void CopyPart(char *part, const char *source, unsigned length)
{
    if (length > FS_PART_LENGTH)
        length = FS_PART_LENGTH;
    for (unsigned i = 0; i < length; i++)
        part[i] = source[i];
    part[length] = '\0';
}

// Refuses a result: the empty string.
char *Refuse(char *workPath)
{
    workPath[0] = '\0';
    return workPath;
}

enum Listing { NOT_LISTED, LISTED_DIRECTORY, LISTED_FILE };

// The "listed" test: a search for exactly this path finds a directory, or a
// file that is neither hidden nor system (a hidden or system file does not
// count).
Listing ListingOf(const char *path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return NOT_LISTED;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return LISTED_DIRECTORY;
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return NOT_LISTED;
    return LISTED_FILE;
}

// Makes one level of a directory chain unless it is there: 1 when a
// directory of that name exists afterwards. A plain file of that name
// blocks the level (and everything below it), so it gives 0.
int MakeLevel(const char *path)
{
    Listing listing = ListingOf(path);
    if (listing == LISTED_DIRECTORY)
        return 1;
    if (listing == LISTED_FILE)
        return 0;
    return CreateDirectoryA(path, 0) ? 1 : 0;
}

}

// 1 when the last Split took path whole: nothing was cut to fit a part.
static int SplitTookAll(const TFileSys &fs, const char *path)
{
    unsigned whole = LengthBounded(path, PATH_ROOM);
    if (whole > FS_PATH_LENGTH)
        return 0;
    return whole == (unsigned)(lstrlenA(fs.drive) + lstrlenA(fs.dir) + lstrlenA(fs.name)
                               + lstrlenA(fs.ext));
}

// Fills the class-wide directories on first use and the program's directory
// when an instance is given. Every buffer starts empty, so that an operation
// that starts from the object's state never reads undefined text.
TFileSys::TFileSys(HINSTANCE instanceHandle)
{
    moduleDir[0] = workPath[0] = drive[0] = dir[0] = name[0] = ext[0] = '\0';
    if (windowsDir[0] == '\0') {
        UINT n = GetWindowsDirectoryA(windowsDir, FS_PATH_LENGTH);
        if (n == 0 || n >= FS_PATH_LENGTH)
            windowsDir[0] = '\0';
        DWORD t = GetTempPathA(FS_PATH_LENGTH, tempDir);
        if (t == 0 || t >= FS_PATH_LENGTH)
            tempDir[0] = '\0';
    }
    instance = instanceHandle;
    if (!instance)
        return;
    DWORD n = GetModuleFileNameA((HMODULE)instance, workPath, FS_PATH_LENGTH);
    if (n == 0 || n >= FS_PATH_LENGTH) {   // a cut name is another program's
        workPath[0] = '\0';
        return;
    }
    workPath[n] = '\0';
    Split(workPath);
    name[0] = ext[0] = '\0';
    Merge();
    CopyBounded(moduleDir, workPath, sizeof moduleDir);
}

// Splits path into drive, dir, name and ext (see the class comment); the
// path is cut to 260 characters and each part to 255. A last component "."
// or ".." is a directory, not a name.
void TFileSys::Split(const char *path)
{
    drive[0] = dir[0] = name[0] = ext[0] = '\0';
    if (!path)
        return;
    TBuffer copy(PATH_ROOM);
    CopyBounded(copy, path, PATH_ROOM);
    const char *p = copy;
    unsigned length = (unsigned)lstrlenA(p);
    unsigned start = 0;
    if (length >= 2 && p[1] == ':') {
        drive[0] = p[0];
        drive[1] = ':';
        drive[2] = '\0';
        start = 2;
    }
    unsigned component = start;
    for (unsigned i = start; i < length; i++)
        if (IsPathSeparator(p[i]))
            component = i + 1;
    const char *last = p + component;
    if ((last[0] == '.' && last[1] == '\0') || (last[0] == '.' && last[1] == '.' && last[2] == '\0')) {
        CopyPart(dir, p + start, length - start);
        return;
    }
    CopyPart(dir, p + start, component - start);
    unsigned dot = length;
    for (unsigned i = component; i < length; i++)
        if (p[i] == '.')
            dot = i;
    CopyPart(name, last, dot - component);
    CopyPart(ext, p + dot, length - dot);
}

// Joins drive, dir, name and ext into workPath, adding the separator after
// dir and the dot before ext where they are missing. A result longer than
// 260 characters is refused.
char *TFileSys::Merge()
{
    TBuffer joined(4 + 3 * (PART_ROOM + 1));
    char *j = joined;
    unsigned n = 0;
    if (drive[0]) {
        j[n++] = drive[0];
        j[n++] = ':';
    }
    unsigned length = (unsigned)lstrlenA(dir);
    for (unsigned i = 0; i < length; i++)
        j[n++] = dir[i];
    if (length && !IsPathSeparator(dir[length - 1]))
        j[n++] = '\\';
    for (const char *c = name; *c; c++)
        j[n++] = *c;
    if (ext[0] && ext[0] != '.')
        j[n++] = '.';
    for (const char *c = ext; *c; c++)
        j[n++] = *c;
    j[n] = '\0';
    if (!CopyBounded(workPath, j, PATH_ROOM))
        return Refuse(workPath);
    return workPath;
}

// Copies path into workPath (unless it is workPath) and removes one trailing
// backslash. A path longer than 260 characters is refused.
char *TFileSys::StripSeparator(const char *path)
{
    if (!path)
        return Refuse(workPath);
    if (path != workPath && !CopyBounded(workPath, path, PATH_ROOM))
        return Refuse(workPath);
    unsigned length = LengthBounded(workPath, PATH_ROOM);
    if (length && workPath[length - 1] == '\\')
        workPath[length - 1] = '\0';
    return workPath;
}

// The directory of a path that contains a dot anywhere (taken for a file),
// with its trailing separator; any other path is taken for a directory and
// copied unchanged. A directory named with a dot thus gives its parent.
char *TFileSys::DirectoryOf(const char *path)
{
    if (!path)
        return Refuse(workPath);
    unsigned length = LengthBounded(path, PATH_ROOM);
    if (length > FS_PATH_LENGTH)
        return Refuse(workPath);
    int hasDot = 0;
    for (unsigned i = 0; i < length; i++)
        if (path[i] == '.')
            hasDot = 1;
    if (!hasDot) {
        if (path != workPath)
            CopyBounded(workPath, path, PATH_ROOM);
        return workPath;
    }
    Split(path);
    if (!SplitTookAll(*this, path))
        return Refuse(workPath);
    name[0] = ext[0] = '\0';
    return Merge();
}

// The file name and extension of a path.
char *TFileSys::FileNameOf(const char *path)
{
    Split(path);
    if (!path || !SplitTookAll(*this, path))
        return Refuse(workPath);
    workPath[0] = '\0';
    AppendBounded(workPath, name, PATH_ROOM);
    AppendBounded(workPath, ext, PATH_ROOM);
    return workPath;
}

// 1 when a drive (a path of at most 3 characters) or a path exists. A path
// longer than 3 characters is tested without one trailing separator and
// overwrites workPath. A drive counts only when the platform knows a root
// directory for it. A letter alone or with its colon stands for that drive's
// root; anything else short goes to the platform as it is, so "\" asks for
// the root of the current drive. The empty string names nothing.
int TFileSys::PathExists(const char *path)
{
    if (!path)
        return 0;
    unsigned length = LengthBounded(path, 4);
    if (length > 3) {
        StripSeparator(path);
        return workPath[0] && GetFileAttributesA(workPath) != INVALID_FILE_ATTRIBUTES;
    }
    if (length == 0)
        return 0;
    char root[4];
    CopyBounded(root, path, sizeof root);
    char letter = PathUpper(path[0]);
    if (letter >= 'A' && letter <= 'Z' && (length == 1 || (length == 2 && path[1] == ':'))) {
        root[1] = ':';                     // D and D: stand for D:\ .
        root[2] = '\\';
        root[3] = '\0';
    }
    return GetDriveTypeA(root) > DRIVE_NO_ROOT_DIR;
}

// 1 when an existing path is not read-only, or when a path that does not
// exist yet has an existing directory to be made in.
int TFileSys::IsWritable(const char *path)
{
    if (FileExists(path))
        return (GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY) == 0;
    Split(path);
    if (!path || !SplitTookAll(*this, path))
        return 0;
    name[0] = ext[0] = '\0';
    Merge();
    return PathExists(workPath);
}

// 1 when the path is present, as a file or a directory.
int TFileSys::FileExists(const char *path)
{
    if (!path || LengthBounded(path, PATH_ROOM) > FS_PATH_LENGTH)
        return 0;
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The first of the two paths whose directory exists, else the Windows
// directory; the chosen path itself is copied into workPath.
char *TFileSys::FirstExistingPath(const char *first, const char *second)
{
    const char *chosen = windowsDir;
    if (first && PathExists(DirectoryOf(first)))
        chosen = first;
    else if (second && PathExists(DirectoryOf(second)))
        chosen = second;
    CopyBounded(workPath, chosen, PATH_ROOM);   // a chosen path fitted its DirectoryOf
    return workPath;
}

// The current directory of a drive, as a full path from its root; the bare
// root when the drive does not exist or its directory does not fit.
char *TFileSys::DriveCurrentDirectory(char letter)
{
    char upper = PathUpper(letter);
    workPath[0] = upper;
    workPath[1] = ':';
    workPath[2] = '\\';
    workPath[3] = '\0';
    if (upper < 'A' || upper > 'Z' || !(GetLogicalDrives() & (1u << (upper - 'A'))))
        return workPath;
    char request[3] = {upper, ':', '\0'};
    TBuffer current(PATH_ROOM);
    DWORD n = GetFullPathNameA(request, PATH_ROOM, current, 0);
    if (n == 0 || n > FS_PATH_LENGTH || n < 3)
        return workPath;
    if (PathUpper(current[0]) == upper && current[1] == ':' && current[2] == '\\')
        AppendBounded(workPath, current + 3, PATH_ROOM);
    return workPath;
}

// Creates every missing directory of path, from the left; 1 when all of
// them exist afterwards, 0 when one cannot be created (those made so far
// stay). What stands before the first separator (the drive) is not touched;
// an empty component (two separators) is passed over; a drive letter alone
// is that drive's root, which needs no creating; a path of a single
// relative component is created below the current directory. A plain file
// in the way is no directory: the result is then 0, also at the last level.
int TFileSys::CreateDirectoryPath(const char *path)
{
    if (!path)
        return 0;
    unsigned length = LengthBounded(path, PATH_ROOM);
    if (length == 0 || length > FS_PATH_LENGTH)
        return 0;
    // Room for the separator, or for ":\" behind a lone drive letter: D must
    // become the root D:\, not a folder D in the current directory.
    TBuffer copy(length + 3);
    CopyBounded(copy, path, length + 1);
    AddSeparator(copy, length + 3);
    char *c = copy;
    unsigned total = (unsigned)lstrlenA(c);
    unsigned first = 0;
    while (first < total && c[first] != '\\')
        first++;
    int handled = 0;
    for (unsigned i = first + 1; i < total; i++) {
        if (c[i] != '\\' || c[i - 1] == '\\')
            continue;
        c[i] = '\0';
        handled = 1;
        if (!MakeLevel(c))
            return 0;
        c[i] = '\\';
    }
    if (handled)
        return 1;
    if (first == 0)                        // "\": the root of the current drive
        return 1;
    if (c[first - 1] == ':')
        return 1;
    c[first] = '\0';
    return MakeLevel(c);
}

// Appends a separator in place: a lone drive letter becomes its root (D to
// D:\), anything else not ending in "\" gets one. The empty string stays
// empty, so that a name appended to it stays relative rather than landing in
// a drive root. Nothing is appended that would not fit into size characters.
char *TFileSys::AddSeparator(char *buffer, unsigned size)
{
    if (!buffer || size == 0)
        return buffer;
    unsigned length = LengthBounded(buffer, size);
    if (length == size)                    // not terminated within size: leave it alone
        return buffer;
    if (length == 0)
        return buffer;
    if (length == 1) {
        if (length + 3 <= size) {
            buffer[1] = ':';
            buffer[2] = '\\';
            buffer[3] = '\0';
        }
    } else if (buffer[length - 1] != '\\' && length + 2 <= size) {
        buffer[length] = '\\';
        buffer[length + 1] = '\0';
    }
    return buffer;
}

// The name of file with extension ".TMP" in the temporary directory.
char *TFileSys::TempFileName(const char *file)
{
    return MakeFileName(file, tempDir, ".TMP");
}

// directory, a separator, the file's name (without its extension) and
// extension verbatim: no dot is added. A result that does not fit is refused.
char *TFileSys::MakeFileName(const char *file, const char *directory, const char *extension)
{
    Split(file);
    if (!file || !SplitTookAll(*this, file))
        return Refuse(workPath);
    // The directory with room for AddSeparator: ":\" behind a lone letter.
    unsigned room = LengthBounded(directory ? directory : "", PATH_ROOM + 1) + 3;
    TBuffer joined(room + PATH_ROOM + PATH_ROOM);
    unsigned size = room + 2 * PATH_ROOM;
    CopyBounded(joined, directory ? directory : "", room);
    AddSeparator(joined, room);
    AppendBounded(joined, name, size);
    AppendBounded(joined, extension ? extension : "", size);
    if (!CopyBounded(workPath, joined, PATH_ROOM))
        return Refuse(workPath);
    return workPath;
}

// The path with its extension replaced; an empty extension removes it, and
// a dot is put in front of one that lacks it.
char *TFileSys::ChangeExtension(const char *file, const char *extension)
{
    Split(file);
    if (!file || !SplitTookAll(*this, file))
        return Refuse(workPath);
    if (!CopyBounded(ext, extension ? extension : "", PART_ROOM))
        return Refuse(workPath);
    return Merge();
}

// The file's name and extension in directory; the file's own drive and
// directory are dropped.
char *TFileSys::PathInDirectory(const char *directory, const char *file)
{
    TBuffer base(PATH_ROOM + 2);
    if (!directory || !CopyBounded(base, directory, PATH_ROOM))
        return Refuse(workPath);
    AddSeparator(base, PATH_ROOM + 2);
    Split(base);
    if (!SplitTookAll(*this, base))
        return Refuse(workPath);
    TBuffer keptDrive(sizeof drive);
    TBuffer keptDir(PART_ROOM);
    CopyBounded(keptDrive, drive, sizeof drive);
    CopyBounded(keptDir, dir, PART_ROOM);
    Split(file);
    if (!file || !SplitTookAll(*this, file))
        return Refuse(workPath);
    CopyBounded(drive, keptDrive, sizeof drive);
    CopyBounded(dir, keptDir, PART_ROOM);
    return Merge();
}

// moduleDir, or the empty string for an object made without an instance.
const char *TFileSys::ModuleDirectory()
{
    return instance ? moduleDir : "";
}

// The system directory in workPath; empty when the platform gives none that fits.
char *TFileSys::SystemDirectory()
{
    UINT n = GetSystemDirectoryA(workPath, FS_PATH_LENGTH);
    if (n == 0 || n >= FS_PATH_LENGTH)
        workPath[0] = '\0';
    return workPath;
}

// The class-wide Windows directory (not workPath).
const char *TFileSys::WindowsDirectory()
{
    return windowsDir;
}

// Turns every "|" into a terminator, in place, so that a|b| becomes the
// list a, b ended by two terminators. Returns the length before the change.
int TFileSys::MakeMultiString(char *buffer)
{
    if (!buffer)
        return 0;
    int length = lstrlenA(buffer);
    for (int i = 0; i < length; i++)
        if (buffer[i] == '|')
            buffer[i] = '\0';
    return length;
}
