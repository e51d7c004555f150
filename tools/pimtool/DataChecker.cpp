#include "tools/pimtool/DataChecker.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "DAX/rooms/CDaxWindow.h"
#include "DAX/sequences/DaxSequenceReader.h"
#include "DAX/sprites/DaxSpriteFile.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/CxOptionVariable.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimNumbers.h"
#include "PIM/core/PimSafeFormat.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/CxSprite.h"
#include "PIM/files/CxDynamicFileSystem.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/CxFileInfo.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "game/baleout/BaleOutLevel.h"
#include "game/balls/BallsLevel.h"
#include "game/croquet/CroquetLevel.h"
#include "game/pigsout/PigsOutLevel.h"
#include "game/jigsaw/JigsawLevel.h"
#include "game/paint/PaintFiles.h"
#include "game/paint/PaintModel.h"
#include "game/quiz/QuizLevel.h"
#include "game/pigpen/PigPenLevel.h"
#include "game/shell/CMarrowdaleApp.h"

#include <lua.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>

namespace {

// The ends of the names of files data may name: pictures, sounds, movies,
// fonts, texts, scripts and the game's own files.
const char* const kFileEnds[] = {".tga", ".pim", ".pcx", ".bmp", ".png", ".wav", ".mp3", ".raw", ".smk",
                                 ".ttf", ".txt", ".lua", ".seq", ".xni", ".ini", ".skc"};

// Keys whose values are numbers (or lists of them) wherever they stand;
// digits in a key's name do not count ("Pos1", "Mask1Position", "Frame003").
const char* const kNumberKeys[] = {
    "AllowCommandConsole", "Area", "Centered", "Color", "CommandConsoleHeight", "ControlID", "Cursor", "Depth",
    "DrinkFrame", "Duration", "EatFoodFrame", "EndOnEnterKey", "FontColor", "FontPointSize", "FoodLoc", "Frame",
    "FrameRate", "Frames", "FullScreen", "HighScorePos", "HitPos", "ID", "IconPos", "IdleTime", "InternalSize",
    "Level", "LipMask", "LipPosition", "MaskColorPosition", "MaskOnly", "MaskPosition", "MasterSliderPos",
    "MasterSliderY", "MaxCommandHistory", "MaxDifficulty", "MaxErrorCount", "MaxIdleCount", "MaxLevel",
    "MaxOutputHistory", "MaxUIIcons", "MinDifficulty", "MinLevel", "MusicSliderPos", "MusicSliderY",
    "NeutralPercent", "NumFrames", "NumItems", "NumStates", "PointSize", "Pos", "Position", "PreLoadList",
    "Rect", "RoomStackSize", "ScorePos", "ScrollPixelsPerInterval", "ScrollTimeInterval", "Size", "SkipCredits",
    "SkipIntroMovies", "SortNameList", "StartFrame", "StateIndex", "States", "SubCategory", "TextArea",
    "TextColor", "TextSize", "TextSpacing", "TransparentPixel", "Type", "UIIconStartPosition", "UnlockOrder",
    "WantOffset", "XYPerFrame"};

// A ball room's level files are looked for up to this number.
constexpr int kMaxBallLevels = 1000;

// The ball rooms' numbers: a word there reads as 0 without a sound, which
// makes a ball of no size or a wall with no window.
const char* const kBallNumberKeys[] = {
    "BallOffset", "BallType", "BounceFriction", "Breakable", "ChangeDirection", "CharHomePos", "CollisionDampen",
    "FoodOffsetPos", "Gravity", "GumFriction", "LoseWaitTime", "Mass", "MaxNumShots", "MaxSpeed", "Movable",
    "MudDampenSize", "NumBalls", "NumBallTypes", "NumGravityPoints", "NumLines", "NumShots", "PassThruAngle",
    "Radius", "RatHitBallFrame", "ShotLocation", "ShotOffset", "StartDir", "StartPos", "UpdateTime", "WaterType",
    "WicketType", "WorldFriction"};

// Events whose arguments name sounds or subtitle texts.
const char* const kSoundEvents[] = {"PlaySound", "StartSound", "Talk"};


void OnError(void* context, int code, const char* message)
{
    (void)code;
    static_cast<CDataChecker*>(context)->OnEngineError(message);
}

bool EndsWith(const std::string& text, const char* end)
{
    const size_t length = std::strlen(end);
    return text.size() > length && PimStrEqual(text.c_str() + text.size() - length, end, true);
}

bool StartsWith(const std::string& text, const char* start)
{
    const size_t length = std::strlen(start);
    return text.size() >= length && PimStrEqual(text.substr(0, length).c_str(), start, true);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsFileName(const std::string& text)
{
    if (text.find_first_of(" \t\"'(),=") != std::string::npos)
        return false;
    return std::any_of(std::begin(kFileEnds), std::end(kFileEnds),
                       [&text](const char* end) { return EndsWith(text, end); });
}

std::string Trim(const std::string& text)
{
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::string WithoutDigits(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            out += c;
    return out;
}

bool IsNumberKey(const std::string& key)
{
    const std::string bare = WithoutDigits(key);
    const auto named = [&bare](const char* name) { return PimStrEqual(bare.c_str(), name, true); };
    return std::any_of(std::begin(kNumberKeys), std::end(kNumberKeys), named) ||
           std::any_of(std::begin(kBallNumberKeys), std::end(kBallNumberKeys), named);
}

// "12", "-3", "2.5": what PimParseInt / PimParseFloat read whole.
bool IsNumber(const std::string& text)
{
    size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    const size_t digits = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        ++at;
    if (at == digits)
        return false;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
            ++at;
    }
    return at == text.size();
}

std::vector<std::string> SplitCommas(const std::string& text)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        pieces.push_back(Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos)
            return pieces;
        start = comma + 1;
    }
}

// The string literals of a Lua text that name files.
std::vector<std::string> QuotedFileNames(const std::string& chunk)
{
    std::vector<std::string> names;
    for (size_t at = 0; at < chunk.size(); ++at) {
        const char quote = chunk[at];
        if (quote != '"' && quote != '\'')
            continue;
        const size_t close = chunk.find(quote, at + 1);
        if (close == std::string::npos)
            break;
        std::string text = chunk.substr(at + 1, close - at - 1);
        if (IsFileName(text))
            names.push_back(text);
        at = close;
    }
    return names;
}

std::string Folder(const std::string& name)
{
    const size_t slash = name.find('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

std::string BaseName(const std::string& name)
{
    const size_t slash = name.find_last_of('/');
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    const size_t dot = base.find_last_of('.');
    return dot == std::string::npos ? base : base.substr(0, dot);
}

} // namespace

void CDataChecker::OnEngineError(const char* message)
{
    Problem(0, message ? message : "an error without a message");
}

void CDataChecker::Problem(int line, const std::string& what)
{
    ++m_problems;
    if (line > 0)
        std::fprintf(m_out, "%s:%d: %s\n", m_file.name.c_str(), line, what.c_str());
    else
        std::fprintf(m_out, "%s: %s\n", m_file.name.c_str(), what.c_str());
}

void CDataChecker::Warning(int line, const std::string& what)
{
    if (line > 0)
        std::fprintf(m_out, "%s:%d: warning: %s\n", m_file.name.c_str(), line, what.c_str());
    else
        std::fprintf(m_out, "%s: warning: %s\n", m_file.name.c_str(), what.c_str());
}

void CDataChecker::CheckFileExists(int line, const std::string& what, const std::string& name)
{
    if (name.empty() || name.find('$') != std::string::npos || StartsWith(name, "<AppData>"))
        return;
    CxString path;
    if (BuildGamePathFromData(path, name.c_str()) != PIM_OK) {
        Problem(line, what + " \"" + name + "\" is no file name the game can use");
        return;
    }
    if (!FsExists(path.GetText()))
        Problem(line, what + " \"" + name + "\" does not exist");
}

void CDataChecker::CheckLua(int line, const std::string& what, const std::string& chunk)
{
    lua_State* L = luaL_newstate();
    if (!L)
        return;
    if (luaL_loadbuffer(L, chunk.data(), chunk.size(), ("=" + what).c_str()) != 0) {
        const char* message = lua_tostring(L, -1);
        Problem(line, "the Lua of " + what + " does not compile: " + (message ? message : "?"));
    }
    lua_close(L);
    for (const std::string& name : QuotedFileNames(chunk))
        CheckFileExists(line, "the file named in " + what, name);
}

int CDataChecker::PictureWidth(const std::string& path)
{
    auto known = m_pictureWidths.find(path);
    if (known != m_pictureWidths.end())
        return known->second;
    std::unique_ptr<CxDrawSurface> picture(LoadDrawSurface(path.c_str()));
    const int width = picture ? picture->GetWidth() : -1;
    m_pictureWidths.emplace(path, width);
    return width;
}

bool CDataChecker::LoadOptions(CxOptions& options)
{
    const std::string path = "<InstallPath>" + m_file.name;
    return options.Load(path.c_str()) == PIM_OK;
}

void CDataChecker::CheckNumber(const std::string& section, const std::string& key, const std::string& value)
{
    const int line = m_file.lines.KeyLine(section, key);
    const std::vector<std::string> pieces = SplitCommas(value);
    for (const std::string& piece : pieces) {
        if (!IsNumber(piece)) {
            Problem(line, "[" + section + "] " + key + "=" + value + ": \"" + piece + "\" is not a number");
            return;
        }
    }
    if (PimStrEqual(key.c_str(), "Position", true)) {
        if (pieces.size() != 2)
            Problem(line, "[" + section + "] Position=" + value + " is not \"x, y\"");
        for (const std::string& piece : pieces)
            if (std::abs(PimParseInt(piece.c_str())) > DAX_COORDINATE_LIMIT)
                Problem(line, "[" + section + "] Position=" + value + " lies beyond +-" +
                                  std::to_string(DAX_COORDINATE_LIMIT));
    }
}

void CDataChecker::CheckValues(CxOptions& options)
{
    for (auto* node = options.GetFirstSectionNode(); node; node = node->GetNext()) {
        const CxOptionSection* section = node->GetElement();
        std::string header = section->GetHeader();
        if (header.size() >= 2 && header.front() == '[')
            header = header.substr(1, header.find(']') == std::string::npos ? std::string::npos
                                                                            : header.find(']') - 1);
        for (auto* v = section->GetFirstNode(); v; v = v->GetNext()) {
            const CxOptionVariable* variable = v->GetElement();
            const std::string key = variable->GetName();
            const std::string value = variable->GetValue();
            const int line = m_file.lines.KeyLine(header, key);
            if (IsNumberKey(key))
                CheckNumber(header, key, value);
            else if (key.size() > 2 && StartsWith(key, "On") &&
                     std::isupper(static_cast<unsigned char>(key[2])))
                CheckLua(line, "[" + header + "] " + key, value);
            else if (IsFileName(value) && value.find('%') == std::string::npos)
                CheckFileExists(line, "[" + header + "] " + key, value);
        }
    }
}

void CDataChecker::CheckButtons(CxOptions& options)
{
    int index = 0;
    for (ST_DAX_BUTTON_SECTION button; index < DAX_BUTTON_SECTIONS_MAX; ++index) {
        if (!DaxReadButtonSection(options, index, button))
            break;
        // Words are reported as such by the value check.
        char written[64];
        options.GetString(button.section.GetText(), "NumFrames", written, "5", static_cast<int>(sizeof written));
        const int raw = PimParseInt(written);
        if (IsNumber(Trim(written)) && (raw < 1 || raw > PIM_MAX_SPRITE_FRAMES))
            Problem(m_file.lines.KeyLine(button.section.GetText(), "NumFrames"),
                    "[" + std::string(button.section.GetText()) + "] NumFrames=" + std::to_string(raw) +
                        " is not 1 to " + std::to_string(PIM_MAX_SPRITE_FRAMES));
    }
    // A gap ends the buttons: the sections after it are never read.
    for (int later = index + 1; later < DAX_BUTTON_SECTIONS_MAX; ++later) {
        const std::string section = "Button" + std::to_string(later);
        if (options.FindSection(section.c_str()))
            Problem(m_file.lines.SectionLine(section), "[" + section + "] is never read: [Button" +
                                                           std::to_string(index) + "] has no FileName");
    }
}

void CDataChecker::CheckRoom(CxOptions& options)
{
    CheckButtons(options);
    char text[CxOptions::kIntListValueSize];
    options.GetString("Static", "Buttons", text, "", static_cast<int>(sizeof text));
    for (const std::string& name : SplitCommas(text)) {
        if (name.empty())
            continue;
        const bool known = std::any_of(m_globalButtons.begin(), m_globalButtons.end(),
                                       [&name](const std::string& b) { return PimStrEqual(b.c_str(), name.c_str(), true); });
        if (!known)
            Problem(m_file.lines.KeyLine("Static", "Buttons"), "[Static] Buttons names \"" + name +
                                                                   "\", which is no button of dax.ini");
    }
    for (int goal = 0; goal < DAX_BUTTON_SECTIONS_MAX; ++goal) {
        const std::string section = "Goal" + std::to_string(goal);
        if (!options.FindSection(section.c_str()))
            break;
        options.GetString(section.c_str(), "Name", text, "", static_cast<int>(sizeof text));
        if (!*text)
            Problem(m_file.lines.SectionLine(section), "[" + section + "] has no Name");
        if (options.GetInt(section.c_str(), "Frames", 1) < 1)
            Problem(m_file.lines.KeyLine(section, "Frames"), "[" + section + "] Frames is below 1");
    }
    if (options.FindSection("General") && options.FindSection("UI00"))
        CheckPigPen(options);
    if (options.GetInt("Options", "NumBallTypes", 0) > 0)
        CheckBallRoom(options);
    if (PimStrEqual(Folder(m_file.name).c_str(), "Puzzle", true))
        CheckPuzzle(options);
    if (options.FindSection("Answer0") && options.FindVariable("Options", "MaxQuestions"))
        CheckQuiz(options);
    if (PimStrEqual(Folder(m_file.name).c_str(), "PaintRoom", true))
        CheckPaintRoom();
    if (PimStrEqual(Folder(m_file.name).c_str(), "PigsOut", true))
        CheckPigsOut(options);
}

int CDataChecker::SpriteStates(const char* name, int state, int* frames)
{
    *frames = 0;
    CxString path;
    CxOptions sprite;
    if (BuildGamePathFromData(path, name) != PIM_OK || !FsExists(path.GetText()) || sprite.Load(path.GetText()) != PIM_OK)
        return -1;
    ST_DAX_SPRITE_HEADER header;
    CxError reporter;
    CxQuietErrors quiet;
    if (ReadDaxSpriteHeader(sprite, header, reporter) != PIM_OK)
        return -1;
    if (state < header.numStates) {
        ST_DAX_STATE_DESC desc;
        ReadDaxState(sprite, state, desc);
        *frames = desc.numFrames;
    }
    return header.numStates;
}

void CDataChecker::CheckPigsOut(CxOptions& options)
{
    const int left = options.GetInt("General", "LeftEdge", 0), right = options.GetInt("General", "RightEdge", 0);
    if (left > right)
        Problem(m_file.lines.KeyLine("General", "LeftEdge"), "[General] LeftEdge " + std::to_string(left) +
                                                                 " is right of RightEdge " + std::to_string(right));
    const int levels = std::max(options.GetInt("General", "NumLevels", 0), 0);
    int frames = 0;
    int roadStates = INT32_MAX;
    for (const char* road : {"dax_road_top.xni", "dax_road_bottom.xni"})
        roadStates = std::min(roadStates, SpriteStates(road, 0, &frames));
    if (roadStates < levels)
        Problem(0, "the roads need a state for each of the " + std::to_string(levels) + " levels");
    if (SpriteStates("dax_pig.xni", 0, &frames) < 27)
        Problem(0, "dax_pig.xni needs 27 states");
    if (SpriteStates("dax_farmer.xni", 0, &frames) < 3)
        Problem(0, "dax_farmer.xni needs 3 states");
    const char* kinds[] = {"food", "smallobs", "largeobs", "tallobs", "special"};
    const int counts[] = {4, 3, 3, 3, 3};
    for (size_t kind = 0; kind < 5; ++kind)
        for (int i = 0; i < counts[kind]; ++i) {
            const std::string name = std::string("dax_") + kinds[kind] + std::to_string(i) + ".xni";
            // Fewer than 6 frames never show the depth frames; more than 78
            // skip frames on the way up the road.
            if (SpriteStates(name.c_str(), 0, &frames) < 1 || frames < 6 || frames > 78)
                Problem(0, name + " needs a state 0 of 6 to 78 frames");
        }
    for (int level = 0; level < levels; ++level) {
        const std::string name = PigsOutLevelFileName(level).GetText();
        CxString path;
        CxBuffer buffer;
        if (BuildGamePathFromData(path, name.c_str()) != PIM_OK || !FsExists(path.GetText()) ||
            LoadFile(path.GetText(), buffer) != PIM_OK) {
            Problem(0, "the level file \"" + name + "\" does not exist");
            continue;
        }
        const ST_PIGS_LEVEL table = ReadPigsOutLevel(buffer.GetData(), buffer.GetSize());
        for (const CxString& problem : PigsOutLevelProblems(table))
            Problem(0, name + ": " + problem.GetText());
        const int pass = ReadPigsOutPassScore(options, level);
        const std::string section = CxString::Formatted("Level%02d", level).GetText();
        if (pass > table.FoodCount())
            Problem(m_file.lines.KeyLine(section, "PassScore"), "[" + section + "] PassScore " + std::to_string(pass) +
                                                                    " is more than the level's " +
                                                                    std::to_string(table.FoodCount()) + " food");
    }
}

void CDataChecker::CheckPaintRoom()
{
    for (const CxString& file : PaintButtonFiles())
        CheckFileExists(0, "the paint room's button", file.GetText());
    for (const ST_GAME_CURSOR& cursor : PaintCursors())
        CheckFileExists(0, "the paint room's cursor", cursor.file);
    for (int set = 0; set < PAINT_SET_COUNT; ++set)
        for (int number = 0; number < PaintModel::StickerCount(set); ++number) {
            CheckFileExists(0, "the sticker", PaintStickerFile(set, number, false).GetText());
            // Four row buttons stand between the arrows only when none is wider.
            const CxString button = PaintStickerFile(set, number, true);
            CxString path;
            if (BuildGamePathFromData(path, button.GetText()) != PIM_OK || !FsExists(path.GetText())) {
                Problem(0, std::string("the sticker button \"") + button.GetText() + "\" does not exist");
                continue;
            }
            CxDrawSurface picture;
            if (picture.Load(path.GetText()) != PIM_OK)
                Problem(0, std::string("the sticker button \"") + button.GetText() + "\" cannot be read");
            else if (picture.GetWidth() > PAINT_ROW_BUTTON_MAX_WIDTH)
                Problem(0, std::string("the sticker button \"") + button.GetText() + "\" is " +
                               std::to_string(picture.GetWidth()) + " pixels wide, more than " +
                               std::to_string(PAINT_ROW_BUTTON_MAX_WIDTH));
        }
}

void CDataChecker::CheckPuzzle(CxOptions& options)
{
    const CxString problem = JigsawOptionsProblem(options);
    if (!problem.IsEmpty())
        Problem(m_file.lines.KeyLine("General", "LastLevel"), problem.GetText());
    for (const char* name : {JIGSAW_PREV_BUTTON, JIGSAW_NEXT_BUTTON, JIGSAW_CHANGE_SOUND, JIGSAW_SNAP_SOUND})
        CheckFileExists(0, "the puzzle's file", name);
    // Every picture the arrows reach, at a size the room cuts.
    const ST_JIGSAW_OPTIONS range = ReadJigsawOptions(options);
    for (int number = range.firstLevel; number <= range.lastLevel; ++number) {
        const CxString name = JigsawPictureName(number);
        CxString path;
        if (BuildGamePathFromData(path, name.GetText()) != PIM_OK || !FsExists(path.GetText())) {
            Problem(0, std::string("the picture \"") + name.GetText() + "\" does not exist");
            continue;
        }
        CxDrawSurface picture;
        if (picture.Load(path.GetText()) != PIM_OK) {
            Problem(0, std::string("the picture \"") + name.GetText() + "\" cannot be read");
            continue;
        }
        const CxString size = JigsawPictureSizeProblem(picture.GetWidth(), picture.GetHeight());
        if (!size.IsEmpty())
            Problem(0, std::string("\"") + name.GetText() + "\": " + size.GetText());
    }
}

void CDataChecker::CheckQuiz(CxOptions& options)
{
    const ST_QUIZ_LEVEL quiz = ReadQuizLevel(options);
    if (quiz.mended > 0)
        Problem(0, "the quiz has " + std::to_string(quiz.mended) + " values out of range");
    if (quiz.roundSize > quiz.poolSize)
        Problem(m_file.lines.KeyLine("Options", "MaxSet"), "[Options] MaxSet " + std::to_string(quiz.roundSize) +
                                                               " is more than MaxQuestions " +
                                                               std::to_string(quiz.poolSize));
    // Each picture named is checked as every file name is; a button must name one.
    for (int i = 0; i < QUIZ_ANSWERS; ++i)
        if (quiz.buttons[static_cast<size_t>(i)].picture.IsEmpty())
            Problem(m_file.lines.SectionLine("Answer" + std::to_string(i)),
                    "[Answer" + std::to_string(i) + "] names no button picture");
    // The texts come from the language table's first section (English).
    CxString path;
    CxOptions language;
    if (BuildGamePathFromData(path, "language.ini") != PIM_OK || language.Load(path.GetText()) != PIM_OK) {
        Problem(0, "the quiz's questions need language.ini");
        return;
    }
    const CxOptionSection* first = language.GetFirstSectionNode() ? language.GetFirstSectionNode()->GetElement() : nullptr;
    const std::string header = first ? first->GetHeader() : "";
    const std::string section = header.size() > 2 ? header.substr(1, header.size() - 2) : header;
    std::string missing;
    int count = 0;
    for (int q = 0; q < quiz.poolSize; ++q) {
        std::vector<CxString> keys{CQuizModel::QuestionKey(q)};
        for (int a = 0; a < QUIZ_ANSWERS; ++a)
            keys.push_back(CQuizModel::AnswerKey(q, a));
        for (const CxString& key : keys)
            if (!language.FindVariable(section.c_str(), key.GetText()) && count++ < 8)
                missing += std::string(missing.empty() ? "" : ", ") + key.GetText();
    }
    if (count > 0)
        Problem(m_file.lines.KeyLine("Options", "MaxQuestions"),
                "the quiz's pool lacks " + std::to_string(count) + " texts in [" + section + "] of language.ini: " + missing);
}

void CDataChecker::CheckBallRoom(CxOptions& options)
{
    const ST_BALLS_OPTIONS room = ReadBallsOptions(options);
    if (!room.ok)
        Problem(0, std::string(room.error.GetText()) + " (the room keeps the engine's defaults)");
    const int declared = options.GetInt("Options", "NumBallTypes", 0);
    if (declared > BALLS_MAX_KINDS)
        Warning(m_file.lines.KeyLine("Options", "NumBallTypes"),
                "NumBallTypes=" + std::to_string(declared) + " is cut to " + std::to_string(BALLS_MAX_KINDS));
    if (room.skippedKinds > 0)
        Warning(0, std::to_string(room.skippedKinds) +
                       " ball kind(s) have no FileName of two or more characters; they are skipped and the "
                       "kinds after them move down, so a level's BallType counts only the kept ones");

    // The croquet room is the ball room with the game on top.
    const std::string folder = Folder(m_file.name);
    const bool croquet = PimStrEqual(folder.c_str(), "Croquet", true);
    const ST_CROQUET_OPTIONS game = ReadCroquetOptions(options);

    const ST_OPEN_FILE roomFile = m_file;
    const int numLevels = std::max(options.GetInt("General", "NumLevels", 0), 0);
    for (int number = 0; number < kMaxBallLevels; ++number) {
        const std::string name = folder + "/" + BallsLevelFileName(number).GetText();
        const bool exists = FsExists(("<InstallPath>" + name).c_str());
        if (!exists && number >= numLevels)
            break;
        m_file = ST_OPEN_FILE{};
        m_file.name = name;
        CxOptions level;
        CxBuffer buffer;
        if (!exists) {
            Problem(0, "is missing: the room has " + std::to_string(numLevels) + " levels");
        } else if (LoadFile(("<InstallPath>" + name).c_str(), buffer) == PIM_OK && LoadOptions(level)) {
            m_file.text.assign(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
            m_file.lines.Read(m_file.text.data(), m_file.text.size());
            CheckBallLevel(level, room.kinds, croquet ? &game : nullptr);
        }
    }
    m_file = roomFile;
}

void CDataChecker::CheckBallLevel(CxOptions& level, const std::vector<ST_BALL_KIND>& kinds,
                                  const ST_CROQUET_OPTIONS* croquet)
{
    const ST_BALLS_LEVEL balls = ReadBallsLevel(level, kinds);
    if (!balls.ok) {
        // The reader names "Section: Key ..."; point at that line.
        const std::string error = balls.error.GetText();
        const size_t colon = error.find(": ");
        const size_t space = colon == std::string::npos ? colon : error.find(' ', colon + 2);
        const int line = space == std::string::npos
                             ? 0
                             : m_file.lines.KeyLine(error.substr(0, colon), error.substr(colon + 2, space - colon - 2));
        Problem(line, "the level is refused and plays empty: " + error);
    }
    else if (croquet && !CroquetLevelProblem(balls).IsEmpty())
        Problem(0, CroquetLevelProblem(balls).GetText());
    if (balls.skippedBalls > 0)
        Warning(0, std::to_string(balls.skippedBalls) + " ball(s) name a BallType outside the room's " +
                       std::to_string(kinds.size()) + " kept kinds and are skipped");
    if (balls.capped)
        Warning(0, "a count of [General] is above its cap; the sections past the cap are not read");
    if (!croquet)
        return;
    const ST_CROQUET_LEVEL course = ReadCroquetLevel(level, croquet->numWicketTypes);
    if (course.numShots > croquet->maxNumShots)
        Warning(m_file.lines.KeyLine("General", "NumShots"),
                "NumShots=" + std::to_string(course.numShots) + " is above the room's MaxNumShots; the level has " +
                    std::to_string(croquet->maxNumShots));
    const char* const counts[] = {"NumBonusLoc", "NumGumLoc", "NumMudLoc", "NumDestroyLoc",
                                  "NumWaters",   "NumWickets", "NumBumpers"};
    for (const char* key : counts)
        if (level.GetInt("General", key, 0) > CROQUET_MAX_PLACES)
            Warning(m_file.lines.KeyLine("General", key), std::string(key) + " is cut to " +
                                                              std::to_string(CROQUET_MAX_PLACES));
    // The files it names (bumpers, the background) are looked for when the
    // level file's values are checked in its own turn.
}

void CDataChecker::CheckPigPen(CxOptions& options)
{
    if (options.GetInt("General", "MaxUIIcons", 1) < 1)
        Problem(m_file.lines.KeyLine("General", "MaxUIIcons"), "[General] MaxUIIcons is below 1");
    const ST_PIGPEN_SETUP setup = ReadPigPenSetup(options);
    CheckFileExists(m_file.lines.KeyLine("Pump", "FileName"), "[Pump] FileName", setup.pumpFile.GetText());
    for (size_t category = 0; category < setup.items.size(); ++category) {
        for (size_t index = 0; index < setup.items[category].size(); ++index) {
            char section[32];
            std::snprintf(section, sizeof section, "Item%zu%02zu", category, index);
            const ST_PIGPEN_ITEM& item = setup.items[category][index];
            CheckFileExists(m_file.lines.KeyLine(section, "Name"), std::string("[") + section + "] Name",
                            item.icon.GetText());
            CheckFileExists(m_file.lines.SectionLine(section), std::string("the locked icon of [") + section + "]",
                            item.lockedIcon.GetText());
        }
    }
}

void CDataChecker::CheckSprite(CxOptions& options)
{
    ST_DAX_SPRITE_HEADER header;
    CxError reporter;
    if (ReadDaxSpriteHeader(options, header, reporter) != PIM_OK)
        return; // reported by the reader
    const int declared = options.GetInt(DAX_SPRITE_SECTION, "NumStates", 0);
    for (int number = 0; number < header.numStates; ++number) {
        const std::string section = DaxStateSection(number).GetText();
        if (!options.FindSection(section.c_str())) {
            Problem(m_file.lines.KeyLine(DAX_SPRITE_SECTION, "NumStates"),
                    "NumStates=" + std::to_string(declared) + " but there is no [" + section + "]");
            continue;
        }
        ST_DAX_STATE_DESC state;
        ReadDaxState(options, number, state);
        if (state.fileName.IsEmpty()) {
            Problem(m_file.lines.SectionLine(section), "[" + section + "] has no FileName");
            continue;
        }
        CheckFileExists(m_file.lines.KeyLine(section, "Lips"), "[" + section + "] Lips", state.lips.GetText());
        const int framesLine = m_file.lines.KeyLine(section, "NumFrames");
        if (options.FindVariable(section.c_str(), "NumFrames") && state.numFrames < 1) {
            Problem(framesLine, "[" + section + "] NumFrames=" + std::to_string(state.numFrames) + " is below 1");
            continue;
        }
        CxString path;
        // A missing picture was reported with the file's other names.
        if (BuildGamePathFromData(path, state.fileName.GetText()) != PIM_OK || !FsExists(path.GetText()))
            continue;
        const int width = PictureWidth(path.GetText());
        if (width >= 0 && state.numFrames > width)
            Problem(framesLine, "[" + section + "] NumFrames=" + std::to_string(state.numFrames) + " but " +
                                    state.fileName.GetText() + " is only " + std::to_string(width) +
                                    " pixels wide");
    }
}

void CDataChecker::CheckEvent(int line, const std::string& text)
{
    const size_t open = text.find('(');
    const size_t dot = text.find('.');
    if (open == std::string::npos || dot == std::string::npos || dot > open)
        return;
    const std::string name = Trim(text.substr(dot + 1, open - dot - 1));
    if (std::none_of(std::begin(kSoundEvents), std::end(kSoundEvents),
                     [&name](const char* event) { return PimStrEqual(name.c_str(), event, true); }))
        return;
    const size_t close = text.find(')', open);
    for (const std::string& argument : SplitCommas(text.substr(open + 1, close - open - 1)))
        if (IsFileName(argument))
            CheckFileExists(line, "the file of " + name, argument);
}

void CDataChecker::CheckSequence()
{
    int line = 1;
    size_t start = 0;
    const std::string& text = m_file.text;
    for (size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != '\n')
            continue;
        std::string content = text.substr(start, at - start);
        if (!content.empty() && content.back() == '\r')
            content.pop_back();
        // The reader itself decides what the line is.
        ST_SEQUENCE_ENTRIES entries;
        ParseSequenceText(content.data(), content.size(), entries);
        const std::string trimmed = Trim(content);
        if (entries.entries.empty() && !trimmed.empty() && trimmed.front() != '#')
            Problem(line, "no kind of sequence line (Event, Lua, Sequence) reads \"" + trimmed + "\"");
        for (const ST_SEQUENCE_ENTRY& entry : entries.entries) {
            const std::string entryText = entry.text.GetText();
            if (entry.kind == EDaxSequenceEntry::Sequence)
                CheckFileExists(line, "the sequence", entryText);
            else if (entry.kind == EDaxSequenceEntry::Lua)
                CheckLua(line, "the Lua line", entryText);
            else
                CheckEvent(line, entryText);
        }
        ++line;
        start = at + 1;
    }
}

void CDataChecker::CheckLanguages(CxOptions& options)
{
    // The conversions a text has, by key, as the first language has them.
    std::map<std::string, size_t> conversions;
    for (auto* node = options.GetFirstSectionNode(); node; node = node->GetNext()) {
        const CxOptionSection* section = node->GetElement();
        const std::string header = section->GetHeader();
        for (auto* v = section->GetFirstNode(); v; v = v->GetNext()) {
            const std::string key = v->GetElement()->GetName();
            const char* value = v->GetElement()->GetValue();
            const int line = m_file.lines.KeyLine(header, key);
            size_t count = 0;
            for (const char* p = value; *p; ++p) {
                if (*p != '%')
                    continue;
                if (p[1] == '%') {
                    ++p;
                    continue;
                }
                char conversion = 0;
                const size_t length = PimScanIntConversion(p, &conversion);
                if (length == 0) {
                    Problem(line, header + " " + key + ": \"" + std::string(p).substr(0, 4) +
                                      "\" is no number conversion (only %d and its kind are filled in)");
                    count = SIZE_MAX; // no count to compare
                    break;
                }
                ++count;
                p += length - 1;
            }
            if (count == SIZE_MAX)
                continue;
            auto [first, added] = conversions.emplace(Lower(key), count);
            if (!added && first->second != count)
                Problem(line, header + " " + key + " has " + std::to_string(count) + " numbers to fill in; the first language has " +
                                  std::to_string(first->second));
        }
    }
}

void CDataChecker::CheckBaleLevel()
{
    // Read as the room reads it; whatever the reader had to mend is a problem.
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_file.text.data());
    const ST_BALE_LEVEL level = ReadBaleLevel(bytes, m_file.text.size());
    if (level.shortFile || level.longFile)
        Problem(0, "a level has " + std::to_string(BALE_CELLS) + " bytes, this one " +
                       std::to_string(m_file.text.size()));
    for (size_t cell = 0; cell < m_file.text.size() && cell < BALE_CELLS; ++cell) {
        const int code = bytes[cell];
        if (!BaleIsFileCode(code))
            Problem(0, "cell " + std::to_string(cell) + " (x " + std::to_string(cell / BALE_GRID) + ", y " +
                           std::to_string(cell % BALE_GRID) + ") holds " + std::to_string(code) + ", no level code");
    }
    if (level.extraPigs > 0)
        Problem(0, "a level has one pig, this one " + std::to_string(level.extraPigs + 1));
    if (level.pigPlaced)
        Problem(0, "the level has no pig (the game puts one at 6, 6)");
    int goals = 0;
    int bales = 0;
    for (uint8_t code : level.cells) {
        goals += code == BALE_GOAL;
        bales += code == BALE_BALE;
    }
    if (goals == 0)
        Problem(0, "the level has no goal: it can never be won");
    else if (bales < goals)
        Problem(0, "the level has " + std::to_string(goals) + " goals but only " + std::to_string(bales) + " bales");
}

void CDataChecker::CheckOptionFile(const std::string& room)
{
    CxOptions options;
    if (!LoadOptions(options))
        return;
    CheckValues(options);
    const std::string base = BaseName(m_file.name);
    if (EndsWith(m_file.name, ".xni"))
        CheckSprite(options);
    else if (PimStrEqual(m_file.name.c_str(), "dax.ini", true))
        CheckButtons(options);
    else if (PimStrEqual(m_file.name.c_str(), GAME_LANGUAGE_FILE, true))
        CheckLanguages(options);
    else if (!room.empty() && PimStrEqual(base.c_str(), room.c_str(), true))
        CheckRoom(options);
    else
        CheckButtons(options); // dialogs
}

void CDataChecker::CheckGameFiles()
{
    m_file = ST_OPEN_FILE{};
    m_file.name = "(the game)";
    CheckFileExists(0, "the game's font", GAME_FONT_FILE);
    CheckFileExists(0, "the language table", GAME_LANGUAGE_FILE);
    CheckFileExists(0, "the printer dialog", GAME_PRINTER_DIALOG);
}

int CDataChecker::Run(const char* root)
{
    m_problems = 0;
    // dax.ini first, quietly (it is checked in its turn): rooms may show its
    // buttons.
    m_globalButtons.clear();
    {
        CxQuietErrors quiet;
        CxOptions dax;
        const std::string path = std::string(root) + "dax.ini";
        ST_DAX_BUTTON_SECTION button;
        if (dax.Load(path.c_str()) == PIM_OK)
            for (int i = 0; i < DAX_BUTTON_SECTIONS_MAX && DaxReadButtonSection(dax, i, button); ++i)
                m_globalButtons.emplace_back(button.name.GetText());
    }
    const ST_ERROR_HANDLER previous = SetErrorHandler({&OnError, this});
    CheckGameFiles();

    CxFileInfoList files;
    FsFindFiles(files, (std::string(root) + "*").c_str(), 0, true);
    std::vector<std::string> names;
    for (auto* node = files.GetFirst(); node; node = node->GetNext())
        names.emplace_back(node->GetElement().fullPath.GetText());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        m_file = ST_OPEN_FILE{};
        m_file.name = name;
        const bool options = EndsWith(name, ".ini") || EndsWith(name, ".xni");
        if (!options && !EndsWith(name, ".seq") && !EndsWith(name, ".skc"))
            continue;
        CxBuffer buffer;
        if (LoadFile((root + name).c_str(), buffer) != PIM_OK)
            continue;
        m_file.text.assign(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
        m_file.lines.Read(m_file.text.data(), m_file.text.size());

        // A room's folder is searched first for the files it names.
        const std::string folder = Folder(name);
        std::string room;
        if (!folder.empty() && FsExists((root + folder + "/" + folder + ".ini").c_str()))
            room = folder;
        std::unique_ptr<CxDynamicFileSystem> activity;
        if (!room.empty())
            activity = std::make_unique<CxDynamicFileSystem>(DAX_ROOM_ACTIVITY_ROOT, ("/" + room).c_str());
        if (options)
            CheckOptionFile(room);
        else if (EndsWith(name, ".seq"))
            CheckSequence();
        else
            CheckBaleLevel();
    }
    SetErrorHandler(previous);
    return m_problems;
}
