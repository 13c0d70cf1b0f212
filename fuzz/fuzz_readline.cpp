// Reads the input as a text file line by line and accounts for every byte:
// each line must be the next bytes of the input, followed by its CR LF or
// LF, or cut at the longest piece; nothing may be lost, repeated or invented.
#include <string.h>
#include <string>
#include "FileIO.h"
#include "FuzzScratch.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    // A NUL would end a returned line early and hide the bytes behind it;
    // the reader treats every other byte value alike, so map it away.
    std::string bytes((const char *)data, size);
    for (size_t i = 0; i < bytes.size(); i++)
        if (bytes[i] == '\0')
            bytes[i] = '\x01';
    FuzzWriteFile("lines.txt", (const unsigned char *)bytes.data(), bytes.size());

    FileIO file("C:\\lines.txt", OF_READ);
    if (!file.IsOpen())
        abort();
    size_t offset = 0, lines = 0;
    while (!file.Eof()) {
        const char *line = file.ReadLine();
        size_t length = strlen(line);
        if (file.Eof()) {
            if (length != 0)
                abort();
            break;
        }
        if (length > FILEIO_LINE || offset + length > bytes.size() ||
            memcmp(line, bytes.data() + offset, length) != 0)
            abort();
        offset += length;
        if (bytes.compare(offset, 2, "\r\n") == 0)
            offset += 2;
        else if (offset < bytes.size() && bytes[offset] == '\n')
            offset += 1;
        if (++lines > bytes.size() + 1)
            abort();
    }
    if (offset != bytes.size())
        abort();
    return 0;
}
