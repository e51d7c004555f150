#include "PIM/core/CxOptionSection.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

inline unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

} // namespace

bool PimOptionNameEqual(const char* stored, int storedLength, std::string_view wanted)
{
    // The length test first: most names in a long section differ in length,
    // and the player store is searched on every access.
    if (storedLength < 0 || static_cast<size_t>(storedLength) != wanted.size())
        return false;
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(stored[i])) != FoldAscii(static_cast<unsigned char>(wanted[i])))
            return false;
    }
    return true;
}

CxOptionSection::~CxOptionSection()
{
    for (VariableNode* node = m_variables.GetFirst(); node; node = node->GetNext())
        delete node->GetElement();
    m_variables.Clear();
}

bool CxOptionSection::SetHeader(const char* text, int length)
{
    CxString copy;
    copy.Assign(text, length);
    if (length > 0 && !copy.HasStorage())
        return false;
    m_header = std::move(copy);
    return true;
}

bool CxOptionSection::IsNamed(std::string_view wanted) const
{
    const char* header = GetHeader();
    const int length = GetHeaderLength();
    if (!wanted.empty() && wanted.front() == '[')
        return PimOptionNameEqual(header, length, wanted);
    // "[name]" compared piecewise, so that no lookup has to build the text.
    return length >= 2 && header[0] == '[' && header[length - 1] == ']' &&
           PimOptionNameEqual(header + 1, length - 2, wanted);
}

CxOptionVariable* CxOptionSection::FindVariable(std::string_view key) const
{
    if (key.empty())
        return nullptr;
    for (const VariableNode* node = m_variables.GetFirst(); node; node = node->GetNext()) {
        CxOptionVariable* variable = node->GetElement();
        if (PimOptionNameEqual(variable->GetName(), variable->GetNameLength(), key))
            return variable;
    }
    return nullptr;
}

CxOptionVariable* CxOptionSection::AppendVariable(std::string_view name, std::string_view value)
{
    auto* variable = new CxOptionVariable;
    if (!variable)
        return nullptr;
    // Texts are cut to what a CxString holds; callers keep them shorter.
    const int nameLength = static_cast<int>(std::min<size_t>(name.size(), CxString::kMaxLength));
    const int valueLength = static_cast<int>(std::min<size_t>(value.size(), CxString::kMaxLength));
    if (!variable->SetName(name.data(), nameLength) || !variable->SetValue(value.data(), valueLength) ||
        !m_variables.Append(variable)) {
        delete variable;
        return nullptr;
    }
    return variable;
}

bool CxOptionSection::DeleteVariable(CxOptionVariable* variable)
{
    for (VariableNode* node = m_variables.GetFirst(); node; node = node->GetNext()) {
        if (node->GetElement() != variable)
            continue;
        if (m_cursor == node)
            m_cursor = nullptr;
        m_variables.Remove(node);
        delete variable;
        return true;
    }
    return false;
}

CxOptionVariable* CxOptionSection::FirstVariable()
{
    m_cursor = m_variables.GetFirst();
    return m_cursor ? m_cursor->GetElement() : nullptr;
}

CxOptionVariable* CxOptionSection::NextVariable()
{
    if (m_cursor)
        m_cursor = m_cursor->GetNext();
    return m_cursor ? m_cursor->GetElement() : nullptr;
}
