#pragma once
// The one namespace of the game layer's event categories (the event system
// of PIM/app/PimEventCategories.h): sprites register their names, rooms
// theirs and "Room", dialogs theirs. Names are shared, so each
// registration has an owner, the creator: an object unregisters only a name
// it still owns, and one that takes over a name another object holds is
// traced, since two things of one name in the data is a data author's slip
// worth seeing.

class CxEventCreator;

// Registers `name` (at most PIM_EVENT_CATEGORY_NAME_MAX characters, else
// refused with 16) with `creator` as its owner. PIM_OK or the registry's error.
int DaxRegisterCategory(const char* name, CxEventCreator* creator);
// Removes `name` while `creator` owns it; true when it went.
bool DaxUnregisterCategory(const char* name, const CxEventCreator* creator);
