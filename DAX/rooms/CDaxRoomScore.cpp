#include "DAX/rooms/CDaxRoomScore.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/text/CxFont.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kScoreSection = "Score";
constexpr const char* kMilestoneSection = "ScoreMilestones";

uint32_t ColourComponent(float value)
{
    // Fractions dropped; the parser gives finite numbers only.
    return static_cast<uint32_t>(std::clamp(value, 0.0f, 255.0f));
}

} // namespace

CDaxRoomScore::CDaxRoomScore() : m_bulgeTimer(this, DAX_ROOM_BULGE_STEP_MS)
{
    m_text.SetZ(DAX_ROOM_SCORE_Z);
    // Only the digits show over the room: no copy of the background to keep.
    m_text.SetBackgroundHandling(false);
    m_text.SetTextFlags(PIM_TEXT_CENTRE | PIM_TEXT_VCENTRE);
}

CDaxRoomScore::~CDaxRoomScore()
{
    Unload();
}

// --- loading -----------------------------------------------------------------------------------

int CDaxRoomScore::Load(CxOptions& store, CxDisplayObject& parent)
{
    Unload();
    ReadStyle(store);
    const CxString font = store.GetString(kScoreSection, "Font", "");
    if (font.IsEmpty() || m_area.IsEmpty())
        return PIM_OK;
    CxString path;
    if (BuildGamePathFromData(path, font.GetText()) != PIM_OK || !FsExists(path.GetText())) {
        Trace("The score font %.80s is missing; the room shows no score\n", font.GetText());
        return PIM_OK;
    }
    intptr_t handle = 0;
    const int code = LoadFont(path.GetText(), &handle);
    if (code != PIM_OK)
        return code; // reported by the font layer
    m_font = handle;
    m_text.SetFont(m_font);
    m_text.SetColour(m_colour);
    m_text.SetPointSize(m_pointSize);
    m_shownSize = m_pointSize;
    m_text.Create(m_area.left, m_area.top, static_cast<int32_t>(m_area.Width()), static_cast<int32_t>(m_area.Height()),
                  &parent);
    m_loaded = true;
    m_shows = false;
    ShowValue();
    m_text.Show();
    return PIM_OK;
}

void CDaxRoomScore::ReadStyle(CxOptions& store)
{
    int left = 0, top = 0, right = -1, bottom = -1;
    store.GetRect(kScoreSection, "Area", &left, &top, &right, &bottom, 0, 0, -1, -1);
    m_area = CxRect(DaxClampCoordinate(left), DaxClampCoordinate(top), DaxClampCoordinate(right),
                    DaxClampCoordinate(bottom));
    if (m_area.Width() > DAX_ROOM_SCORE_AREA_MAX || m_area.Height() > DAX_ROOM_SCORE_AREA_MAX) {
        Trace("The score area %d, %d, %d, %d is larger than %d x %d; the room shows no score\n", left, top, right,
              bottom, DAX_ROOM_SCORE_AREA_MAX, DAX_ROOM_SCORE_AREA_MAX);
        m_area = CxRect();
    }

    float red = 0, green = 0, blue = 0;
    store.GetVector(kScoreSection, "Color", &red, &green, &blue, 0, 0, 0);
    m_colour = ColourComponent(red) << 16 | ColourComponent(green) << 8 | ColourComponent(blue);

    const int size = store.GetInt(kScoreSection, "PointSize", m_pointSize);
    if (size >= 1 && size <= DAX_ROOM_POINT_SIZE_MAX)
        m_pointSize = size;
    else
        Trace("The score's PointSize %d is no size; it stays %d\n", size, m_pointSize);
    m_alwaysDirty = store.GetInt(kScoreSection, "AlwaysDirty", 0) != 0;
}

void CDaxRoomScore::Unload()
{
    m_bulgeTimer.Reset();
    if (m_loaded) {
        m_text.Release();
        m_text.SetFont(PIM_DEFAULT_FONT);
    }
    if (m_font)
        DeleteFont(m_font);
    m_font = 0;
    m_loaded = false;
    m_shows = false;
    m_shownSize = m_pointSize;
}

// --- the value and its text ------------------------------------------------------------------

void CDaxRoomScore::SetValue(int value)
{
    m_value = value;
    ShowValue();
}

void CDaxRoomScore::ShowValue()
{
    if (!m_loaded || (m_shows && m_shownValue == m_value))
        return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", m_value);
    m_text.SetText(text);
    m_shownValue = m_value;
    m_shows = true;
}

void CDaxRoomScore::ShowSize(int size)
{
    if (size == m_shownSize)
        return;
    m_shownSize = size;
    m_text.SetPointSize(size);
}

void CDaxRoomScore::Update()
{
    if (m_loaded && m_alwaysDirty) {
        m_text.SetDirty();
        m_text.Invalidate();
    }
}

// --- the bulge -------------------------------------------------------------------------------

bool CDaxRoomScore::Bulge(int size)
{
    if (size <= 0) {
        Trace("A score bulge of %d points is no size\n", size);
        return false;
    }
    if (!m_loaded)
        return false;
    ShowSize(std::min(size, DAX_ROOM_POINT_SIZE_MAX));
    if (m_shownSize == m_pointSize) {
        m_bulgeTimer.Reset();
        return true;
    }
    m_bulgeTimer.SetInterval(DAX_ROOM_BULGE_STEP_MS);
    m_bulgeTimer.Start(0);
    // The first step one interval from now, not at the next poll.
    m_bulgeTimer.SetLastCallTick(PimGetTicks());
    return true;
}

void CDaxRoomScore::OnTimer(CxTimerCallBack* timer)
{
    if (timer != &m_bulgeTimer)
        return;
    // Towards the configured size from either side, so that it always ends.
    if (m_shownSize > m_pointSize)
        ShowSize(m_shownSize - 1);
    else if (m_shownSize < m_pointSize)
        ShowSize(m_shownSize + 1);
    if (m_shownSize == m_pointSize)
        m_bulgeTimer.Reset();
}

// --- milestones ------------------------------------------------------------------------------

void CDaxRoomScore::ReadMilestones(CxOptions& store)
{
    m_milestones.Clear();
    char key[16];
    for (int index = 0; index < DAX_ROOM_MILESTONES_MAX; ++index) {
        std::snprintf(key, sizeof key, "%d", index);
        const int threshold = store.GetInt(kMilestoneSection, key, -1);
        if (threshold == -1 || !AddMilestone(threshold, index))
            break;
    }
}

bool CDaxRoomScore::AddMilestone(int threshold, int index)
{
    ST_DAX_MILESTONE milestone;
    milestone.threshold = threshold;
    milestone.index = index;
    auto* node = m_milestones.GetFirst();
    while (node && node->GetElement().threshold < threshold)
        node = node->GetNext();
    return m_milestones.InsertBefore(node, milestone) != nullptr;
}

void CDaxRoomScore::ResetMilestones()
{
    for (auto* node = m_milestones.GetFirst(); node; node = node->GetNext())
        node->GetElement().reached = false;
}

bool CDaxRoomScore::TakeReachedMilestone(int& index)
{
    // From the front each time: whoever hears of one may change the list.
    for (auto* node = m_milestones.GetFirst(); node; node = node->GetNext()) {
        ST_DAX_MILESTONE& milestone = node->GetElement();
        if (milestone.reached || milestone.threshold > m_value)
            continue;
        milestone.reached = true;
        index = milestone.index;
        return true;
    }
    return false;
}
