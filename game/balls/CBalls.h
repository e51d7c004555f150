#pragma once
// The base of the rooms that roll balls (croquet): it reads the ball kinds
// from the room file, a level of balls, walls and attractors from
// "<Room>/level%d.ini" (BallsLevel.h has both formats), keeps each ball's
// sprite on its body, and steps the physics engine on a fixed tick of the
// game clock: five steps of 0.2 at most once a frame, so a slow machine
// slows the game down rather than making it jump, and a paused room (a
// dialog open) does not move at all.
//
// The room file adds, beside the level flow's keys,
//     [Options]
//     UpdateTime=50        ; ms a tick
//     MaxSpeed=99999       ; the engine's speed cap
//     WorldFriction=1      ; speed kept per engine unit (0.999: a lawn)
//     CollisionDampen=0.7  ; share of gravity felt in a sub-step with contact
//     Mode=2               ; 1 soft, 2 the default, 3 lively, never resting
//     NumBallTypes=2
//     [BallType00]
//     FileName=Croquet/ball.xni   StartPos=320, 0   Radius=20   Mass=1
//     Movable=1   Breakable=1   ChangeDirection=1
//
// A level whose numbers cannot be trusted is refused as a whole (reported,
// the level stays empty): a ball room never runs on NaN.

#include "game/balls/BallsLevel.h"
#include "game/balls/CBallsBall.h"
#include "game/balls/CBallsGravity.h"
#include "game/balls/CBallsLine.h"
#include "game/common/CGameRoom.h"
#include "game/physics/CxPhysicsEngine.h"

#include <memory>
#include <vector>

constexpr int BALLS_STEPS_PER_TICK = 5;
constexpr float BALLS_STEP = 0.2f;

class CBalls : public CGameRoom
{
public:
    explicit CBalls(CxGameApp* app);
    ~CBalls() override;

    int Load() override;
    int Unload() override;
    int Update() override;
    void Pause() override;
    void Resume() override;
    // The level when it is in the room's range, then its file loaded.
    void SetLevel(int level) override;

    // --- added, in this order ---------------------------------------------------------------
    // A ball was hit: by `other`, or by a line when `other` is null. Runs
    // inside the engine's step: it may change speeds and looks, never add
    // or delete balls.
    virtual void OnBallHit(CBallsBall* other, CBallsBall* ball);
    // PIM_OK; 9 when the file is not there (the level is left empty, as a
    // level may well have nothing); another code, reported, for a level
    // that was refused.
    virtual int LoadLevel(const char* fileName, int level);
    virtual void ClearLevel();
    // The balls and walls as they are now, in the level format, to a file
    // path; the store's code. For level authors: the game never calls it.
    virtual int SaveLevel(const char* path);
    // Counted: the first pause stops the tick clock, the last resume lets
    // it go on from where it stood.
    virtual void PauseTicks();
    virtual void ResumeTicks();

    // --- what it holds ------------------------------------------------------------------------
    CxPhysicsEngine* GetEngine() const { return m_engine.get(); }
    const ST_BALLS_OPTIONS& GetBallOptions() const { return m_options; }
    const std::vector<std::unique_ptr<CBallsBall>>& GetKinds() const { return m_kinds; }
    const std::vector<std::unique_ptr<CBallsBall>>& GetBalls() const { return m_balls; }
    const std::vector<std::unique_ptr<CBallsLine>>& GetLines() const { return m_lines; }
    const std::vector<std::unique_ptr<CBallsGravity>>& GetAttractors() const { return m_attractors; }
    // The ball the player plays: the first of the list, when it is movable.
    CBallsBall* GetPlayerBall() const;
    // Ticks run since the level was loaded.
    int GetTickCount() const { return m_ticks; }
    // The tick clock's milliseconds since the level was loaded.
    uint32_t GetTickTime() const;
    uint32_t GetTickLength() const { return m_tickLength; }
    // "<Room>/level%d.ini".
    CxString LevelFileName(int level) const;

protected:
    // Takes a ball out of the engine and the list and deletes it; never
    // during the engine's step (hooks mark balls, the frame removes them).
    void RemoveBall(CBallsBall* ball);
    // Where a ball of the level appears: its sprite attached and shown there.
    virtual void AttachBallSprite(CBallsBall& ball);

private:
    void ReadKinds();
    void BuildLevel(const ST_BALLS_LEVEL& level);
    void ReleaseRoomObjects();

    std::unique_ptr<CxPhysicsEngine> m_engine;
    ST_BALLS_OPTIONS m_options;
    std::vector<std::unique_ptr<CBallsBall>> m_kinds;
    std::vector<std::unique_ptr<CBallsBall>> m_balls;
    std::vector<std::unique_ptr<CBallsLine>> m_lines;
    std::vector<std::unique_ptr<CBallsGravity>> m_attractors;
    std::vector<std::unique_ptr<CxGravityBody>> m_uniform;
    uint32_t m_tickLength = 50;
    // The tick clock: game time less m_tickOrigin, frozen while paused.
    uint32_t m_tickOrigin = 0;
    uint32_t m_pausedAt = 0;
    int m_tickPauses = 0;
    int m_ticks = 0;
    // The time of the last tick: one for every ball room, as only one
    // plays at a time.
    static inline uint32_t s_lastTick = 0;
};
