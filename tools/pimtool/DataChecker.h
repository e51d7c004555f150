#pragma once
// "pimtool check": reads a data folder the way the game reads it and lists
// every problem a data author should hear of before a child meets it, one
// line each, "FILE:LINE: what is wrong" ("FILE: ..." when no line is known).
//
// The files are read by the game's own readers (the option store, the
// sprite-file reader, the button-section reader, the sequence reader, the
// pig pen's room-file reader), so a value the checker accepts is one the
// game accepts. The folder must already be mounted by the caller (as
// "<InstallPath>", the way the game mounts its install folder, with any
// further roots); file names are found through those mounts, and while a
// room's own files are checked its folder is searched first, as the room
// mounts it as "<ActivityPath>" during a visit.

#include "tools/pimtool/OptionLines.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class CxOptions;
struct ST_BALL_KIND;
struct ST_CROQUET_OPTIONS;

class CDataChecker
{
public:
    explicit CDataChecker(FILE* out) : m_out(out) {}

    // Checks every file of the mounted root `root` ("<InstallPath>") and
    // prints the problems. Returns how many there were.
    int Run(const char* root);

    // Called by the engine's error hook while a file is read.
    void OnEngineError(const char* message);

private:
    struct ST_OPEN_FILE
    {
        std::string name; // as listed under the root, "PigPen/pig.xni"
        COptionLines lines;
        std::string text;
    };

    void Problem(int line, const std::string& what);
    // Printed like a problem but not counted: what the game mends quietly
    // and the author may still want to know.
    void Warning(int line, const std::string& what);
    // Reads the current file as options; false (reported) when it cannot be.
    bool LoadOptions(CxOptions& options);

    void CheckOptionFile(const std::string& room);
    void CheckValues(CxOptions& options);
    void CheckNumber(const std::string& section, const std::string& key, const std::string& value);
    void CheckButtons(CxOptions& options);
    void CheckRoom(CxOptions& options);
    void CheckPigPen(CxOptions& options);
    // The quiz room: its buttons' pictures, a round within the pool, every
    // question and answer of the pool in the first language.
    void CheckQuiz(CxOptions& options);
    // A ball room (one with ball kinds): its engine keys and kinds, and
    // every level file, read by the room's own readers.
    void CheckBallRoom(CxOptions& options);
    // `croquet` is the croquet room's keys, or null for another ball room.
    void CheckBallLevel(CxOptions& level, const std::vector<ST_BALL_KIND>& kinds, const ST_CROQUET_OPTIONS* croquet);
    // The jigsaw: its range of pictures, each there and of a size it cuts.
    void CheckPuzzle(CxOptions& options);
    void CheckPaintRoom();
    void CheckSprite(CxOptions& options);
    void CheckSequence();
    void CheckEvent(int line, const std::string& text);
    void CheckLanguages(CxOptions& options);
    void CheckBaleLevel();
    // The pig run: its edges, pass scores and level files, and the states
    // and frames its sprite files must have.
    void CheckPigsOut(CxOptions& options);
    // The state count of a sprite file (-1 when it does not read), and the
    // frames of one state (0 when it has none).
    int SpriteStates(const char* name, int state, int* frames);
    void CheckGameFiles();

    // A file named in data: a problem at `line` unless the game would find
    // it. Names holding "$" (filled in while the game runs), names made at
    // run time in the players' folder, and empty names are not looked for.
    void CheckFileExists(int line, const std::string& what, const std::string& name);
    void CheckLua(int line, const std::string& what, const std::string& chunk);
    // The width of a picture, loaded through the image filters; -1 when it
    // does not load.
    int PictureWidth(const std::string& path);

    FILE* m_out;
    int m_problems = 0;
    ST_OPEN_FILE m_file;
    // The global buttons dax.ini makes, which a room's [Static] may show.
    std::vector<std::string> m_globalButtons;
    std::map<std::string, int> m_pictureWidths;
};
