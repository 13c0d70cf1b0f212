// TFileSys: paths relative to a base directory (display, relative and
// absolute forms) and the short-name form of a path.
#include "TFileSys.h"
#include "BoundedString.h"
#include "PathText.h"
#include "TBuffer.h"

namespace {

const unsigned PATH_ROOM = FS_PATH_LENGTH + 1;

char *Refuse(char *workPath)
{
    workPath[0] = '\0';
    return workPath;
}

// Copies source into workPath, or refuses it when it does not fit.
char *CopyOrRefuse(char *workPath, const char *source)
{
    if (source != workPath && !CopyBounded(workPath, source, PATH_ROOM))
        return Refuse(workPath);
    return workPath;
}

int HasColon(const char *text)
{
    for (; *text; text++)
        if (*text == ':')
            return 1;
    return 0;
}

}

// The form of file shown to a user: relative to base when it lies below it
// (empty when it is the base), and reduced to its drive, \..\ and its name
// when longer than maximum characters. A display form may be cut; it is
// never used as a path.
char *TFileSys::DisplayPath(const char *file, const char *base, int maximum)
{
    if (!file)
        return Refuse(workPath);
    TBuffer start(PATH_ROOM + 2);
    if (!base || !CopyBounded(start, base, PATH_ROOM))
        start[0] = '\0';                   // no base that fits: nothing is in common
    AddSeparator(start, PATH_ROOM + 2);
    const char *b = start;
    unsigned i = 0;
    while (b[i] && file[i] && PathUpper(b[i]) == PathUpper(file[i]))
        i++;
    const char *candidate = file;
    if (!file[i])
        candidate = "";
    else if (!b[i])
        candidate = file + i;

    unsigned length = LengthBounded(candidate, (unsigned)-1);
    if (maximum >= 0 && length <= (unsigned)maximum) {
        CopyBounded(workPath, candidate, PATH_ROOM);
        return workPath;
    }
    // Too long: keep the drive and the last component only. The split cuts
    // at 260 from the front, so a longer candidate is brought down first.
    TBuffer shortened(PATH_ROOM);
    if (length > FS_PATH_LENGTH) {
        unsigned last = 0;
        for (unsigned k = 0; k < length; k++)
            if (IsPathSeparator(candidate[k]))
                last = k + 1;
        if (candidate[0] && candidate[1] == ':') {
            shortened[0] = candidate[0];
            shortened[1] = ':';
            shortened[2] = '\0';
        }
        AppendBounded(shortened, "\\", PATH_ROOM);
        AppendBounded(shortened, candidate + last, PATH_ROOM);
        candidate = shortened;
    }
    Split(candidate);
    CopyBounded(dir, "\\..\\", sizeof dir);
    Merge();
    if (!workPath[0] && name[0]) {         // the merge refused: cut for display
        CopyBounded(workPath, drive[0] ? drive : "", PATH_ROOM);
        AppendBounded(workPath, "\\..\\", PATH_ROOM);
        AppendBounded(workPath, name, PATH_ROOM);
        AppendBounded(workPath, ext, PATH_ROOM);
    }
    return workPath;
}

// The path of file as seen from the base directory: ..\ for every level
// climbed from the last separator the two have in common. A relative file,
// a file on another drive, or one with nothing in common is given back
// unchanged; a result that would not fit is refused.
char *TFileSys::RelativePath(const char *file, const char *base)
{
    if (!file || LengthBounded(file, PATH_ROOM) > FS_PATH_LENGTH)
        return Refuse(workPath);
    if (!HasColon(file) && file[0] != '\\')
        return CopyOrRefuse(workPath, file);

    TBuffer start(PATH_ROOM + 2);
    if (!base || !CopyBounded(start, base, PATH_ROOM))
        return CopyOrRefuse(workPath, file);
    AddSeparator(start, PATH_ROOM + 2);
    Split(start);
    TBuffer baseDrive(PATH_ROOM);
    TBuffer baseDir(PATH_ROOM);
    CopyBounded(baseDrive, drive, PATH_ROOM);
    CopyBounded(baseDir, dir, PATH_ROOM);

    TBuffer original(PATH_ROOM);           // file may be workPath
    CopyBounded(original, file, PATH_ROOM);
    Split(original);
    if (drive[0] && !SamePathText(drive, baseDrive))
        return CopyOrRefuse(workPath, original);
    if (SamePathText(dir, baseDir)) {
        workPath[0] = '\0';
        AppendBounded(workPath, name, PATH_ROOM);
        AppendBounded(workPath, ext, PATH_ROOM);
        return workPath;
    }
    const char *bd = baseDir;
    int common = -1;
    for (unsigned i = 0; bd[i] && dir[i] && bd[i] == dir[i]; i++)
        if (bd[i] == '\\')
            common = (int)i;
    if (common < 0)
        return CopyOrRefuse(workPath, original);

    TBuffer result(3 * PATH_ROOM + 2);
    unsigned size = 3 * PATH_ROOM + 2;
    for (const char *c = bd + common + 1; *c; c++)
        if (*c == '\\')
            AppendBounded(result, "..\\", size);
    AppendBounded(result, dir + common + 1, size);
    AddSeparator(result, size);
    AppendBounded(result, name, size);
    AppendBounded(result, ext, size);
    return CopyOrRefuse(workPath, result);
}

// The full path of relative, seen from the base directory: the inverse of
// RelativePath. Leading ..\ groups climb from the base, stopping at the
// drive root; .\ names the base itself. A name that merely begins with a
// dot (.profile, ..x) is an ordinary name; a bare or trailing ".." climbs
// one level, and .\ groups after the ..\ groups are passed over. A base
// without a drive that cannot be climbed gives the relative path back.
char *TFileSys::AbsolutePath(const char *relative, const char *base)
{
    if (!relative || LengthBounded(relative, PATH_ROOM) > FS_PATH_LENGTH)
        return Refuse(workPath);
    TBuffer rel(PATH_ROOM);                // either argument may be workPath
    CopyBounded(rel, relative, PATH_ROOM);
    TBuffer start(PATH_ROOM + 2);
    if (!base || !CopyBounded(start, base, PATH_ROOM))
        return Refuse(workPath);
    const char *r = rel;

    if (HasColon(r))
        return CopyOrRefuse(workPath, r);

    if (r[0] == '\\') {
        Split(start);
        char keptDrive[sizeof drive];
        CopyBounded(keptDrive, drive, sizeof keptDrive);
        Split(r);
        if ((unsigned)(lstrlenA(dir) + lstrlenA(name) + lstrlenA(ext)) != (unsigned)lstrlenA(r))
            return Refuse(workPath);       // the split had to cut a part
        CopyBounded(drive, keptDrive, sizeof drive);
        return Merge();
    }

    unsigned levels = 0;
    const char *rest = r;
    if (r[0] == '.') {
        if (IsPathSeparator(r[1])) {       // .\x: x in the base itself
            CopyBounded(workPath, start, PATH_ROOM);
            StripSeparator(workPath);
            if (!AppendBounded(workPath, r + 1, PATH_ROOM))
                return Refuse(workPath);
            return workPath;
        }
        for (;;) {
            if (rest[0] == '.' && rest[1] == '.' && IsPathSeparator(rest[2])) {
                levels++;
                rest += 3;
            } else if (rest[0] == '.' && rest[1] == '.' && rest[2] == '\0') {
                levels++;
                rest += 2;
            } else if (levels && rest[0] == '.' && IsPathSeparator(rest[1])) {
                rest += 2;
            } else {
                break;
            }
        }
    }
    if (levels == 0) {                     // an ordinary name, also one beginning with a dot
        CopyBounded(workPath, start, PATH_ROOM);
        AddSeparator(workPath, PATH_ROOM);
        if (!AppendBounded(workPath, r, PATH_ROOM))
            return Refuse(workPath);
        return workPath;
    }

    CopyBounded(workPath, start, PATH_ROOM);
    StripSeparator(workPath);
    int at = lstrlenA(workPath) - 1;
    for (unsigned level = 0; level < levels; level++) {
        int j = at;
        while (j > 0 && workPath[j] != '\\' && workPath[j] != ':')
            j--;
        if (j <= 0)
            return CopyOrRefuse(workPath, r);
        if (workPath[j] == ':') {          // the drive root: no higher to climb
            workPath[j + 1] = '\0';
            AppendBounded(workPath, "\\", PATH_ROOM);
            break;
        }
        workPath[j + 1] = '\0';
        at = j - 1;
    }
    if (!AppendBounded(workPath, rest, PATH_ROOM))
        return Refuse(workPath);
    return workPath;
}

// path spelled with the short (8.3) name of every component (the long name
// where it is short already); empty when a component does not exist, when
// the path has no drive, or when the result does not fit.
char *TFileSys::ShortPathName(const char *path)
{
    if (!path)
        return Refuse(workPath);
    unsigned length = LengthBounded(path, PATH_ROOM);
    if (length < 2 || length > FS_PATH_LENGTH || path[1] != ':')
        return Refuse(workPath);
    TBuffer copy(length + 2);
    CopyBounded(copy, path, length + 1);
    AddSeparator(copy, length + 2);
    char *c = copy;
    unsigned total = (unsigned)lstrlenA(c);
    TBuffer result(PATH_ROOM);
    result[0] = c[0];
    result[1] = ':';
    result[2] = '\0';
    unsigned first = 0;
    while (first < total && c[first] != '\\')
        first++;
    for (unsigned i = first + 1; i < total; i++) {
        if (c[i] != '\\')
            continue;
        c[i] = '\0';
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(c, &found);
        if (search == INVALID_HANDLE_VALUE)
            return Refuse(workPath);
        FindClose(search);
        found.cFileName[MAX_PATH - 1] = '\0';
        found.cAlternateFileName[sizeof found.cAlternateFileName - 1] = '\0';
        const char *shortName = found.cAlternateFileName[0] ? found.cAlternateFileName
                                                            : found.cFileName;
        if (!AppendBounded(result, "\\", PATH_ROOM) || !AppendBounded(result, shortName, PATH_ROOM))
            return Refuse(workPath);
        c[i] = '\\';
    }
    return CopyOrRefuse(workPath, result);
}
