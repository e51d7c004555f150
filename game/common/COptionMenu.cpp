#include "game/common/COptionMenu.h"

#include "DAX/app/CDaxApp.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "DAX/base/CDaxServices.h"
#include "PIM/graphics/PimDrawParams.h"
#include "game/common/CGameServices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr const char* kSection = "General";
constexpr int32_t kKnobZ = 1100;

} // namespace

COptionMenu::COptionMenu(CxGameApp* app) : CGameRoom(app) {}

COptionMenu::~COptionMenu()
{
    ReleaseKnobs();
}

int COptionMenu::VolumeAt(int32_t x, const ST_TRACK& track)
{
    if (!track.CanDrag())
        return 0;
    const double share = static_cast<double>(track.right - x) / (track.right - track.left);
    return std::clamp(GAME_VOLUME_MAX - static_cast<int>(share * GAME_VOLUME_MAX), 0, GAME_VOLUME_MAX);
}

int32_t COptionMenu::KnobX(int volume, const ST_TRACK& track)
{
    if (!track.CanDrag())
        return track.left;
    const double share = static_cast<double>(std::clamp(volume, 0, GAME_VOLUME_MAX)) / GAME_VOLUME_MAX;
    return track.left + static_cast<int32_t>(share * (static_cast<double>(track.right) - track.left));
}

COptionMenu::ST_TRACK COptionMenu::ReadTrack(const char* posKey, const char* yKey)
{
    ST_TRACK track;
    GetOptions().GetPoint(kSection, posKey, &track.left, &track.right, 0, 0);
    track.y = GetOptions().GetInt(kSection, yKey, GAME_SLIDER_DEFAULT_Y);
    return track;
}

void COptionMenu::PlaceKnob(CxSprite& knob, const char* fileKey, const ST_TRACK& track, int volume)
{
    const CxString file = GetOptions().GetString(kSection, fileKey, "");
    if (file.IsEmpty() || knob.Load(file.GetText()) != PIM_OK)
        return;
    CxDrawSurface* surface = knob.GetSurface();
    if (surface && surface->GetDepth() == 32) {
        knob.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    } else if (surface) {
        knob.SetDrawMode(PIM_DRAW_COPY);
        knob.SetTransparentColour(surface->GetPixel(0, 0));
    }
    knob.SetZ(kKnobZ);
    AddChild(&knob);
    knob.MoveTo(KnobX(volume, track), track.y, PIM_ANCHOR_CENTRE);
    knob.Show();
}

int COptionMenu::Load()
{
    const int code = CGameRoom::Load();
    const CxString background = GetOptions().GetString(kSection, "Background", "");
    if (!background.IsEmpty())
        LoadSurface(background.GetText());
    m_music = ReadTrack("MusicSliderPos", "MusicSliderY");
    m_master = ReadTrack("MasterSliderPos", "MasterSliderY");
    CDaxServices& services = DaxServices();
    PlaceKnob(m_musicKnob, "MusicSlider", m_music, services.GetMusic().GetVolume());
    PlaceKnob(m_masterKnob, "MasterSlider", m_master, services.GetMasterVolume());
    m_dragged = ESlider::None;
    return code;
}

bool COptionMenu::Grabs(CxSprite& knob, const ST_TRACK& track, CxPoint point)
{
    return track.CanDrag() && knob.GetSurface() && knob.IsShown() && knob.GetRect().Contains(point);
}

void COptionMenu::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    NoteInput();
    if (Grabs(m_masterKnob, m_master, point))
        m_dragged = ESlider::Master;
    else if (Grabs(m_musicKnob, m_music, point))
        m_dragged = ESlider::Music;
    else
        CGameRoom::OnLButtonDown(buttons, point);
}

void COptionMenu::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    m_dragged = ESlider::None;
    CGameRoom::OnLButtonUp(buttons, point);
}

void COptionMenu::OnMouseMove(uint32_t buttons, CxPoint point)
{
    CGameRoom::OnMouseMove(buttons, point);
    if (m_dragged == ESlider::None)
        return;
    const ST_TRACK& track = GetTrack(m_dragged);
    if (!track.CanDrag() || point.x < track.left || point.x > track.right)
        return;
    CxSprite& knob = GetKnob(m_dragged);
    knob.MoveTo(point.x, track.y, PIM_ANCHOR_CENTRE);
    SetVolume(m_dragged, VolumeAt(point.x, track));
}

void COptionMenu::SetVolume(ESlider slider, int volume)
{
    CPlayerStore& players = GameServices().GetPlayers();
    CDaxServices& services = DaxServices();
    if (slider == ESlider::Music) {
        players.SetGlobalInt("MusicVolume", volume);
        services.GetMusic().SetVolume(volume);
    } else {
        players.SetGlobalInt("MasterVolume", volume);
        services.SetMasterVolume(volume);
    }
}

void COptionMenu::OnButton(const char* name)
{
    if (name && std::strcmp(name, "Credits") == 0) {
        CDaxMusic& music = DaxServices().GetMusic();
        music.Pause();
        if (auto* app = dynamic_cast<CDaxApp*>(GetApp()))
            app->ShowCredits();
        music.Resume();
        return;
    }
    CGameRoom::OnButton(name);
}

void COptionMenu::OnBack()
{
    if (CxGameApp* app = GetApp())
        app->GotoRoom("Title");
}

int COptionMenu::Unload()
{
    m_dragged = ESlider::None;
    ReleaseKnobs();
    return CGameRoom::Unload();
}

void COptionMenu::ReleaseKnobs()
{
    for (CxSprite* knob : {&m_musicKnob, &m_masterKnob}) {
        if (knob->GetParent())
            RemoveChild(knob);
        knob->Release();
    }
}
