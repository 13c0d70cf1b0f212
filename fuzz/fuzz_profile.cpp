// Loads the input as a profile, saves it and loads the saved file again:
// nothing may crash, the save must succeed, and the reload must keep every
// section. Then the input's first line, saved alone as a list line, must
// come back as itself exactly when ReadsBackAsText says it does.
#include <stdlib.h>
#include <string>
#include "FuzzScratch.h"
#include "TINIFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    FuzzWriteFile("p.ini", data, size);
    TINIFile *ini = new TINIFile("C:\\p.ini", 1);
    unsigned sections = ini->SectionCount();
    // Exercise the lookups on what was loaded.
    for (unsigned i = 0; i < sections; i++) {
        const char *name = ini->SectionName(i);
        ini->GetText(name, ini->TextCount(name));
        ini->GetKey(name, ini->KeyCount(name));
    }
    ini->SetModified();
    if (ini->Save() != 1)
        abort();
    delete ini;

    TINIFile again("C:\\p.ini", 1);
    if (again.SectionCount() != sections)
        abort();

    size_t length = 0;
    while (length < size && length < 300 && data[length] != '\n' && data[length] != '\0')
        length++;
    std::string line((const char *)data, length);
    FuzzWriteFile("list.ini", data, 0);
    {
        TINIFile list("C:\\list.ini", 1);
        list.PutText("DeInstall", line.c_str(), 0x7FFFFFFF);
    }
    TINIFile back("C:\\list.ini", 1);
    bool same = back.SectionCount() == 1 && back.TextCount("DeInstall") == 1 &&
                line == back.GetText("DeInstall", 0);
    if (same != (TINIFile::ReadsBackAsText(line.c_str()) == 1))
        abort();
    return 0;
}
