#include "game/pigsout/PigsOutModel.h"

#include "PIM/core/PimTrace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr float STEP_T = 0.02f;
constexpr float QUARTER_TURN = 1.57f;
constexpr int TYPE_LIFE_BONUS = 13;
constexpr int TYPE_SECOND_RUN = 14;
constexpr int TYPE_THIRD_RUN = 15;
constexpr int FARMER_CHASE = 0;
constexpr int FARMER_TRIP = 1;
constexpr int FARMER_CATCH = 2;
constexpr float ROAD_SLOW = 6.0f, ROAD_FAST = 12.0f;

// Every pig state's family, in state order (the group is the position in its family's row).
constexpr EPigFamily kFamilies[PIGS_PIG_STATES] = {
    EPigFamily::Run,       EPigFamily::Jump,          EPigFamily::HighJump,      EPigFamily::Trip,
    EPigFamily::Run,       EPigFamily::Jump,          EPigFamily::HighJump,      EPigFamily::Trip,
    EPigFamily::Run,       EPigFamily::Jump,          EPigFamily::HighJump,      EPigFamily::Trip,
    EPigFamily::SecondRun, EPigFamily::SecondJump,    EPigFamily::SecondRun,     EPigFamily::SecondJump,
    EPigFamily::SecondRun, EPigFamily::SecondJump,    EPigFamily::ThirdRun,      EPigFamily::ThirdHighJump,
    EPigFamily::ThirdRun,  EPigFamily::ThirdHighJump, EPigFamily::ThirdRun,      EPigFamily::ThirdHighJump,
    EPigFamily::Bonus,     EPigFamily::Bonus,         EPigFamily::Bonus};
// The members of each family, groups A, B, C.
constexpr int kMembers[][3] = {{0, 4, 8},    {1, 5, 9},    {2, 6, 10},   {3, 7, 11}, {12, 14, 16},
                               {13, 15, 17}, {18, 20, 22}, {19, 21, 23}, {24, 25, 26}};

bool Known(int state)
{
    return state >= 0 && state < PIGS_PIG_STATES;
}

bool IsRaised(EPigFamily family)
{
    return family == EPigFamily::HighJump || family == EPigFamily::ThirdHighJump;
}

} // namespace

EPigFamily PigFamily(int state)
{
    return Known(state) ? kFamilies[state] : EPigFamily::Run;
}

int PigGroup(int state)
{
    if (!Known(state))
        return 0;
    const int* members = kMembers[static_cast<int>(kFamilies[state])];
    return members[0] == state ? 0 : members[1] == state ? 1 : 2;
}

int PigStateOf(EPigFamily family, int group)
{
    return kMembers[static_cast<int>(family)][std::clamp(group, 0, 2)];
}

bool PigIsRunning(int state)
{
    const EPigFamily family = PigFamily(state);
    return family == EPigFamily::Run || family == EPigFamily::SecondRun || family == EPigFamily::ThirdRun;
}

int PigDepthFrame(int state)
{
    if (state == 4)
        return 5;
    if (state == 8 || state == 16 || state == 22)
        return 2;
    return 3;
}

int PigObjectFrame(int frames, float t)
{
    if (frames <= 0)
        return -1;
    // Far more than any object's frames: the product never overflows the cast.
    const float raw = std::min(static_cast<float>(frames) * t / QUARTER_TURN, 1e6f);
    return std::min(static_cast<int>(raw), frames - 1);
}

int PigObjectLife(int frames)
{
    if (frames <= 1)
        return 1;
    float t = 0.0f;
    for (int step = 1;; ++step) {
        t += STEP_T;
        if (PigObjectFrame(frames, t) >= frames - 1)
            return step;
    }
}

int PigMarkerY(int used, int records)
{
    const int64_t total = std::max(records, 1);
    const int64_t done = std::clamp<int64_t>(used, 0, total);
    return PIGS_MARKER_TOP + static_cast<int>(done * PIGS_MARKER_RUN / total);
}

// --- the level build ------------------------------------------------------------------------------

void CPigOutModel::Build(const ST_PIGS_OPTIONS& options, const ST_PIGS_LEVEL& level, int passScore,
                         int levelNumber, uint32_t now)
{
    m_options = options;
    if (m_options.leftEdge > m_options.rightEdge)
        std::swap(m_options.leftEdge, m_options.rightEdge);
    m_records = level.records;
    if (m_records.empty() || m_records.back().type != PIGS_END_TYPE)
        m_records.push_back(ST_PIGS_RECORD{});
    m_level = levelNumber;
    m_passScore = std::max(passScore, 0);
    m_state = PIGS_PLAYING;
    m_idle = false;
    m_nextAt = now + PIGS_TICK_MS;
    m_next = 0;
    m_tick = 0;
    m_used = 0;
    m_collected = 0;
    m_bonusBase = m_passScore;
    m_lives = PIGS_START_LIVES;
    m_depth = 3;
    m_speed = PIGS_SPEED_NORMAL;
    m_farmerUp = 50;
    m_farmerSide = 0;
    m_pig = options.pigPos;
    m_farmer = {options.farmerPos.x, options.farmerPos.y + m_farmerUp};
    m_markerY = PIGS_MARKER_TOP;
    m_tracedEmpty = false;
    MakePool();

    m_cues.clear();
    PlayFarmer(FARMER_CHASE, true);
    PlayPig(0, true);
    Cue(EPigCue::Marker, m_markerY);
    Cue(EPigCue::FoodText, m_collected, m_passScore);
    Cue(EPigCue::RoadsStop);
}

void CPigOutModel::MakePool()
{
    // A dry run of the spawning: record i comes out at the first tick that
    // is at least its own and the one before's, and lives at most its
    // type's life; the type needs as many objects as overlap at once.
    const size_t objects = m_records.size() - 1;
    std::vector<int> life(PIGS_TYPES);
    for (int type = 0; type < PIGS_TYPES; ++type)
        life[static_cast<size_t>(type)] = PigObjectLife(m_facts.ObjectFrames(type));
    std::vector<int64_t> spawn(objects);
    int64_t at = 0;
    for (size_t i = 0; i < objects; ++i) {
        at = std::max<int64_t>(at, m_records[i].tick);
        spawn[i] = at;
    }
    std::vector<int> need(PIGS_TYPES, 0);
    for (size_t i = 0; i < objects; ++i) {
        const int type = m_records[i].type;
        int alive = 0;
        for (size_t j = 0; j <= i; ++j)
            if (m_records[j].type == type && spawn[j] + life[static_cast<size_t>(type)] > spawn[i])
                ++alive;
        need[static_cast<size_t>(type)] = std::max(need[static_cast<size_t>(type)], alive);
    }
    m_objects.clear();
    m_typeFirst.assign(PIGS_TYPES + 1, 0);
    for (int type = 0; type < PIGS_TYPES; ++type) {
        m_typeFirst[static_cast<size_t>(type)] = static_cast<int>(m_objects.size());
        ST_PIG_OBJECT slot;
        slot.type = type;
        m_objects.insert(m_objects.end(), static_cast<size_t>(need[static_cast<size_t>(type)]), slot);
    }
    m_typeFirst[PIGS_TYPES] = static_cast<int>(m_objects.size());
    m_live.clear();
    m_live.reserve(m_objects.size());
    // Per tick: a handful for the pig, farmer and roads, and each live
    // object shows a frame, may meet the pig and go.
    m_cues.reserve(64 + 8 * m_objects.size());
}

// --- cues -----------------------------------------------------------------------------------------

void CPigOutModel::Cue(EPigCue kind, int a, int b, int c, int d)
{
    // The buffer was sized at the level build; a full one drops the cue
    // rather than allocate in a tick.
    if (m_cues.size() < m_cues.capacity())
        m_cues.push_back({kind, a, b, c, d});
}

void CPigOutModel::PlayPig(int state, bool looped)
{
    m_pigState = state;
    // The depth frame belongs to the running state and stays through the
    // jumps, trips and bonus that follow it.
    if (PigIsRunning(state))
        m_depth = PigDepthFrame(state);
    Cue(EPigCue::PigPlay, state, looped ? 1 : 0);
}

void CPigOutModel::PlayFarmer(int state, bool looped)
{
    m_farmerState = state;
    Cue(EPigCue::FarmerPlay, state, looped ? 1 : 0);
}

void CPigOutModel::SetPigState(int state)
{
    PlayPig(state, true);
    m_pig.y = m_options.pigPos.y - (IsRaised(PigFamily(state)) ? PIGS_HIGH_JUMP : 0);
}

bool CPigOutModel::IsObjectFresh(int id) const
{
    return id < 0 || id >= GetSlotCount() || !m_objects[static_cast<size_t>(id)].moved;
}

// --- input ----------------------------------------------------------------------------------------

void CPigOutModel::Press()
{
    if (m_idle || m_state != PIGS_PLAYING)
        return;
    switch (PigFamily(m_pigState)) {
    case EPigFamily::Run:
    case EPigFamily::SecondRun:
        PlayPig(m_pigState + 1, false);
        break;
    case EPigFamily::ThirdRun:
    case EPigFamily::Jump:
        PlayPig(m_pigState + 1, false);
        m_pig.y -= PIGS_HIGH_JUMP;
        break;
    default:
        break;
    }
}

// --- the tick -------------------------------------------------------------------------------------

void CPigOutModel::Advance(uint32_t now)
{
    for (int i = 0; i < PIGS_TICKS_A_FRAME && !m_idle && static_cast<int32_t>(now - m_nextAt) >= 0; ++i)
        Tick();
    // A frame long enough for more ticks drops them: the game slows down
    // rather than jumps.
    if (!m_idle && static_cast<int32_t>(now - m_nextAt) >= 0)
        m_nextAt = now + PIGS_TICK_MS;
}

void CPigOutModel::Tick()
{
    if (m_idle)
        return;
    uint32_t wait = PIGS_TICK_MS;
    switch (m_state) {
    case PIGS_OVER:
        Judge();
        if (m_state == PIGS_LOST)
            wait = PIGS_LOSS_PAUSE_MS;
        break;
    case PIGS_WON:
        // Idle first: whatever LevelWon does (the next level, or leaving the
        // room), no tick calls it again; only a level build wakes the game.
        m_idle = true;
        Cue(EPigCue::Won);
        return;
    case PIGS_LOST:
        m_idle = true;
        Cue(EPigCue::Restart);
        return;
    default:
        KeepRoadsOn();
        StepObjects();
        Cue(EPigCue::PigReattach);
        FollowPig();
        SteerPig();
        MoveFarmer();
        Spawn();
        if (m_lives < 1)
            m_state = PIGS_OVER;
        ++m_tick;
        break;
    }
    m_nextAt += wait;
}

void CPigOutModel::Judge()
{
    Cue(EPigCue::RoadsStop);
    Cue(EPigCue::PigStop);
    Cue(EPigCue::FarmerStop);
    m_state = m_collected < m_passScore || m_lives < 1 ? PIGS_LOST : PIGS_WON;
}

void CPigOutModel::KeepRoadsOn()
{
    Cue(EPigCue::RoadsKeepOn, m_level);
}

void CPigOutModel::StepObjects()
{
    for (int id : m_live) {
        MoveObject(id);
        ST_PIG_OBJECT& object = m_objects[static_cast<size_t>(id)];
        if (!object.removed && TestObject(id))
            object.removed = true;
    }
    Sweep();
}

void CPigOutModel::MoveObject(int id)
{
    ST_PIG_OBJECT& object = m_objects[static_cast<size_t>(id)];
    const int frames = m_facts.ObjectFrames(object.type);
    const float h = static_cast<float>(object.halfHeight);
    object.centreY = (static_cast<float>(PIGS_ROAD_Y) + h) - std::sin(object.t) * (h + static_cast<float>(PIGS_RISE));
    object.t += STEP_T;
    object.centreX += (static_cast<float>(PIGS_HORIZON_X) - object.centreX) / 100.0f;
    object.moved = true;
    object.frame = PigObjectFrame(frames, object.t);
    if (object.frame < 0) {
        // Nothing to show: gone at its first step.
        Cue(EPigCue::ObjectHide, id);
        object.removed = true;
        return;
    }
    Cue(EPigCue::ObjectFrame, id, object.frame, static_cast<int>(object.centreX), static_cast<int>(object.centreY));
}

bool CPigOutModel::TestObject(int id)
{
    ST_PIG_OBJECT& object = m_objects[static_cast<size_t>(id)];
    if (object.frame == m_depth) {
        // At the depth frame the object is level with the pig, which is
        // drawn in front of it whether they meet or not.
        Cue(EPigCue::PigInFront, id);
        if (m_facts.Collides(id) && Meet(object))
            return true;
    }
    const int frames = m_facts.ObjectFrames(object.type);
    const bool last = object.frame >= frames - 1;
    if (last && object.type >= 4 && object.type <= TYPE_LIFE_BONUS) {
        const int width = m_facts.FarmerWidth();
        const int x = static_cast<int>(object.centreX);
        if (x >= m_farmer.x && x <= m_farmer.x + width) {
            // An obstacle that passes the farmer trips him back down the road.
            PlayFarmer(FARMER_TRIP, false);
            if (m_farmerUp < PIGS_FARMER_REACH) {
                ++m_farmer.y;
                ++m_farmerUp;
            }
        }
    }
    return last;
}

// The pig meets an object at its depth frame; true when the object is used up.
bool CPigOutModel::Meet(const ST_PIG_OBJECT& object)
{
    const EPigFamily family = PigFamily(m_pigState);
    const int group = PigGroup(m_pigState);
    const int type = object.type;
    if (PigsOutIsFood(type)) {
        const bool doubled = m_pigState >= 12 && m_pigState <= 23;
        m_collected += doubled ? 2 : 1;
        if (m_collected - m_bonusBase > 2) {
            ++m_lives;
            m_bonusBase += 3;
        }
        Cue(EPigCue::FoodText, m_collected, m_passScore);
        Cue(EPigCue::Sound, static_cast<int>(EPigSound::Collect));
        return true;
    }
    const bool secondOrThird = family == EPigFamily::SecondRun || family == EPigFamily::ThirdRun;
    if (type <= 6) {
        if (family == EPigFamily::Run)
            Trip(false);
        else if (secondOrThird)
            Trip(true);
        return false;
    }
    const bool lowJumps = family == EPigFamily::SecondJump || family == EPigFamily::ThirdHighJump;
    if (type <= 9) {
        if (family == EPigFamily::Run || family == EPigFamily::Jump)
            Trip(false);
        else if (secondOrThird || lowJumps)
            Trip(true);
        return false;
    }
    if (type <= 12) {
        if (family == EPigFamily::Run || family == EPigFamily::Jump || family == EPigFamily::HighJump)
            Trip(false);
        else if (secondOrThird || lowJumps)
            Trip(true);
        return false;
    }
    // The specials count only while the pig runs in its first run.
    if (family != EPigFamily::Run)
        return false;
    if (type == TYPE_LIFE_BONUS) {
        if (m_lives < PIGS_MAX_BONUS_LIVES && group != 2)
            ++m_lives;
        PlayPig(group == 1 ? 24 : 26, false);
    } else if (type == TYPE_SECOND_RUN) {
        PlayPig(group == 2 ? 12 : 14, true);
        Cue(EPigCue::Sound, static_cast<int>(EPigSound::SecondRunVoice));
    } else if (type == TYPE_THIRD_RUN) {
        PlayPig(group == 2 ? 18 : 20, true);
        Cue(EPigCue::Sound, static_cast<int>(EPigSound::ThirdRunVoice));
    } else {
        return false;
    }
    FastMode();
    return true;
}

void CPigOutModel::Trip(bool quiet)
{
    const EPigFamily family = PigFamily(m_pigState);
    if (family == EPigFamily::HighJump || family == EPigFamily::ThirdHighJump)
        m_pig.y += PIGS_HIGH_JUMP;
    PlayPig(PigStateOf(EPigFamily::Trip, PigGroup(m_pigState)), false);
    if (quiet) {
        m_speed = PIGS_SPEED_NORMAL;
        return;
    }
    Cue(EPigCue::Sound, static_cast<int>(EPigSound::Trip));
    Cue(EPigCue::HitSequence);
}

void CPigOutModel::FastMode()
{
    m_speed = PIGS_SPEED_FAST;
    Cue(EPigCue::RoadsRate, static_cast<int>(ROAD_FAST));
    Cue(EPigCue::PigRate, 24);
}

void CPigOutModel::FollowPig()
{
    if (PigIsRunning(m_pigState) || !m_facts.PigStopped())
        return;
    const EPigFamily family = PigFamily(m_pigState);
    const int group = PigGroup(m_pigState);
    if (IsRaised(family))
        m_pig.y += PIGS_HIGH_JUMP;
    int next = PigStateOf(EPigFamily::Run, group);
    if (family == EPigFamily::Trip) {
        next = group == 2 ? 0 : 4;
        m_speed = PIGS_SPEED_NORMAL;
        m_lives = std::max(m_lives - 1, 0);
    } else if (family == EPigFamily::ThirdHighJump) {
        next = PigStateOf(EPigFamily::ThirdRun, group);
    } else if (family == EPigFamily::SecondJump) {
        next = PigStateOf(EPigFamily::SecondRun, group);
    }
    PlayPig(next, true);
    Cue(EPigCue::PigRate, 24);
}

void CPigOutModel::SteerPig()
{
    const EPigFamily family = PigFamily(m_pigState);
    if (PigIsRunning(m_pigState)) {
        if (family == EPigFamily::Run)
            m_speed = PIGS_SPEED_NORMAL;
        if (m_speed == PIGS_SPEED_NORMAL) {
            Cue(EPigCue::RoadsRate, static_cast<int>(ROAD_SLOW));
            Cue(EPigCue::PigRate, 12);
        }
        const int64_t wanted = int64_t{m_pointerX} - m_facts.PigWidth() / 2;
        const int target = static_cast<int>(std::clamp<int64_t>(wanted, m_options.leftEdge, m_options.rightEdge));
        const int64_t distance = int64_t{target} - m_pig.x;
        if (distance != 0) {
            const int64_t step = std::min<int64_t>(std::max<int64_t>(1, std::llabs(distance) / 15), std::llabs(distance));
            m_pig.x += static_cast<int32_t>(distance > 0 ? step : -step);
        }
    } else if (family == EPigFamily::Trip && m_farmerUp > 0) {
        --m_farmer.y;
        --m_farmerUp;
    }
}

void CPigOutModel::MoveFarmer()
{
    if (m_farmerState == FARMER_CHASE) {
        if (m_pig.x > m_farmer.x && m_farmerSide < PIGS_FARMER_REACH) {
            ++m_farmer.x;
            ++m_farmerSide;
        } else if (m_pig.x < m_farmer.x && m_farmerSide > -PIGS_FARMER_REACH) {
            --m_farmer.x;
            --m_farmerSide;
        }
    }
    if (m_pigState == 4) {
        if (std::llabs(int64_t{m_pig.x} - m_farmer.x) < PIGS_CATCH_DISTANCE) {
            // Started only when not already catching: replaying would hold
            // the farmer on the catch's first frame.
            if (m_farmerState != FARMER_CATCH)
                PlayFarmer(FARMER_CATCH, false);
            if (!m_caught && !m_facts.CaughtSoundPlaying())
                Cue(EPigCue::Sound, static_cast<int>(EPigSound::Caught));
            m_caught = true;
        }
    } else if (m_pigState == 0 || m_pigState == 8) {
        m_caught = false;
    }
    if ((m_farmerState == FARMER_TRIP || m_farmerState == FARMER_CATCH) && m_facts.FarmerStopped())
        PlayFarmer(FARMER_CHASE, true);
}

void CPigOutModel::Spawn()
{
    const ST_PIGS_RECORD* record = &m_records[m_next];
    if (record->type == PIGS_END_TYPE) {
        if (m_live.empty() && m_used > 0)
            m_state = PIGS_OVER;
        else if (m_used == 0 && !m_tracedEmpty) {
            m_tracedEmpty = true;
            Trace("PigsOut: level %d has no objects, so it never ends\n", m_level);
        }
        return;
    }
    // Spawning stops at the end record; records whose tick has passed
    // (out of order, or before the start) come out now.
    while (record->type != PIGS_END_TYPE && record->tick <= m_tick) {
        const int type = record->type;
        int id = -1;
        for (int slot = m_typeFirst[static_cast<size_t>(type)]; slot < m_typeFirst[static_cast<size_t>(type) + 1]; ++slot)
            if (!m_objects[static_cast<size_t>(slot)].alive) {
                id = slot;
                break;
            }
        if (id >= 0) {
            ST_PIG_OBJECT& object = m_objects[static_cast<size_t>(id)];
            const CxSize size = m_facts.ObjectSize(type);
            object = ST_PIG_OBJECT{};
            object.type = type;
            object.alive = true;
            object.halfHeight = size.height / 2;
            object.centreX = static_cast<float>(record->x) + static_cast<float>(size.width / 2);
            object.centreY = static_cast<float>(PIGS_ROAD_Y + object.halfHeight);
            m_live.push_back(id);
            Cue(EPigCue::ObjectStart, id, record->x, type != TYPE_LIFE_BONUS ? 1 : 0);
        }
        ++m_next;
        ++m_used;
        record = &m_records[m_next];
        const int y = PigMarkerY(m_used, static_cast<int>(m_records.size()) - 1);
        if (y != m_markerY) {
            m_markerY = y;
            Cue(EPigCue::Marker, y);
        }
    }
}

void CPigOutModel::Sweep()
{
    // After the walk: the list never changes under it.
    size_t kept = 0;
    for (int id : m_live) {
        ST_PIG_OBJECT& object = m_objects[static_cast<size_t>(id)];
        if (object.removed) {
            object.alive = false;
            Cue(EPigCue::ObjectRemove, id);
        } else {
            m_live[kept++] = id;
        }
    }
    m_live.resize(kept);
}
