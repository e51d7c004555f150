#pragma once
// The fairground's second small game, the rules alone: a spinning sprite
// ("Mg2.xni", state 1 while it spins through frames 0 .. 8) that the player
// stops with a click inside the game's area. Where it stops decides the
// stopping animation the sprite plays: frame 4, the middle, is perfect
// (state 6, "feed0.seq") and scores; anything else loses. The game is judged
// when that animation ends or when the player clicks outside the area,
// whichever comes first, so a perfect stop counts without a second click.

constexpr int FAIR_SPINNER_SPINNING = 1;
constexpr int FAIR_SPINNER_PERFECT = 6;

enum class EFairSpinnerState
{
    Idle,
    Running, // spinning, or stopped and playing its stopping animation
    Ending,  // to be judged this frame
};

// What the room does after a judgement.
enum class EFairSpinnerResult
{
    None,
    Scored, // one point, the sprite spins again
    Lost,   // "lose00.seq", the high-score rule, the sprite back to state 0
};

class CFairSpinnerGame
{
public:
    void Start();
    // A click; `inArea` whether it is in the game's area, `frame` the
    // sprite's frame now. Returns the sprite state to set (-1: none).
    int Click(bool inArea, int frame);
    // The sprite's animation ended (its stopping animation: judged).
    void OnAnimationEnd();
    // Per frame: judges an ended game.
    EFairSpinnerResult Update();

    // The sprite state a stop at `frame` gives.
    static int StopStateForFrame(int frame);

    EFairSpinnerState GetState() const { return m_state; }
    int GetSpriteState() const { return m_spriteState; }
    int GetScore() const { return m_score; }
    bool PlaysPerfectCue() const { return m_spriteState == FAIR_SPINNER_PERFECT; }

private:
    EFairSpinnerState m_state = EFairSpinnerState::Idle;
    int m_spriteState = 0;
    int m_score = 0;
};
