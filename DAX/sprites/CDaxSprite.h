#pragma once
// The scripted sprite: nearly every animated thing of the game (characters,
// props, hub buttons, mini-game pieces). It has numbered states read from a
// sprite description file (DaxSpriteFile.h); each state has its picture or
// movie, its frames, its rate or per-frame positions and maybe a sound, and
// playing a state hands its actions to the sprite's own animation.
//
// States load when the sprite loads (all of them, or the preload list) or
// on first use; a state loaded later reads the description file again
// through the file systems mounted at that time. A state that failed to load
// stays unloaded and is not tried again on its own (SetState and Play then
// fail with its code); the other states work.
//
// Rooms, sequences and scripts drive the sprite by its name: it registers
// the name as an event category, makes a play-once event for "PlayOnce"
// (CDaxSpritePlayOnceEvent) and a command event for any other command, and
// runs the commands ("Erase", "Paint", "LoadState", "UnLoadState", "Stop",
// "Kill", "PlayOnceAndContinue", "PlayInfinite", "SetState"). Events hold
// the sprite's checked handle (PimSpriteHandles.h), never its address: an
// event whose sprite is gone does nothing and is done.
//
// "Kill" releases the sprite (hidden, detached, its states let go) and never
// deletes it: a sprite killed by a sequence it is playing is still whole
// when the sequence returns. Its owner deletes it.
//
// Pausing nests: the first Pause freezes the animation and the state's
// sound, the matching last Resume lets them go on.

#include "DAX/base/CDaxSoundCache.h"
#include "PIM/app/CxEvent.h"
#include "PIM/core/CxArray.h"
#include "PIM/core/CxPauseResume.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxSprite.h"
#include "PIM/files/CxOptions.h"

class CSuperState;
class CxWave;
class CxDrawSurface;

class CDaxSprite : public CxSprite, public CxPauseResume, public CxEventCreator, public CCommandHandler
{
public:
    // Hit mask 0x10008001.
    CDaxSprite();
    ~CDaxSprite() override;

    // --- states ---------------------------------------------------------------------------
    // Reads the description file and loads its states: the caller's list,
    // else the file's "PreLoadList", else every state; then state 0.
    // PIM_OK, or the first error met (9 the file does not open, 13 no usable
    // state count, 2 a state's picture did not load, 16 a listed state that
    // is no state); what did load works. Hides CxSprite::Load on purpose: a
    // scripted sprite's pictures are its states'.
    int Load(const char* fileName, const CxOptions::IntList* preload = nullptr);
    // Unregisters the name (while this sprite owns it), lets go of every
    // state and of the shared movie surface.
    virtual void UnloadStates();
    // Stores `state` (which this sprite then holds) at `number`, letting go
    // of what was there; 16 for a number that is no state (the state is let
    // go of).
    virtual int SetSuperState(CSuperState* state, int number);
    // Loads state `number` from `store`, or from the description file read
    // again when null. 16 for a number that is no state.
    virtual int LoadState(int number, CxOptions* store = nullptr);
    // Lets go of one state; the current one's picture and animation are
    // taken off the sprite first. 16 for a number that is no state.
    virtual int UnloadState(int number);
    // Shares every state of `other` (loading those it lacks) and copies its
    // look and settings; this sprite then animates on its own.
    virtual int CopyStatesFrom(CDaxSprite& other);
    // Called at the end of Load with the description file; for subclasses.
    virtual void ReadExtraOptions(CxOptions& store);

    // Selects state `number` taken modulo the state count (-1 is the last),
    // loading it when needed; frame 0, or the frame it was at with the
    // keep-frame setting. Nothing (PIM_OK) without states.
    virtual int SetState(int number);
    int GetState() const { return m_current; }
    int GetStateCount() const { return static_cast<int>(m_states.GetCount()); }
    // Shows state `number` (0 .. count - 1), loading it when needed.
    virtual int ActivateState(int number);
    // Null while not loaded (or out of range).
    CSuperState* GetSuperState(int number) const;
    bool IsStateLoaded(int number) const { return GetSuperState(number) != nullptr; }

    // --- playing --------------------------------------------------------------------------
    virtual int PlayOnce(int state);
    virtual int PlayInfinite(int state);
    // Stops, selects `state` (-1: stay in the current one) and starts its
    // sound (unless manual), then plays its actions from the first.
    virtual int Play(int state);
    // Stops the state's sound (with auto-stop, unless manual), then the
    // animation.
    virtual void Stop();
    virtual bool IsPlaying() const { return m_animation.IsPlaying(); }
    virtual bool IsStopped() const { return !m_animation.IsPlaying(); }
    CxAnimation& GetAnimation() { return m_animation; }

    void Pause() override;
    void Resume() override;
    int GetPauseCount() const { return m_pauseCount; }

    // Hidden, detached, stopped and every state let go of ("Kill").
    void Release() override;

    // --- settings -------------------------------------------------------------------------
    void SetKeepFrame(bool on) { m_keepFrame = on; }
    bool GetKeepFrame() const { return m_keepFrame; }
    void SetManualStateSounds(bool on) { m_manualSounds = on; }
    bool GetManualStateSounds() const { return m_manualSounds; }
    void SetAutoStopStateSounds(bool on) { m_autoStopSounds = on; }
    bool GetAutoStopStateSounds() const { return m_autoStopSounds; }
    void SetControlId(int id) { m_controlId = id; }
    int GetControlId() const { return m_controlId; }
    bool AreAllStatesMovies() const { return m_allMovies; }
    bool HasSharedStates() const { return m_sharedStates; }
    const char* GetFileName() const { return m_fileName.GetText(); }
    // The event category this sprite registered ("" for none).
    const char* GetRegisteredName() const { return m_registeredName.GetText(); }
    // True once UnloadStates let go of the states a Load had read, until the
    // next Load: events asked for before then find nothing to play.
    bool WasUnloaded() const { return m_unloaded; }
    // The surface every movie state is drawn into when all states are
    // movies; null otherwise.
    CxDrawSurface* GetMovieSurface() const { return m_movieSurface; }

    // --- events and commands ----------------------------------------------------------------
    // True for "this" and for the registered name, without regard to case.
    bool IsAddressedBy(const char* category) const;
    CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) override;
    void OnCommand(const char* name, const CxEventArgs& args) override;
    // The sprite's checked handle (0 when memory ran out), and back.
    uint32_t GetHandle();
    static CDaxSprite* FromHandle(uint32_t handle);
    // One of the arguments from `first` on, chosen by DaxServices().Random()
    // and read as a number; `fallback` when there is none.
    static int ChooseState(const CxEventArgs& args, size_t first, int fallback);

protected:
    // The colour key drawing compares with the pixel at `point` of
    // `surface`; false outside it (or without a surface).
    static bool KeyColourAt(CxDrawSurface* surface, CxPoint point, uint32_t& key);
    // 16, reported, unless 0 <= number < the state count.
    int CheckStateNumber(int number, const char* operation);

private:
    int LoadFrom(CxOptions& store, const CxOptions::IntList* preload);
    int LoadListed(CxOptions& store, const CxOptions::IntList& list);
    // Makes one surface for all the movie states (every state loaded is one).
    void ShareMovieSurface();
    // Shows `state`'s picture, which stays the state's.
    void ShowStatePicture(CSuperState& state);
    // Stops and takes the current state's picture and actions off the sprite.
    void DetachCurrentState();
    // The current state's sound, or null.
    CxWave* CurrentSound() const;

    CxArray<CSuperState*> m_states;
    // States whose load failed, not tried again unless asked by name.
    CxArray<bool> m_failed;
    CxAnimation m_animation;
    CxString m_fileName;
    CxString m_registeredName;
    int m_controlId = 0;
    int m_current = 0;
    bool m_sharedStates = false;
    bool m_unloaded = false;
    bool m_keepFrame = false;
    bool m_allMovies = true;
    bool m_manualSounds = false;
    bool m_autoStopSounds = true;
    // Every movie state is drawn into this when all states are movies.
    CxDrawSurface* m_movieSurface = nullptr;
    uint32_t m_movieFill = 0;
    int m_pauseCount = 0;
    // The sound the first Pause froze, for the last Resume to let go on.
    CDaxSound m_pausedSound;
};
