#pragma once
// The game layer's dialogs: one CDaxDialog for every entry of the "Dialogs"
// section of the game layer's configuration, owned by this list from start-up
// to exit, and the one pending dialog that "StartModalDialog" asks for. The
// opening waits for the end of the frame (the application calls
// DaxRunPendingDialog there), so the script that asked returns first.
//
// The list sits on the dialogs' floor so that the script functions and the
// application above it share it without knowing each other.

#include "PIM/core/PimDefs.h"

class CDaxDialog;
class CxOptions;

constexpr const char* DAX_DIALOGS_SECTION = "Dialogs";

// Takes ownership of `dialog` (null is ignored). PIM_OK, or
// PIM_ERR_OUT_OF_MEMORY with the dialog deleted.
int DaxAddGlobalDialog(CDaxDialog* dialog);
// For every variable of `section` in order: a dialog named after the
// variable, loaded from the file the value names (through
// BuildGamePathFromData), added to the list; a file that cannot be read
// leaves a dialog of defaults in the list. How many were added.
int DaxLoadGlobalDialogs(CxOptions& options, const char* section = DAX_DIALOGS_SECTION);

// The dialog of that name (without regard to case), or null.
CDaxDialog* DaxFindGlobalDialog(const char* name);
size_t DaxGetGlobalDialogCount();
// In the order they were added; null past the end.
CDaxDialog* DaxGetGlobalDialog(size_t index);

// Deletes every dialog of the list and forgets the pending one. A dialog
// whose loop is running (the call came from inside it) has its loop ended
// and goes once its DoModal has returned.
void DaxRemoveAllGlobalDialogs();

// The dialog of that name becomes the pending one; a name no dialog has,
// or a dialog that is open already (a dialog's own script asking for it
// again), leaves nothing pending. True when a dialog became pending.
bool DaxSetPendingDialog(const char* name);
CDaxDialog* DaxGetPendingDialog();
// Nothing pending (the game is quitting, or its dialogs go).
void DaxClearPendingDialog();
// At the end of a frame: the pending dialog is forgotten first (so that it
// can ask for itself, or another, again), then opened, unless it has been
// opened some other way meanwhile. Its DoModal's code, or PIM_OK with
// nothing to open.
int DaxRunPendingDialog();

// Ends that dialog's modal loop; false when no dialog has the name.
bool DaxEndModalDialog(const char* name);

// For CDaxDialog's destructor: a dialog deleted by someone else leaves the
// list and is no longer pending.
namespace DaxGlobalDialogsInternal
{
void Forget(const CDaxDialog* dialog);
}
