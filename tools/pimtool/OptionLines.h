#pragma once
// Where the keys of an option file stand, so that a problem with a value can
// name its line. The store (CxOptions) keeps no line numbers; this reads the
// same text with the same rules for headers and keys ("[" first on a line,
// the key before the first "="), and remembers the first line of every
// section and of every key in it, as the store's lookups see the first only.

#include <cstddef>
#include <map>
#include <string>

class COptionLines
{
public:
    // `text` is the whole file. CR LF, LF and a lone CR each end one line.
    void Read(const char* text, size_t size);

    // The line (from 1) of the section's header, or of its key; 0 when
    // unknown. Names compare without regard to ASCII case.
    int SectionLine(const std::string& section) const;
    int KeyLine(const std::string& section, const std::string& key) const;

private:
    std::map<std::string, int> m_lines;
};
