#pragma once
// Finds the file a path means on a file system whose names have letter case.
// Game data spells one file "COMMON/pakenham.ttf" in one place and
// "common\PAKENHAM.TTF" in another; on disk it has one spelling. Each
// component of a path is matched against its folder's listing without regard
// to case (an exact spelling wins; among names differing only in case the
// first in byte order wins). Components that do not exist are kept as given,
// so a path for a new file resolves its folders and keeps the new name.
//
// Listings are cached per folder and checked against the folder's change time,
// so a lookup costs a stat per component, not a listing.

#include <string>
#include <string_view>

class CxPathResolver
{
public:
    // "\" becomes "/"; "//" runs collapse. The result is the path to use on disk.
    static std::string Resolve(std::string_view path);
    // Drops every cached listing (tests; nothing else needs it).
    static void Clear();
    // Number of folders listed so far (tests check that lookups reuse them).
    static size_t ListingsMade();
};
