#pragma once
// The jigsaw room's file ("Puzzle/Puzzle.ini"):
//     [General]
//     FirstLevel=1     ; the first picture, "puzzle\puzzle_01.tga"
//     LastLevel=3      ; the last; the arrows wrap round between them
// Numbers are kept within 0 .. JIGSAW_MAX_PICTURE_NUMBER and a last below
// the first is taken as the first. A picture is usable when it is
// JIGSAW_MIN_PICTURE_SIDE .. JIGSAW_MAX_PICTURE_SIDE pixels each way: a
// smaller one leaves pieces without pixels, a huge one nine huge surfaces.

#include "PIM/core/CxString.h"

class CxOptions;

constexpr int JIGSAW_MAX_PICTURE_NUMBER = 999;
constexpr int JIGSAW_MIN_PICTURE_SIDE = 3;
constexpr int JIGSAW_MAX_PICTURE_SIDE = 2048;
constexpr const char* JIGSAW_CHANGE_SOUND = "puzzle\\scPuzzle_change.wav";
constexpr const char* JIGSAW_SNAP_SOUND = "puzzle\\scPuzzle_complete.wav";
constexpr const char* JIGSAW_PREV_BUTTON = "puzzle\\prevbut.tga";
constexpr const char* JIGSAW_NEXT_BUTTON = "puzzle\\nextbut.tga";

struct ST_JIGSAW_OPTIONS
{
    int firstLevel = 1;
    int lastLevel = 1;
};

ST_JIGSAW_OPTIONS ReadJigsawOptions(CxOptions& options);
// What is wrong with the file's numbers as written ("" when nothing), for
// the data checker: the room itself goes on with the clamped ones.
CxString JigsawOptionsProblem(CxOptions& options);
// "puzzle\puzzle_01.tga" for 1.
CxString JigsawPictureName(int number);
// "" for a usable picture size, else why not.
CxString JigsawPictureSizeProblem(int width, int height);
