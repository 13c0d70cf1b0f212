// TINIFile: a settings file of the INI kind held in memory. The whole file is
// read when the object is built; the owner queries and changes the content;
// the destructor writes the whole file back when anything changed.
#ifndef VELTRANO_TINIFILE_H
#define VELTRANO_TINIFILE_H

#include "THeapString.h"
#include "TOwningArray.h"

// One plain text line of a section.
class rtext : public THeapString {
public:
    rtext(const char *text) : THeapString(text) {}
};

// One key=value entry; the rtext text is the key.
class entry : public rtext {
public:
    THeapString value;
    entry(const char *key, const char *value) : rtext(key), value(value) {}
};

// One section; the rtext text is its name. Text lines keep their order,
// entries are sorted by key.
class section : public rtext {
public:
    TOwningArray<rtext> texts;
    TOwningArray<entry> entries;
    explicit section(const char *name) : rtext(name), texts(11, 10), entries(11, 10) {}
};

// A section or key name.
class TIdentifier : public THeapString {
public:
    TIdentifier(const char *name) : THeapString(name) {}
};

// A value text: chars when it is not null, else text.
class TStringData {
public:
    THeapString text;
    const char *chars;

    TStringData() : chars(0) {}
    // Both hold s: text a copy, chars the pointer itself.
    TStringData(const char *s) : text(s), chars(s) {}
    const char *Text() const { return chars ? chars : text.Chars(); }
};

class TINIFile {
public:
    TOwningArray<section> *sections;
    int modified;
    THeapString fileName;

    // Reads fileName (a missing or unreadable file gives an empty profile).
    // With parseEntries 1, lines holding "=" become entries; else every
    // line of a section is a text line.
    TINIFile(const char *fileName, int parseEntries);
    // Saves when anything changed, then frees everything.
    virtual ~TINIFile();

    // Writes the whole file when modified is 1 and clears modified, also
    // when the save fails (the destructor does not try again). The file is
    // written under a temporary name beside it (fileName and ".new") and
    // takes the old one's place only once it is complete, so a failed save
    // leaves the old file as it was. Returns 1 when the file was written
    // whole or there was nothing to write, 0 when it was not written.
    int Save();

    // The entry's value (text a copy, chars pointing at the stored value),
    // else a copy of def. Changes nothing.
    TStringData GetValue(TIdentifier section, TIdentifier key, TStringData def);
    // Creates a missing section or entry; an existing entry takes the value
    // only when it differs byte for byte. modified = 1 when anything changed.
    void SetValue(TIdentifier section, TIdentifier key, TStringData value);
    // Like SetValue, but an existing entry is left as it is.
    void AddValue(TIdentifier section, TIdentifier key, TStringData &value);
    // Deletes the entry; a section left without entries and texts goes too.
    void DeleteKey(TIdentifier section, TIdentifier key);
    // Number of entries; 0 for a missing section.
    unsigned KeyCount(TIdentifier section);
    // Key at index in key order; the last one for an index beyond the end;
    // "" for a missing section or one without entries.
    const char *GetKey(TIdentifier section, unsigned index);
    // Number of text lines; 0 for a missing section.
    unsigned TextCount(TIdentifier section);
    // Text line at index; the last one for an index beyond the end; "" for
    // a missing section or one without text lines.
    const char *GetText(TIdentifier section, unsigned index);
    // Adds text unless the section holds an equal line (case ignored):
    // appended for an index at or beyond the count (callers pass
    // 0x7FFFFFFF), else it replaces the line at index. Creates the section.
    void PutText(TIdentifier section, const char *text, unsigned index);
    // Deletes the first line equal to the line at index (index below the
    // count, else nothing); a section left empty goes too.
    void DeleteTextAt(TIdentifier section, unsigned index);
    // Deletes the first line equal to text; a section left empty goes too.
    void DeleteText(TIdentifier section, const char *text);
    // Deletes the section with all its content.
    void DeleteSection(TIdentifier section);
    // Renames oldName to newName and moves it to its sorted place. Returns 0
    // when a section newName exists (nothing changes), else 1 (also when
    // there is no section oldName, which changes nothing).
    int RenameSection(const char *oldName, const char *newName);
    unsigned SectionCount();
    // Name of the section at index in name order, "Falscher Index" beyond.
    const char *SectionName(unsigned index);
    void SetModified() { modified = 1; }

    // 1 when text, saved as a text line of a section, is read back (with
    // parseEntries 1) as that same text line, byte for byte; 0 when the
    // reader would take it for a header or an entry, drop it, trim it or
    // find it changed by the writer (a line break).
    static int ReadsBackAsText(const char *text);
    // Cuts blanks from both ends of text in place; returns its first
    // non-blank character.
    static char *Trim(char *text);
    void ClearModified() { modified = 0; }

protected:
    // The section of that name (case ignored), or null; "" is never found.
    section *FindSection(const char *name);

private:
    void Load(int parseEntries);
    int SectionIndex(const char *name);
    void InsertSection(section *item);
    void RemoveIfEmpty(const char *name);
    TINIFile(const TINIFile &);
    TINIFile &operator=(const TINIFile &);
};

#endif
