#pragma once
// The in-memory store of one ini-style option file: the game's configuration,
// every room, dialog, level and sprite description, and the players' saved
// data. Sections and their "key=value" variables are kept in file order and
// as text; the typed getters convert on every call.
//
// The text the parser accepts:
//   - CR, LF and CR LF all end lines; a UTF-8 byte order mark at the very
//     start is skipped.
//   - ";" starts a comment anywhere on a line (there is no quoting, so a value
//     can never hold a ";"); blanks at the end of a line do not count.
//   - A line whose first character is "[" is a section header: the text up to
//     and including the first "]" (all of it when there is none). An indented
//     header is no header.
//   - Any other line with "=" after its first character is a key line of the
//     current section: the key is what comes before the first "=" (trailing
//     blanks removed, leading ones kept), the value what comes after it
//     (blanks removed at both ends). Lines before the first header, lines
//     without "=" and lines starting with "=" are ignored.
//   - Lines longer than CxString::kMaxLength bytes are cut there.
//
// Names of sections and keys compare without regard to ASCII case. A section
// argument may be given bare ("Engine.Game") or bracketed ("[Engine.Game]").
// Duplicates are kept and written back, but lookups see only the first.
//
// Everything written from code must read back the same, so setters refuse
// with 16 what the parser could not give back: keys that are empty, start
// with "[", or hold "=", ";", CR or LF; values holding CR or LF; section
// names holding "]", ";", CR or LF; lines longer than the parser keeps.
// Keys lose trailing blanks and values blanks at both ends on the way in (and
// a key given to a lookup loses its trailing blanks too), exactly as a reload
// would trim them, so memory and file always agree. A ";" in a value is
// accepted, since old data carries such values, but a reload cuts the value
// there.
//
// Saving: only a changed ("dirty") store bound to a file is written, as
// "[Header]" lines and "key=value" lines with CR LF line ends and an empty line
// between sections; comments and layout are not kept. The bytes replace the
// file atomically (FsReplaceFile), so a crash or a full disk leaves the old
// file or the new one, never a mix. A failed save keeps the store dirty so a
// later save tries again. A store whose file exists but could not be read is
// never saved over it.

#include "PIM/core/CxError.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/CxString.h"

class CxBuffer;

// Longest file name a store can be bound to, terminator included.
constexpr size_t PIM_OPTIONS_FILE_NAME_SIZE = 256;

class CxOptions : public CxError
{
public:
    using SectionList = CxLinkedList<CxOptionSection*>;
    using SectionNode = SectionList::Node;
    using IntList = CxLinkedList<int>;

    // Longest value the list getter reads, terminator included; SetIntList
    // refuses lists whose text would not fit.
    static constexpr int kIntListValueSize = 2048;

    CxOptions() = default;
    // Flushes: a changed store is saved to its file.
    virtual ~CxOptions();
    CxOptions(const CxOptions&) = delete;
    CxOptions& operator=(const CxOptions&) = delete;

    // Writes the store to its file when it is dirty and bound. Returns 0, or
    // the code of the failure with the store still dirty.
    virtual int Save();

    // Setters. Each finds the first matching section (making "[section]" at
    // the end when there is none) and marks the store dirty.
    // "1, 2, 3"; an empty list stores an empty value.
    virtual int SetIntList(const char* section, const char* key, const IntList* values);
    virtual int SetInt(const char* section, const char* key, int value);
    // Changes the first matching variable, or appends one.
    virtual int SetString(const char* section, const char* key, const char* text);

    // Getters. A missing key gives the default, and in export mode also
    // writes the default (as the text the getter formats) into the store. A
    // value that does not convert gives what PimParseInt/PimParseFloat give.
    // Null out pointers are allowed. Values are read through a 256-byte
    // buffer (int lists through kIntListValueSize), ample for any number.
    //
    // "1, 2, 3" -> 1, 2, 3; every piece between commas counts, so "1,,3"
    // gives 1, 0, 3. The list is emptied first.
    virtual int GetIntList(const char* section, const char* key, IntList* values);
    // Scans "l, t, r, b" (blanks after a comma optional, a blank before one
    // ends the scan); components that do not scan keep the output's value.
    virtual int GetRect(const char* section, const char* key, int* left, int* top, int* right, int* bottom,
                        int defaultLeft, int defaultTop, int defaultRight, int defaultBottom);
    // "x,y,z"; components missing from the value (fewer commas) take their
    // defaults.
    virtual int GetVector(const char* section, const char* key, float* x, float* y, float* z, float defaultX,
                          float defaultY, float defaultZ);
    // "x,y"; a value without a comma gives y its default.
    virtual int GetPoint(const char* section, const char* key, int* x, int* y, int defaultX, int defaultY);
    virtual int GetFloat(const char* section, const char* key, float* out, float defaultValue);
    virtual int GetInt(const char* section, const char* key, int* out, int defaultValue);
    // Copies the value (or the default) into `out`, cut to length - 1 bytes
    // and terminated; a length <= 0 writes nothing.
    virtual int GetString(const char* section, const char* key, char* out, const char* defaultText, int length);

    // Always appends a new variable, even when the key is already there.
    virtual int AppendVariable(const char* section, const char* key, const char* value);
    // Removes the first matching variable of the first matching section, or
    // the first matching section; 9 when there is none. Only a removal marks
    // the store dirty; both end any section walk.
    virtual int DeleteVariable(const char* section, const char* key);
    virtual int DeleteSection(const char* section);

    // The parser's building blocks; neither marks the store dirty.
    // A section with exactly this header text (brackets included), appended
    // and made current.
    virtual int AddSection(const char* header);
    // Appends to `section`, or to the current section when null (9 when there
    // is none), after trimming as the parser trims.
    virtual int AddVariable(const char* key, const char* value, CxOptionSection* section = nullptr);
    // One line of option text, without its line end.
    virtual int ParseLine(const char* line);

    // Flushes, binds the store to `fileName` and reads it. 0; 9 when the name
    // is empty or the file does not exist; 11 for a name that does not fit;
    // else the failure to open or read the file.
    int Load(const char* fileName);
    // Flushes, deletes the file and binds the store to it, empty; for files
    // rewritten from scratch.
    int Create(const char* fileName);
    // Flushes and reads the bound file again (see Load for the codes). After
    // the whole file, a non-zero "Export" in "[OptionController]" turns on
    // export mode until the next read.
    int Read();
    // Flushes and parses `size` bytes of option text; the binding is kept.
    int ReadFromBuffer(const char* data, size_t size);
    // The bytes Save writes.
    int WriteToBuffer(CxBuffer& out);
    // Saves, then empties the store; it is clean afterwards whatever the save
    // gave (the save's code is returned).
    int Flush();
    // Destroys every section; the store is dirty afterwards.
    void Clear();

    CxOptionSection* FindSection(const char* section) const;
    CxOptionVariable* FindVariable(const char* section, const char* key) const;

    // The section walk, which moves the current section: 1 and the header
    // text, or 0 at the end (and after a deletion has ended the walk).
    int FirstSection(CxString& header);
    int NextSection(CxString& header);
    CxOptionSection* GetCurrentSection() const { return m_current ? m_current->GetElement() : nullptr; }
    const SectionNode* GetFirstSectionNode() const { return m_sections.GetFirst(); }
    size_t GetSectionCount() const { return m_sections.GetCount(); }

    // Conveniences returning the value itself.
    int GetInt(const char* section, const char* key, int defaultValue);
    float GetFloat(const char* section, const char* key, float defaultValue);
    // Read through a 256-byte buffer.
    CxString GetString(const char* section, const char* key, const char* defaultText = "");

    const char* GetFileName() const { return m_fileName; }
    bool IsDirty() const { return m_dirty; }
    bool IsExportMode() const { return m_export; }
    // True after the bound file existed but could not be read: saving is then
    // refused until a read succeeds or Create rebinds the store.
    bool IsSaveBlocked() const { return m_saveBlocked; }
    // When set, Read opens the file without asking first whether it exists,
    // so a missing file comes back as the file layer's open error.
    void SetSkipExistenceCheck(bool skip) { m_skipExistence = skip; }

private:
    int Result(int code)
    {
        m_error = code;
        return code;
    }
    int BindTo(const char* fileName);
    int BlockSaving(int code);
    // Parses `length` bytes at `text`, a buffer with room for two more.
    void ParseText(char* text, size_t length);
    void ReadExportFlag();
    int CheckSection(const char* section);
    int CheckVariable(const char* key, const char* value, size_t keyLength, size_t valueLength);
    // The first matching section, made (through AddSection) when missing.
    CxOptionSection* ObtainSection(const char* section, int& code);
    void DestroySections();

    char m_fileName[PIM_OPTIONS_FILE_NAME_SIZE] = {};
    SectionList m_sections;
    SectionNode* m_current = nullptr;
    bool m_dirty = false;
    bool m_export = false;
    bool m_skipExistence = false;
    bool m_saveBlocked = false;
    int m_blockedCode = PIM_OK;
};
