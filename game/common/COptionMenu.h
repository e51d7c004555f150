#pragma once
// The options room ("OptionsMenu"): two knobs on two tracks, one for the
// music's volume and one for all sounds (the master volume), and a
// "Credits" button that rolls the game's credits with the music paused.
// Escape (and "Back") go to the title without asking.
//
//     [General]
//     Background=OptionsMenu/backdrop.tga
//     MusicSliderPos=250, 650     ; the x of the track's left and right ends
//     MusicSliderY=200            ; the track's y (default 100)
//     MusicSlider=OptionsMenu/knob_music.tga
//     MasterSliderPos=250, 650
//     MasterSliderY=350
//     MasterSlider=OptionsMenu/knob_master.tga
//
// A volume runs 0..127 from the left end to the right. A track whose right
// end is not right of its left end cannot be dragged (there is no length to
// divide by); a missing knob picture leaves nothing to drag. The music's
// volume goes into the store's "_GLOBAL_" section in memory at once (the
// next save writes it), so does the master volume.

#include "PIM/display/CxSprite.h"
#include "game/common/CGameRoom.h"

constexpr int GAME_VOLUME_MAX = 127;
constexpr int GAME_SLIDER_DEFAULT_Y = 100;

class COptionMenu : public CGameRoom
{
public:
    enum class ESlider { None, Music, Master };

    struct ST_TRACK
    {
        int32_t left = 0;
        int32_t right = 0;
        int32_t y = GAME_SLIDER_DEFAULT_Y;
        // Only a track with a length can be dragged along.
        bool CanDrag() const { return right > left; }
    };

    explicit COptionMenu(CxGameApp* app);
    ~COptionMenu() override;

    int Load() override;
    int Unload() override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnButton(const char* name) override;
    void OnBack() override;

    // The volume for a knob at `x` on the track (x within it): 0 at the
    // left end, 127 at the right one.
    static int VolumeAt(int32_t x, const ST_TRACK& track);
    // Where the knob of `volume` (held in 0..127) sits on the track.
    static int32_t KnobX(int volume, const ST_TRACK& track);

    ESlider GetDragged() const { return m_dragged; }
    CxSprite& GetKnob(ESlider slider) { return slider == ESlider::Master ? m_masterKnob : m_musicKnob; }
    const ST_TRACK& GetTrack(ESlider slider) const { return slider == ESlider::Master ? m_master : m_music; }

private:
    ST_TRACK ReadTrack(const char* posKey, const char* yKey);
    void PlaceKnob(CxSprite& knob, const char* fileKey, const ST_TRACK& track, int volume);
    void SetVolume(ESlider slider, int volume);
    bool Grabs(CxSprite& knob, const ST_TRACK& track, CxPoint point);
    void ReleaseKnobs();

    CxSprite m_musicKnob;
    CxSprite m_masterKnob;
    ST_TRACK m_music;
    ST_TRACK m_master;
    ESlider m_dragged = ESlider::None;
};
