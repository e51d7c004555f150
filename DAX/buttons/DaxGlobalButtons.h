#pragma once
// The game layer's global buttons: one CDaxButton for every "Button%d"
// section of the game layer's configuration, owned by this list from
// start-up to exit. They belong to no room: a room whose option file names
// them under "Static" / "Buttons" borrows them while it is loaded (attaches
// them as its children) and gives them back (detaches them) when it leaves;
// a room never deletes them.
//
// The list sits on the buttons' floor so that rooms and the application
// above it share it without knowing each other.

#include "DAX/buttons/DaxButtonSections.h"

class CxOptions;

// Every button section of `options` (see DaxButtonSections.h), made without
// a parent, at depth 0 and hidden, appended to the list. PIM_OK, or the
// first failure's code (the others still load).
int DaxLoadGlobalButtons(CxOptions& options);
// Takes ownership of `button` (null is ignored). PIM_OK, or
// PIM_ERR_OUT_OF_MEMORY with the button deleted.
int DaxAddGlobalButton(CDaxButton* button);

// The button of that name (without regard to case), or null.
CDaxButton* DaxFindGlobalButton(const char* name);
const DaxButtonList& DaxGetGlobalButtons();

// True when `name` stands in `names` as a whole word (words
// are separated by blanks, tabs or commas; compared without regard to
// case). Rooms read "Static" / "Buttons" with it.
bool DaxNameListHas(const char* names, const char* name);

// Detaches every button from its parent and deletes it.
void DaxRemoveAllGlobalButtons();
