// Loads the input as a profile, saves it and loads the saved file again:
// nothing may crash, the save must succeed, and the reload must keep every
// section.
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
    return 0;
}
