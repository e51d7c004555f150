#pragma once
// The game's named cursors: the "Cursors" section of the game layer's
// configuration, one line a cursor,
//
//     [Cursors]
//     Hand=4, 0, common/hand.tga      ; hot spot x, hot spot y, picture
//     Arrow=0, 0, common/arrow.tga
//
// Each picture that loads is registered with the display's cursors (its
// top-left pixel is the see-through colour) under the next free number from
// DAX_FIRST_CURSOR_ID on, in file order, and its name is kept: scripts and
// buttons ask for a cursor by name (GetCursorIDFromName) and get that number.
// The last one registered becomes the current and the default cursor.
//
// The lines are outside data:
//   - a line is "x, y, picture" (blanks around the commas are allowed); the
//     picture is the first word after the second comma, as old data wrote
//     it with "%d, %d, %s". A line with fewer than the three fields, or a
//     picture name past PIM_GAME_PATH_INPUT_MAX bytes, is skipped and traced;
//   - the picture's name is a data name (BuildGamePathFromData: "%%" reads
//     as "%", nothing is a format); a picture that is not there is skipped
//     and traced, and takes no number, so the next one gets it;
//   - the hot spot is kept inside the picture (traced when it is moved);
//   - at most DAX_CURSORS_MAX cursors are read; the rest are traced.

#include "PIM/core/CxString.h"

#include <vector>

class CxOptions;

constexpr const char* DAX_CURSORS_SECTION = "Cursors";
constexpr int DAX_FIRST_CURSOR_ID = 10;
constexpr int DAX_CURSORS_MAX = 256;

class CDaxCursorNames
{
public:
    CDaxCursorNames() = default;
    CDaxCursorNames(const CDaxCursorNames&) = delete;
    CDaxCursorNames& operator=(const CDaxCursorNames&) = delete;

    // One cursor line, parsed. How many of its three fields were read: 3 for
    // a whole line (then `file` holds the picture's name as written), less
    // for one that is cut short or wrong.
    static int ParseEntry(const char* line, int& hotX, int& hotY, CxString& file);

    // Forgets the names held (the cursors stay registered), then reads
    // `section` of `options` the way the top of this file tells. How many
    // were registered.
    int Load(CxOptions& options, const char* section = DAX_CURSORS_SECTION);
    // The number of the first cursor of that name (without regard to case);
    // 0 for a name no cursor has.
    int GetId(const char* name) const;
    size_t GetCount() const { return m_names.size(); }
    // The name registered as DAX_FIRST_CURSOR_ID + index; "" past the end.
    const char* GetName(size_t index) const;
    void Clear() { m_names.clear(); }

private:
    // The picture registered as the next number; false when it was not.
    bool Register(const char* name, int hotX, int hotY, const char* file);

    std::vector<CxString> m_names;
};
