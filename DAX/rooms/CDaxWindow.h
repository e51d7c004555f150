#pragma once
// The game layer's room: one screen of the game made from its option file,
// "<Room>/<Room>.ini" (found through the file systems):
//
//     [Options]
//     Background=farm/yard.tga      ; the picture; the room takes its size
//     Size=-1, -1                   ; without a background (-1: the screen's)
//     IdleTime=30000                ; ms without input before a time-out
//     MaxIdleCount=3                ; time-outs in a row at most
//     OnTimeOut1=...                ; Lua for time-out 1, 2, ... (to the first empty)
//     MinLevel=0 / MaxLevel=9       ; level range (the current one by default)
//     MinDifficulty=0 / MaxDifficulty=2
//     [Button0] ...                 ; the room's buttons (DaxButtonSections.h)
//     [Static]
//     Buttons=Quit, Help            ; global buttons shown here (DaxGlobalButtons.h)
//     HelpPosition=740, 8           ; where this room shows "Help" (its own place otherwise)
//     [Score] ... [ScoreMilestones] ; the score (CDaxRoomScore.h)
//     [AmbientMovie0]
//     FileName=farm/smoke.smk       ; played in a loop behind everything
//     Position=100, 20
//
// The application creates every room once and calls LoadOptions; then each
// visit is Load, Start, frames of Update, Stop, Unload. While it is loaded
// the room has
//   - a file system "<ActivityPath>" on its activity path ("/<Room>" unless
//     set), searched before every other, so its own folder's files win;
//   - its interpolator: the game layer's global one plus ROOMNAME;
//   - its channel, which it listens to (and does nothing with);
//   - the event categories of its name and "Room": any event of either but
//     "TODO" is a command for the room (DaxRoomCommands.h), so
//     "Room.ShowButton(Help)" on any channel reaches the current room;
//   - "onstartroom.lua" run at the end of Load and "onstoproom.lua" at the
//     start of Unload, when they exist (the room's folder is searched first).
// Entering plays "COMMON/FADE0.SMK" and leaving "COMMON/FADE1.SMK" when
// they exist, modally at (0, -1), the room paused meanwhile; not for the
// first room since the program started, nor when the game is quitting.
//
// Between visits the room keeps its options, activity path, level,
// difficulty, score, state and idle settings; what Load reads from the
// options is read again at every visit. The background picture goes with
// the visit (Unload releases it, Load reads it again).
//
// Numbers the file gets wrong: "Size" components other than -1 or
// 1..DAX_COORDINATE_LIMIT leave the room the screen's size; positions stay
// within +-DAX_COORDINATE_LIMIT; level and difficulty bounds stay within
// +-DAX_ROOM_RANGE_LIMIT and a range whose minimum is above its maximum is
// not taken; at most DAX_ROOM_MOVIES_MAX ambient movies are read.

#include "DAX/buttons/DaxButtonSections.h"
#include "DAX/rooms/CDaxRoomIdle.h"
#include "DAX/rooms/CDaxRoomScore.h"
#include "PIM/app/CxEvent.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/CxGameWindow.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxString.h"
#include "PIM/files/CxOptions.h"

#include <memory>
#include <utility>
#include <vector>

class CxFileSystem;
class CxGameApp;
class CxMovie;

constexpr const char* DAX_ROOM_SECTION = "Options";
constexpr const char* DAX_ROOM_CATEGORY = "Room";
constexpr const char* DAX_ROOM_ACTIVITY_ROOT = "<ActivityPath>";
constexpr const char* DAX_ROOM_FADE_IN = "COMMON/FADE0.SMK";
constexpr const char* DAX_ROOM_FADE_OUT = "COMMON/FADE1.SMK";
constexpr const char* DAX_ROOM_START_SCRIPT = "onstartroom.lua";
constexpr const char* DAX_ROOM_STOP_SCRIPT = "onstoproom.lua";
constexpr int32_t DAX_ROOM_BUTTON_Z = 1000;
constexpr int32_t DAX_ROOM_MOVIE_Z = 0x7FFFFFFF;
constexpr int DAX_ROOM_MOVIES_MAX = 64;
constexpr int DAX_ROOM_RANGE_LIMIT = 1000000;
constexpr uint32_t DAX_ROOM_FLASH_PERIOD = 500;

class CDaxWindow : public CxGameWindow, public CxEventListener, public CxEventCreator, public CCommandHandler
{
public:
    // Usable by MakeRoom: the game registers plain rooms of this class.
    explicit CDaxWindow(CxGameApp* app = nullptr);
    // A room still loaded is taken down without its scripts.
    ~CDaxWindow() override;

    // --- the life cycle (CxGameWindow) ----------------------------------------------------------
    int BeforeLoad() override { return 0; }
    // Entering, after the previous room has left. PIM_OK, or the first
    // failure of its pictures, movies and font (each reported by its own
    // loader); the room is usable either way.
    int Load() override;
    // The fade-in, unless this is the first room since the program started.
    int Start() override;
    // The fade-out, unless the game is quitting.
    int Stop() override;
    int Unload() override;
    int AfterLeave() override { return 0; }
    // The idle time-outs, an always-dirty score, then the cleaner.
    int Update() override;
    int QueryQuit() override { return 1; }
    void OnDeviceRestored() override {}
    void OnDeviceLost() override {}

    // --- the room's own, in this order ----------------------------------------------------------
    // Reads "<Room>/<Room>.ini" into the options, once, after the room got
    // its name. A missing or unreadable file is traced (never reported) and
    // leaves every default. PIM_OK or the reader's code.
    virtual int LoadOptions();
    // A button of the room (its own or a borrowed global one) was clicked;
    // heard before the button runs its click text.
    virtual void OnButton(const char* name) { (void)name; }
    // Every other notice of the room's children. Non-zero: taken.
    virtual int OnSpriteNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second);
    virtual void SetState(int state) { m_state = state; }
    virtual void OnNextState() {}
    // Runs time-out script `number` (from 1) when there is one.
    virtual void RunTimeOut(int number);
    // Taken only within the range.
    virtual void SetDifficulty(int difficulty);
    virtual void SetLevel(int level);
    // Where a game room starts its current level.
    virtual void StartLevel() {}
    virtual void LevelWon();
    virtual void RestartLevel();
    // For buttons and dialogs that end a level.
    virtual void DoLevelWon() { LevelWon(); }
    virtual void DoRestartLevel() { RestartLevel(); }
    // The value shown as "%d", then every open milestone it reached.
    virtual void SetScore(int score);
    virtual void OnMilestone(int index) { (void)index; }

    // --- input ------------------------------------------------------------------------------------
    // Any input at all (the application calls it for every key, click and
    // pointer move, even those a button takes): the idle wait starts over
    // and the idle count is cleared (unless the room turned that off).
    void NoteInput();
    // Keys reaching the room (nothing has the focus, or the focus passed
    // them on) end here.
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    void OnLButtonDblClk(uint32_t buttons, CxPoint point) override;
    // A button's click notice becomes OnButton; the rest OnSpriteNotify.
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;

    // --- pausing ------------------------------------------------------------------------------------
    // The room's timers and its idle wait, counted.
    void Pause() override;
    void Resume() override;

    // --- events -----------------------------------------------------------------------------------
    int OnEvent(PimChannelId channel, CxEvent* event) override;
    // A command for the room when `category` is its name or "Room" (without
    // regard to case) and `name` is not the placeholder "TODO".
    CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) override;
    // Runs a room command; nothing while the room is not loaded, or for a
    // name that is none.
    void OnCommand(const char* name, const CxEventArgs& args) override;
    // A sequence file posted on the room's channel, read with the room's
    // interpolator and the room as the creator of its commands.
    int PostSequence(const char* file, bool chain = false);

    // --- what the commands do ---------------------------------------------------------------------
    // A new background (a data name), drawn at once.
    int LoadSurface(const char* fileName);
    // Stop the wait, clear the count, start it again with the idle time.
    void StartIdleTimer() { m_idle.Start(); }

    // --- what it holds ------------------------------------------------------------------------------
    bool IsLoaded() const { return m_loaded; }
    CxOptions& GetOptions() { return m_options; }
    const char* GetActivityPath() const { return m_activityPath.GetText(); }
    // Takes effect at the next Load.
    void SetActivityPath(const char* path) { m_activityPath = path ? path : ""; }
    const CxInterpolator& GetInterpolator() const { return m_interpolator; }
    // For a room that binds variables of its own for its sequences (they go at Unload).
    CxInterpolator& GetInterpolator() { return m_interpolator; }
    PimChannelId GetChannel() const { return m_channel; }
    // The room's own buttons; the global ones it borrowed are found first.
    const DaxButtonList& GetButtons() const { return m_buttons; }
    CDaxButton* FindButton(const char* name) const;
    // Global buttons attached to this room now.
    size_t GetBorrowedButtonCount() const;
    size_t GetMovieCount() const { return m_movies.GetCount(); }
    CDaxRoomScore& GetScore() { return m_score; }
    const CDaxRoomScore& GetScore() const { return m_score; }
    CDaxRoomIdle& GetIdle() { return m_idle; }
    const CDaxRoomIdle& GetIdle() const { return m_idle; }
    int GetScoreValue() const { return m_score.GetValue(); }
    int GetLevel() const { return m_level; }
    int GetDifficulty() const { return m_difficulty; }
    int GetState() const { return m_state; }
    // Ranges are not checked against the current value; a minimum above
    // the maximum is not taken.
    void SetLevelRange(int minimum, int maximum);
    void SetDifficultyRange(int minimum, int maximum);
    int GetMinLevel() const { return m_minLevel; }
    int GetMaxLevel() const { return m_maxLevel; }
    int GetMinDifficulty() const { return m_minDifficulty; }
    int GetMaxDifficulty() const { return m_maxDifficulty; }
    CxGameApp* GetApp() const;

    // Whether a room has started since the program did (the first one
    // plays no fade-in); tests begin each run afresh.
    static bool HasAnyRoomStarted() { return s_anyRoomStarted; }
    static void ResetFirstRoom() { s_anyRoomStarted = false; }

private:
    // Load's steps.
    void MountActivityPath();
    void RegisterCategories();
    int ReadBackground();
    void ReadSize();
    void BorrowGlobalButtons();
    void MoveBorrowedButton(CDaxButton& button);
    int LoadAmbientMovies();
    void ReadRanges();
    // Unload's steps; the scripts are left out when the room is destroyed.
    void TakeDown(bool runScripts);
    void ReturnGlobalButtons();
    // The picture of a data name as the room's background, the room taking
    // its size; a missing file is traced and leaves the room as it was.
    int TakeBackground(const char* fileName);
    // Plays a fade movie (a game path) modally with the room paused, when it exists.
    void PlayFade(const char* fileName);
    // Runs a Lua file through the file systems when it exists.
    static void RunScriptFile(const char* fileName);
    CxSize ScreenSize() const;
    void ReadRange(const char* minKey, const char* maxKey, int& minimum, int& maximum);

    CxGameApp* m_app;
    CxOptions m_options;
    CxString m_activityPath;
    std::unique_ptr<CxFileSystem> m_activityFs;
    CxInterpolator m_interpolator;
    PimChannelId m_channel = 0;
    // The categories registered for this visit ("" when none).
    CxString m_nameCategory;
    bool m_roomCategory = false;
    DaxButtonList m_buttons;
    CxLinkedList<CxMovie*> m_movies;
    // Global buttons this visit moved, with the place they go back to.
    std::vector<std::pair<CDaxButton*, CxPoint>> m_movedButtons;
    CDaxRoomScore m_score;
    CDaxRoomIdle m_idle;
    int m_level = 0;
    int m_minLevel = 0;
    int m_maxLevel = 9;
    int m_difficulty = 0;
    int m_minDifficulty = 0;
    int m_maxDifficulty = 2;
    int m_state = -1;
    bool m_loaded = false;

    static inline bool s_anyRoomStarted = false;
};
