#include "DAX/sequences/DaxSequenceReader.h"

#include "PIM/core/CxError.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/CxFileInfo.h"
#include "PIM/files/PimFileLayer.h"

#include <cctype>
#include <cstring>
#include <new>
#include <utility>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r' || c == '\0';
}

// The keyword (any case) at `p`, followed by at least one blank: `p` moves
// past it and its blanks.
bool TakeKeyword(const char*& p, const char* end, const char* keyword)
{
    const size_t length = std::strlen(keyword);
    if (static_cast<size_t>(end - p) <= length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(p[i])) != keyword[i])
            return false;
    if (!IsBlank(p[length]))
        return false;
    p += length;
    while (p < end && IsBlank(*p))
        ++p;
    return true;
}

void Assign(CxString& out, const char* start, const char* end)
{
    const size_t length = static_cast<size_t>(end - start);
    out.Assign(start, length > static_cast<size_t>(CxString::kMaxLength) ? CxString::kMaxLength
                                                                         : static_cast<int>(length));
}

void ParseLine(const char* p, const char* end, ST_SEQUENCE_ENTRIES& out)
{
    while (p < end && IsBlank(*p))
        ++p;
    if (p == end || *p == '#')
        return;
    ST_SEQUENCE_ENTRY entry;
    for (;;) {
        if (TakeKeyword(p, end, "dynamic"))
            entry.dynamic = true;
        else if (TakeKeyword(p, end, "continue"))
            entry.chain = true;
        else
            break;
    }
    const char* textEnd = end;
    if (TakeKeyword(p, end, "event")) {
        entry.kind = EDaxSequenceEntry::Event;
        if (const void* close = std::memchr(p, ')', static_cast<size_t>(end - p)))
            textEnd = static_cast<const char*>(close) + 1;
    } else if (TakeKeyword(p, end, "lua")) {
        entry.kind = EDaxSequenceEntry::Lua;
    } else if (TakeKeyword(p, end, "sequence")) {
        entry.kind = EDaxSequenceEntry::Sequence;
        if (p < end && *p == '"') {
            ++p;
            if (const void* quote = std::memchr(p, '"', static_cast<size_t>(end - p)))
                textEnd = static_cast<const char*>(quote);
        } else {
            textEnd = p;
            while (textEnd < end && !IsBlank(*textEnd))
                ++textEnd;
        }
    } else {
        return;
    }
    if (textEnd == p)
        return;
    Assign(entry.text, p, textEnd);
    out.entries.push_back(std::move(entry));
}

bool SameTime(const ST_FILE_TIME& a, const ST_FILE_TIME& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.millisecond == b.millisecond;
}

struct ST_CACHED_FILE
{
    CxString path;
    int64_t size = 0;
    ST_FILE_TIME time;
    // Null for a file that was missing when last looked for.
    std::shared_ptr<const ST_SEQUENCE_ENTRIES> entries;
};

std::vector<ST_CACHED_FILE>& Cache()
{
    static std::vector<ST_CACHED_FILE> cache;
    return cache;
}

ST_CACHED_FILE* Find(const char* path)
{
    for (ST_CACHED_FILE& file : Cache())
        if (PimStrEqual(file.path.GetText(), path))
            return &file;
    return nullptr;
}

void Remember(const char* path, std::shared_ptr<const ST_SEQUENCE_ENTRIES> entries)
{
    std::vector<ST_CACHED_FILE>& cache = Cache();
    if (cache.size() >= DAX_SEQUENCE_CACHE_MAX)
        cache.clear();
    ST_CACHED_FILE file;
    file.path = path;
    if (entries) {
        file.size = FsGetSize(path);
        FsGetFileTime(path, file.time);
    }
    file.entries = std::move(entries);
    cache.push_back(std::move(file));
}

void Forget(ST_CACHED_FILE* file)
{
    std::vector<ST_CACHED_FILE>& cache = Cache();
    cache.erase(cache.begin() + (file - cache.data()));
}

// Still the file that was read: same size, same time.
bool IsCurrent(const ST_CACHED_FILE& file)
{
    ST_FILE_TIME time;
    FsGetFileTime(file.path.GetText(), time);
    return FsGetSize(file.path.GetText()) == file.size && SameTime(time, file.time);
}

int Fail(int* code, int value)
{
    if (code)
        *code = value;
    return value;
}

} // namespace

CxString SequenceFileIdentity(const char* path)
{
    CxString full;
    FsGetFullPath(full, path);
    // Components, with "." dropped and ".." taking the one before it away.
    std::vector<std::pair<const char*, int>> parts;
    const char* text = full.GetText();
    for (const char* p = text; *p;) {
        while (*p == '/' || *p == '\\')
            ++p;
        const char* start = p;
        while (*p && *p != '/' && *p != '\\')
            ++p;
        const int length = static_cast<int>(p - start);
        if (length == 0 || (length == 1 && start[0] == '.'))
            continue;
        if (length == 2 && start[0] == '.' && start[1] == '.') {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.emplace_back(start, length);
    }
    CxString identity;
    for (const auto& [start, length] : parts) {
        identity.Append('/');
        identity.Append(start, length);
    }
    return identity;
}

void ParseSequenceText(const char* text, size_t size, ST_SEQUENCE_ENTRIES& out)
{
    out.entries.clear();
    if (!text)
        return;
    const char* end = text + size;
    for (const char* p = text; p < end;) {
        const char* lineEnd = p;
        while (lineEnd < end && !IsLineEnd(*lineEnd))
            ++lineEnd;
        ParseLine(p, lineEnd, out);
        p = lineEnd < end ? lineEnd + 1 : end;
    }
}

std::shared_ptr<const ST_SEQUENCE_ENTRIES> GetSequenceEntries(const char* path, int* code)
{
    Fail(code, PIM_OK);
    if (!path || !*path) {
        Fail(code, ReportError(PIM_ERR_BAD_ARG, "A sequence file needs a name"));
        return nullptr;
    }
    if (ST_CACHED_FILE* cached = Find(path)) {
        if (!cached->entries) {
            if (!FsExists(path)) {
                Fail(code, PIM_ERR_OPEN);
                return nullptr;
            }
        } else if (IsCurrent(*cached)) {
            return cached->entries;
        }
        Forget(cached);
    }

    if (!FsExists(path)) {
        Fail(code, ReportError(PIM_ERR_OPEN, "Could not open sequence file %s", path));
        Remember(path, nullptr);
        return nullptr;
    }
    const int64_t size = FsGetSize(path);
    if (size > DAX_SEQUENCE_FILE_MAX) {
        Fail(code, ReportError(PIM_ERR_FILE_TYPE, "Sequence file %s has %lld bytes; at most %lld are read", path,
                               static_cast<long long>(size), static_cast<long long>(DAX_SEQUENCE_FILE_MAX)));
        return nullptr;
    }
    CxBuffer buffer;
    if (const int read = LoadFile(path, buffer); read != PIM_OK) {
        Fail(code, read);
        return nullptr;
    }
    auto entries = std::make_shared<ST_SEQUENCE_ENTRIES>();
    ParseSequenceText(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize(), *entries);
    entries->identity = SequenceFileIdentity(path);
    Remember(path, entries);
    return entries;
}

void FlushSequenceCache()
{
    Cache().clear();
}

size_t GetSequenceCacheCount()
{
    return Cache().size();
}
