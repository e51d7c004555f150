#include "DAX/sprites/CDaxCharacter.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/sprites/CSuperState.h"
#include "DAX/sprites/CTalkEvent.h"
#include "DAX/sprites/DaxSpriteFile.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimSpriteHandles.h"

CDaxCharacter::~CDaxCharacter()
{
    ForgetSelf();
    UnloadStates();
}

void CDaxCharacter::DeleteLips()
{
    for (CDaxLips*& lips : m_lips) {
        delete lips;
        lips = nullptr;
    }
    m_lips.Clear();
}

void CDaxCharacter::UnloadStates()
{
    CDaxSprite::UnloadStates();
    DeleteLips();
}

int CDaxCharacter::CopyStatesFrom(CDaxSprite& other)
{
    const int code = CDaxSprite::CopyStatesFrom(other);
    // The mouths are this character's own: none yet, room for one a state.
    DeleteLips();
    if (!m_lips.Resize(static_cast<size_t>(GetStateCount())))
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the mouths of %s", GetName());
    return code;
}

void CDaxCharacter::ReadExtraOptions(CxOptions& store)
{
    DeleteLips();
    if (!m_lips.Resize(static_cast<size_t>(GetStateCount()))) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the mouths of %s", GetFileName());
        return;
    }
    ST_DAX_STATE_DESC desc;
    for (int state = 0; state < GetStateCount(); ++state) {
        ReadDaxState(store, state, desc);
        if (!desc.lips.IsEmpty())
            CreateLips(desc.lips.GetText(), state, desc.lipPosition.x, desc.lipPosition.y, desc.lipMask);
    }
}

CDaxLips* CDaxCharacter::GetLips(int state) const
{
    if (state < 0)
        return nullptr;
    CDaxLips* const* slot = m_lips.Get(static_cast<size_t>(state));
    return slot ? *slot : nullptr;
}

int CDaxCharacter::CreateLips(const char* fileName, int state, int32_t x, int32_t y, bool mask)
{
    if (state < 0 || static_cast<size_t>(state) >= m_lips.GetCount())
        return SetError(PIM_ERR_BAD_ARG, "bad lips for state %d", state);
    auto* lips = new CDaxLips;
    if (!lips)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate the lips of state %d of %s", state, GetFileName());
    lips->Load(fileName, kLipFrames);
    lips->SetPosition(x, y, PIM_ANCHOR_TOP_LEFT);
    lips->SetParent(this);
    uint32_t key = 0;
    if (mask && KeyColourAt(lips->GetSurface(), CxPoint(0, 0), key))
        lips->SetTransparentColour(key);
    return SetLips(lips, state);
}

int CDaxCharacter::SetLips(CDaxLips* lips, int state)
{
    if (state < 0 || static_cast<size_t>(state) >= m_lips.GetCount()) {
        delete lips;
        return SetError(PIM_ERR_BAD_ARG, "bad lips for state %d", state);
    }
    CDaxLips*& slot = *m_lips.Get(static_cast<size_t>(state));
    if (slot == lips)
        return PIM_OK;
    delete slot;
    slot = lips;
    if (lips) {
        if (state == GetState() && IsStateLoaded(state))
            lips->Show();
        else
            lips->Hide();
    }
    return PIM_OK;
}

int CDaxCharacter::ActivateState(int number)
{
    const int old = GetState();
    const int code = CDaxSprite::ActivateState(number);
    if (code != PIM_OK)
        return code;
    if (old != number) {
        if (CDaxLips* lips = GetLips(old)) {
            lips->StopSpeaking();
            lips->Hide();
        }
    }
    if (CDaxLips* lips = GetLips(number))
        lips->Show();
    return PIM_OK;
}

void CDaxCharacter::Stop()
{
    if (CDaxLips* lips = GetLips(GetState()))
        lips->StopSpeaking();
    CDaxSprite::Stop();
}

void CDaxCharacter::Pause()
{
    const bool first = GetPauseCount() == 0;
    CDaxSprite::Pause();
    if (!first)
        return;
    if (CDaxLips* lips = GetLips(GetState())) {
        lips->Pause();
        m_pausedLips = lips->GetHandle();
    }
}

void CDaxCharacter::Resume()
{
    const bool last = GetPauseCount() == 1;
    CDaxSprite::Resume();
    if (!last)
        return;
    if (CDaxLips* lips = CDaxLips::FromHandle(m_pausedLips))
        lips->Resume();
    m_pausedLips = 0;
}

int CDaxCharacter::TalkSound(const char* soundName, int state)
{
    CDaxSound sound = DaxServices().GetSound(soundName);
    if (!sound)
        return SetError(PIM_ERR_BAD_ARG, "Character '%s' has no sound \"%s\" to say", GetName(),
                        soundName ? soundName : "");
    const int code = TalkWave(sound.Get(), state);
    // Whatever was said before has been stopped by now, so its wave may go.
    if (code == PIM_OK)
        m_talkSound = sound;
    return code;
}

int CDaxCharacter::TalkWave(CxWave* wave, int state)
{
    return TalkList(&wave, 1, state);
}

int CDaxCharacter::TalkList(CxWave* const* waves, size_t count, int state, ST_DAX_SPEECH* speech)
{
    if (speech)
        *speech = ST_DAX_SPEECH();
    if (state == -1)
        state = GetState();
    if (state < 0 || state >= GetStateCount())
        return SetError(PIM_ERR_BAD_ARG, "Character '%s' has no state %d to talk in (it has %d)", GetName(), state,
                        GetStateCount());
    if (!IsStateLoaded(state)) {
        const int code = LoadState(state, nullptr);
        if (!IsStateLoaded(state))
            return code;
    }
    if (GetSuperState(state)->GetFrameCount() == 1)
        PlayOnce(state);
    else
        PlayInfinite(state);
    CDaxLips* lips = GetLips(state);
    if (!lips)
        return SetError(PIM_ERR_BAD_ARG, "No lips defined for this state");
    const uint32_t number = lips->Speak(waves, count);
    if (speech && number != 0) {
        speech->lips = lips->GetHandle();
        speech->speech = number;
    }
    return number != 0 ? PIM_OK : PIM_ERR_OUT_OF_MEMORY;
}

CxEvent* CDaxCharacter::CreateEvent(const char* category, const char* name, const CxEventArgs& args)
{
    if (!IsAddressedBy(category))
        return nullptr;
    if (PimStrEqual(name, "Talk", true))
        return CTalkEvent::CreateTalk(*this, args);
    if (PimStrEqual(name, "RandomTalk", true))
        return CTalkEvent::CreateRandomTalk(*this, args);
    return CDaxSprite::CreateEvent(category, name, args);
}

void CDaxCharacter::OnCommand(const char* name, const CxEventArgs& args)
{
    if (!PimStrEqual(name, "LoadLips", true)) {
        CDaxSprite::OnCommand(name, args);
        return;
    }
    if (args.GetCount() != 5)
        return;
    auto number = [&args](size_t i) { return PimParseInt(args.Get(i)->GetText()); };
    CreateLips(args.Get(0)->GetText(), number(1), number(2), number(3), number(4) != 0);
}

CDaxCharacter* CDaxCharacter::FromHandle(uint32_t handle)
{
    return dynamic_cast<CDaxCharacter*>(FindSpriteByHandle(handle));
}
