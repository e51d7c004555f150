#pragma once
// A replay: a plain-text script of what a player does, one command a line,
// played on the virtual clock by the headless runner. End-to-end tests are
// replays. Commands:
//   wait MS                  let MS milliseconds pass (frames keep running)
//   move X Y                 move the mouse
//   click X Y / rclick X Y   left / right click there
//   click LABEL              click the open message box's button LABEL where it
//                            is on screen ("Quit", "Ok"; quotes optional)
//   drag X1 Y1 X2 Y2         press at the first point, move, release at the second
//   key NAME                 press and release a key ("ESC", "F1", "ALT_F4", "A", ...)
//   text STRING              type the characters of the rest of the line
//   expect room NAME         the current room is NAME (ignoring case)
//   expect no-room           no room has been entered yet
//   expect no-errors         no error has been reported
//   expect player KEY VALUE  the signed-in player's stored KEY (one word) holds
//                            VALUE (the rest of the line): compared as integers
//                            when both are integers ("07" is 7), else as text
//   expect box TITLE         a message box titled TITLE is open (quotes optional)
//   expect no-box            no message box is open
//   expect pixel X Y R G B   the screen shows about that colour at (X, Y): each
//                            of red, green and blue within 12 of the value, as
//                            a 16-bit screen rounds colours
//   seed N                   the random numbers start again from seed N
//   focus out / focus in     the window loses / regains the keyboard focus, as
//                            when the player switches to another program
//   screenshot FILE          save what the screen shows (.png or .tga)
//   quit                     end the run
// Blank lines and lines starting with "#" are ignored. A replay is outside
// data: every line is checked and a bad one is reported with its number.

#include "PIM/core/PimDefs.h"

#include <string>
#include <vector>

enum class EReplayOp
{
    Wait,
    Move,
    Click,
    ClickButton,
    RightClick,
    Drag,
    Key,
    Text,
    ExpectRoom,
    ExpectNoErrors,
    ExpectPlayer,
    ExpectBox,
    ExpectNoBox,
    ExpectPixel,
    Seed,
    Focus,
    Screenshot,
    Quit,
};

struct ST_REPLAY_STEP
{
    EReplayOp op = EReplayOp::Quit;
    int line = 0;
    int32_t values[5] = {0, 0, 0, 0, 0}; // milliseconds, or x, y (, x2, y2), or x, y, r, g, b, or 1 / 0 (focus in / out)
    uint32_t key = 0;                 // engine key code for "key"
    std::string text;                 // "text", a label, a room or box title, a file, a player's value
    std::string name;                 // the player's key of "expect player"
};

class CxReplayScript
{
public:
    // False with `error` ("line N: ...") at the first bad line.
    bool Parse(const char* text, size_t size, std::string& error);
    const std::vector<ST_REPLAY_STEP>& GetSteps() const { return m_steps; }

    // Longest wait a line may ask for (a day): anything more is a typo.
    static constexpr int32_t kMaxWait = 24 * 60 * 60 * 1000;
    // Coordinates beyond this are refused.
    static constexpr int32_t kMaxCoordinate = 100000;
    // How far each of red, green and blue may stray in "expect pixel".
    static constexpr int32_t kPixelTolerance = 12;

    // Whether a player's stored value is what a replay expects: as integers
    // when both are whole decimal numbers (within 64 bits), else byte for byte.
    static bool SameValue(const std::string& stored, const std::string& expected);

private:
    std::vector<ST_REPLAY_STEP> m_steps;
};
