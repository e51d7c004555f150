#include "PIM/files/CxPathResolver.h"
#include "PIM/os/PimWallClock.h"

#include "PIM/os/PimOsFiles.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

struct Listing
{
    int64_t seconds = 0;
    int64_t nanos = 0;
    // When the listing was made (wall clock, nanoseconds).
    int64_t listedAt = 0;
    std::unordered_set<std::string> names;
    std::unordered_map<std::string, std::string> byLowerName; // lower -> on disk
};

struct ListingCache
{
    std::unordered_map<std::string, Listing> folders;
    size_t listingsMade = 0;
};

ListingCache& Cache()
{
    static ListingCache cache;
    return cache;
}

// Bounded so that a long run over many folders cannot grow without end.
constexpr size_t kMaxCachedFolders = 512;

void CollectName(void* context, const char* name)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(name);
}

// The wall clock, which the folders' change times are kept in.
int64_t NowNanos()
{
    return PimWallClockNanos();
}

// A folder's change time only moves in ticks of the kernel's clock, so two
// changes within one tick leave the same time. A listing made less than this
// after the folder's change time may have missed a second change: a name it
// lacks is looked for again in a new listing.
constexpr int64_t kChangeTimeTrust = 2'000'000'000; // 2 s

bool MayBeStale(const Listing& listing)
{
    return listing.listedAt - (listing.seconds * 1'000'000'000 + listing.nanos) < kChangeTimeTrust;
}

// The folder's listing, fresh (relisted when the folder changed, or always
// with `force`). Null when the folder cannot be read.
const Listing* ListingOf(const std::string& folder, bool force = false)
{
    PimOs::ST_STAT st;
    const char* disk = folder.empty() ? "." : folder.c_str();
    if (!PimOs::Stat(disk, st) || !st.isFolder)
        return nullptr;
    ListingCache& cache = Cache();
    auto found = cache.folders.find(folder);
    if (!force && found != cache.folders.end() && found->second.seconds == st.modifiedSeconds &&
        found->second.nanos == st.modifiedNanos)
        return &found->second;
    const int64_t listedAt = NowNanos();

    std::vector<std::string> names;
    if (!PimOs::ListFolder(disk, &CollectName, &names))
        return nullptr;
    ++cache.listingsMade;
    // Byte order first, so the first of several case-twins is always the same one.
    std::sort(names.begin(), names.end());
    if (cache.folders.size() >= kMaxCachedFolders && found == cache.folders.end())
        cache.folders.clear();
    Listing& listing = cache.folders[folder];
    listing.seconds = st.modifiedSeconds;
    listing.nanos = st.modifiedNanos;
    listing.listedAt = listedAt;
    listing.byLowerName.clear();
    for (const std::string& name : names)
        listing.byLowerName.emplace(LowerAscii(name), name);
    listing.names.clear();
    listing.names.insert(names.begin(), names.end());
    return &listing;
}

std::string Normalise(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '\\')
            c = '/';
        if (c == '/' && !out.empty() && out.back() == '/')
            continue;
        out.push_back(c);
    }
    return out;
}

} // namespace

std::string CxPathResolver::Resolve(std::string_view rawPath)
{
    std::string path = Normalise(rawPath);
    PimOs::ST_STAT st;
    if (path.empty() || PimOs::Stat(path.c_str(), st))
        return path; // spelled as on disk (or nothing to resolve)

    std::string out;
    size_t pos = 0;
    if (path[0] == '/') {
        out = "/";
        pos = 1;
    }
    bool resolving = true;
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        size_t end = slash == std::string::npos ? path.size() : slash;
        std::string_view component(path.data() + pos, end - pos);
        if (!component.empty()) {
            std::string folder = out;
            if (folder.size() > 1 && folder.back() == '/')
                folder.pop_back();
            std::string piece(component);
            if (resolving && component != "." && component != "..") {
                const Listing* listing = ListingOf(folder);
                // A name missing from a listing that may have missed a change
                // is looked for once more.
                if (listing && MayBeStale(*listing) && !listing->byLowerName.count(LowerAscii(component)))
                    listing = ListingOf(folder, true);
                if (listing) {
                    auto twin = listing->byLowerName.find(LowerAscii(component));
                    if (listing->names.count(piece))
                        ; // spelled as on disk: keep it
                    else if (twin != listing->byLowerName.end())
                        piece = twin->second;
                    else
                        resolving = false;
                } else {
                    resolving = false;
                }
            }
            out += piece;
        }
        if (slash == std::string::npos)
            break;
        if (!out.empty() && out.back() != '/')
            out.push_back('/');
        pos = slash + 1;
    }
    return out;
}

void CxPathResolver::Clear()
{
    Cache().folders.clear();
}

size_t CxPathResolver::ListingsMade()
{
    return Cache().listingsMade;
}
