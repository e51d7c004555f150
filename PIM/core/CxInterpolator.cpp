#include "PIM/core/CxInterpolator.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxMemory.h"

#include <algorithm>
#include <cstring>

namespace {

using VariableNode = CxLinkedList<CxVariable*>::Node;

// Room for any one text while interpolating: one byte past what a CxString
// holds. A name that long is known to match nothing (no variable name can be
// longer than a CxString), and the final cut has a byte to look at when it
// backs off to a character boundary.
constexpr size_t kWorkLimit = static_cast<size_t>(CxString::kMaxLength) + 1;

// A byte buffer that doubles as it grows. Appending to a CxString would grow
// it by a few bytes at a time, copying the whole text each time; a result
// built from thousands of short values would then cost quadratic time.
class CWorkText
{
public:
    CWorkText() = default;
    ~CWorkText() { Free(m_data); }
    CWorkText(const CWorkText&) = delete;
    CWorkText& operator=(const CWorkText&) = delete;

    const char* Data() const { return m_data; }
    size_t Length() const { return m_length; }
    bool IsFull() const { return m_length >= kWorkLimit; }
    void Clear() { m_length = 0; }

    // Appends what fits under the limit. False only when memory ran out.
    bool Append(const char* text, size_t length)
    {
        length = std::min(length, kWorkLimit - m_length);
        if (length == 0)
            return true;
        if (m_length + length > m_capacity && !Grow(m_length + length))
            return false;
        std::memcpy(m_data + m_length, text, length);
        m_length += length;
        return true;
    }

    bool Append(char c) { return Append(&c, 1); }

private:
    bool Grow(size_t needed)
    {
        size_t capacity = std::min(std::max(m_capacity * 2, std::max<size_t>(needed, 64)), kWorkLimit);
        char* block = static_cast<char*>(Allocate(capacity, __FILE__, __LINE__, false));
        if (!block)
            return false;
        if (m_length)
            std::memcpy(block, m_data, m_length);
        Free(m_data);
        m_data = block;
        m_capacity = capacity;
        return true;
    }

    char* m_data = nullptr;
    size_t m_length = 0;
    size_t m_capacity = 0;
};

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Position of the "}" that balances the "{" at `open`, or `end` when the
// braces never balance before it.
size_t FindClosingBrace(const char* text, size_t open, size_t end)
{
    size_t depth = 0;
    for (size_t at = open; at < end; ++at) {
        if (text[at] == '{') {
            ++depth;
        } else if (text[at] == '}' && --depth == 0) {
            return at;
        }
    }
    return end;
}

// One call of Interpolate. Level 0 holds the result; level n holds the name
// being built for a braced reference nested n deep. A level's buffer is
// reused by every reference at that depth, so a long text allocates at most
// once per level it reaches.
class CExpansion
{
public:
    explicit CExpansion(const CxInterpolator& variables) : m_variables(variables) {}

    // Appends the interpolation of text[begin, end) to level `depth`.
    // Returns false when the whole expansion must stop (out of memory).
    bool Expand(const char* text, size_t begin, size_t end, int depth)
    {
        CWorkText& out = m_levels[depth];
        size_t at = begin;
        while (at < end && !out.IsFull()) {
            const void* found = std::memchr(text + at, '$', end - at);
            if (!found)
                return out.Append(text + at, end - at);
            const size_t dollar = static_cast<size_t>(static_cast<const char*>(found) - text);
            if (!out.Append(text + at, dollar - at))
                return false;
            if (dollar + 1 == end)
                return out.Append('$');

            const char* name = text + dollar + 1;
            size_t nameLength = 0;
            if (text[dollar + 1] == '{') {
                const size_t close = FindClosingBrace(text, dollar + 1, end);
                if (close == end)
                    return true; // unbalanced: the rest of the text is dropped
                name = text + dollar + 2;
                nameLength = close - dollar - 2;
                // Past the depth limit the name is used as it is written; the
                // limit bounds both the stack and the rescans of nested text.
                if (depth < CxInterpolator::kMaxNestingDepth) {
                    CWorkText& inner = m_levels[depth + 1];
                    inner.Clear();
                    if (!Expand(text, dollar + 2, close, depth + 1))
                        return false;
                    name = inner.Data();
                    nameLength = inner.Length();
                }
                at = close + 1;
            } else {
                while (dollar + 1 + nameLength < end && IsNameChar(name[nameLength]))
                    ++nameLength;
                at = dollar + 1 + nameLength;
            }
            if (!Emit(out, name, nameLength))
                return false;
        }
        return true;
    }

    const CWorkText& Result() const { return m_levels[0]; }

private:
    bool Emit(CWorkText& out, const char* name, size_t length)
    {
        if (CxVariable* variable = m_variables.FindVariable(name, length)) {
            const char* value = variable->GetValue();
            return out.Append(value, std::strlen(value));
        }
        return out.Append('$') && out.Append(name, length);
    }

    const CxInterpolator& m_variables;
    CWorkText m_levels[CxInterpolator::kMaxNestingDepth + 1];
};

int CheckName(const char* name)
{
    if (!name || !*name || std::strlen(name) > static_cast<size_t>(CxString::kMaxLength))
        return PIM_ERR_BAD_ARG;
    return PIM_OK;
}

void DeleteAll(CxLinkedList<CxVariable*>& list)
{
    for (VariableNode* node = list.GetFirst(); node; node = node->GetNext())
        delete node->GetElement();
    list.Clear();
}

} // namespace

CxInterpolator::CxInterpolator(const CxInterpolator& other) : CxObject(other)
{
    CopyFrom(other);
}

CxInterpolator& CxInterpolator::operator=(const CxInterpolator& other)
{
    CopyFrom(other);
    return *this;
}

CxInterpolator::~CxInterpolator()
{
    RemoveAll();
}

int CxInterpolator::CopyFrom(const CxInterpolator& other)
{
    if (&other == this)
        return PIM_OK;
    CxLinkedList<CxVariable*> copy;
    for (const VariableNode* node = other.m_variables.GetFirst(); node; node = node->GetNext()) {
        CxVariable* clone = node->GetElement()->Clone();
        if (!clone || !copy.Append(clone)) {
            delete clone;
            DeleteAll(copy);
            return PIM_ERR_OUT_OF_MEMORY;
        }
    }
    m_variables.Swap(copy);
    DeleteAll(copy);
    return PIM_OK;
}

int CxInterpolator::AddVariable(CxVariable* variable)
{
    if (!variable)
        return PIM_ERR_OUT_OF_MEMORY;
    const CxString& name = variable->GetName();
    if (name.IsEmpty()) {
        delete variable;
        return PIM_ERR_BAD_ARG;
    }
    VariableNode* old = FindNode(name.GetText(), static_cast<size_t>(name.Length()));
    if (old && old->GetElement() == variable)
        return PIM_OK;
    // Linked before the old one goes, so that a failure leaves the old in place.
    if (!m_variables.Append(variable)) {
        delete variable;
        return PIM_ERR_OUT_OF_MEMORY;
    }
    if (old) {
        delete old->GetElement();
        m_variables.Remove(old);
    }
    return PIM_OK;
}

int CxInterpolator::AddString(const char* name, const char* text)
{
    if (int error = CheckName(name))
        return error;
    CStringConstantVariable* variable = new CStringConstantVariable(name, text);
    if (variable && !variable->IsIntact(name, text)) {
        delete variable;
        return PIM_ERR_OUT_OF_MEMORY;
    }
    return AddVariable(variable);
}

int CxInterpolator::AddIntConstant(const char* name, int value, const char* format)
{
    char text[CBuiltinVariable<int>::kBufferSize];
    PimValueFormat<int>::Write(text, sizeof text, format, value);
    return AddString(name, text);
}

int CxInterpolator::AddIntVariable(const char* name, const int* value, const char* format)
{
    if (int error = CheckName(name))
        return error;
    if (!value)
        return PIM_ERR_BAD_ARG;
    auto* variable = new CBuiltinVariable<int>(name, value, format);
    if (variable && variable->GetName().IsEmpty()) {
        delete variable;
        return PIM_ERR_OUT_OF_MEMORY;
    }
    return AddVariable(variable);
}

bool CxInterpolator::RemoveVariable(const char* name)
{
    VariableNode* node = name ? FindNode(name, std::strlen(name)) : nullptr;
    if (!node)
        return false;
    delete node->GetElement();
    m_variables.Remove(node);
    return true;
}

void CxInterpolator::RemoveAll()
{
    DeleteAll(m_variables);
}

CxVariable* CxInterpolator::FindVariable(const char* name) const
{
    return name ? FindVariable(name, std::strlen(name)) : nullptr;
}

CxVariable* CxInterpolator::FindVariable(const char* name, size_t length) const
{
    // The list is only read; the node is not handed out.
    const VariableNode* node = const_cast<CxInterpolator*>(this)->FindNode(name, length);
    return node ? node->GetElement() : nullptr;
}

VariableNode* CxInterpolator::FindNode(const char* name, size_t length)
{
    if (!name)
        return nullptr;
    for (VariableNode* node = m_variables.GetFirst(); node; node = node->GetNext()) {
        const CxString& candidate = node->GetElement()->GetName();
        if (static_cast<size_t>(candidate.Length()) == length && std::memcmp(candidate.GetText(), name, length) == 0)
            return node;
    }
    return nullptr;
}

CxString CxInterpolator::Interpolate(const char* text) const
{
    CxString result;
    if (!text)
        return result;
    // Only the buffers' headers (about 1.5 KB) live here; their bytes are
    // allocated as the levels are reached.
    CExpansion expansion(*this);
    expansion.Expand(text, 0, std::strlen(text), 0);
    const CWorkText& built = expansion.Result();
    // kWorkLimit bytes at most, which Assign cuts on a character boundary.
    result.Assign(built.Data(), static_cast<int>(built.Length()));
    return result;
}
