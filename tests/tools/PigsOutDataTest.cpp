// The pig run's demo data: its level texts become the 12-byte records the
// room reads, every shipped level has what it is meant to teach and enough
// food to win, and the painted pig really meets the painted objects sent up
// the three lanes, at the frame each of his depths meets.
#include "tests/support/TempFolder.h"
#include "tools/painter/DemoPainter.h"
#include "tools/painter/PigsOutLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

std::string ReadRepoFile(const std::string& name)
{
    std::ifstream in(std::string(PIM_REPO_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int32_t Int32At(const std::string& bytes, size_t offset)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(bytes[offset + static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

// The object lanes and the pig's left edge in each (PigsOut.ini's table).
constexpr int kLaneX[3] = {138, 352, 566};
constexpr int kPigX[3] = {197, 367, 537};
constexpr int kPigY = 340;

} // namespace

TEST(PigsOutLevels, TextBecomesLittleEndianRecordsAndBadTextIsRefused)
{
    std::vector<ST_PIGSOUT_RECORD> records;
    std::string error;
    ASSERT_TRUE(ParsePigsOutLevel("; legend\n\n  -20 10 4 ; a log\r\n1600 10 13\n0 60000 18\n", records, error))
        << error;
    ASSERT_EQ(records.size(), 3u);
    const std::string bytes = PigsOutLevelBytes(records);
    ASSERT_EQ(bytes.size(), 36u);
    EXPECT_EQ(Int32At(bytes, 0), -20);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xEC); // low byte first
    EXPECT_EQ(Int32At(bytes, 4), 10);
    EXPECT_EQ(Int32At(bytes, 8), 4);
    EXPECT_EQ(Int32At(bytes, 12), 1600);
    EXPECT_EQ(Int32At(bytes, 28), 60000);
    EXPECT_EQ(Int32At(bytes, 32), 18);

    const char* bad[] = {
        "0 10 4\n",                 // no end record
        "0 10 18\n0 20 4\n",        // something after the end
        "0 10 16\n0 20 18\n",       // no such object
        "0 10 -1\n0 20 18\n",
        "0 20 4\n0 10 18\n",        // ticks going back
        "0 -1 4\n0 20 18\n",
        "0 60001 18\n",
        "-801 10 4\n0 20 18\n",     // off the road
        "1601 10 4\n0 20 18\n",
        "0 10\n0 20 18\n",          // too few numbers
        "0 10 4 7\n0 20 18\n",      // too many
        "zero 10 4\n0 20 18\n",
        "",
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParsePigsOutLevel(text, records, error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(ParsePigsOutLevel("; one\n; two\n0 10 4\n0 5 18\n", records, error));
    EXPECT_NE(error.find("line 4"), std::string::npos) << error;

    // 499 objects and the end fit the game's table; one more does not.
    std::string full;
    for (int i = 0; i < 499; ++i)
        full += "0 " + std::to_string(i) + " 0\n";
    EXPECT_TRUE(ParsePigsOutLevel(full + "0 500 18\n", records, error)) << error;
    EXPECT_EQ(records.size(), 500u);
    EXPECT_FALSE(ParsePigsOutLevel(full + "0 499 0\n0 500 18\n", records, error));
}

TEST(PigsOutLevels, EveryShippedLevelConvertsAndCanBeWon)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "PigsOut");
    for (int level = 0; level < kPigsOutLevels; ++level) {
        const std::string name = "PigsOut/sLevel0" + std::to_string(level) + ".txt";
        std::filesystem::copy_file(std::string(PIM_REPO_DATA_DIR) + "/" + name, folder / name);
    }
    ASSERT_EQ(MakePigsOutLevels(folder.Path().c_str(), false), 0);

    // The pass scores, in level order.
    std::vector<int> pass;
    std::istringstream ini(ReadRepoFile("PigsOut/PigsOut.ini"));
    for (std::string line; std::getline(ini, line);)
        if (line.rfind("PassScore=", 0) == 0)
            pass.push_back(std::stoi(line.substr(10)));
    ASSERT_EQ(pass.size(), 3u);

    // What each level is there to show: level 1 food, small and large
    // obstacles and the heart; level 2 the tall ones and the star; level 3
    // the rainbow.
    const std::vector<std::vector<int>> needs = {{0, 4, 7, 13}, {10, 14}, {15}};
    for (int level = 0; level < kPigsOutLevels; ++level) {
        SCOPED_TRACE(level);
        const std::string bytes = folder.Read("PigsOut/sLevel0" + std::to_string(level) + ".pol");
        ASSERT_EQ(bytes.size() % 12, 0u);
        const size_t count = bytes.size() / 12;
        ASSERT_GE(count, 2u);
        EXPECT_EQ(Int32At(bytes, (count - 1) * 12 + 8), kPigsOutEndType);
        // The kinds by their first type: food 0, small 4, large 7, tall 10;
        // the specials are their own.
        auto kind = [](int type) { return type < 4 ? 0 : type < 13 ? (type - 4) / 3 * 3 + 4 : type; };
        std::map<int, int> kinds;
        int food = 0;
        for (size_t i = 0; i + 1 < count; ++i) {
            const int x = Int32At(bytes, i * 12), type = Int32At(bytes, i * 12 + 8);
            EXPECT_TRUE(x == kLaneX[0] || x == kLaneX[1] || x == kLaneX[2]) << "record " << i << " is in no lane";
            food += type <= 3;
            ++kinds[kind(type)];
            // Two objects meeting the pig at once could not both be reached.
            if (i > 0) {
                EXPECT_GE(Int32At(bytes, i * 12 + 4) - Int32At(bytes, i * 12 - 8), 80) << "record " << i;
            }
        }
        for (int type : needs[static_cast<size_t>(level)])
            EXPECT_TRUE(kinds.count(kind(type))) << "type " << type;
        // Winnable without the star's doubling; the first level spares a
        // child several misses.
        EXPECT_GE(food, pass[static_cast<size_t>(level)] + (level == 0 ? 4 : 0)) << "too little food";
        const int last = Int32At(bytes, (count - 2) * 12 + 4);
        if (level == 0) { // a run of 20 to 40 s
            EXPECT_GE(last, 2000);
            EXPECT_LE(last, 4000);
        }
    }
}

namespace {

struct ST_STRIP
{
    CxDrawSurface pixels;
    int frameWidth = 0;

    bool Solid(int frame, int x, int y)
    {
        if (x < 0 || y < 0 || x >= frameWidth || y >= pixels.GetHeight())
            return false;
        return (pixels.GetPixel(frame * frameWidth + x, y) >> 24) != 0;
    }
};

void PaintStrip(const char* path, int frameWidth, ST_STRIP& strip)
{
    for (const ST_DEMO_PICTURE& entry : GetDemoPictures())
        if (std::strcmp(entry.path, path) == 0) {
            entry.paint(strip.pixels);
            strip.frameWidth = frameWidth;
            return;
        }
    ADD_FAILURE() << path << " is not painted";
}

// Whether pig frame `pigFrame`, at (pigX, pigY), touches the object sent up
// from x at any of the steps it shows frame `meet` (the room's motion of a
// 160 x 160 object of 12 frames).
bool Meets(ST_STRIP& pig, int pigFrame, int pigX, int pigY, ST_STRIP& object, int x, int meet)
{
    double cx = x + 80, t = 0;
    for (int step = 1; step < 80; ++step) {
        const double cy = 680 - std::sin(t) * 446;
        t += 0.02;
        cx += (432 - cx) / 100;
        const int frame = static_cast<int>(12 * t / 1.57);
        if (frame != meet)
            continue;
        const int left = static_cast<int>(cx) - 80, top = static_cast<int>(cy) - 80;
        for (int y = 0; y < 160; ++y)
            for (int ox = 0; ox < 160; ++ox)
                if (object.Solid(frame, ox, y) && pig.Solid(pigFrame, left + ox - pigX, top + y - pigY))
                    return true;
    }
    return false;
}

} // namespace

TEST(PigsOutPictures, ThePigMeetsWhatComesUpHisLaneAtHisDepthOnly)
{
    ST_STRIP apple, bale, gate;
    PaintStrip("PigsOut/apple.tga", 160, apple);
    PaintStrip("PigsOut/bale.tga", 160, bale);
    PaintStrip("PigsOut/gate.tga", 160, gate);
    struct Depth
    {
        const char *run, *jump, *high;
        int meet; // the frame of an object this depth meets
    };
    for (const Depth& d : {Depth{"PigsOut/pig_run_a.tga", "PigsOut/pig_jump_a.tga", "PigsOut/pig_high_a.tga", 3},
                           Depth{"PigsOut/pig_run_b.tga", "PigsOut/pig_jump_b.tga", "PigsOut/pig_high_b.tga", 5},
                           Depth{"PigsOut/pig_run_c.tga", "PigsOut/pig_jump_c.tga", "PigsOut/pig_high_c.tga", 2}}) {
        SCOPED_TRACE(d.run);
        ST_STRIP run, jump, high;
        PaintStrip(d.run, 130, run);
        PaintStrip(d.jump, 130, jump);
        PaintStrip(d.high, 130, high);
        for (int lane = 0; lane < 3; ++lane) {
            SCOPED_TRACE(lane);
            for (int f = 0; f < 4; ++f) {
                EXPECT_TRUE(Meets(run, f, kPigX[lane], kPigY, apple, kLaneX[lane], d.meet)) << "run frame " << f;
                // The food of the next lane passes him by.
                if (lane < 2) {
                    EXPECT_FALSE(Meets(run, f, kPigX[lane], kPigY, apple, kLaneX[lane + 1], d.meet));
                }
            }
            // A jump does not clear a bale, nor a high jump (raised by the
            // room) a gate: both must still touch them to trip him.
            for (int f = 0; f < 6; ++f) {
                EXPECT_TRUE(Meets(jump, f, kPigX[lane], kPigY, bale, kLaneX[lane], d.meet)) << "jump frame " << f;
                EXPECT_TRUE(Meets(high, f, kPigX[lane], kPigY - 150, gate, kLaneX[lane], d.meet))
                    << "high jump frame " << f;
            }
        }
    }
}
