#pragma once
// The game's modal panels (quit yes/no, start a level, level won), driven by
// a dialog option file:
//
//     [Options]
//     Name=Question            ; the event category commands use (32 chars)
//     Background=title/q.tga   ; the picture (none: a plain area of Size)
//     MovieDriverFlags=0       ; for a background that is a movie
//     TransparentPixel=0, 0    ; its colour is see-through (not 32-bit ones)
//     Size=100, 100            ; without a background; -1: the screen's
//     Position=-1, -1          ; -1 for either: left where it is
//     Centered=0               ; centred at every opening
//     OnDoModal=...            ; Lua run at every opening
//     OnTimeOut1=...           ; Lua run when nobody answers: 1, 2, ...
//     IdleTime=30000           ; ms from the opening (or the last time-out)
//     MaxIdleCount=3           ; time-outs per opening at most
//     OnLoad=...               ; Lua run once, when the file is read
//     [Button0] ...            ; the buttons (DaxButtonSections.h)
//
// Use:
//     auto* dialog = new CDaxDialog;
//     dialog->SetName("Question");        // the default name
//     dialog->LoadDialog("title/question.ini");
//     dialog->DoModal();                  // blocks until it is ended
//
// While it exists after loading, the dialog owns the event category of its
// name: "Question.EndModal()" posted on any channel ends it at that
// channel's turn, and the button commands (ShowButton, HideButton,
// EnableButton, DisableButton, HighlightButton, UnHighlightButton,
// StartFlashButton, StopFlashButton) name one of its buttons. Commands
// hold the dialog's checked sprite handle, so one that waits on a channel
// after the dialog went does nothing.
//
// Idle time-outs come at fixed intervals after the opening, whatever the
// player does: the dialog's main-loop hook runs time-out n once IdleTime
// has passed n times, up to MaxIdleCount per opening.
//
// Numbers the file gets wrong are taken as follows (and traced):
//   - "Size" components other than -1 or 1..DAX_DIALOG_SIZE_MAX: the whole
//     key is ignored (100 x 100);
//   - "Position" is kept within +-DAX_COORDINATE_LIMIT, and a dialog that
//     would open wholly off the screen is centred instead, since a modal
//     panel the player cannot reach would hold the game;
//   - "IdleTime" of 0 or less: no time-outs; a huge one is a time-out that
//     never comes (the timers' span is 24.8 days);
//   - "MaxIdleCount" below 0 is 0;
//   - "TransparentPixel" outside the picture is ignored;
//   - at most DAX_DIALOG_TIMEOUTS_MAX time-out scripts are read.
//
// A dialog must not be destroyed from inside its own DoModal; the global
// list (DaxGlobalDialogs.h) knows this and defers such a deletion.

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/app/CxEvent.h"
#include "PIM/core/CxArray.h"
#include "PIM/core/CxMainLoopHook.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"
#include "PIM/core/CxTimer.h"
#include "PIM/widgets/CxDialogBox.h"

class CxOptions;

constexpr const char* DAX_DIALOG_DEFAULT_NAME = "DialogBox";
constexpr const char* DAX_DIALOG_SECTION = "Options";
constexpr int DAX_DIALOG_NAME_MAX = 32;
constexpr int32_t DAX_DIALOG_DEFAULT_SIZE = 100;
constexpr int32_t DAX_DIALOG_SIZE_MAX = 16384;
constexpr int DAX_DIALOG_DEFAULT_IDLE_TIME = 30000;
constexpr int DAX_DIALOG_DEFAULT_MAX_IDLE_COUNT = 3;
constexpr int DAX_DIALOG_TIMEOUTS_MAX = 64;
constexpr uint32_t DAX_DIALOG_FLASH_PERIOD = 500;
// In front of the rooms (and of anything of default depth at the root);
// a dialog opened over another one of the same depth comes in front of it.
constexpr int32_t DAX_DIALOG_Z = 1;

class CDaxDialog : public CxDialogBox, public CxMainLoopHook, public CxEventCreator, public CCommandHandler
{
public:
    // Both bases are engine objects; the dialog's memory is the display
    // object's.
    using CxDialogBox::operator new;
    using CxDialogBox::operator delete;

    CDaxDialog();
    // Ends a running loop, stops the idle timer, deletes the buttons and
    // gives up the event category if it still owns it.
    ~CDaxDialog() override;

    // Reads the option file (see the top; a dialog loaded before is taken
    // down first): a missing file is reported by the file layer and leaves
    // every default. OnLoad runs at the end, then ReadExtraOptions with the
    // store. PIM_OK or the first failure's code; the dialog opens anyway.
    int LoadDialog(const char* fileName);

    // --- in this order, after CxDialogBox's (whose EndModal ends the loop) ------------------
    // Buttons reset, attached to the root in front of the room, centred
    // (when Centered) and shown, the idle timer started, OnDoModal run, the
    // modal loop run; then the timer stopped, hidden and detached. A dialog
    // that is already open is not opened again (PIM_ERR_BAD_ARG).
    int DoModal() override;
    // The store of LoadDialog, for the keys a derived dialog adds.
    virtual void ReadExtraOptions(CxOptions& store);
    // Every button back to its normal state (CDaxButton::ResetState).
    virtual void ResetButtons();
    // Runs time-out script `number` (from 1) when there is one.
    virtual void RunTimeOut(int number);

    // --- interfaces ---------------------------------------------------------------------
    // The idle time-outs; nothing while the dialog is closed.
    void OnMainLoop() override;
    // A command for this dialog when `category` is its name (without regard
    // to case) and `name` is not the placeholder "TODO".
    CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) override;
    void OnCommand(const char* name, const CxEventArgs& args) override;

    // Centred on the screen (the display's root).
    void CenterOnScreen();
    // Loads a new background (as "Background" is) and shows the dialog.
    int LoadSurface(const char* fileName);

    // --- what it holds ------------------------------------------------------------------
    const DaxButtonList& GetButtons() const { return m_buttons; }
    CDaxButton* FindButton(const char* name) const { return DaxFindButton(m_buttons, name); }
    // Depth of buttons loaded from now on (0 unless set).
    void SetButtonDepth(int32_t z) { m_buttonDepth = z; }
    int32_t GetButtonDepth() const { return m_buttonDepth; }
    bool IsCentered() const { return m_centered; }
    void SetCentered(bool centered) { m_centered = centered; }
    uint32_t GetMovieDriverFlags() const { return m_movieDriverFlags; }
    // (-1, -1) when none is named.
    CxPoint GetTransparentPixel() const { return m_transparentPixel; }
    const char* GetDoModalText() const { return m_doModalText.GetText(); }
    int GetTimeOutCount() const { return static_cast<int>(m_timeOuts.GetCount()); }
    // 0 when there are no time-outs.
    uint32_t GetIdleTime() const { return m_idleTime; }
    int GetMaxIdleCount() const { return m_maxIdleCount; }
    int GetIdleCount() const { return m_idleCount; }
    const CxTimer& GetIdleTimer() const { return m_idleTimer; }
    // The event category the dialog registered ("" when none).
    const char* GetCategory() const { return m_category.GetText(); }

    // For the global list: the dialog deletes itself (later, once its
    // DoModal has returned) instead of being deleted while it runs.
    void DeleteWhenClosed();

private:
    void TakeDown();
    void ReadOptions(CxOptions& store, int& first);
    void ReadSize(CxOptions& store);
    void ReadTimeOuts(CxOptions& store);
    void RegisterCategory();
    void UnregisterCategory();
    // The picture through the game path; its code (failures are reported).
    int TakeBackground(const char* fileName);
    // Per-pixel alpha for 32-bit pictures, else the colour at the named pixel.
    void ApplyTransparency();
    // True when some part of the dialog lies on the screen.
    bool IsOnScreen() const;

    DaxButtonList m_buttons;
    int32_t m_buttonDepth = 0;
    CxString m_category;
    CxString m_doModalText;
    CxArray<CxString> m_timeOuts;
    CxTimer m_idleTimer;
    uint32_t m_idleTime = DAX_DIALOG_DEFAULT_IDLE_TIME;
    int m_idleCount = 0;
    int m_maxIdleCount = DAX_DIALOG_DEFAULT_MAX_IDLE_COUNT;
    bool m_centered = false;
    uint32_t m_movieDriverFlags = 0;
    CxPoint m_transparentPixel{-1, -1};
    bool m_deleteWhenClosed = false;
};
