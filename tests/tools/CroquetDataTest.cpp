// Croquet's demo data held to what the room relies on: the aim's cone points
// where its frame number says, every sprite state cuts its picture into
// whole frames (the kicks long enough for the ball to leave at frame count
// - 3), and each level puts the ball, the hoops, the hole and the patches on
// the lawn inside the hedges it draws, with walls along those hedges.
#include "PIM/files/CxOptions.h"
#include "tools/painter/CroquetLayout.h"
#include "tools/painter/DemoPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kFolder = std::string(PIM_DEMO_DATA_DIR) + "/Croquet/";

bool ReadOptions(const std::string& path, CxOptions& options)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string bytes = text.str();
    return file && !bytes.empty() && options.ReadFromBuffer(bytes.data(), bytes.size()) == PIM_OK;
}

CxPoint Point(CxOptions& options, const char* section, const char* key)
{
    CxPoint p{-9999, -9999};
    options.GetPoint(section, key, &p.x, &p.y, -9999, -9999);
    return p;
}

std::map<std::string, ST_DEMO_PICTURE> PicturesByPath()
{
    std::map<std::string, ST_DEMO_PICTURE> byPath;
    for (const ST_DEMO_PICTURE& entry : GetDemoPictures())
        byPath.emplace(entry.path, entry);
    return byPath;
}

// A rectangle lies on the lawn: inside the border hedges and clear of the
// level's inner hedges.
bool OnLawn(int level, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (left < kCroquetFieldLeft || top < kCroquetFieldTop || right > kCroquetFieldRight || bottom > kCroquetFieldBottom)
        return false;
    for (const ST_CROQUET_HEDGE& h : CroquetInnerHedges(level))
        if (left <= h.right && right >= h.left && top <= h.bottom && bottom >= h.top)
            return false;
    return true;
}

} // namespace

TEST(CroquetPictures, ConeFrameKPointsKTimesTenDegreesClockwiseFromUp)
{
    const auto pictures = PicturesByPath();
    const ST_DEMO_PICTURE& cone = pictures.at("Croquet/tg_cone.tga");
    ASSERT_EQ(cone.width, cone.height * 36);
    CxDrawSurface s;
    cone.paint(s);
    const int32_t size = cone.height;
    for (int k = 0; k < 36; ++k) {
        // The tip: the opaque pixel farthest from the frame's centre.
        double best = -1, angle = 0;
        for (int32_t y = 0; y < size; ++y)
            for (int32_t x = 0; x < size; ++x) {
                if ((s.GetPixel(k * size + x, y) >> 24) == 0)
                    continue;
                const double dx = x - size / 2.0, dy = y - size / 2.0, d = dx * dx + dy * dy;
                if (d > best) {
                    best = d;
                    angle = std::atan2(dx, -dy) * 180 / 3.14159265358979;
                }
            }
        const double off = std::remainder(angle - k * 10.0, 360.0);
        EXPECT_LT(std::fabs(off), 8.0) << "frame " << k << " points at " << angle;
    }
}

TEST(CroquetSprites, EveryStateCutsAPaintedPictureIntoWholeFrames)
{
    const auto pictures = PicturesByPath();
    struct Expected
    {
        const char* file;
        int states;
    };
    const Expected files[] = {{"Golfer00.xni", 16}, {"Golfer01.xni", 16}, {"ball.xni", 5},       {"pot.xni", 3},
                              {"sunflower.xni", 2}, {"Hole.xni", 2},      {"wicket00.xni", 10},  {"Gum00.xni", 1},
                              {"Mud00.xni", 1},     {"Destroy00.xni", 2}, {"food00.xni", 1},     {"food01.xni", 1},
                              {"food02.xni", 1},    {"water_up.xni", 1},  {"water_down.xni", 1}, {"water_right.xni", 1},
                              {"water_left.xni", 1}};
    for (const Expected& expected : files) {
        SCOPED_TRACE(expected.file);
        CxOptions xni;
        ASSERT_TRUE(ReadOptions(kFolder + expected.file, xni));
        ASSERT_EQ(xni.GetInt("PimSprite", "NumStates", 0), expected.states);
        for (int state = 0; state < expected.states; ++state) {
            char section[16];
            std::snprintf(section, sizeof section, "State%03d", state);
            SCOPED_TRACE(section);
            const std::string file = xni.GetString(section, "FileName").GetText();
            const auto found = pictures.find(file);
            ASSERT_NE(found, pictures.end()) << file << " is not painted";
            const int frames = xni.GetInt(section, "NumFrames", 0);
            ASSERT_GE(frames, 1);
            EXPECT_EQ(found->second.width % frames, 0);
            EXPECT_EQ(found->second.depth, 32) << "drawn with its alpha";
            const bool kick = std::string(expected.file).starts_with("Golfer") && (state == 2 || state == 3);
            if (kick) {
                EXPECT_GE(frames, 5) << "the ball leaves at frame count - 3";
            }
        }
    }
}

TEST(CroquetLevels, EverythingLiesOnTheLawnInsideTheHedgesItsWallsFollow)
{
    CxOptions room;
    ASSERT_TRUE(ReadOptions(kFolder + "Croquet.ini", room));
    const int maxShots = room.GetInt("Options", "MaxNumShots", 0);
    ASSERT_EQ(room.GetInt("General", "NumLevels", 0), 3);
    for (int level = 0; level < 3; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        CxOptions file;
        ASSERT_TRUE(ReadOptions(kFolder + "level" + std::to_string(level) + ".ini", file));
        EXPECT_EQ(std::string(file.GetString("General", "Background").GetText()),
                  "Croquet/lawn" + std::to_string(level) + ".tga");
        const int shots = file.GetInt("General", "NumShots", 0);
        EXPECT_GE(shots, 1);
        EXPECT_LE(shots, maxShots);

        // The player's ball: where the golfer's offset puts it, whole on the lawn.
        const CxPoint golfer = Point(file, "Golfer", "Location"), offset = Point(file, "Golfer", "BallOffset");
        const CxPoint ball = Point(file, "Ball00", "StartPos");
        EXPECT_EQ(file.GetInt("Ball00", "BallType", -1), 0);
        EXPECT_EQ(ball.x, golfer.x + offset.x);
        EXPECT_EQ(ball.y, golfer.y + offset.y);
        const int balls = file.GetInt("General", "NumBalls", 0);
        for (int i = 0; i < balls; ++i) {
            char section[16];
            std::snprintf(section, sizeof section, "Ball%02d", i);
            const CxPoint c = Point(file, section, "StartPos");
            EXPECT_TRUE(OnLawn(level, c.x - 22, c.y - 22, c.x + 22, c.y + 22)) << section;
        }

        // Sprites placed by their top-left corner, with their sizes.
        struct Placed
        {
            const char* count;
            const char* prefix;
            const char* key;
            int32_t width, height;
        };
        const Placed placed[] = {{"NumWickets", "Wicket", "Pos", 50, 70},   {"NumMudLoc", "MudLoc", "Pos", 70, 50},
                                 {"NumGumLoc", "GumLoc", "Pos", 50, 40},    {"NumDestroyLoc", "DestroyLoc", "Pos", 44, 44},
                                 {"NumWaters", "Water", "Pos", 120, 90},    {"NumBonusLoc", "BonusLoc", "Pos", 32, 32}};
        for (const Placed& kind : placed)
            for (int i = 0; i < file.GetInt("General", kind.count, 0); ++i) {
                char section[24];
                std::snprintf(section, sizeof section, "%s%02d", kind.prefix, i);
                const CxPoint p = Point(file, section, kind.key);
                EXPECT_TRUE(OnLawn(level, p.x, p.y, p.x + kind.width - 1, p.y + kind.height - 1)) << section;
            }
        const CxPoint hole = Point(file, "Hole", "Location");
        EXPECT_TRUE(OnLawn(level, hole.x, hole.y, hole.x + 69, hole.y + 59));

        // A wall along each side of every hedge that faces the lawn.
        std::vector<std::array<int, 4>> walls;
        for (int i = 0; i < file.GetInt("General", "NumLines", 0); ++i) {
            char section[16];
            std::snprintf(section, sizeof section, "Line%02d", i);
            CxOptions::IntList v;
            file.GetIntList(section, "Location", &v);
            ASSERT_EQ(v.GetCount(), 4u) << section;
            EXPECT_EQ(file.GetInt(section, "Color", 0), -1) << "drawn by the lawn";
            const int x1 = *v.GetAt(0), y1 = *v.GetAt(1), x2 = *v.GetAt(2), y2 = *v.GetAt(3);
            walls.push_back({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
        }
        auto hasWall = [&](int x1, int y1, int x2, int y2) {
            for (const auto& w : walls)
                if (w[0] == x1 && w[1] == y1 && w[2] == x2 && w[3] == y2)
                    return true;
            return false;
        };
        const int l = kCroquetFieldLeft, t = kCroquetFieldTop, r = kCroquetFieldRight, b = kCroquetFieldBottom;
        EXPECT_TRUE(hasWall(l, t, r, t) && hasWall(l, b, r, b) && hasWall(l, t, l, b) && hasWall(r, t, r, b));
        for (const ST_CROQUET_HEDGE& h : CroquetInnerHedges(level)) {
            EXPECT_TRUE(hasWall(h.left, h.top, h.right, h.top));
            EXPECT_TRUE(hasWall(h.left, h.bottom, h.right, h.bottom));
            if (h.right < r) {
                EXPECT_TRUE(hasWall(h.right, h.top, h.right, h.bottom));
            }
        }
    }
}
