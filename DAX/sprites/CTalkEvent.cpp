#include "DAX/sprites/CTalkEvent.h"

#include "PIM/core/PimTrace.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/sprites/CDaxCharacter.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/sound/CxWave.h"

CTalkEvent::CTalkEvent(CDaxCharacter& character, int state, uint32_t flags)
    : CDaxSpriteEvent(character, flags), m_talkState(static_cast<int16_t>(state))
{
}

CTalkEvent::~CTalkEvent()
{
    EndOwnSpeech();
    for (CxWave* wave : m_waves)
        delete wave;
}

CTalkEvent* CTalkEvent::Make(CDaxCharacter& character, const CxEventArgs& args, size_t first, size_t count)
{
    const int state = PimParseInt(args.Get(0)->GetText());
    if (state != -1 && (state < 0 || state >= character.GetStateCount())) {
        character.SetError(PIM_ERR_BAD_ARG, "Talk: character '%s' has no state %d (it has %d)", character.GetName(),
                           state, character.GetStateCount());
        return nullptr;
    }
    auto* event = new CTalkEvent(character, state);
    if (!event)
        return nullptr;
    if (event->GetTargetHandle() == 0 || !event->m_waves.Resize(count)) {
        delete event;
        return nullptr;
    }
    for (size_t i = 0; i < count; ++i) {
        auto* wave = new CxWave;
        if (!wave) {
            delete event;
            return nullptr;
        }
        wave->Load(DaxServices().Interpolate(args.Get(first + i)->GetText()).GetText());
        *event->m_waves.Get(i) = wave;
    }
    return event;
}

CTalkEvent* CTalkEvent::CreateTalk(CDaxCharacter& character, const CxEventArgs& args)
{
    if (args.GetCount() < 2) {
        character.SetError(PIM_ERR_BAD_ARG, "Talk: character '%s' was given no file to say", character.GetName());
        return nullptr;
    }
    return Make(character, args, 1, args.GetCount() - 1);
}

CTalkEvent* CTalkEvent::CreateRandomTalk(CDaxCharacter& character, const CxEventArgs& args)
{
    if (args.GetCount() < 2) {
        character.SetError(PIM_ERR_BAD_ARG, "RandomTalk: character '%s' was given no file to say",
                           character.GetName());
        return nullptr;
    }
    const size_t files = args.GetCount() - 1;
    const size_t chosen = 1 + static_cast<unsigned>(DaxServices().Random()) % files;
    return Make(character, args, chosen, 1);
}

CxWave* CTalkEvent::GetWave(size_t index) const
{
    CxWave* const* slot = m_waves.Get(index);
    return slot ? *slot : nullptr;
}

CDaxCharacter* CTalkEvent::GetCharacter() const
{
    return dynamic_cast<CDaxCharacter*>(GetTarget());
}

void CTalkEvent::EndOwnSpeech()
{
    CDaxLips* lips = CDaxLips::FromHandle(m_speech.lips);
    if (lips && lips->IsSpeaking(m_speech.speech))
        lips->StopSpeaking();
    m_speech = ST_DAX_SPEECH();
}

void CTalkEvent::Reset()
{
    EndOwnSpeech();
    CDaxSpriteEvent::Reset();
}

void CTalkEvent::Start()
{
    SetState(kStarted);
    EndOwnSpeech();
    CDaxCharacter* character = GetCharacter();
    // A character whose room has been left since the talk was asked for
    // (its states are gone) has nothing to say: the talk ends quietly.
    if (character && character->GetStateCount() == 0 && character->WasUnloaded()) {
        Trace("%s has left; its talk is dropped\n", character->GetName());
        return;
    }
    if (character)
        character->TalkList(m_waves.GetData(), m_waves.GetCount(), m_talkState, &m_speech);
}

void CTalkEvent::Stop()
{
    if (CDaxCharacter* character = GetCharacter())
        character->Stop();
    EndOwnSpeech();
    ClearState(kStarted);
}

bool CTalkEvent::IsDone() const
{
    const CDaxLips* lips = CDaxLips::FromHandle(m_speech.lips);
    return !lips || !lips->IsSpeaking(m_speech.speech);
}

bool CTalkEvent::IsPaused() const
{
    const CDaxCharacter* character = GetCharacter();
    return character ? character->GetPauseCount() > 0 : CxEvent::IsPaused();
}

void CTalkEvent::OnDone()
{
    CDaxCharacter* character = GetCharacter();
    if (!character)
        return;
    // A talk asked for later took the character over (its speech replaced
    // this one's): ending it is that talk's business, not this one's.
    const CDaxLips* lips = CDaxLips::FromHandle(m_speech.lips);
    if (lips && lips->IsSpeaking() && !lips->IsSpeaking(m_speech.speech))
        return;
    character->Stop();
}
