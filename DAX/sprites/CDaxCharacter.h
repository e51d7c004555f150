#pragma once
// A talking character: a scripted sprite whose states may each carry a
// mouth (CDaxLips) that moves with what the character says. The mouths come
// from the "Lips", "LipPosition" and "LipMask" keys of each state section,
// or from the "LoadLips" command; only the current state's mouth is shown.
// Sequences make a character speak with "Talk" (state, file, file, ...) and
// "RandomTalk" (state, file, ...: one of them) events (CTalkEvent).
//
// Changing state stops the old state's mouth (it was saying something the
// new picture does not show), so a talk in progress ends there. Pausing the
// character pauses its animation, its state's sound and the mouth of its
// current state.

#include "DAX/base/CDaxSoundCache.h"
#include "DAX/sprites/CDaxLips.h"
#include "DAX/sprites/CDaxSprite.h"

class CDaxCharacter : public CDaxSprite
{
public:
    // A mouth picture is cut into this many frames.
    static constexpr int kLipFrames = 5;

    CDaxCharacter() = default;
    ~CDaxCharacter() override;

    void UnloadStates() override;
    void Stop() override;
    void ReadExtraOptions(CxOptions& store) override;
    // The states are shared; the mouths are not (none after the copy).
    int CopyStatesFrom(CDaxSprite& other) override;
    int ActivateState(int number) override;
    void Pause() override;
    void Resume() override;

    // Makes the mouth of `state` from a picture of kLipFrames frames, at
    // (x, y) in the character's coordinates; with `mask` its pixel (0, 0)
    // is the transparent colour. 16 "bad lips for state %d" for a state that
    // is not one (nothing is made); 1 without memory.
    int CreateLips(const char* fileName, int state, int32_t x, int32_t y, bool mask);
    // Gives `lips` (owned from now on) to `state`, deleting the mouth it
    // had. Refused lips are deleted: 16 "bad lips for state %d".
    int SetLips(CDaxLips* lips, int state);
    // Null for a state without a mouth.
    CDaxLips* GetLips(int state) const;

    // Says the sound of that name (from the game layer's sound cache) in
    // `state` (-1: the current one).
    int TalkSound(const char* soundName, int state);
    // Says `wave` (which must outlive the speech).
    int TalkWave(CxWave* wave, int state);
    // Plays `state` (once for a still picture, for ever otherwise, so the
    // body moves while the mouth talks) and has its mouth say `waves`.
    // 16 for a state that is not one, or "No lips defined for this state"
    // (the body still plays). `speech`, when given, gets what the speech can
    // be found again by (zeros when nothing is said).
    int TalkList(CxWave* const* waves, size_t count, int state, ST_DAX_SPEECH* speech = nullptr);

    CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) override;
    void OnCommand(const char* name, const CxEventArgs& args) override;

    static CDaxCharacter* FromHandle(uint32_t handle);

private:
    void DeleteLips();

    CxArray<CDaxLips*> m_lips;
    // The mouth the first Pause froze (its handle: it may go meanwhile).
    uint32_t m_pausedLips = 0;
    // What TalkSound is saying, kept alive until the next one.
    CDaxSound m_talkSound;
};
