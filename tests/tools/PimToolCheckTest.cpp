#include "tests/support/TempFolder.h"
#include "tests/tools/PimToolRunner.h"
#include "tools/pimtool/OptionLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The built demo data, every file a link to the original: a test that
// changes a file writes a copy of its own in the link's place.
class DemoCopy
{
public:
    DemoCopy()
    {
        const fs::path source = fs::absolute(PIM_DEMO_DATA_DIR);
        const fs::path target = m_folder / "data";
        fs::create_directories(target);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
            const fs::path copy = target / fs::relative(entry.path(), source);
            if (entry.is_directory())
                fs::create_directories(copy);
            else
                fs::create_symlink(entry.path(), copy);
        }
    }
    std::string Path() const { return m_folder / "data"; }

    // Replaces the first `from` of the file by `to`; returns the line (from 1)
    // it stood on, 0 when the file has no `from`.
    int Replace(const std::string& name, const std::string& from, const std::string& to)
    {
        std::string text = m_folder.Read("data/" + name);
        const size_t at = text.find(from);
        if (at == std::string::npos)
            return 0;
        text.replace(at, from.size(), to);
        Write(name, text);
        return LineOf(text, at);
    }
    // Adds a line at the end; returns its number.
    int Append(const std::string& name, const std::string& line)
    {
        std::string text = m_folder.Read("data/" + name);
        if (!text.empty() && text.back() != '\n')
            text += '\n';
        const size_t at = text.size();
        Write(name, text + line + "\n");
        return LineOf(text + line, at);
    }

private:
    static int LineOf(const std::string& text, size_t at)
    {
        int line = 1;
        for (size_t i = 0; i < at; ++i)
            line += text[i] == '\n';
        return line;
    }
    void Write(const std::string& name, const std::string& text)
    {
        fs::remove(m_folder / ("data/" + name));
        m_folder.Write("data/" + name, text);
    }
    TempFolder m_folder;
};

} // namespace

TEST(PimToolCheck, TheDemoDataHasNoProblems)
{
    DemoCopy demo;
    ToolResult result = RunTool({"check", demo.Path()});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_EQ(result.out, "");
}

TEST(PimToolCheck, PlantedMistakesAreFoundWithTheirFileAndLine)
{
    DemoCopy demo;
    const int picture = demo.Replace("FairgroundMenu/Tobble.xni", "FileName=FairgroundMenu/tobble.tga",
                                     "FileName=FairgroundMenu/tobbel.tga");
    const int word = demo.Replace("FairgroundMenu/FairgroundMenu.ini", "NumFrames=5", "NumFrames=abc");
    const int zero = demo.Replace("FarmyardMenu/FarmyardMenu.ini", "NumFrames=5", "NumFrames=0");
    const int wide = demo.Replace("PigPen/pump.xni", "NumFrames=6", "NumFrames=99999");
    const int typo = demo.Append("FairgroundMenu/idle1.seq", "Evnt system.Sleep(1)");
    const int nested = demo.Append("FairgroundMenu/goal00.seq", "continue Sequence \"FairgroundMenu/none.seq\"");
    const int voice = demo.Append("PigPen/intro.seq", "Event Pig.Talk(-1, PigPen/silence.wav)");
    // Filled in while the game runs: not looked for.
    demo.Append("PigPen/intro.seq", "Dynamic Event Pig.Talk(-1, PigPen/${mood}.wav)");
    ASSERT_GT(picture * word * zero * wide * typo * nested * voice, 0);

    ToolResult result = RunTool({"check", demo.Path()});
    EXPECT_EQ(result.code, 1);
    const auto at = [](const std::string& file, int line) { return file + ":" + std::to_string(line) + ": "; };
    const std::string expected[] = {
        at("FairgroundMenu/Tobble.xni", picture) + "[State000] FileName \"FairgroundMenu/tobbel.tga\" does not exist\n",
        at("FairgroundMenu/FairgroundMenu.ini", word) + "[Button0] NumFrames=abc: \"abc\" is not a number\n",
        at("FarmyardMenu/FarmyardMenu.ini", zero) + "[Button0] NumFrames=0 is not 1 to 32767\n",
        at("PigPen/pump.xni", wide) + "[State000] NumFrames=99999 but PigPen/",
        at("FairgroundMenu/idle1.seq", typo) +
            "no kind of sequence line (Event, Lua, Sequence) reads \"Evnt system.Sleep(1)\"\n",
        at("FairgroundMenu/goal00.seq", nested) + "the sequence \"FairgroundMenu/none.seq\" does not exist\n",
        at("PigPen/intro.seq", voice) + "the file of Talk \"PigPen/silence.wav\" does not exist\n",
    };
    for (const std::string& line : expected)
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "\nnot in\n" << result.out;
    EXPECT_EQ(result.out.find("${mood}"), std::string::npos) << result.out;
    // Nothing else: one line a mistake.
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 7) << result.out;
}

TEST(PimToolCheck, OptionFilesLanguagesAndLevelsOfAFolderOfItsOwn)
{
    TempFolder root;
    root.Write("data/dax.ini", "[Button0]\r\nName=Home\r\nFileName=home.tga\r\n");
    root.Write("data/home.tga", "");
    root.Write("data/Barn/Barn.ini",
               "[Options]\r\nOnTimeOut1=PlaySound(\"Barn/moo.wav\")\r\n"
               "[Button0]\r\nFileName=home.tga\r\nPosition=20000, 5\r\nOnClick=GotoRoom(\r\n"
               "[Button2]\r\nFileName=home.tga\r\n"
               "[Static]\r\nButtons=Home, Hoem\r\n"
               "[Goal0]\r\nName=home.tga\r\nFrames=0\r\n");
    root.Write("extra/Barn/moo.wav", "");
    root.Write("data/language.ini", "[English]\nMove=Move %d of %d\nDone=100%% done\n"
                                    "[Cymraeg]\nMove=Symud %d\nDone=%s\n");
    std::string level(144, '\0');
    level[5] = 1;  // the pig
    level[20] = 2; // a bale
    level[30] = 10; // its goal
    root.Write("data/levels/good.skc", level);
    level[6] = 1;
    level[7] = 5;
    level[30] = 0;
    root.Write("data/levels/bad.skc", level);
    root.Write("data/levels/short.skc", "x");

    ToolResult result = RunTool({"check", "--root", "CDPath=" + (root / "extra"), root / "data"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out,
              "(the game): the game's font \"COMMON/pakenham.ttf\" does not exist\n"
              "(the game): the printer dialog \"COMMON/printer.ini\" does not exist\n"
              "Barn/Barn.ini:5: [Button0] Position=20000, 5 lies beyond +-16384\n"
              "Barn/Barn.ini:6: the Lua of [Button0] OnClick does not compile: [Button0] OnClick:1: unexpected "
              "symbol near '<eof>'\n"
              "Barn/Barn.ini:7: [Button2] is never read: [Button1] has no FileName\n"
              "Barn/Barn.ini:10: [Static] Buttons names \"Hoem\", which is no button of dax.ini\n"
              "Barn/Barn.ini:13: [Goal0] Frames is below 1\n"
              "language.ini:5: [Cymraeg] Move has 1 numbers to fill in; the first language has 2\n"
              "language.ini:6: [Cymraeg] Done: \"%s\" is no number conversion (only %d and its kind are filled in)\n"
              "levels/bad.skc: cell 7 (x 0, y 7) holds 5, no level code\n"
              "levels/bad.skc: a level has one pig, this one 2\n"
              "levels/bad.skc: the level has no goal: it can never be won\n"
              "levels/short.skc: a level has 144 bytes, this one 1\n"
              "levels/short.skc: cell 0 (x 0, y 0) holds 120, no level code\n"
              "levels/short.skc: the level has no pig (the game puts one at 6, 6)\n"
              "levels/short.skc: the level has no goal: it can never be won\n");

    // Without the second root the room's sound is missing too.
    ToolResult alone = RunTool({"check", root / "data"});
    EXPECT_NE(alone.out.find("Barn/Barn.ini:2: the file named in [Options] OnTimeOut1 \"Barn/moo.wav\" does not "
                             "exist\n"),
              std::string::npos)
        << alone.out;

    EXPECT_EQ(RunTool({"check", root / "data", root / "extra"}).code, 2);
    EXPECT_EQ(RunTool({"check", root / "nothing"}).code, 1);
}

TEST(PimToolCheck, APaintStickerButtonTooWideForTheRowOrAMissingCursorIsFound)
{
    DemoCopy demo;
    // A 90-pixel preview in the place of sticker 7 of set 2: four such would
    // run past the row's next arrow. A 24-bit Targa, every pixel grey.
    std::string wide(18, '\0');
    wide[2] = 2;       // uncompressed true colour
    wide[12] = 90;     // width
    wide[14] = 40;     // height
    wide[16] = 24;     // bits per pixel
    wide[17] = 0x20;   // top row first
    wide += std::string(90 * 40 * 3, '\x80');
    fs::remove(fs::path(demo.Path()) / "art/pr_stickbut207.tga");
    std::ofstream(fs::path(demo.Path()) / "art/pr_stickbut207.tga", std::ios::binary) << wide;
    fs::remove(fs::path(demo.Path()) / "art/pt_curgrab1.tga");

    ToolResult result = RunTool({"check", demo.Path()});
    EXPECT_EQ(result.code, 1);
    for (const std::string& line :
         {std::string("PaintRoom/PaintRoom.ini: the sticker button \"art\\pr_stickbut207.tga\" is 90 pixels wide, "
                      "more than 66\n"),
          std::string("PaintRoom/PaintRoom.ini: the paint room's cursor \"art\\pt_curgrab1.tga\" does not exist\n")})
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "\nnot in\n" << result.out;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2) << result.out;
}

TEST(PimToolCheck, BallRoomLevelsAreReadAsTheRoomReadsThem)
{
    TempFolder root;
    root.Write("data/Croquet/Croquet.ini",
               "[General]\nNumLevels=4\n"
               "[Options]\nNumBallTypes=2\nMaxNumShots=5\n"
               "[BallType00]\nFileName=ball.xni\nRadius=20\n"
               "[BallType01]\nFileName=-\n");
    root.Write("data/Croquet/ball.xni", "[Sprite]\nNumStates=0\n");
    // A ball of a kind that was skipped, and too many shots.
    root.Write("data/Croquet/level0.ini", "[General]\nNumBalls=2\nNumShots=9\n"
                                          "[Ball00]\nBallType=0\n[Ball01]\nBallType=1\n");
    // A ball that cannot be, and a word where a number belongs.
    root.Write("data/Croquet/level1.ini", "[General]\nNumBalls=1\n[Ball00]\nBallType=0\nRadius=-4\nMass=nan\n");
    // No ball for the player.
    root.Write("data/Croquet/level2.ini", "[General]\nNumBalls=0\n");

    ToolResult result = RunTool({"check", root / "data"});
    EXPECT_EQ(result.code, 1);
    const std::string expected[] = {
        "Croquet/Croquet.ini: warning: 1 ball kind(s) have no FileName",
        "Croquet/level0.ini: warning: 1 ball(s) name a BallType outside the room's 1 kept kinds",
        "Croquet/level0.ini:3: warning: NumShots=9 is above the room's MaxNumShots; the level has 5\n",
        "Croquet/level1.ini:5: the level is refused and plays empty: Ball00: Radius is negative\n",
        "Croquet/level1.ini:6: [Ball00] Mass=nan: \"nan\" is not a number\n",
        "Croquet/level2.ini: the level has no ball for the player\n",
        "Croquet/level3.ini: is missing: the room has 4 levels\n",
    };
    for (const std::string& line : expected)
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n---\n" << result.out;
    // Warnings are not counted as problems: the first level alone passes.
    EXPECT_EQ(result.out.find("level0.ini: the level"), std::string::npos) << result.out;
}

TEST(PimToolCheck, TheActivityCentresPuzzleAndQuizAreCheckedAsTheirRoomsReadThem)
{
    DemoCopy data;
    // A picture past the last one painted, a round longer than the pool,
    // and an answer the English texts lack.
    ASSERT_GT(data.Replace("Puzzle/Puzzle.ini", "LastLevel=3", "LastLevel=4"), 0);
    const int maxSet = data.Replace("Quiz/Quiz.ini", "MaxSet=5", "MaxSet=9");
    ASSERT_GT(maxSet, 0);
    ASSERT_GT(data.Replace("language.ini", "A07_3=", "B07_3="), 0);
    ToolResult result = RunTool({"check", data.Path()});
    EXPECT_EQ(result.code, 1);
    const std::string expected[] = {
        "Puzzle/Puzzle.ini: the picture \"puzzle\\puzzle_04.tga\" does not exist\n",
        "Quiz/Quiz.ini:" + std::to_string(maxSet) + ": [Options] MaxSet 9 is more than MaxQuestions 8\n",
        "the quiz's pool lacks 1 texts in [English] of language.ini: A07_3\n",
    };
    for (const std::string& line : expected)
        EXPECT_NE(result.out.find(line), std::string::npos) << line << "\n---\n" << result.out;
}

TEST(PimToolCheck, OptionLinesCountEveryLineEndAsTheStoreDoes)
{
    // CR LF is one line end, a lone CR and a lone LF one each; a ";" hides an
    // "=" or a "[" after it; the first of two keys is the one lookups see;
    // keys keep their leading blanks, as the store keeps them.
    const std::string text = "; [NotASection]\r\n[Button0]\r\nName=A\rName=B\n"
                             "  Position = 1, 2\r\n; x=1\r\n\r\n[button1] ; comment\nfilename=b.tga\n";
    COptionLines lines;
    lines.Read(text.data(), text.size());
    EXPECT_EQ(lines.SectionLine("NotASection"), 0);
    EXPECT_EQ(lines.SectionLine("[BUTTON0]"), 2);
    EXPECT_EQ(lines.KeyLine("Button0", "name"), 3);
    EXPECT_EQ(lines.KeyLine("Button0", "  Position "), 5);
    EXPECT_EQ(lines.KeyLine("Button0", "Position"), 2); // indented: another key
    // A key the section lacks points at its header; an unknown section at nothing.
    EXPECT_EQ(lines.KeyLine("Button0", "x"), 2);
    EXPECT_EQ(lines.KeyLine("Button1", "FileName"), 9);
    EXPECT_EQ(lines.KeyLine("Button2", "FileName"), 0);
}
