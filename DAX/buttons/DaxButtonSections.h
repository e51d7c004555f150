#pragma once
// The "Button%d" sections of option files, and the buttons made from them.
// Dialogs, rooms and the game layer's global buttons all describe their
// buttons this way; this is the one reader, so all three accept exactly
// the same keys:
//
//     [Button0]
//     FileName=title/button_yes.tga   ; the picture (required)
//     NumFrames=5                     ; frames in the picture
//     ControlID=0                     ; the control's number
//     MaskOnly=0                      ; non-zero: hit by opaque pixels only
//     Cursor=-1                       ; cursor shown over it (-1: none)
//     Name=Yes                        ; default: the section's name
//     Position=100, 160               ; default: -1000, -1000 (off screen)
//     OnClick=...                     ; Lua texts (empty: none)
//     OnMouseEnter=...
//     OnMouseLeave=...
//
// Sections are read from "Button0" on, until the first one without a
// "FileName": a file whose "Button0" has none has no buttons, whatever
// "Button1" says.
//
// The file is outside data, so every number is checked here:
//   - "NumFrames" below 1 is 1 (the picture whole), above
//     PIM_MAX_SPRITE_FRAMES the default 5;
//   - "Cursor" below -1 is -1;
//   - "Position" is kept within +-DAX_COORDINATE_LIMIT, so no sum of a
//     position and a size can overflow;
//   - "Name" keeps its first DAX_BUTTON_NAME_MAX characters;
//   - at most DAX_BUTTON_SECTIONS_MAX sections are read.
// The picture's name goes through BuildGamePathFromData (a "%" in it is a
// character, never a format); the Lua texts are kept whole, however long.

#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"

class CDaxButton;
class CxDisplayObject;
class CxOptions;

constexpr int DAX_BUTTON_NAME_MAX = 32;
constexpr int DAX_BUTTON_DEFAULT_FRAMES = 5;
constexpr int32_t DAX_BUTTON_UNPLACED = -1000;
// More buttons than any screen of the game has.
constexpr int DAX_BUTTON_SECTIONS_MAX = 256;
// Positions read from data stay within this distance of the origin.
constexpr int32_t DAX_COORDINATE_LIMIT = 16384;

// One "Button%d" section as read, checked.
struct ST_DAX_BUTTON_SECTION
{
    CxString section; // "Button3"
    CxString fileName; // as written
    int numFrames = DAX_BUTTON_DEFAULT_FRAMES;
    int controlId = 0;
    bool maskOnly = false;
    int cursor = -1;
    CxString name;
    CxPoint position{DAX_BUTTON_UNPLACED, DAX_BUTTON_UNPLACED};
    CxString onClick;
    CxString onMouseEnter;
    CxString onMouseLeave;
};

// What the owner decides: rooms give themselves, depth 1000, placed and
// shown; dialogs themselves at their button depth; global buttons no parent,
// depth 0, not shown.
struct ST_DAX_BUTTON_PLACEMENT
{
    CxDisplayObject* parent = nullptr;
    int32_t z = 0;
    // Move the button to the section's "Position".
    bool usePosition = true;
    bool shown = false;
};

using DaxButtonList = CxLinkedList<CDaxButton*>;

// `value` within +-DAX_COORDINATE_LIMIT.
int32_t DaxClampCoordinate(int32_t value);

// Reads "Button<index>" into `out` (defaults first). False when the section
// has no "FileName", which ends a file's buttons.
bool DaxReadButtonSection(CxOptions& store, int index, ST_DAX_BUTTON_SECTION& out);

// A button made from a section: its picture loaded with the section's frame
// count (a 32-bit picture draws with its own alpha), control id, mask-only
// hit test, cursor, name and texts set, then parented, given its depth,
// placed and shown as `placement` says. A picture that does not load is
// reported by the loader and leaves a button without a picture, which the
// owner keeps (its commands still find it). `loadCode` (when given) gets
// the picture's code. Null only when memory ran out.
CDaxButton* DaxMakeButton(const ST_DAX_BUTTON_SECTION& section, const ST_DAX_BUTTON_PLACEMENT& placement,
                          int* loadCode = nullptr);

// Every button section of the store, from "Button0" on, appended to `out`
// in order. PIM_OK, or the first failure's code (the others still load).
int DaxLoadButtonSections(CxOptions& store, const ST_DAX_BUTTON_PLACEMENT& placement, DaxButtonList& out);

// The first button of that name, compared without regard to case; null
// when there is none (or `name` is null).
CDaxButton* DaxFindButton(const DaxButtonList& list, const char* name);

// Deletes every button of the list and empties it.
void DaxDeleteButtons(DaxButtonList& list);
