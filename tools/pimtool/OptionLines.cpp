#include "tools/pimtool/OptionLines.h"

#include <cctype>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Keys lose their trailing blanks only: the store keeps leading ones, so an
// indented key is another key.
std::string Trimmed(const std::string& text)
{
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(0, end);
}

// A bare section name as lookups give it: "[Button0]" and "Button0" alike.
std::string SectionName(const std::string& section)
{
    std::string name = section;
    if (!name.empty() && name.front() == '[') {
        name.erase(0, 1);
        if (size_t close = name.find(']'); close != std::string::npos)
            name.erase(close);
    }
    return Lower(name);
}

} // namespace

void COptionLines::Read(const char* text, size_t size)
{
    m_lines.clear();
    std::string section;
    int line = 1;
    size_t start = 0;
    for (size_t at = 0; at <= size; ++at) {
        if (at < size && text[at] != '\r' && text[at] != '\n')
            continue;
        std::string content(text + start, at - start);
        if (size_t comment = content.find(';'); comment != std::string::npos)
            content.erase(comment);
        if (!content.empty() && content.front() == '[') {
            section = SectionName(content);
            m_lines.emplace(section, line);
        } else if (size_t equals = content.find('='); equals != std::string::npos && equals > 0) {
            m_lines.emplace(section + '\n' + Lower(Trimmed(content.substr(0, equals))), line);
        }
        if (at < size && text[at] == '\r' && at + 1 < size && text[at + 1] == '\n')
            ++at;
        ++line;
        start = at + 1;
    }
}

int COptionLines::SectionLine(const std::string& section) const
{
    auto found = m_lines.find(SectionName(section));
    return found == m_lines.end() ? 0 : found->second;
}

int COptionLines::KeyLine(const std::string& section, const std::string& key) const
{
    auto found = m_lines.find(SectionName(section) + '\n' + Lower(Trimmed(key)));
    return found == m_lines.end() ? SectionLine(section) : found->second;
}
