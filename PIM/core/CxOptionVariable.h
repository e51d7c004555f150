#pragma once
// One "key=value" line of an option file, held as text; CxOptions converts on
// every typed access. A variable belongs to the CxOptionSection that holds it.

#include "PIM/core/CxError.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxString.h"

#include <utility>

class CxOptionVariable : public CxError, public CxObject
{
public:
    CxOptionVariable() = default;
    ~CxOptionVariable() override = default;
    CxOptionVariable(const CxOptionVariable&) = delete;
    CxOptionVariable& operator=(const CxOptionVariable&) = delete;

    const char* GetName() const { return m_name.GetText(); }
    const char* GetValue() const { return m_value.GetText(); }
    int GetNameLength() const { return m_name.Length(); }
    int GetValueLength() const { return m_value.Length(); }

    // Each takes `length` bytes of `text` (no terminator needed) and answers
    // false, leaving the old text in place, when memory ran out. A CxString
    // that cannot get memory empties itself, so the copy is made aside first
    // and moved in only once it is whole.
    bool SetName(const char* text, int length) { return Replace(m_name, text, length); }
    bool SetValue(const char* text, int length) { return Replace(m_value, text, length); }

private:
    static bool Replace(CxString& member, const char* text, int length)
    {
        CxString copy;
        copy.Assign(text, length);
        if (length > 0 && !copy.HasStorage())
            return false;
        member = std::move(copy);
        return true;
    }

    CxString m_name;
    CxString m_value;
};
