#pragma once
// A room's score: the value, its text on screen (when the room's data
// gives it a font and an area), a bulge that shows the text big for a
// moment and lets it shrink back, and the milestones that tell the room
// when the score first reaches a threshold.
//
//     [Score]
//     Font=common/digits.ttf   ; without it (or when it is missing) no text
//     Area=10, 10, 109, 49     ; left, top, right, bottom, inclusive
//     Color=255, 255, 0        ; red, green, blue 0..255 (fractions dropped)
//     PointSize=30             ; the text's size (the one it had before)
//     AlwaysDirty=0            ; 1: drawn anew every frame
//     [ScoreMilestones]
//     0=100                    ; milestone 0 at a score of 100
//     1=50                     ; milestone 1 at 50: they are kept by threshold
//
// The text is drawn anew only when what it shows changes (the value, or
// the size while a bulge shrinks), unless the data asks for every frame.
//
// Numbers the file gets wrong: an "Area" corner is kept within
// +-DAX_COORDINATE_LIMIT and an area wider or higher than
// DAX_ROOM_SCORE_AREA_MAX gives no text (its picture would be huge);
// "PointSize" outside 1..DAX_ROOM_POINT_SIZE_MAX keeps the size it had;
// colour components are kept within 0..255; at most DAX_ROOM_MILESTONES_MAX
// milestones are read, and a threshold of -1 ends them like a missing key.

#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/display/CxDrawText.h"

class CxDisplayObject;
class CxOptions;

constexpr int DAX_ROOM_DEFAULT_POINT_SIZE = 30;
// The draw text keeps twelve bits of size.
constexpr int DAX_ROOM_POINT_SIZE_MAX = 4095;
// A bulge shrinks by one point this often.
constexpr uint32_t DAX_ROOM_BULGE_STEP_MS = 50;
constexpr int DAX_ROOM_MILESTONES_MAX = 256;
// Larger than any screen of the game: the text's picture is this big at most.
constexpr int32_t DAX_ROOM_SCORE_AREA_MAX = 2048;
// In front of the room's buttons.
constexpr int32_t DAX_ROOM_SCORE_Z = 999;

struct ST_DAX_MILESTONE
{
    int threshold = 0;
    int index = 0;
    bool reached = false;
};

class CDaxRoomScore : public CxTimerListener
{
public:
    CDaxRoomScore();
    ~CDaxRoomScore() override;
    CDaxRoomScore(const CDaxRoomScore&) = delete;
    CDaxRoomScore& operator=(const CDaxRoomScore&) = delete;

    // Reads "Score" and puts the text up as a child of `parent`, showing
    // the value, when the font exists and the area is a real one. A font
    // that exists but does not load is reported by the font layer, and the
    // room goes on without a text. PIM_OK or that failure's code.
    int Load(CxOptions& store, CxDisplayObject& parent);
    // The bulge stopped, the text taken down and its font freed.
    void Unload();

    // --- the value ----------------------------------------------------------------------------
    void SetValue(int value);
    int GetValue() const { return m_value; }

    // --- the bulge ------------------------------------------------------------------------------
    // Shows the text at `size` (at most DAX_ROOM_POINT_SIZE_MAX), then a
    // point nearer the configured size every DAX_ROOM_BULGE_STEP_MS until it
    // is back there, whether it started above or below. Refused (false) for
    // sizes of 0 or less and without a text.
    bool Bulge(int size);
    bool IsBulging() const { return m_bulgeTimer.IsRunning(); }
    void OnTimer(CxTimerCallBack* timer) override;

    // Once a frame: a text that is always dirty is drawn anew.
    void Update();

    // --- milestones -----------------------------------------------------------------------------
    // "ScoreMilestones" keys "0", "1", ... in place of the ones there were.
    void ReadMilestones(CxOptions& store);
    // Kept by threshold: a new one goes in front of the first whose
    // threshold is at or above its own. False when memory ran out.
    bool AddMilestone(int threshold, int index);
    void KillMilestones() { m_milestones.Clear(); }
    // Every milestone open again.
    void ResetMilestones();
    // The first open milestone, in threshold order, whose threshold the
    // value has reached: marked reached, its index in `index`, true.
    bool TakeReachedMilestone(int& index);
    size_t GetMilestoneCount() const { return m_milestones.GetCount(); }
    const ST_DAX_MILESTONE* GetMilestone(size_t position) const { return m_milestones.GetAt(position); }

    // --- what it shows --------------------------------------------------------------------------
    bool HasText() const { return m_loaded; }
    const CxDrawText& GetText() const { return m_text; }
    // The text's depth for a room that layers its pictures its own way.
    void SetTextDepth(int32_t z) { m_text.SetZ(z); }
    // The size the text goes back to.
    int GetPointSize() const { return m_pointSize; }
    // The size it shows now (bigger while a bulge lasts).
    int GetShownPointSize() const { return m_shownSize; }
    // 0 while no font is held.
    intptr_t GetFontHandle() const { return m_font; }
    uint32_t GetColour() const { return m_colour; }
    bool IsAlwaysDirty() const { return m_alwaysDirty; }

private:
    void ReadStyle(CxOptions& store);
    // Puts the value up as text when it is not what the text shows.
    void ShowValue();
    void ShowSize(int size);

    CxDrawText m_text;
    CxTimerCallBack m_bulgeTimer;
    CxLinkedList<ST_DAX_MILESTONE> m_milestones;
    intptr_t m_font = 0;
    uint32_t m_colour = 0;
    CxRect m_area;
    int m_value = 0;
    int m_pointSize = DAX_ROOM_DEFAULT_POINT_SIZE;
    int m_shownSize = DAX_ROOM_DEFAULT_POINT_SIZE;
    // The value the text shows; meaningful while m_shows is set.
    int m_shownValue = 0;
    bool m_shows = false;
    bool m_alwaysDirty = false;
    bool m_loaded = false;
};
