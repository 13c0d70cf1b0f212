#include "FileIO.h"
#include "BoundedString.h"
#include <string.h>

// Creates name for writing only when nothing stands under it, shared with
// nobody, each write going through to the disk. On Win32 an HFILE is the
// file handle itself (OpenFile's may be closed with CloseHandle), so the
// handle serves the _l* calls.
static HFILE FileIOCreateNew(const char *name)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, 0, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, 0);
    return file == INVALID_HANDLE_VALUE ? HFILE_ERROR : (HFILE)(INT_PTR)file;
}

FileIO::FileIO(const char *name, unsigned style)
{
    memset(&openInfo, 0, sizeof openInfo);
    openInfo.cBytes = (BYTE)sizeof(OFSTRUCT);
    buffer[0] = '\0';
    pos = -1;
    count = 0;
    written = 0;
    failed = 0;
    // OpenFile's record holds at most OFS_MAXPATHNAME - 1 characters of
    // path and the platform refuses a longer name, which would leave a deep
    // installation without its settings file. Such a name is opened with
    // _lopen or _lcreat instead; only a bare name needs OpenFile's search,
    // and a bare name is always short.
    if (style & FILEIO_CREATE_NEW)
        handle = FileIOCreateNew(name);
    else if (LengthBounded(name, OFS_MAXPATHNAME) < OFS_MAXPATHNAME)
        handle = OpenFile(name, &openInfo, style);
    else if (style & OF_CREATE)
        handle = _lcreat(name, 0);
    else
        handle = _lopen(name, (int)style);
    atEnd = handle == HFILE_ERROR ? 1 : 0;
}

FileIO::~FileIO()
{
    if (IsOpen())
        Close();
}

int FileIO::Close()
{
    if (written)
        Flush();
    written = 0;
    int whole = IsOpen() && !failed;
    if (IsOpen() && _lclose(handle) == HFILE_ERROR)
        whole = 0;
    handle = HFILE_ERROR;
    atEnd = 1;
    return whole;
}

int FileIO::IsOpen() const { return handle != HFILE_ERROR ? 1 : 0; }

int FileIO::Eof() const { return atEnd; }

// Reads up to size bytes into target. Returns the number read; 0 at the end
// of the file, and on a read error, which ends the reading the same way.
int FileIO::ReadBlock(char *target, int size)
{
    if (size <= 0)
        return 0;
    UINT got = _lread(handle, target, (UINT)size);
    if (got == (UINT)HFILE_ERROR || got > (UINT)size)
        return 0;
    return (int)got;
}

// Index of the first LF in buffer[from] .. buffer[to - 1], or -1.
static int FileIOFindLineFeed(const char *buffer, int from, int to)
{
    for (int i = from; i < to; i++)
        if (buffer[i] == '\n')
            return i;
    return -1;
}

const char *FileIO::ReadLine()
{
    // Loops only to drop the line end that directly follows a cut piece.
    for (;;) {
        if (atEnd)
            return "";
        int continued = 0;
        if (pos == -1) {
            int got = ReadBlock(buffer, FILEIO_BLOCK);
            if (got == 0) {
                atEnd = 1;
                return "";
            }
            count = got;
            pos = 0;
        } else if (pos == FILEIO_BLOCK) {
            // The byte cut off behind the last piece starts this call.
            buffer[0] = buffer[FILEIO_BLOCK];
            count = 1;
            pos = 0;
            continued = 1;
        }

        int lineFeed = FileIOFindLineFeed(buffer, pos, count);
        if (lineFeed < 0 && !(pos == 0 && count == FILEIO_BLOCK)) {
            // The rest of the buffer begins a line that goes on in the file:
            // move it to the front and fill the buffer up behind it.
            int n = count - pos;
            memmove(buffer, buffer + pos, (size_t)n);
            pos = 0;
            count = n;
            int got = ReadBlock(buffer + n, FILEIO_BLOCK - n);
            if (got == 0) {
                // The file's last line, without a line end: returned whole.
                buffer[n] = '\0';
                pos = -1;
                return buffer;
            }
            count = n + got;
            lineFeed = FileIOFindLineFeed(buffer, 0, count);
        }

        if (lineFeed < 0) {
            if (count < FILEIO_BLOCK) {
                // A short block without LF: the file ended inside the line.
                buffer[count] = '\0';
                pos = -1;
                return buffer;
            }
            // A full block without LF: deliver FILEIO_LINE characters and
            // keep the last byte in the spare place behind the terminator.
            buffer[FILEIO_BLOCK] = buffer[FILEIO_LINE];
            buffer[FILEIO_LINE] = '\0';
            pos = FILEIO_BLOCK;
            count = FILEIO_BLOCK + 1;
            return buffer;
        }

        // A line end: cut at the LF, and at the CR in front of it when the
        // line has one. A bare LF ends a line too and nothing else is eaten.
        int start = pos;
        int endsCutLine = continued && lineFeed == start + 1 && buffer[start] == '\r';
        buffer[lineFeed] = '\0';
        if (lineFeed > start && buffer[lineFeed - 1] == '\r')
            buffer[lineFeed - 1] = '\0';
        pos = lineFeed + 1;
        if (pos >= count)
            pos = -1;
        if (endsCutLine)
            continue;   // the CR LF that ended the cut line: no line of its own
        return buffer + start;
    }
}

// Writes count bytes of text to the file; after the first failure nothing
// more is written, since the file has a gap already.
void FileIO::WriteOut(const char *text, unsigned count)
{
    if (count == 0 || failed)
        return;
    if (!IsOpen() || _lwrite(handle, text, count) != count)
        failed = 1;
}

// Writes the collected bytes to the file and empties the buffer.
void FileIO::Flush()
{
    if (pos > 0)
        WriteOut(buffer, (unsigned)pos);
    pos = 0;
    buffer[0] = '\0';
}

void FileIO::Write(const char *text)
{
    written = 1;
    if (pos < 0) {
        pos = 0;
        buffer[0] = '\0';
    }
    if (!text)
        return;
    unsigned length = (unsigned)strlen(text);
    if ((unsigned)pos + length <= FILEIO_LINE) {
        CopyBounded(buffer + pos, text, sizeof buffer - (unsigned)pos);
        pos += (int)length;
        return;
    }
    Flush();
    if (length <= FILEIO_LINE) {
        CopyBounded(buffer, text, sizeof buffer);
        pos = (int)length;
    } else {
        WriteOut(text, length);
    }
}

FileIO &FileIO::operator<<(const char *text)
{
    Write(text);
    return *this;
}
