#include "DAX/sprites/CDaxSprite.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxCategories.h"
#include "DAX/sprites/CDaxSpriteCommandEvent.h"
#include "DAX/sprites/CDaxSpritePlayOnceEvent.h"
#include "DAX/sprites/CSuperState.h"
#include "DAX/sprites/DaxSpriteFile.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimSpriteHandles.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/sound/CxWave.h"

#include <algorithm>

namespace {

constexpr uint32_t kHitMask = 0x10008001u;
// "For ever", as the animation counts loops.
constexpr int kInfiniteLoops = 999999999;

int TrueModulo(int number, int count)
{
    const int rest = number % count;
    return rest < 0 ? rest + count : rest;
}

const char* Argument(const CxEventArgs& args, size_t index)
{
    const CxString* text = args.Get(index);
    return text ? text->GetText() : "";
}

bool Is(const char* name, const char* command)
{
    return PimStrEqual(name, command, true);
}

} // namespace

CDaxSprite::CDaxSprite()
{
    m_hitMask = kHitMask;
    m_animation.SetDisplayObject(this);
}

CDaxSprite::~CDaxSprite()
{
    // Handles and hooks let go first, so that nothing finds a sprite half gone.
    ForgetSelf();
    UnloadStates();
}

// --- states ----------------------------------------------------------------------------------

int CDaxSprite::Load(const char* fileName, const CxOptions::IntList* preload)
{
    UnloadStates();
    m_sharedStates = false;
    m_fileName = fileName ? fileName : "";
    CxOptions store;
    if (m_fileName.IsEmpty() || store.Load(m_fileName.GetText()) != PIM_OK)
        return SetError(PIM_ERR_NOT_FOUND, "Could not open %s", m_fileName.GetText());
    return LoadFrom(store, preload);
}

int CDaxSprite::LoadFrom(CxOptions& store, const CxOptions::IntList* preload)
{
    ST_DAX_SPRITE_HEADER header;
    header.name = GetName();
    header.controlId = m_controlId;
    header.autoStopSounds = m_autoStopSounds;
    header.manualSounds = m_manualSounds;
    header.maskOnly = GetPixelHitTest();
    ClearError();
    m_unloaded = false;
    const int read = ReadDaxSpriteHeader(store, header, *this, preload == nullptr);
    // The reader reports what it leaves out of the preload list and goes on.
    int first = read != PIM_OK ? read : GetError();
    auto note = [&first](int code) {
        if (first == PIM_OK)
            first = code;
    };

    SetName(header.name.GetText());
    m_controlId = header.controlId;
    if (header.autoRegister && !header.name.IsEmpty()) {
        const CxString category = header.name.Left(static_cast<int>(PIM_EVENT_CATEGORY_NAME_MAX));
        if (DaxRegisterCategory(category.GetText(), this) == PIM_OK)
            m_registeredName = category;
    }
    m_autoStopSounds = header.autoStopSounds;
    m_manualSounds = header.manualSounds;
    if (header.position.x != -1 || header.position.y != -1)
        SetPosition(header.position, PIM_ANCHOR_TOP_LEFT);
    SetPixelHitTest(header.maskOnly);
    if (read != PIM_OK)
        return read;

    const auto count = static_cast<size_t>(header.numStates);
    if (!m_states.Resize(count) || !m_failed.Resize(count)) {
        m_states.Clear();
        m_failed.Clear();
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the %d states of %s", header.numStates,
                        m_fileName.GetText());
    }
    m_allMovies = true;
    const CxOptions::IntList& list = preload ? *preload : header.preload;
    if (!list.IsEmpty()) {
        m_allMovies = false;
        note(LoadListed(store, list));
    } else {
        for (int number = 0; number < header.numStates; ++number)
            note(LoadState(number, &store));
    }
    if (m_allMovies)
        ShareMovieSurface();

    note(SetState(0));
    if (CxDrawSurface* picture = GetSurface()) {
        uint32_t key = 0;
        if (picture->GetDepth() == 32)
            SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
        else if (header.hasMaskPosition && KeyColourAt(picture, header.maskPosition, key))
            SetTransparentColour(key);
    }
    ReadExtraOptions(store);
    return first;
}

int CDaxSprite::LoadListed(CxOptions& store, const CxOptions::IntList& list)
{
    int first = PIM_OK;
    for (auto* node = list.GetFirst(); node; node = node->GetNext()) {
        const int number = node->GetElement();
        int code = CheckStateNumber(number, "Load");
        if (code == PIM_OK && !IsStateLoaded(number))
            code = LoadState(number, &store);
        if (first == PIM_OK)
            first = code;
    }
    return first;
}

void CDaxSprite::ReadExtraOptions(CxOptions&)
{
}

void CDaxSprite::UnloadStates()
{
    if (!m_registeredName.IsEmpty()) {
        DaxUnregisterCategory(m_registeredName.GetText(), this);
        m_registeredName = "";
    }
    DetachCurrentState();
    m_unloaded = m_unloaded || m_states.GetCount() > 0;
    for (CSuperState*& state : m_states) {
        CSuperState::LetGo(state);
        state = nullptr;
    }
    m_states.Clear();
    m_failed.Clear();
    delete m_movieSurface;
    m_movieSurface = nullptr;
    m_current = 0;
    m_allMovies = true;
    m_sharedStates = false;
}

int CDaxSprite::CheckStateNumber(int number, const char* operation)
{
    const int count = GetStateCount();
    if (number >= 0 && number < count)
        return PIM_OK;
    return SetError(PIM_ERR_BAD_ARG, "%s: sprite '%s' has no state %d (it has %d)", operation, GetName(), number,
                    count);
}

CSuperState* CDaxSprite::GetSuperState(int number) const
{
    if (number < 0)
        return nullptr;
    CSuperState* const* slot = m_states.Get(static_cast<size_t>(number));
    return slot ? *slot : nullptr;
}

int CDaxSprite::SetSuperState(CSuperState* state, int number)
{
    if (CheckStateNumber(number, "SetSuperState") != PIM_OK) {
        CSuperState::LetGo(state);
        return PIM_ERR_BAD_ARG;
    }
    CSuperState*& slot = *m_states.Get(static_cast<size_t>(number));
    if (slot == state) {
        CSuperState::LetGo(state); // this sprite already holds it
        return PIM_OK;
    }
    const bool current = number == m_current && slot;
    if (current)
        DetachCurrentState();
    CSuperState::LetGo(slot);
    slot = state;
    if (state)
        *m_failed.Get(static_cast<size_t>(number)) = false;
    return current && state ? ActivateState(number) : PIM_OK;
}

int CDaxSprite::LoadState(int number, CxOptions* store)
{
    if (CheckStateNumber(number, "LoadState") != PIM_OK)
        return PIM_ERR_BAD_ARG;
    CxOptions reopened;
    if (!store) {
        // Through the file systems mounted now, which need not be those of Load.
        if (m_fileName.IsEmpty() || reopened.Load(m_fileName.GetText()) != PIM_OK)
            return SetError(PIM_ERR_NOT_FOUND, "Could not open %s", m_fileName.GetText());
        store = &reopened;
    }
    auto* state = new CSuperState;
    if (!state)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CSuperState");
    const auto movieFlags = static_cast<uint32_t>(store->GetInt(DAX_SPRITE_SECTION, "MovieDriverFlags", 0));
    const int code = state->Build(*store, number, movieFlags, *this);
    if (code != PIM_OK) {
        delete state;
        *m_failed.Get(static_cast<size_t>(number)) = true;
        return code;
    }
    if (!state->IsMovie())
        m_allMovies = false;
    return SetSuperState(state, number);
}

int CDaxSprite::UnloadState(int number)
{
    if (CheckStateNumber(number, "UnloadState") != PIM_OK)
        return PIM_ERR_BAD_ARG;
    CSuperState*& slot = *m_states.Get(static_cast<size_t>(number));
    if (!slot)
        return PIM_OK;
    if (number == m_current)
        DetachCurrentState();
    CSuperState::LetGo(slot);
    slot = nullptr;
    return PIM_OK;
}

void CDaxSprite::DetachCurrentState()
{
    CDaxSprite::Stop();
    m_animation.RemoveAllActions();
    UnloadPicture();
}

void CDaxSprite::ShareMovieSurface()
{
    CxDrawSurface* model = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    for (CSuperState* state : m_states) {
        if (!state)
            continue;
        if (!state->IsMovie() || !state->GetSurface())
            return;
        model = state->GetSurface();
        width = std::max(width, model->GetWidth());
        height = std::max(height, model->GetHeight());
    }
    if (!model)
        return;
    CxDrawSurface* shared = CreateDrawSurface();
    if (!shared || shared->Create(width, height, model->GetDepth(), -1, nullptr, model->GetPixelLayout()) != PIM_OK) {
        // Each movie keeps its own surface then.
        delete shared;
        m_allMovies = false;
        return;
    }
    if (model->GetDepth() <= 8)
        shared->SetPalette(model->GetPalette());
    m_movieFill = model->GetPixel(0, 0);
    m_movieSurface = shared;
    for (CSuperState* state : m_states)
        if (state)
            state->DropMovieSurface();
}

int CDaxSprite::CopyStatesFrom(CDaxSprite& other)
{
    if (&other == this)
        return PIM_OK;
    UnloadStates();
    const auto count = static_cast<size_t>(other.GetStateCount());
    if (!m_states.Resize(count) || !m_failed.Resize(count)) {
        m_states.Clear();
        m_failed.Clear();
        return SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the states of sprite '%s'", other.GetName());
    }
    // The other's description is read once for all the states it lacks.
    CxOptions store;
    bool opened = false;
    for (size_t i = 0; i < count; ++i) {
        const int number = static_cast<int>(i);
        if (!other.IsStateLoaded(number) && !*other.m_failed.Get(i)) {
            if (!opened && !other.m_fileName.IsEmpty())
                opened = store.Load(other.m_fileName.GetText()) == PIM_OK;
            other.LoadState(number, opened ? &store : nullptr);
        }
        CSuperState* state = other.GetSuperState(number);
        if (state)
            state->Hold();
        *m_states.Get(i) = state;
        *m_failed.Get(i) = state == nullptr;
    }
    SetTransparentColour(other.GetTransparentColour());
    SetDrawParams(&other.GetDrawParams());
    m_allMovies = other.m_allMovies;
    m_movieFill = other.m_movieFill;
    int code = PIM_OK;
    if (other.m_movieSurface) {
        m_movieSurface = CreateDrawSurface();
        if (!m_movieSurface || m_movieSurface->CreateCopy(*other.m_movieSurface) != PIM_OK) {
            delete m_movieSurface;
            m_movieSurface = nullptr;
            code = SetError(PIM_ERR_OUT_OF_MEMORY, "No memory for the movie surface of sprite '%s'", other.GetName());
        }
    }
    m_sharedStates = true;
    SetName(other.GetName());
    m_controlId = other.m_controlId;
    SetPixelHitTest(other.GetPixelHitTest());
    m_autoStopSounds = other.m_autoStopSounds;
    m_manualSounds = other.m_manualSounds;
    m_fileName = other.m_fileName;
    const int selected = SetState(0);
    return code != PIM_OK ? code : selected;
}

// --- selecting and showing -------------------------------------------------------------------

int CDaxSprite::SetState(int number)
{
    const int count = GetStateCount();
    if (count == 0)
        return PIM_OK;
    const int frame = GetFrame();
    const int code = ActivateState(TrueModulo(number, count));
    if (code != PIM_OK)
        return code;
    SetFrame(m_keepFrame ? frame : 0);
    return PIM_OK;
}

int CDaxSprite::ActivateState(int number)
{
    if (CheckStateNumber(number, "ActivateState") != PIM_OK)
        return PIM_ERR_BAD_ARG;
    if (!IsStateLoaded(number)) {
        // A state that failed is not tried again behind the caller's back
        // (that would report it on every play); LoadState asks again.
        if (*m_failed.Get(static_cast<size_t>(number)))
            return PIM_ERR_OPEN;
        const int code = LoadState(number, nullptr);
        if (!IsStateLoaded(number))
            return code != PIM_OK ? code : PIM_ERR_OPEN;
    }
    CSuperState& state = *GetSuperState(number);
    const bool shown = IsShown();
    if (shown)
        Hide();
    ShowStatePicture(state);
    m_animation.RemoveAllActions();
    m_animation.AddActions(state.GetActions(), state.GetActionCount());
    m_current = number;
    // A playing sprite goes on with the new state's actions from their start.
    if (m_animation.IsPlaying())
        m_animation.SetCurAction(0, true);
    if (shown)
        Show();
    return PIM_OK;
}

void CDaxSprite::ShowStatePicture(CSuperState& state)
{
    UnloadPicture(); // the old picture was a state's: only forgotten
    m_size = CxSize();
    CxDrawSurface* surface = state.GetSurface();
    if (!surface && state.IsMovie() && m_movieSurface) {
        m_movieSurface->FillRect(m_movieSurface->GetRect(), m_movieFill);
        surface = m_movieSurface;
    }
    if (!surface)
        return;
    m_movie = state.GetFrameSource();
    InstallSurface(surface, m_movie ? 1 : state.GetFrameCount());
    m_shared = true;
}

bool CDaxSprite::KeyColourAt(CxDrawSurface* surface, CxPoint point, uint32_t& key)
{
    if (!surface || point.x < 0 || point.y < 0 || point.x >= surface->GetWidth() || point.y >= surface->GetHeight())
        return false;
    const uint8_t* bits = surface->LockBitsToRead();
    if (!bits)
        return false;
    const uint8_t* row = bits + static_cast<ptrdiff_t>(point.y) * surface->GetPitch();
    const int depth = surface->GetDepth();
    key = depth == 24 ? Read24AsKey(row + static_cast<ptrdiff_t>(point.x) * 3) : ReadPixel(row, point.x, depth);
    surface->UnlockBits();
    return true;
}

// --- playing ---------------------------------------------------------------------------------

int CDaxSprite::PlayOnce(int state)
{
    m_animation.SetLoopCount(1);
    return Play(state);
}

int CDaxSprite::PlayInfinite(int state)
{
    m_animation.SetLoopCount(kInfiniteLoops);
    return Play(state);
}

CxWave* CDaxSprite::CurrentSound() const
{
    const CSuperState* state = GetSuperState(m_current);
    return state ? state->GetSound().Get() : nullptr;
}

int CDaxSprite::Play(int state)
{
    Stop();
    if (GetStateCount() == 0)
        return PIM_OK;
    if (state != -1) {
        const int code = SetState(state);
        if (code != PIM_OK)
            return code;
        if (!m_manualSounds)
            if (CxWave* sound = CurrentSound())
                sound->Play();
    }
    // Nothing to play when the current state never loaded.
    if (!IsStateLoaded(m_current))
        return PIM_ERR_OPEN;
    m_animation.Play(0);
    if (m_pauseCount > 0) {
        // Started while paused: it waits for the last Resume like the rest.
        m_animation.Pause();
        if (CxWave* sound = CurrentSound(); sound && sound->IsStarted()) {
            sound->Pause();
            m_pausedSound = GetSuperState(m_current)->GetSound();
        }
    }
    return PIM_OK;
}

void CDaxSprite::Stop()
{
    if (m_autoStopSounds && !m_manualSounds)
        if (CxWave* sound = CurrentSound())
            sound->Stop();
    m_animation.Stop();
}

void CDaxSprite::Pause()
{
    if (m_pauseCount++ > 0)
        return;
    m_animation.Pause();
    CxWave* sound = CurrentSound();
    if (sound && sound->IsStarted() && !sound->IsPaused()) {
        sound->Pause();
        m_pausedSound = GetSuperState(m_current)->GetSound();
    }
}

void CDaxSprite::Resume()
{
    if (m_pauseCount == 0 || --m_pauseCount > 0)
        return;
    m_animation.Resume();
    if (m_pausedSound) {
        m_pausedSound->Resume();
        m_pausedSound.Reset();
    }
}

void CDaxSprite::Release()
{
    CxSprite::Release();
    UnloadStates();
}

// --- events and commands ---------------------------------------------------------------------

bool CDaxSprite::IsAddressedBy(const char* category) const
{
    if (PimStrEqual(category, "this", true))
        return true;
    return !m_registeredName.IsEmpty() && PimStrEqual(category, m_registeredName.GetText(), true);
}

CxEvent* CDaxSprite::CreateEvent(const char* category, const char* name, const CxEventArgs& args)
{
    if (!IsAddressedBy(category))
        return nullptr;
    if (Is(name, "PlayOnce"))
        return CDaxSpritePlayOnceEvent::Create(*this, ChooseState(args, 0, 0));
    return CDaxSpriteCommandEvent::Create(*this, name, args);
}

void CDaxSprite::OnCommand(const char* name, const CxEventArgs& args)
{
    const size_t count = args.GetCount();
    const int number = PimParseInt(Argument(args, 0));
    if (Is(name, "Erase")) {
        Hide();
    } else if (Is(name, "Paint")) {
        if (count >= 2)
            MoveTo(number, PimParseInt(Argument(args, 1)), PIM_ANCHOR_TOP_LEFT);
        else
            Show();
    } else if (Is(name, "UnLoadState")) {
        if (count >= 1)
            UnloadState(number);
    } else if (Is(name, "LoadState")) {
        if (count >= 1 && !IsStateLoaded(number))
            LoadState(number, nullptr);
    } else if (Is(name, "Stop")) {
        Stop();
    } else if (Is(name, "Kill")) {
        Release();
    } else if (Is(name, "PlayOnceAndContinue")) {
        if (count >= 1)
            PlayOnce(ChooseState(args, 0, 0));
    } else if (Is(name, "PlayInfinite")) {
        if (count >= 1)
            PlayInfinite(ChooseState(args, 0, 0));
    } else if (Is(name, "SetState")) {
        if (count >= 1)
            SetState(number);
    }
}

uint32_t CDaxSprite::GetHandle()
{
    return GetSpriteHandle(this);
}

CDaxSprite* CDaxSprite::FromHandle(uint32_t handle)
{
    return dynamic_cast<CDaxSprite*>(FindSpriteByHandle(handle));
}

int CDaxSprite::ChooseState(const CxEventArgs& args, size_t first, int fallback)
{
    if (first >= args.GetCount())
        return fallback;
    const size_t count = args.GetCount() - first;
    const auto draw = static_cast<unsigned>(DaxServices().Random());
    return PimParseInt(Argument(args, first + draw % count));
}
