// FileIO: a line-oriented 8-bit text file with CR LF line ends, read or
// written (never both on one object) through one 2048-byte buffer on the
// platform's old-style file calls. The profile file loads and saves with it.
// Writing tells whether every byte reached the file (Close).
#ifndef VELTRANO_FILEIO_H
#define VELTRANO_FILEIO_H

#include "Win32.h"

// Bytes per read block; also the most the write buffer collects plus one.
#define FILEIO_BLOCK 2048
// Longest piece ReadLine returns: a longer line comes back in pieces.
#define FILEIO_LINE (FILEIO_BLOCK - 1)
// Open style of FileIO's own, beside OpenFile's: creates the file for
// writing only when nothing stands under its name yet. A file, a link or a
// directory already there makes the open fail; it is neither followed nor
// reused. Nobody else can open the file until it is closed.
#define FILEIO_CREATE_NEW 0x10000u

class FileIO {
public:
    OFSTRUCT openInfo;              // filled by OpenFile
    HFILE handle;                   // HFILE_ERROR when opening failed
    char buffer[FILEIO_BLOCK + 1];  // file data plus room for a terminator
    // Reading: index of the first byte not yet returned, -1 when the buffer
    // holds nothing. After a line was cut at FILEIO_LINE characters, pos is
    // FILEIO_BLOCK and count FILEIO_BLOCK + 1: the cut-off byte waits in the
    // spare byte buffer[FILEIO_BLOCK] for the next call.
    // Writing: number of bytes collected in buffer (buffer[pos] is NUL).
    int pos;
    int count;                      // reading: number of valid bytes in buffer
    int atEnd;                      // 1 once the end (or a read error) was met
    int written;                    // 1 once Write was called: flush on close
    int failed;                     // 1 once text given to Write was not written whole

    // Opens name with OpenFile and style unchanged (OF_READ to load,
    // OF_CREATE | OF_WRITE to create or truncate); a name too long for
    // OpenFile's record is opened with _lopen/_lcreat. FILEIO_CREATE_NEW
    // creates a new file with CreateFileA instead. Never fails as such: see
    // IsOpen.
    FileIO(const char *name, unsigned style);
    // Close, unless that was done.
    ~FileIO();

    // Writes what Write left in the buffer and closes the file. Returns 1
    // when the file was open, every byte given to Write reached it (a short
    // or failed write counts as failure) and the platform closed it; else 0,
    // also for a second Close.
    int Close();

    // 1 when the file is open, else 0.
    int IsOpen() const;
    // 1 once ReadLine has run out of data (at once when opening failed).
    int Eof() const;
    // Returns the next line without its CR LF (or bare LF). The text lies in
    // buffer and stays valid until the next call. A line longer than
    // FILEIO_LINE characters comes back as several pieces of at most that
    // length; the line end right behind a cut piece is not returned as a
    // further empty line. At the end of the file: "" and Eof() becomes 1.
    const char *ReadLine();
    // Appends text to the file through the buffer; a text of FILEIO_BLOCK
    // bytes or more goes straight to the file after the buffered bytes.
    void Write(const char *text);
    // Write, chainable: file << "[" << name << "]\r\n".
    FileIO &operator<<(const char *text);

private:
    int ReadBlock(char *target, int size);
    void WriteOut(const char *text, unsigned count);
    void Flush();
    FileIO(const FileIO &);
    FileIO &operator=(const FileIO &);
};

#endif
