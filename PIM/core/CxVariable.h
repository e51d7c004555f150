#pragma once
// The named values a CxInterpolator puts in place of "$NAME" references.
//
// A variable answers its name and its value as text. A string constant holds
// its text; a built-in variable watches a value owned elsewhere (a score, the
// player's level) and formats it anew each time it is asked, so the text a
// data file gets is always the current one.
//
// Variables are made with `new` from the tracking allocator (null when out of
// memory) and are owned by the interpolator they are added to. Clone makes the
// copy an interpolator's copy needs; it answers null when the copy could not
// be made whole, so a half-copied name never ends up in a list.

#include "PIM/core/CxObject.h"
#include "PIM/core/CxString.h"

#include <cstring>

class CxVariable : public CxObject
{
public:
    explicit CxVariable(const char* name) : m_name(name) {}
    ~CxVariable() override = default;

    virtual const CxString& GetName() const { return m_name; }
    // The value as text. The pointer stays valid until the next call on this
    // variable (a built-in variable formats into its own buffer).
    virtual const char* GetValue() = 0;
    virtual CxVariable* Clone() const = 0;

protected:
    CxVariable(const CxVariable&) = default;
    CxVariable& operator=(const CxVariable&) = delete;

    // Whether a CxString member kept `text`: a CxString stays empty when its
    // memory cannot be had, and cuts only texts past its own limit, which the
    // engine accepts everywhere else too.
    static bool Kept(const CxString& member, const char* text)
    {
        return member.Length() > 0 || !text || !*text;
    }

    CxString m_name;
};

class CStringConstantVariable : public CxVariable
{
public:
    CStringConstantVariable(const char* name, const char* value) : CxVariable(name), m_value(value) {}

    // The const GetText: asking for a value must not allocate.
    const char* GetValue() override { return static_cast<const CxString&>(m_value).GetText(); }
    CxVariable* Clone() const override;

    // False when memory ran out while the name or the value was stored.
    bool IsIntact(const char* name, const char* value) const
    {
        return Kept(m_name, name) && Kept(m_value, value);
    }

private:
    CStringConstantVariable(const CStringConstantVariable&) = default;

    CxString m_value;
};

// How a built-in variable turns its value into text. Formats may one day come
// from a data author through a script, so the one for each value type refuses
// any format that would read an argument it was not given.
template <class T>
struct PimValueFormat;

template <>
struct PimValueFormat<int>
{
    static constexpr const char* kDefault = "%d";

    // Exactly one conversion of %d %i %u %x %X %o (flags "-+ #0", width and
    // precision of at most 255, no "*", no length modifier), any number of
    // "%%" and plain text. The width cap keeps a hostile "%999999999d" from
    // making vsnprintf count a billion padding bytes.
    static bool IsSafe(const char* format);

    // Formats `value` into `buffer` (bounded, always terminated); an unsafe
    // format is replaced by "%d". Returns the length written.
    static size_t Write(char* buffer, size_t size, const char* format, int value);
};

template <class T>
class CBuiltinVariable : public CxVariable
{
public:
    static constexpr size_t kBufferSize = 256;

    // `value` is watched, not owned: it must outlive the variable and every
    // copy of it. A null or unsafe format (or one too long to keep) becomes
    // the type's default.
    CBuiltinVariable(const char* name, const T* value, const char* format = nullptr)
        : CxVariable(name), m_value(value)
    {
        const char* chosen = PimValueFormat<T>::kDefault;
        if (format && std::strlen(format) < kBufferSize && PimValueFormat<T>::IsSafe(format))
            chosen = format;
        std::strcpy(m_format, chosen);
        m_buffer[0] = '\0';
    }

    const char* GetValue() override
    {
        if (!m_value)
            return "";
        PimValueFormat<T>::Write(m_buffer, sizeof m_buffer, m_format, *m_value);
        return m_buffer;
    }

    CxVariable* Clone() const override
    {
        CBuiltinVariable* copy = new CBuiltinVariable(*this);
        if (copy && !Kept(copy->m_name, m_name.GetText())) {
            delete copy;
            return nullptr;
        }
        return copy;
    }

    const char* GetFormat() const { return m_format; }
    const T* GetWatched() const { return m_value; }

private:
    CBuiltinVariable(const CBuiltinVariable&) = default;

    const T* m_value;
    char m_format[kBufferSize];
    char m_buffer[kBufferSize];
};

extern template class CBuiltinVariable<int>;
