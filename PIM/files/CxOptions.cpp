#include "PIM/files/CxOptions.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/PimFileLayer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// Large enough for any default the getters format ("%f" of -FLT_MAX is 47
// characters, three of them with commas 143) and for any sane value.
constexpr int kValueSize = 256;

const char kOptionController[] = "OptionController";
const char kExport[] = "Export";

// The blanks the parser trims.
inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The white space scanf's "%d" skips, in the C locale.
inline bool IsSpace(char c)
{
    return IsBlank(c) || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view TrimEnd(std::string_view text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimBoth(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return TrimEnd(text);
}

// A key as the parser would give it back: trailing blanks go, leading stay.
std::string_view KeyView(const char* key)
{
    return key ? TrimEnd(key) : std::string_view();
}

std::string_view ValueView(const char* value)
{
    return value ? TrimBoth(value) : std::string_view();
}

bool HasLineEnd(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Whether the parser would read this header text back unchanged: it starts
// with "[", has no comment or line end, and either ends at its first "]" or
// has none and no trailing blank (which a reload would trim).
bool IsReadableHeader(std::string_view header)
{
    if (header.empty() || header.front() != '[' || header.size() > size_t{CxString::kMaxLength})
        return false;
    if (header.find_first_of(";\r\n") != std::string_view::npos)
        return false;
    const size_t close = header.find(']');
    if (close == std::string_view::npos)
        return !IsBlank(header.back());
    return close == header.size() - 1;
}

// One "%d" of a scanf scan: white space, a sign, at least one digit. The value
// clamps like every other number read from a file.
bool ScanInt(const char*& at, int& out)
{
    const char* start = at;
    while (IsSpace(*start))
        ++start;
    const char* digits = start;
    if (*digits == '+' || *digits == '-')
        ++digits;
    if (!IsDigit(*digits))
        return false;
    out = PimParseInt(start);
    while (IsDigit(*digits))
        ++digits;
    at = digits;
    return true;
}

// The start of the piece after the next comma, or null when there is none.
const char* AfterComma(const char* text)
{
    const char* comma = text ? std::strchr(text, ',') : nullptr;
    return comma ? comma + 1 : nullptr;
}

} // namespace

CxOptions::~CxOptions()
{
    Flush();
}

// --- binding, reading and saving ----------------------------------------------

int CxOptions::BindTo(const char* fileName)
{
    m_fileName[0] = '\0';
    // The old file's failed read says nothing about the new binding.
    m_saveBlocked = false;
    m_blockedCode = PIM_OK;
    if (!fileName || !*fileName)
        return PIM_ERR_NOT_FOUND;
    // A name cut to fit would be another file, and saving would write there.
    if (std::strlen(fileName) >= sizeof m_fileName)
        return SetError(PIM_ERR_PATH, "Option file name too long: %.80s...", fileName);
    PimStrCopy(m_fileName, fileName, sizeof m_fileName);
    return PIM_OK;
}

int CxOptions::BlockSaving(int code)
{
    m_saveBlocked = true;
    m_blockedCode = code;
    return Result(code);
}

int CxOptions::Load(const char* fileName)
{
    Flush();
    int code = BindTo(fileName);
    if (code != PIM_OK)
        return Result(code);
    return Read();
}

int CxOptions::Create(const char* fileName)
{
    Flush();
    int code = BindTo(fileName);
    if (code != PIM_OK)
        return Result(code);
    if (FsExists(m_fileName)) {
        code = FsDelete(m_fileName);
        if (code != PIM_OK)
            return SetError(code, "Could not delete %s", m_fileName);
    }
    return Result(PIM_OK);
}

int CxOptions::Read()
{
    Flush();
    m_export = false;
    m_saveBlocked = false;
    m_blockedCode = PIM_OK;
    // A missing file is an ordinary case (a first run, a new player), so it
    // is answered quietly and leaves the store free to create the file.
    if (!m_fileName[0])
        return Result(PIM_ERR_NOT_FOUND);
    if (!m_skipExistence && !FsExists(m_fileName))
        return Result(PIM_ERR_NOT_FOUND);

    // From here on the file is there but may not be readable. An empty store
    // saved over it would destroy it, so every failure blocks saving.
    CxFile file;
    int code = file.Open(m_fileName, CBF_BINARY | CBF_READONLY);
    if (code != PIM_OK)
        return BlockSaving(code);
    const int64_t size = file.Size();
    if (size < 0 || static_cast<uint64_t>(size) > SIZE_MAX - 2)
        return BlockSaving(SetError(PIM_ERR_READ, "Unable to read %s", m_fileName));
    const size_t length = static_cast<size_t>(size);
    char* text = static_cast<char*>(Allocate(length + 2, __FILE__, __LINE__, false));
    if (!text)
        return BlockSaving(PIM_ERR_OUT_OF_MEMORY);
    size_t got = 0;
    code = file.Read(text, length, &got);
    file.Close();
    if (code != PIM_OK) {
        Free(text);
        return BlockSaving(code);
    }
    // The file may have shrunk since its size was taken.
    ParseText(text, std::min(got, length));
    Free(text);
    ReadExportFlag();
    return Result(PIM_OK);
}

int CxOptions::ReadFromBuffer(const char* data, size_t size)
{
    Flush();
    m_export = false;
    if (!data && size)
        return SetError(PIM_ERR_BAD_ARG, "No option text given");
    if (size > SIZE_MAX - 2)
        return Result(PIM_ERR_OUT_OF_MEMORY);
    char* text = static_cast<char*>(Allocate(size + 2, __FILE__, __LINE__, false));
    if (!text)
        return Result(PIM_ERR_OUT_OF_MEMORY);
    if (size)
        std::memcpy(text, data, size);
    ParseText(text, size);
    Free(text);
    ReadExportFlag();
    return Result(PIM_OK);
}

void CxOptions::ParseText(char* text, size_t length)
{
    // The last line needs no line end of its own.
    text[length] = '\n';
    text[length + 1] = '\0';
    char* at = text;
    char* const end = text + length + 1;
    if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0)
        at += 3;
    // One pass, each line ended in place: the cost stays linear in the file
    // size however many lines it has.
    char* line = at;
    for (; at < end; ++at) {
        if (*at != '\r' && *at != '\n')
            continue;
        *at = '\0';
        if (*line)
            ParseLine(line);
        line = at + 1;
    }
}

void CxOptions::ReadExportFlag()
{
    // Export mode is still off here, so this read adds nothing to the store.
    int exportDefaults = 0;
    GetInt(kOptionController, kExport, &exportDefaults, 0);
    m_export = exportDefaults != 0;
}

int CxOptions::WriteToBuffer(CxBuffer& out)
{
    out.Release();
    size_t total = 0;
    for (const SectionNode* node = m_sections.GetFirst(); node; node = node->GetNext()) {
        const CxOptionSection* section = node->GetElement();
        total += (node == m_sections.GetFirst() ? 0 : 2) + static_cast<size_t>(section->GetHeaderLength()) + 2;
        for (const auto* v = section->GetFirstNode(); v; v = v->GetNext())
            total += static_cast<size_t>(v->GetElement()->GetNameLength() + v->GetElement()->GetValueLength()) + 3;
    }
    if (total == 0)
        return Result(PIM_OK);
    if (!out.Resize(total))
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory to write %zu bytes of options", total);

    // CR LF line ends: the files are shared with editors that expect them.
    char* at = reinterpret_cast<char*>(out.GetData());
    auto put = [&at](const char* text, size_t length) {
        std::memcpy(at, text, length);
        at += length;
    };
    for (const SectionNode* node = m_sections.GetFirst(); node; node = node->GetNext()) {
        const CxOptionSection* section = node->GetElement();
        if (node != m_sections.GetFirst())
            put("\r\n", 2);
        put(section->GetHeader(), static_cast<size_t>(section->GetHeaderLength()));
        put("\r\n", 2);
        for (const auto* v = section->GetFirstNode(); v; v = v->GetNext()) {
            const CxOptionVariable* variable = v->GetElement();
            put(variable->GetName(), static_cast<size_t>(variable->GetNameLength()));
            put("=", 1);
            put(variable->GetValue(), static_cast<size_t>(variable->GetValueLength()));
            put("\r\n", 2);
        }
    }
    return Result(PIM_OK);
}

int CxOptions::Save()
{
    if (!m_dirty || !m_fileName[0])
        return Result(PIM_OK);
    // Already reported when the read failed; the store stays dirty.
    if (m_saveBlocked)
        return Result(m_blockedCode);
    CxBuffer bytes;
    int code = WriteToBuffer(bytes);
    if (code != PIM_OK)
        return code;
    const int reportsBefore = GetErrorCount();
    code = FsReplaceFile(m_fileName, bytes.GetSize() ? bytes.GetData() : reinterpret_cast<const uint8_t*>(""),
                         bytes.GetSize());
    if (code != PIM_OK) {
        // The folder file system reports its own failures; others may not.
        if (GetErrorCount() == reportsBefore)
            return SetError(code, "Could not save %s", m_fileName);
        return Result(code);
    }
    m_dirty = false;
    return Result(PIM_OK);
}

int CxOptions::Flush()
{
    int code = Save();
    Clear();
    m_dirty = false;
    return Result(code);
}

void CxOptions::DestroySections()
{
    for (SectionNode* node = m_sections.GetFirst(); node; node = node->GetNext())
        delete node->GetElement();
    m_sections.Clear();
    m_current = nullptr;
}

void CxOptions::Clear()
{
    DestroySections();
    m_dirty = true;
}

// --- the parser -----------------------------------------------------------------

int CxOptions::ParseLine(const char* line)
{
    if (!line)
        return Result(PIM_OK);
    size_t length = strnlen(line, static_cast<size_t>(CxString::kMaxLength));
    // Most lines fit on the stack; the rare long one costs one allocation.
    char local[256];
    char* copy = local;
    if (length >= sizeof local) {
        copy = static_cast<char*>(Allocate(length + 1, __FILE__, __LINE__, false));
        if (!copy)
            return Result(PIM_ERR_OUT_OF_MEMORY);
    }
    std::memcpy(copy, line, length);
    copy[length] = '\0';
    // A comment, or a line end left by a caller, ends the line.
    length = std::strcspn(copy, ";\r\n");
    while (length > 0 && IsBlank(copy[length - 1]))
        --length;
    copy[length] = '\0';

    int code = PIM_OK;
    if (copy[0] == '[') {
        if (char* close = std::strchr(copy, ']'))
            close[1] = '\0';
        code = AddSection(copy);
    } else if (m_current) {
        char* equals = std::strchr(copy, '=');
        if (equals && equals > copy) {
            *equals = '\0';
            // A key of blanks only would be empty, which no lookup can find.
            if (!KeyView(copy).empty())
                code = AddVariable(copy, equals + 1, GetCurrentSection());
        }
    }
    if (copy != local)
        Free(copy);
    return Result(code);
}

int CxOptions::AddSection(const char* header)
{
    if (!header || !IsReadableHeader(header))
        return SetError(PIM_ERR_BAD_ARG, "Option section header \"%s\" would not read back", header ? header : "");
    auto* section = new CxOptionSection;
    if (!section)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option section %s", header);
    SectionNode* node = nullptr;
    if (!section->SetHeader(header, static_cast<int>(std::strlen(header))) || !(node = m_sections.Append(section))) {
        delete section;
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option section %s", header);
    }
    m_current = node;
    return Result(PIM_OK);
}

int CxOptions::AddVariable(const char* key, const char* value, CxOptionSection* section)
{
    if (!section)
        section = GetCurrentSection();
    if (!section)
        return Result(PIM_ERR_NOT_FOUND);
    int code = CheckVariable(key, value, KeyView(key).size(), ValueView(value).size());
    if (code != PIM_OK)
        return code;
    if (!section->AppendVariable(KeyView(key), ValueView(value)))
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option %s", key);
    return Result(PIM_OK);
}

// --- checks on what code writes ---------------------------------------------------

int CxOptions::CheckSection(const char* section)
{
    if (!section)
        return SetError(PIM_ERR_BAD_ARG, "No option section given");
    std::string_view name(section);
    bool readable;
    if (!name.empty() && name.front() == '[')
        readable = IsReadableHeader(name);
    else
        readable = name.find_first_of("];\r\n") == std::string_view::npos &&
                   name.size() + 2 <= size_t{CxString::kMaxLength};
    if (!readable)
        return SetError(PIM_ERR_BAD_ARG, "Option section \"%s\" would not read back", section);
    return PIM_OK;
}

int CxOptions::CheckVariable(const char* key, const char* value, size_t keyLength, size_t valueLength)
{
    if (!key || !value)
        return SetError(PIM_ERR_BAD_ARG, "No option key or value given");
    const std::string_view name(key, keyLength);
    // A line starting with "[" is a header; "=" and ";" would end the key.
    if (name.empty() || name.front() == '[' || name.find_first_of("=;\r\n") != std::string_view::npos)
        return SetError(PIM_ERR_BAD_ARG, "Option key \"%s\" would not read back", key);
    if (HasLineEnd(value))
        return SetError(PIM_ERR_BAD_ARG, "Option value of %s holds a line end", key);
    // The parser keeps no longer line than a CxString holds.
    if (keyLength + 1 + valueLength > size_t{CxString::kMaxLength})
        return SetError(PIM_ERR_BAD_ARG, "Option %s is too long to read back", key);
    return PIM_OK;
}

// --- lookups ------------------------------------------------------------------------

CxOptionSection* CxOptions::FindSection(const char* section) const
{
    if (!section)
        return nullptr;
    // Measured once: the player store has a section per player.
    const std::string_view name(section);
    for (const SectionNode* node = m_sections.GetFirst(); node; node = node->GetNext()) {
        if (node->GetElement()->IsNamed(name))
            return node->GetElement();
    }
    return nullptr;
}

CxOptionVariable* CxOptions::FindVariable(const char* section, const char* key) const
{
    CxOptionSection* found = FindSection(section);
    return found ? found->FindVariable(KeyView(key)) : nullptr;
}

CxOptionSection* CxOptions::ObtainSection(const char* section, int& code)
{
    code = PIM_OK;
    if (CxOptionSection* found = FindSection(section))
        return found;
    if (section[0] == '[') {
        code = AddSection(section);
    } else {
        CxString header;
        header.Append('[');
        header.Append(section);
        header.Append(']');
        if (static_cast<size_t>(header.Length()) != std::strlen(section) + 2) {
            code = SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option section %s", section);
            return nullptr;
        }
        code = AddSection(header.GetText());
    }
    return code == PIM_OK && m_sections.GetLast() ? m_sections.GetLast()->GetElement() : nullptr;
}

int CxOptions::FirstSection(CxString& header)
{
    m_current = m_sections.GetFirst();
    if (!m_current)
        return 0;
    header = m_current->GetElement()->GetHeader();
    return 1;
}

int CxOptions::NextSection(CxString& header)
{
    // A deletion clears the cursor: the walk is over rather than stepping
    // from a node that may be gone.
    if (!m_current)
        return 0;
    m_current = m_current->GetNext();
    if (!m_current)
        return 0;
    header = m_current->GetElement()->GetHeader();
    return 1;
}

// --- setters --------------------------------------------------------------------------

int CxOptions::SetString(const char* section, const char* key, const char* text)
{
    int code = CheckSection(section);
    if (code == PIM_OK)
        code = CheckVariable(key, text, KeyView(key).size(), ValueView(text).size());
    if (code != PIM_OK)
        return code;
    CxOptionSection* found = ObtainSection(section, code);
    if (!found)
        return Result(code);
    const std::string_view value = ValueView(text);
    if (CxOptionVariable* variable = found->FindVariable(KeyView(key))) {
        if (!variable->SetValue(value.data(), static_cast<int>(value.size())))
            return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option %s", key);
    } else if (!found->AppendVariable(KeyView(key), value)) {
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option %s", key);
    }
    m_dirty = true;
    return Result(PIM_OK);
}

int CxOptions::SetInt(const char* section, const char* key, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return SetString(section, key, text);
}

int CxOptions::SetIntList(const char* section, const char* key, const IntList* values)
{
    if (!section || !key || !values)
        return SetError(PIM_ERR_BAD_ARG, "SetIntList needs a section, a key and a list");
    CxString text;
    int expected = 0;
    for (const IntList::Node* node = values->GetFirst(); node; node = node->GetNext()) {
        char piece[16];
        const int length =
            std::snprintf(piece, sizeof piece, "%s%d", node == values->GetFirst() ? "" : ", ", node->GetElement());
        expected += length;
        // GetIntList reads no more than this; a cut list would end in a cut number.
        if (expected >= kIntListValueSize)
            return SetError(PIM_ERR_BAD_ARG, "The list %s is too long to read back", key);
        text.Append(piece, length);
        if (text.Length() != expected)
            return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option %s", key);
    }
    return SetString(section, key, text.GetText());
}

int CxOptions::AppendVariable(const char* section, const char* key, const char* value)
{
    int code = CheckSection(section);
    if (code == PIM_OK)
        code = CheckVariable(key, value, KeyView(key).size(), ValueView(value).size());
    if (code != PIM_OK)
        return code;
    CxOptionSection* found = ObtainSection(section, code);
    if (!found)
        return Result(code);
    if (!found->AppendVariable(KeyView(key), ValueView(value)))
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for option %s", key);
    m_dirty = true;
    return Result(PIM_OK);
}

int CxOptions::DeleteVariable(const char* section, const char* key)
{
    m_current = nullptr;
    CxOptionSection* found = FindSection(section);
    CxOptionVariable* variable = found ? found->FindVariable(KeyView(key)) : nullptr;
    if (!variable)
        return Result(PIM_ERR_NOT_FOUND);
    found->DeleteVariable(variable);
    m_dirty = true;
    return Result(PIM_OK);
}

int CxOptions::DeleteSection(const char* section)
{
    m_current = nullptr;
    if (!section)
        return Result(PIM_ERR_NOT_FOUND);
    const std::string_view name(section);
    for (SectionNode* node = m_sections.GetFirst(); node; node = node->GetNext()) {
        CxOptionSection* found = node->GetElement();
        if (!found->IsNamed(name))
            continue;
        m_sections.Remove(node);
        delete found;
        m_dirty = true;
        return Result(PIM_OK);
    }
    return Result(PIM_ERR_NOT_FOUND);
}

// --- getters ----------------------------------------------------------------------------

int CxOptions::GetString(const char* section, const char* key, char* out, const char* defaultText, int length)
{
    const char* result = defaultText ? defaultText : "";
    int code = PIM_OK;
    if (const CxOptionVariable* variable = FindVariable(section, key))
        result = variable->GetValue();
    else if (m_export)
        code = SetString(section, key, result);
    if (out && length > 0)
        PimStrCopy(out, result, static_cast<size_t>(length));
    return Result(code);
}

int CxOptions::GetInt(const char* section, const char* key, int* out, int defaultValue)
{
    char defaultText[16];
    std::snprintf(defaultText, sizeof defaultText, "%d", defaultValue);
    char text[kValueSize];
    int code = GetString(section, key, text, defaultText, sizeof text);
    if (out)
        *out = PimParseInt(text);
    return code;
}

int CxOptions::GetFloat(const char* section, const char* key, float* out, float defaultValue)
{
    char defaultText[64];
    std::snprintf(defaultText, sizeof defaultText, "%f", static_cast<double>(defaultValue));
    char text[kValueSize];
    int code = GetString(section, key, text, defaultText, sizeof text);
    if (out)
        *out = PimParseFloat(text);
    return code;
}

int CxOptions::GetPoint(const char* section, const char* key, int* x, int* y, int defaultX, int defaultY)
{
    char defaultText[32];
    std::snprintf(defaultText, sizeof defaultText, "%d,%d", defaultX, defaultY);
    char text[kValueSize];
    int code = GetString(section, key, text, defaultText, sizeof text);
    const char* second = AfterComma(text);
    if (x)
        *x = PimParseInt(text);
    if (y)
        *y = second ? PimParseInt(second) : defaultY;
    return code;
}

int CxOptions::GetVector(const char* section, const char* key, float* x, float* y, float* z, float defaultX,
                         float defaultY, float defaultZ)
{
    char defaultText[kValueSize];
    std::snprintf(defaultText, sizeof defaultText, "%f,%f,%f", static_cast<double>(defaultX),
                  static_cast<double>(defaultY), static_cast<double>(defaultZ));
    char text[kValueSize];
    int code = GetString(section, key, text, defaultText, sizeof text);
    const char* second = AfterComma(text);
    const char* third = AfterComma(second);
    if (x)
        *x = PimParseFloat(text);
    if (y)
        *y = second ? PimParseFloat(second) : defaultY;
    if (z)
        *z = third ? PimParseFloat(third) : defaultZ;
    return code;
}

int CxOptions::GetRect(const char* section, const char* key, int* left, int* top, int* right, int* bottom,
                       int defaultLeft, int defaultTop, int defaultRight, int defaultBottom)
{
    char defaultText[64];
    std::snprintf(defaultText, sizeof defaultText, "%d, %d, %d, %d", defaultLeft, defaultTop, defaultRight,
                  defaultBottom);
    char text[kValueSize];
    int code = GetString(section, key, text, defaultText, sizeof text);
    // "%d, %d, %d, %d" as scanf reads it: the blank after each comma matches
    // any white space or none, a blank before a comma ends the scan, and the
    // components after the first that fails keep what they held.
    int ignored = 0;
    int* outs[4] = {left ? left : &ignored, top ? top : &ignored, right ? right : &ignored,
                    bottom ? bottom : &ignored};
    const char* at = text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*at != ',')
                break;
            ++at;
        }
        int value = 0;
        if (!ScanInt(at, value))
            break;
        *outs[i] = value;
    }
    return code;
}

int CxOptions::GetIntList(const char* section, const char* key, IntList* values)
{
    if (!section || !key || !values)
        return SetError(PIM_ERR_BAD_ARG, "GetIntList needs a section, a key and a list");
    values->Clear();
    char text[kIntListValueSize];
    int code = GetString(section, key, text, "", sizeof text);
    if (!text[0])
        return code;
    for (const char* piece = text; piece; piece = AfterComma(piece)) {
        if (!values->Append(PimParseInt(piece)))
            return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the list %s", key);
    }
    return code;
}

int CxOptions::GetInt(const char* section, const char* key, int defaultValue)
{
    int value = defaultValue;
    GetInt(section, key, &value, defaultValue);
    return value;
}

float CxOptions::GetFloat(const char* section, const char* key, float defaultValue)
{
    float value = defaultValue;
    GetFloat(section, key, &value, defaultValue);
    return value;
}

CxString CxOptions::GetString(const char* section, const char* key, const char* defaultText)
{
    char text[256];
    GetString(section, key, text, defaultText, sizeof text);
    return CxString(text);
}
