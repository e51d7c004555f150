#pragma once
// One "[Header]" of an option file and the variables under it, in file order.
//
// The header is kept exactly as it was read or made, brackets included, so
// that a section is written back as it came. Keys are compared without regard
// to ASCII case; duplicates are allowed and the first one in list order is
// the one a lookup sees.

#include "PIM/core/CxError.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxOptionVariable.h"
#include "PIM/core/CxString.h"

#include <string_view>

class CxOptionSection : public CxError, public CxObject
{
public:
    using VariableList = CxLinkedList<CxOptionVariable*>;
    using VariableNode = VariableList::Node;

    CxOptionSection() = default;
    ~CxOptionSection() override;
    CxOptionSection(const CxOptionSection&) = delete;
    CxOptionSection& operator=(const CxOptionSection&) = delete;

    const char* GetHeader() const { return m_header.GetText(); }
    int GetHeaderLength() const { return m_header.Length(); }
    // False (header unchanged) when memory ran out.
    bool SetHeader(const char* text, int length);

    // Whether `name` names this section: a name beginning with "[" is compared
    // with the whole header, any other name as if written "[name]".
    bool IsNamed(std::string_view name) const;
    bool IsNamed(const char* name) const { return name && IsNamed(std::string_view(name)); }

    // The first variable whose name equals `key` without regard to case; an
    // empty key never matches.
    CxOptionVariable* FindVariable(std::string_view key) const;

    // A new variable at the end of the list; null when memory ran out.
    CxOptionVariable* AppendVariable(std::string_view name, std::string_view value);
    // Unlinks and destroys `variable` (which must belong to this section). A
    // walk standing on it ends there, rather than stepping from a freed node.
    bool DeleteVariable(CxOptionVariable* variable);

    size_t GetVariableCount() const { return m_variables.GetCount(); }
    const VariableNode* GetFirstNode() const { return m_variables.GetFirst(); }

    // The walk over the variables in order: null at the end.
    CxOptionVariable* FirstVariable();
    CxOptionVariable* NextVariable();

private:
    CxString m_header;
    VariableList m_variables;
    VariableNode* m_cursor = nullptr;
};

// ASCII case-insensitive equality of a whole stored text and a piece of text.
bool PimOptionNameEqual(const char* stored, int storedLength, std::string_view wanted);
