#pragma once
// The pig run's rules, without display, sound or files. The room feeds it
// the level (PigsOutLevel.h), the pointer and presses, and calls Advance with
// the game clock; the model runs one tick per 10 ms (at most four a frame)
// and answers with cues the room carries out. What only the sprites know
// (frame counts, sizes, "animation stopped", the pixel collision) it asks
// through IPigOutFacts, so tests hand in fakes.
//
// A level build makes every object the table can ever have alive at once
// (per type, from a dry run of the records' ticks and the objects' lives),
// and reserves the cue buffer: a tick allocates nothing.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxSize.h"
#include "game/pigsout/PigsOutLevel.h"

#include <cstdint>
#include <vector>

// Game states.
constexpr int PIGS_PLAYING = 0;
constexpr int PIGS_OVER = 1;   // judged on the next tick
constexpr int PIGS_WON = 2;
constexpr int PIGS_LOST = 3;

constexpr uint32_t PIGS_TICK_MS = 10;
constexpr uint32_t PIGS_LOSS_PAUSE_MS = 3000;
constexpr int PIGS_TICKS_A_FRAME = 4;
constexpr int PIGS_PIG_STATES = 27;
constexpr int PIGS_FARMER_STATES = 3;
constexpr int PIGS_HIGH_JUMP = 150;   // px the pig rises in a high jump
constexpr int PIGS_START_LIVES = 3;
constexpr int PIGS_MAX_BONUS_LIVES = 5; // the life bonus gives a life only below this
constexpr int PIGS_SPEED_NORMAL = 8;
constexpr int PIGS_SPEED_FAST = 9;
constexpr int PIGS_MARKER_TOP = 80;
constexpr int PIGS_MARKER_RUN = 310;    // the marker's way down, px
constexpr int PIGS_FARMER_REACH = 100;  // the farmer's offsets stay within this
constexpr int PIGS_CATCH_DISTANCE = 50;
constexpr int PIGS_ROAD_Y = 600;        // objects start at the bottom of the screen
constexpr int PIGS_HORIZON_X = 432;     // where the road meets the horizon
constexpr int PIGS_RISE = 366;          // how far up the road an object goes

// Pig state families; the group (0 A, 1 B, 2 C) picks the member.
enum class EPigFamily
{
    Run, Jump, HighJump, Trip, SecondRun, SecondJump, ThirdRun, ThirdHighJump, Bonus
};

EPigFamily PigFamily(int state);
int PigGroup(int state);
int PigStateOf(EPigFamily family, int group);
bool PigIsRunning(int state);
// The depth frame a running state sets: the frame at which objects meet the pig.
int PigDepthFrame(int state);
// The frame an object of `frames` frames shows at step `step` (1 for the
// first), clamped to the last; -1 with no frames.
int PigObjectFrame(int frames, float t);
// Motion steps an object of `frames` frames lives at most.
int PigObjectLife(int frames);
// The meter marker's y after `used` of `records` records.
int PigMarkerY(int used, int records);

class IPigOutFacts
{
public:
    virtual ~IPigOutFacts() = default;
    // Of the template of `type` (0 .. 15), state 0.
    virtual int ObjectFrames(int type) = 0;
    virtual CxSize ObjectSize(int type) = 0;
    // The width of the pig's current picture.
    virtual int PigWidth() = 0;
    virtual int FarmerWidth() = 0;
    virtual bool PigStopped() = 0;
    virtual bool FarmerStopped() = 0;
    virtual bool CaughtSoundPlaying() = 0;
    // The pig against object `id` showing its current frame, pixel by pixel.
    virtual bool Collides(int id) = 0;
};

enum class EPigCue
{
    PigPlay,        // a: state, b: 1 looped, 0 once
    PigRate,        // a: frames a second of the pig's first action
    PigStop,
    PigInFront,     // a: object id: the pig is put in front of it
    PigReattach,    // the pig re-inserted among the room's children by its z
    FarmerPlay,     // a: state, b: looped
    FarmerStop,
    ObjectStart,    // a: id, b: x (its left edge; top at PIGS_ROAD_Y), c: 1 in front of the pig
    ObjectFrame,    // a: id, b: frame, c, d: its centre
    ObjectHide,     // a: id
    ObjectRemove,   // a: id
    RoadsKeepOn,    // a: the state a stopped road plays looped, at 6 frames a second
    RoadsRate,      // a: frames a second
    RoadsStop,
    Sound,          // a: EPigSound
    HitSequence,
    FoodText,       // a: collected, b: pass score
    Marker,         // a: y
    Won,            // the level flow's LevelWon
    Restart,        // the level flow's RestartLevel
};

enum class EPigSound
{
    Caught, SecondRunVoice, ThirdRunVoice, Collect, Trip
};

struct ST_PIG_CUE
{
    EPigCue kind;
    int a = 0, b = 0, c = 0, d = 0;
};

struct ST_PIG_OBJECT
{
    int type = 0;
    bool alive = false;
    bool removed = false;
    bool moved = false;   // has had its first motion step
    int halfHeight = 0;
    float centreX = 0.0f, centreY = 0.0f;
    float t = 0.0f;
    int frame = 0;
};

class CPigOutModel
{
public:
    explicit CPigOutModel(IPigOutFacts& facts) : m_facts(facts) {}

    // The level build: every value to its start, the pool made. The cues
    // place the pig and the farmer and reset the meter and text.
    void Build(const ST_PIGS_OPTIONS& options, const ST_PIGS_LEVEL& level, int passScore, int levelNumber,
               uint32_t now);
    // The room's load clears the caught flag; level builds keep it.
    void ClearCaught() { m_caught = false; }
    void SetPointer(int x) { m_pointerX = x; }
    void Press();
    // Runs the ticks due by `now` (game time, ms), at most four.
    void Advance(uint32_t now);
    void Tick();
    // The next tick 10 ms after `now` (the game clock went back to 0).
    void SetClock(uint32_t now) { m_nextAt = now + PIGS_TICK_MS; }
    // Tests: the pig straight into `state`, as if played looped, raised in the high jumps.
    void SetPigState(int state);

    const std::vector<ST_PIG_CUE>& Cues() const { return m_cues; }
    void ClearCues() { m_cues.clear(); }

    // --- state --------------------------------------------------------------------------------
    int GetState() const { return m_state; }
    bool IsIdle() const { return m_idle; }
    int GetTick() const { return m_tick; }
    int GetPigState() const { return m_pigState; }
    int GetFarmerState() const { return m_farmerState; }
    CxPoint GetPig() const { return m_pig; }
    CxPoint GetFarmer() const { return m_farmer; }
    int GetFarmerUp() const { return m_farmerUp; }
    int GetFarmerSide() const { return m_farmerSide; }
    int GetCollected() const { return m_collected; }
    int GetLives() const { return m_lives; }
    int GetPassScore() const { return m_passScore; }
    int GetDepthFrame() const { return m_depth; }
    int GetSpeed() const { return m_speed; }
    int GetMarkerY() const { return m_markerY; }
    int GetUsed() const { return m_used; }
    bool IsCaught() const { return m_caught; }
    const ST_PIGS_OPTIONS& GetOptions() const { return m_options; }
    // Pool slots, each of one type; `GetSlotType` for the room's sprites.
    int GetSlotCount() const { return static_cast<int>(m_objects.size()); }
    int GetSlotType(int id) const { return m_objects[static_cast<size_t>(id)].type; }
    const ST_PIG_OBJECT& GetObject(int id) const { return m_objects[static_cast<size_t>(id)]; }
    int GetLiveCount() const { return static_cast<int>(m_live.size()); }
    // True before an object's first motion step: a press on it is no jump yet.
    bool IsObjectFresh(int id) const;
    uint32_t GetNextTickAt() const { return m_nextAt; }

private:
    void Cue(EPigCue kind, int a = 0, int b = 0, int c = 0, int d = 0);
    void PlayPig(int state, bool looped);
    void PlayFarmer(int state, bool looped);
    void MakePool();
    void Judge();
    void KeepRoadsOn();
    void StepObjects();
    void MoveObject(int id);
    bool TestObject(int id);
    bool Meet(const ST_PIG_OBJECT& object);
    void Trip(bool quiet);
    void FastMode();
    void FollowPig();
    void SteerPig();
    void MoveFarmer();
    void Spawn();
    void Sweep();

    IPigOutFacts& m_facts;
    ST_PIGS_OPTIONS m_options;
    std::vector<ST_PIGS_RECORD> m_records;
    std::vector<ST_PIG_OBJECT> m_objects;
    std::vector<int> m_live;            // ids, oldest first
    std::vector<int> m_typeFirst;       // the first slot of each type, PIGS_TYPES + 1 entries
    std::vector<ST_PIG_CUE> m_cues;

    int m_level = 0;
    int m_state = PIGS_PLAYING;
    bool m_idle = true;
    uint32_t m_nextAt = 0;
    size_t m_next = 0;
    int m_tick = 0;
    int m_used = 0;
    int m_collected = 0;
    int m_bonusBase = 0;
    int m_passScore = 0;
    int m_lives = PIGS_START_LIVES;
    int m_depth = 3;
    int m_speed = PIGS_SPEED_NORMAL;
    int m_pigState = 0;
    int m_farmerState = 0;
    CxPoint m_pig{0, 0};
    CxPoint m_farmer{0, 0};
    int m_farmerUp = 50;
    int m_farmerSide = 0;
    bool m_caught = false;
    int m_markerY = PIGS_MARKER_TOP;
    int m_pointerX = 0;
    bool m_tracedEmpty = false;
};
