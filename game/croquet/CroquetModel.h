#pragma once
// The rules of croquet without any display: the game's states, the shots,
// the wickets in order, the hole and the points; and the small formulas the
// room applies to sprites and the ball (the ball's look after a shot, the
// walking character's direction, the water's push, the aim).
//
// The room drives it: Aim/Shoot/Kick as the player acts, PassWicket and
// SinkBall as the ball rolls, BallStopped when it has stopped, WalkEnded,
// and the two finishing calls. Each call that does not fit the current state
// changes nothing and returns false (or 0 points).

#include "PIM/core/CxPoint.h"
#include "game/physics/CxPhysicsVector.h"

enum class ECroquetState
{
    Idle = 0,
    Aiming = 1,
    Kicking = 2,
    Rolling = 3,
    Walking = 4,
    Won = 5,        // waiting for the hole and the character
    Lost = 6,       // waiting for the character
    LostWait = 7,   // waiting for the lose timer
    Finished = 8,
};

constexpr int CROQUET_WICKET_POINTS = 100;
constexpr int CROQUET_FOOD_POINTS = 100;
constexpr int CROQUET_HOLE_POINTS = 250;
constexpr int CROQUET_SHOT_LEFT_POINTS = 50;
constexpr int CROQUET_BULGE = 50;
constexpr int CROQUET_MIN_AIM = 25;        // px from the origin for a valid aim
constexpr int CROQUET_AIM_DOTS = 20;
constexpr int CROQUET_CONE_FRAMES = 36;
constexpr float CROQUET_KICK_RADIUS = 20.0f;
constexpr float CROQUET_KICK_MASS = 1.0f / 30.0f;
constexpr float CROQUET_MOVING_SPEED = 0.01f; // the ball rolls while faster
constexpr int CROQUET_WALK_MAX_X = 520;
constexpr int CROQUET_WALK_MAX_Y = 500;
constexpr int CROQUET_WALK_SPEED = 250;       // px a second
constexpr int CROQUET_FOOD_SPEED = 500;

class CCroquetModel
{
public:
    // A new level: shots left = allowed = min(numShots, maxShots), both
    // first at least 1; the next wicket 0; state Idle.
    void StartLevel(int numShots, int maxShots, int wickets);
    // Idle or Walking -> Aiming (the room has placed the aim).
    bool Aim();
    // Aiming -> Kicking.
    bool Shoot();
    // Kicking -> Rolling; one shot used.
    bool Kick();
    // Rolling, the next wicket not yet passed: points for it (0 otherwise).
    int PassWicket();
    // Rolling with the hole open: the hole's points (250 + 50 a shot
    // left), state Won. 0 when not rolling or the hole is shut.
    int SinkBall();
    // Rolling -> Walking while shots are left, else -> Lost.
    ECroquetState BallStopped();
    // Walking -> Aiming.
    bool WalkEnded();
    // Lost -> LostWait (the character has stopped).
    bool LoseAnimationDone();
    // Won or LostWait -> Finished: true when the level was won.
    bool Finish();

    ECroquetState GetState() const { return m_state; }
    int GetShotsAllowed() const { return m_shotsAllowed; }
    int GetShotsLeft() const { return m_shotsLeft; }
    int GetNextWicket() const { return m_nextWicket; }
    int GetWicketCount() const { return m_wickets; }
    // Every wicket passed (at once when there are none).
    bool IsHoleOpen() const { return m_nextWicket >= m_wickets; }
    bool IsLastShot() const { return m_shotsLeft == 1; }

private:
    ECroquetState m_state = ECroquetState::Idle;
    int m_shotsAllowed = 1;
    int m_shotsLeft = 1;
    int m_nextWicket = 0;
    int m_wickets = 0;
};

// The state the ball plays after a shot, from its S states, the shots left
// n and allowed N: n = 1 -> S - 2; else f = max(N / (S - 1) - 1, 1),
// m = (N - n) * f, m when m < S - 2, else S - 3. -1 (keep the look) when
// the ball has fewer than 3 states.
int CroquetBallLook(int states, int shotsLeft, int shotsAllowed);
// The walking state (8 .. 15) for the way (dx, dy) on screen (y down).
int CroquetWalkState(float dx, float dy);
// Where a character walks to: ball - offset, at most (520, 500).
CxPoint CroquetWalkTarget(CxPoint ball, CxPoint offset);
// The water's current on the ball's speed (direction 0 up, 1 down, 2 right,
// 3 left; others push nothing); it stops near the screen's edges and never
// drives a speed beyond 13.
void CroquetWaterPush(int direction, CxPhysicsVector position, CxPhysicsVector& velocity);
// At least CROQUET_MIN_AIM px between origin and target.
bool CroquetAimValid(CxPoint origin, CxPoint target);
// The cone's frame 0 .. 35 for the aim from origin to target.
int CroquetConeFrame(CxPoint origin, CxPoint target);
// Centre of dot i (0 .. 19) of the chain.
CxPoint CroquetDotCentre(CxPoint origin, CxPoint target, int index);
// The kick's frame: ratHitBallFrame, or frames - 3 when that is 0 or less
// (never below 0).
int CroquetKickFrame(int ratHitBallFrame, int frames);
// The ball's centre inside the hole's rectangle (x + 20, y + 30) to
// (x + width - 10, y + height).
bool CroquetInHole(CxPoint hole, int width, int height, CxPoint ball);
// The world friction after entering mud: friction - size * 0.001, never
// below 1e-6.
float CroquetMudFriction(float friction, int mudDampenSize);
// The speed after a deflector: rotated by 1 radian.
CxPhysicsVector CroquetDeflect(CxPhysicsVector velocity);
// How many food places may get food: the places less one held back for a
// puzzle piece and one for a sticker when there are such templates.
int CroquetFoodPlaces(int places, bool puzzles, bool stickers);
