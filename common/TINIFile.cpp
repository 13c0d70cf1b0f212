#include "TINIFile.h"
#include "FileIO.h"
#include "BoundedString.h"
#include "ProfileNames.h"
#include "TBuffer.h"
#include <string.h>

// Index of the element named name in an array sorted by name, or -1.
// A name spelled exactly as stored is found by binary search, the first of
// several such; a name that differs from a stored one only in letter case
// may sort elsewhere, so it is looked for from the front when that fails.
template <class T>
static int ProfileFind(const TOwningArray<T> &items, const char *name)
{
    unsigned lo = 0, hi = items.Count();
    while (lo < hi) {   // first element that does not order before name
        unsigned mid = lo + (hi - lo) / 2;
        if (ProfileNamesOrder(items.At(mid)->Chars(), name) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < items.Count() && ProfileNamesEqual(items.At(lo)->Chars(), name))
        return (int)lo;
    for (unsigned i = 0; i < items.Count(); i++)
        if (ProfileNamesEqual(items.At(i)->Chars(), name))
            return (int)i;
    return -1;
}

// Place for a new element named name: behind every element whose name
// orders before or equal to it, so equal names keep their insertion order.
template <class T>
static unsigned ProfileSortedPlace(const TOwningArray<T> &items, const char *name)
{
    unsigned lo = 0, hi = items.Count();
    while (lo < hi) {
        unsigned mid = lo + (hi - lo) / 2;
        if (ProfileNamesOrder(items.At(mid)->Chars(), name) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Index of the first text line equal to text (case ignored), or -1.
static int ProfileFindText(const TOwningArray<rtext> &texts, const char *text)
{
    for (unsigned i = 0; i < texts.Count(); i++)
        if (ProfileNamesEqual(texts.At(i)->Chars(), text))
            return (int)i;
    return -1;
}

static void ProfileInsertEntry(section *owner, entry *item)
{
    owner->entries.Insert(ProfileSortedPlace(owner->entries, item->Chars()), item);
}

TINIFile::TINIFile(const char *fileName, int parseEntries)
    : sections(new TOwningArray<section>(21, 20)), modified(0), fileName(fileName)
{
    Load(parseEntries);
    modified = 0;
}

TINIFile::~TINIFile()
{
    Save();
    delete sections;
}

char *TINIFile::Trim(char *text)
{
    while (ProfileIsBlank(*text))
        text++;
    char *end = text + strlen(text);
    while (end > text && ProfileIsBlank(end[-1]))
        *--end = '\0';
    return text;
}

// What one line of the file is to the reader.
enum ProfileLine {
    PROFILE_HEADER,    // "[name]": name is the section's name
    PROFILE_ENTRY,     // "key=value" (with parseEntries 1): name and value
    PROFILE_TEXT,      // any other non-blank line: name is the text
    PROFILE_DROPPED,   // blank, a header without "]", or a line starting with "="
};

// Reads one line, cutting and trimming it in place; name and value point
// into it. The one rule for both the file's reader and ReadsBackAsText.
static ProfileLine ProfileReadLine(char *line, int parseEntries, char **name, char **value)
{
    char *open = strchr(line, '[');
    if (open) {
        char *close = strchr(line, ']');
        if (!close)
            return PROFILE_DROPPED;
        *close = '\0';
        *name = TINIFile::Trim(open + 1);
        return PROFILE_HEADER;
    }
    line = TINIFile::Trim(line);
    if (*line == '\0')
        return PROFILE_DROPPED;
    char *equals = strchr(line, '=');
    *name = line;
    if (!equals || parseEntries != 1)
        return PROFILE_TEXT;
    if (equals == line)
        return PROFILE_DROPPED;
    *equals = '\0';
    *value = TINIFile::Trim(equals + 1);
    return PROFILE_ENTRY;
}

// Reads the file line by line: "[name]" starts a section, "key=value" adds
// an entry to it, any other non-empty line a text line. Lines in front of
// the first section, headers without "]" and lines starting with "=" are
// dropped. Repeated headers and keys are kept as they stand.
void TINIFile::Load(int parseEntries)
{
    FileIO file(fileName.Chars(), OF_READ);
    if (!file.IsOpen())
        return;
    section *current = 0;
    while (!file.Eof()) {
        THeapString copy(file.ReadLine());
        char *name = 0, *value = 0;
        ProfileLine kind = ProfileReadLine(copy.Writable(), parseEntries, &name, &value);
        if (kind == PROFILE_HEADER) {
            current = new section(name);
            InsertSection(current);
        } else if (current && kind == PROFILE_ENTRY) {
            ProfileInsertEntry(current, new entry(name, value));
        } else if (current && kind == PROFILE_TEXT) {
            current->texts.Append(new rtext(name));
        }
    }
}

// Turns each CR and LF of text into a blank, in place. A line break inside
// a name or value (a text copied from elsewhere, such as the user's proxy
// setting) would end the line and start another, and so could add sections
// or list lines.
static void ProfileInLine(char *text)
{
    for (char *c = text; *c; c++)
        if (*c == '\r' || *c == '\n')
            *c = ' ';
}

// Writes text as part of one line (ProfileInLine).
static void WriteInLine(FileIO &file, const char *text)
{
    const char *c = text;
    while (*c && *c != '\r' && *c != '\n')
        c++;
    if (!*c) {
        file << text;
        return;
    }
    THeapString copy(text);
    ProfileInLine(copy.Writable());
    file << copy.Chars();
}

int TINIFile::ReadsBackAsText(const char *text)
{
    THeapString copy(text);
    ProfileInLine(copy.Writable());
    char *name = 0, *value = 0;
    return ProfileReadLine(copy.Writable(), 1, &name, &value) == PROFILE_TEXT &&
           strcmp(name, text ? text : "") == 0;
}

// Writes every section, its entries with a value and its text lines, then
// the two empty lines that end the file.
static void ProfileWrite(FileIO &file, const TOwningArray<section> &sections)
{
    for (unsigned s = 0; s < sections.Count(); s++) {
        section *item = sections.At(s);
        if (s > 0)
            file << "\r\n";
        file << "[";
        WriteInLine(file, item->Chars());
        file << "]\r\n";
        for (unsigned e = 0; e < item->entries.Count(); e++) {
            entry *pair = item->entries.At(e);
            if (pair->value.Chars()[0] != '\0') {
                WriteInLine(file, pair->Chars());
                file << "=";
                WriteInLine(file, pair->value.Chars());
                file << "\r\n";
            }
        }
        for (unsigned t = 0; t < item->texts.Count(); t++) {
            const char *text = item->texts.At(t)->Chars();
            if (text[0] != '\0') {
                WriteInLine(file, text);
                file << "\r\n";
            }
        }
    }
    file << "\r\n\r\n";
}

// The name of the new file that a save writes before it takes the place of
// the old one: beside it, so that the move stays on one drive.
#define PROFILE_NEW_SUFFIX ".new"

int TINIFile::Save()
{
    if (!modified)
        return 1;
    modified = 0;
    unsigned length = fileName.Length();
    if (length == 0)
        return 0;
    unsigned size = length + sizeof PROFILE_NEW_SUFFIX;
    TBuffer newFile(size);
    CopyBounded(newFile, fileName.Chars(), size);
    AppendBounded(newFile, PROFILE_NEW_SUFFIX, size);

    // A file under the new name is what a save cut off half-way left, or
    // what someone who may write the directory planted there. It goes
    // first, and the new file is then made only if nothing has taken the
    // name since: nothing found there is followed, reused or written into.
    DeleteFileA(newFile);
    int whole;
    {
        FileIO file(newFile, FILEIO_CREATE_NEW);
        if (!file.IsOpen())
            return 0;                      // whatever holds the name is not ours
        ProfileWrite(file, *sections);
        whole = file.Close();
    }
    // The move replaces the old file's name, not its content: a link planted
    // under that name is replaced, not written through.
    if (whole && MoveFileExA(newFile, fileName.Chars(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(newFile);
    return 0;
}

int TINIFile::SectionIndex(const char *name)
{
    if (!name || name[0] == '\0')
        return -1;
    return ProfileFind(*sections, name);
}

section *TINIFile::FindSection(const char *name)
{
    int index = SectionIndex(name);
    return index < 0 ? 0 : sections->At((unsigned)index);
}

void TINIFile::InsertSection(section *item)
{
    sections->Insert(ProfileSortedPlace(*sections, item->Chars()), item);
}

// Deletes the section of that name when it holds neither entries nor texts.
void TINIFile::RemoveIfEmpty(const char *name)
{
    int index = SectionIndex(name);
    if (index < 0)
        return;
    section *item = sections->At((unsigned)index);
    if (item->entries.Count() == 0 && item->texts.Count() == 0)
        sections->Delete((unsigned)index);
}

TStringData TINIFile::GetValue(TIdentifier sectionName, TIdentifier key, TStringData def)
{
    section *item = FindSection(sectionName.Chars());
    if (item) {
        int index = ProfileFind(item->entries, key.Chars());
        if (index >= 0)
            return TStringData(item->entries.At((unsigned)index)->value.Chars());
    }
    return def;
}

void TINIFile::SetValue(TIdentifier sectionName, TIdentifier key, TStringData value)
{
    section *item = FindSection(sectionName.Chars());
    if (!item) {
        item = new section(sectionName.Chars());
        InsertSection(item);
        modified = 1;
    }
    int index = ProfileFind(item->entries, key.Chars());
    if (index < 0) {
        ProfileInsertEntry(item, new entry(key.Chars(), value.Text()));
        modified = 1;
        return;
    }
    entry *pair = item->entries.At((unsigned)index);
    if (strcmp(pair->value.Chars(), value.Text()) != 0) {
        pair->value.Assign(value.Text());
        modified = 1;
    }
}

void TINIFile::AddValue(TIdentifier sectionName, TIdentifier key, TStringData &value)
{
    section *item = FindSection(sectionName.Chars());
    if (item && ProfileFind(item->entries, key.Chars()) >= 0)
        return;
    SetValue(sectionName, key, value);
}

void TINIFile::DeleteKey(TIdentifier sectionName, TIdentifier key)
{
    section *item = FindSection(sectionName.Chars());
    if (!item)
        return;
    int index = ProfileFind(item->entries, key.Chars());
    if (index < 0)
        return;
    item->entries.Delete((unsigned)index);
    modified = 1;
    RemoveIfEmpty(sectionName.Chars());
}

unsigned TINIFile::KeyCount(TIdentifier sectionName)
{
    section *item = FindSection(sectionName.Chars());
    return item ? item->entries.Count() : 0;
}

const char *TINIFile::GetKey(TIdentifier sectionName, unsigned index)
{
    section *item = FindSection(sectionName.Chars());
    if (!item || item->entries.Count() == 0)
        return "";
    unsigned last = item->entries.Count() - 1;
    return item->entries.At(index < last ? index : last)->Chars();
}

unsigned TINIFile::TextCount(TIdentifier sectionName)
{
    section *item = FindSection(sectionName.Chars());
    return item ? item->texts.Count() : 0;
}

const char *TINIFile::GetText(TIdentifier sectionName, unsigned index)
{
    section *item = FindSection(sectionName.Chars());
    if (!item || item->texts.Count() == 0)
        return "";
    unsigned last = item->texts.Count() - 1;
    return item->texts.At(index < last ? index : last)->Chars();
}

void TINIFile::PutText(TIdentifier sectionName, const char *text, unsigned index)
{
    if (!text)
        text = "";
    section *item = FindSection(sectionName.Chars());
    if (!item) {
        item = new section(sectionName.Chars());
        InsertSection(item);
        modified = 1;
    }
    if (ProfileFindText(item->texts, text) >= 0)
        return;
    if (index >= item->texts.Count() || index == 0x7FFFFFFFu) {
        item->texts.Append(new rtext(text));
    } else {
        // The first line equal to the one at index gives way to the new one.
        int place = ProfileFindText(item->texts, item->texts.At(index)->Chars());
        item->texts.Delete((unsigned)place);
        item->texts.Insert((unsigned)place, new rtext(text));
    }
    modified = 1;
}

void TINIFile::DeleteTextAt(TIdentifier sectionName, unsigned index)
{
    section *item = FindSection(sectionName.Chars());
    if (!item || index >= item->texts.Count())
        return;
    int place = ProfileFindText(item->texts, item->texts.At(index)->Chars());
    item->texts.Delete((unsigned)place);
    modified = 1;
    RemoveIfEmpty(sectionName.Chars());
}

void TINIFile::DeleteText(TIdentifier sectionName, const char *text)
{
    section *item = FindSection(sectionName.Chars());
    if (!item || !text)
        return;
    int place = ProfileFindText(item->texts, text);
    if (place < 0)
        return;
    item->texts.Delete((unsigned)place);
    modified = 1;
    RemoveIfEmpty(sectionName.Chars());
}

void TINIFile::DeleteSection(TIdentifier sectionName)
{
    int index = SectionIndex(sectionName.Chars());
    if (index < 0)
        return;
    sections->Delete((unsigned)index);
    modified = 1;
}

int TINIFile::RenameSection(const char *oldName, const char *newName)
{
    if (FindSection(newName))
        return 0;
    int index = SectionIndex(oldName);
    if (index < 0)
        return 1;
    section *item = sections->Take((unsigned)index);
    item->Assign(newName);
    InsertSection(item);
    modified = 1;
    return 1;
}

unsigned TINIFile::SectionCount() { return sections->Count(); }

const char *TINIFile::SectionName(unsigned index)
{
    if (index >= sections->Count())
        return "Falscher Index";
    return sections->At(index)->Chars();
}
