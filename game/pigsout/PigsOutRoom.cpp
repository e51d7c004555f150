#include "game/pigsout/PigsOutRoom.h"

#include "PIM/app/CxGameApp.h"
#include "PIM/core/PimSafeFormat.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/sound/CxWave.h"
#include "PIM/text/CxFont.h"
#include "game/common/CGameServices.h"
#include "game/common/GameData.h"
#include "game/common/GameSpriteLook.h"

#include <algorithm>
#include <iterator>

namespace {

// Nearer things have smaller depths. The pig and the objects take turns in
// front of each other from kPigZ down, a step or two an object.
constexpr int32_t kRoadZ = 0x40000000;
constexpr int32_t kFarmerZ = 0x20000000;
constexpr int32_t kPigZ = 0x10000000;
constexpr int32_t kMeterZ = 1000;
constexpr int32_t kTextZ = 999;
constexpr CxPoint kRoadTop{0, 0};
constexpr CxPoint kRoadBottom{0, 238};
constexpr CxPoint kMeterAt{630, 50};
constexpr CxPoint kTextCentre{725, 90};
constexpr CxSize kTextBox{150, 50};
constexpr int kFontSize = 36;
constexpr int kRoadRate = 6;

// In EPigSound's order.
constexpr const char* kSounds[] = {"pigcaught.wav", "G07_VO_TB_003.wav", "G07_VO_TB_004.wav",
                                   "scPigsOut_collect.wav", "scPigsOut_trip.wav"};
constexpr const char* kTemplates[] = {
    "dax_food0.xni",     "dax_food1.xni",     "dax_food2.xni",     "dax_food3.xni",
    "dax_smallobs0.xni", "dax_smallobs1.xni", "dax_smallobs2.xni", "dax_largeobs0.xni",
    "dax_largeobs1.xni", "dax_largeobs2.xni", "dax_tallobs0.xni",  "dax_tallobs1.xni",
    "dax_tallobs2.xni",  "dax_special0.xni",  "dax_special1.xni",  "dax_special2.xni"};
static_assert(std::size(kTemplates) == PIGS_TYPES);

// The level file's bytes through the file layer; empty when it is not there.
std::vector<uint8_t> ReadLevelBytes(const char* name)
{
    std::vector<uint8_t> bytes;
    CxString path;
    if (!GameFindData(name, path))
        return bytes;
    int code = PIM_OK;
    CxFsHandle* file = FsOpen(path.GetText(), CBF_BINARY | CBF_READONLY, &code);
    if (!file)
        return bytes;
    // One record more than a table holds: enough to see that a file is too long.
    bytes.assign((PIGS_MAX_RECORDS + 1) * PIGS_RECORD_BYTES, 0);
    size_t got = 0;
    code = FsRead(file, bytes.data(), bytes.size(), &got);
    FsClose(file);
    bytes.resize(code == PIM_OK ? std::min(got, bytes.size()) : 0);
    return bytes;
}

} // namespace

CPigOutGame::CPigOutGame(CxGameApp* app) : CGameRoom(app), m_model(*this) {}

CPigOutGame::~CPigOutGame()
{
    ReleaseAll();
}

// --- loading ------------------------------------------------------------------------------------

int CPigOutGame::Load()
{
    const int code = CGameRoom::Load();
    ReleaseAll();
    m_options = ReadPigsOutOptions(GetOptions());
    if (m_options.edgesSwapped)
        Trace("PigsOut: LeftEdge is right of RightEdge; the two were swapped\n");
    m_roadTop = LoadSprite("dax_road_top.xni", kRoadTop, kRoadZ);
    m_roadBottom = LoadSprite("dax_road_bottom.xni", kRoadBottom, kRoadZ);
    for (CDaxSprite* road : {m_roadTop.get(), m_roadBottom.get()})
        SetRate(road, kRoadRate);
    m_farmer = LoadSprite("dax_farmer.xni", m_options.farmerPos, kFarmerZ);
    m_pig = LoadSprite("dax_pig.xni", m_options.pigPos, kPigZ);
    LoadTemplates();
    m_meter = std::make_unique<CPigOutMeter>();
    m_meter->LoadPictures();
    m_meter->SetZ(kMeterZ);
    AddChild(m_meter.get());
    m_meter->MoveTo(kMeterAt.x, kMeterAt.y, PIM_ANCHOR_TOP_LEFT);
    m_meter->Show();
    MakeText();
    LoadSounds();
    m_model.ClearCaught();
    m_loaded = true;
    SetLevelRange(0, std::max(0, GetNumLevels() - 1));
    SetLevel(NextLevelToPlay());
    return code;
}

int CPigOutGame::Start()
{
    const int code = CGameRoom::Start();
    // The level's dialog opens over the road, now that it is on screen.
    StartLevel();
    return code;
}

std::unique_ptr<CDaxSprite> CPigOutGame::LoadSprite(const char* file, CxPoint at, int32_t z)
{
    auto sprite = std::make_unique<CDaxSprite>();
    // A missing sprite is a hole in the picture, never an error storm.
    if (!GameDataExists(file) || (sprite->Load(file) != PIM_OK && sprite->GetStateCount() == 0))
        Trace("PigsOut: %s is missing\n", file);
    GameApplySeeThrough(*sprite, true);
    sprite->SetZ(z);
    AddChild(sprite.get());
    sprite->MoveTo(at.x, at.y, PIM_ANCHOR_TOP_LEFT);
    sprite->Show();
    return sprite;
}

void CPigOutGame::LoadTemplates()
{
    for (int type = 0; type < PIGS_TYPES; ++type) {
        auto sprite = std::make_unique<CDaxSprite>();
        if (!GameDataExists(kTemplates[type]) || (sprite->Load(kTemplates[type]) != PIM_OK && sprite->GetStateCount() == 0))
            Trace("PigsOut: %s is missing\n", kTemplates[type]);
        GameApplySeeThrough(*sprite, true);
        const bool state0 = sprite->GetStateCount() > 0 && sprite->SetState(0) == PIM_OK;
        m_templateFrames[static_cast<size_t>(type)] = state0 ? sprite->GetFrameCount() : 0;
        m_templateSizes[static_cast<size_t>(type)] = state0 ? sprite->GetSize() : CxSize{};
        m_templates[static_cast<size_t>(type)] = std::move(sprite);
    }
}

void CPigOutGame::LoadSounds()
{
    m_sounds.clear();
    for (const char* sound : kSounds)
        m_sounds.push_back(GameLoadOptionalSound(sound));
}

void CPigOutGame::MakeText()
{
    CxString path;
    m_font = 0;
    if (GameFindData(PIGS_FONT, path) && LoadFont(path.GetText(), &m_font) != PIM_OK)
        m_font = 0;
    m_foodText.Create(kTextCentre.x - kTextBox.width / 2, kTextCentre.y - kTextBox.height / 2, kTextBox.width,
                      kTextBox.height, this);
    m_foodText.SetZ(kTextZ);
    m_foodText.SetFont(m_font ? m_font : GameServices().GetGameFont());
    m_foodText.SetPointSize(kFontSize);
    m_foodText.SetColour(0x000000);
    m_foodText.SetTextFlags(PIM_DRAWTEXT_DEFAULT_FLAGS | PIM_TEXT_CENTRE);
    m_foodText.Show();
    m_textMade = true;
}

// --- a level ------------------------------------------------------------------------------------

void CPigOutGame::SetLevel(int level)
{
    CGameRoom::SetLevel(level);
    if (!m_loaded)
        return;
    const CxString file = PigsOutLevelFileName(GetLevel());
    const std::vector<uint8_t> bytes = ReadLevelBytes(file.GetText());
    if (bytes.empty())
        Trace("PigsOut: no %s: the level is only its end\n", file.GetText());
    const ST_PIGS_LEVEL table = ReadPigsOutLevel(bytes.data(), bytes.size());
    for (const CxString& problem : PigsOutLevelProblems(table))
        Trace("PigsOut: %s: %s\n", file.GetText(), problem.GetText());
    m_model.Build(m_options, table, ReadPigsOutPassScore(GetOptions(), GetLevel()), GetLevel(), GetGameTime());
    BuildPool();
    if (m_pig) {
        m_pig->SetZ(kPigZ);
        m_pig->SetParent(this);
    }
    ApplyCues();
    FinishCues();
}

void CPigOutGame::BuildPool()
{
    m_objects.clear();
    for (int id = 0; id < m_model.GetSlotCount(); ++id) {
        const int type = m_model.GetSlotType(id);
        auto object = std::make_unique<CPigOutObject>(id, type);
        object->CopyStatesFrom(*m_templates[static_cast<size_t>(type)]);
        GameApplySeeThrough(*object, true);
        object->Hide();
        AddChild(object.get());
        m_objects.push_back(std::move(object));
    }
}

void CPigOutGame::StartLevel()
{
    CGameRoom::StartLevel();
    // The game clock went back to 0 for the level.
    m_model.SetClock(GetGameTime());
}

void CPigOutGame::LevelWon()
{
    ++m_levelWonCalls;
    CGameRoom::LevelWon();
}

CPigOutObject* CPigOutGame::GetObject(int id) const
{
    return id >= 0 && static_cast<size_t>(id) < m_objects.size() ? m_objects[static_cast<size_t>(id)].get() : nullptr;
}

// --- per frame and input ------------------------------------------------------------------------

int CPigOutGame::Update()
{
    const int code = CGameRoom::Update();
    if (!m_loaded)
        return code;
    // The pig follows where the pointer is now, not the last move this room
    // heard: moves made over the start-level dialog never reach the room.
    int32_t x = 0;
    int32_t y = 0;
    if (CxGameApp* app = GetApp(); app && app->GetMousePosition(x, y))
        m_pointer = CxPoint(x, y);
    m_model.SetPointer(m_pointer.x);
    m_model.Advance(GetGameTime());
    ApplyCues();
    FinishCues();
    return code;
}

void CPigOutGame::OnMouseMove(uint32_t buttons, CxPoint point)
{
    CGameRoom::OnMouseMove(buttons, point);
    m_pointer = point;
}

void CPigOutGame::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    m_pointer = point;
    if (m_loaded) {
        NoteInput();
        m_model.Press();
        ApplyCues();
        FinishCues();
    }
    CGameRoom::OnLButtonDown(buttons, point);
}

int CPigOutGame::OnSpriteNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (code == PIGS_OBJECT_PRESSED) {
        const auto* object = dynamic_cast<CPigOutObject*>(sender);
        // Before its first step the object lies below the road, not under the pointer.
        if (object && !m_model.IsObjectFresh(object->GetId()))
            OnLButtonDown(1, m_pointer);
        return 1;
    }
    return CGameRoom::OnSpriteNotify(code, sender, first, second);
}

// --- the sprites' facts ---------------------------------------------------------------------------

int CPigOutGame::ObjectFrames(int type)
{
    return type >= 0 && type < PIGS_TYPES ? m_templateFrames[static_cast<size_t>(type)] : 0;
}

CxSize CPigOutGame::ObjectSize(int type)
{
    return type >= 0 && type < PIGS_TYPES ? m_templateSizes[static_cast<size_t>(type)] : CxSize{};
}

int CPigOutGame::PigWidth()
{
    ApplyCues();
    return m_pig ? m_pig->GetWidth() : 0;
}

int CPigOutGame::FarmerWidth()
{
    return m_farmer ? m_farmer->GetWidth() : 0;
}

bool CPigOutGame::PigStopped()
{
    ApplyCues();
    return !m_pig || m_pig->IsStopped();
}

bool CPigOutGame::FarmerStopped()
{
    ApplyCues();
    return !m_farmer || m_farmer->IsStopped();
}

bool CPigOutGame::CaughtSoundPlaying()
{
    const CDaxSound& caught = m_sounds[static_cast<size_t>(EPigSound::Caught)];
    return caught && caught->IsStarted();
}

bool CPigOutGame::Collides(int id)
{
    ApplyCues();
    CPigOutObject* object = GetObject(id);
    return m_pig && object && object->IsShown() && m_pig->CollidesWith(*object) != 0;
}

// --- cues -----------------------------------------------------------------------------------------

void CPigOutGame::ApplyCues()
{
    const std::vector<ST_PIG_CUE>& cues = m_model.Cues();
    while (m_cueDone < cues.size())
        Apply(cues[m_cueDone++]);
    if (m_pig)
        m_pig->MoveTo(m_model.GetPig(), PIM_ANCHOR_TOP_LEFT);
    if (m_farmer)
        m_farmer->MoveTo(m_model.GetFarmer(), PIM_ANCHOR_TOP_LEFT);
}

void CPigOutGame::FinishCues()
{
    m_model.ClearCues();
    m_cueDone = 0;
    // Last: LevelWon and RestartLevel build a level, with cues of its own.
    const bool won = m_wonCue, restart = m_restartCue;
    m_wonCue = m_restartCue = false;
    if (won)
        LevelWon();
    else if (restart)
        RestartLevel();
}

void CPigOutGame::PlaySprite(CDaxSprite* sprite, int state, bool looped)
{
    if (!sprite || state < 0 || state >= sprite->GetStateCount())
        return;
    if (looped)
        sprite->PlayInfinite(state);
    else
        sprite->PlayOnce(state);
}

void CPigOutGame::SetRate(CDaxSprite* sprite, int rate)
{
    if (sprite)
        sprite->GetAnimation().SetActionFrameRate(0, static_cast<float>(rate));
}

void CPigOutGame::ShowFood(int collected, int pass)
{
    if (!m_textMade)
        return;
    const int values[] = {collected, pass};
    m_foodText.SetText(PimSafeFormatted("%d / %d", values, 2).GetText());
}

void CPigOutGame::Apply(const ST_PIG_CUE& cue)
{
    CPigOutObject* object = GetObject(cue.a);
    switch (cue.kind) {
    case EPigCue::PigPlay:
        PlaySprite(m_pig.get(), cue.a, cue.b != 0);
        break;
    case EPigCue::PigRate:
        SetRate(m_pig.get(), cue.a);
        break;
    case EPigCue::PigStop:
        if (m_pig)
            m_pig->Stop();
        break;
    case EPigCue::PigInFront:
        if (m_pig && object)
            m_pig->MoveInFrontOf(*object);
        break;
    case EPigCue::PigReattach:
        if (m_pig)
            m_pig->SetParent(this);
        break;
    case EPigCue::FarmerPlay:
        PlaySprite(m_farmer.get(), cue.a, cue.b != 0);
        break;
    case EPigCue::FarmerStop:
        if (m_farmer)
            m_farmer->Stop();
        break;
    case EPigCue::ObjectStart:
        if (!object)
            break;
        // State 0, still: the motion step sets its frames.
        PlaySprite(object, 0, false);
        object->Stop();
        object->MoveTo(cue.b, PIGS_ROAD_Y, PIM_ANCHOR_TOP_LEFT);
        if (m_pig && cue.c)
            object->MoveInFrontOf(*m_pig);
        else if (m_pig)
            object->MoveBehind(*m_pig);
        object->SetParent(this);
        object->Show();
        break;
    case EPigCue::ObjectFrame:
        if (!object)
            break;
        object->SetFrame(cue.b);
        object->MoveTo(cue.c, cue.d, PIM_ANCHOR_CENTRE);
        object->Show();
        break;
    case EPigCue::ObjectHide:
    case EPigCue::ObjectRemove:
        if (object)
            object->Hide();
        break;
    case EPigCue::RoadsKeepOn:
        for (CDaxSprite* road : {m_roadTop.get(), m_roadBottom.get()})
            if (road && road->IsStopped()) {
                PlaySprite(road, cue.a, true);
                SetRate(road, kRoadRate);
            }
        break;
    case EPigCue::RoadsRate:
        SetRate(m_roadTop.get(), cue.a);
        SetRate(m_roadBottom.get(), cue.a);
        break;
    case EPigCue::RoadsStop:
        for (CDaxSprite* road : {m_roadTop.get(), m_roadBottom.get()})
            if (road)
                road->Stop();
        break;
    case EPigCue::Sound:
        if (cue.a >= 0 && static_cast<size_t>(cue.a) < m_sounds.size() && m_sounds[static_cast<size_t>(cue.a)])
            m_sounds[static_cast<size_t>(cue.a)]->Play();
        break;
    case EPigCue::HitSequence:
        // Played and left: nothing waits for its end.
        if (GameDataExists(PIGS_HIT_SEQUENCE))
            PostSequence(PIGS_HIT_SEQUENCE);
        break;
    case EPigCue::FoodText:
        ShowFood(cue.a, cue.b);
        break;
    case EPigCue::Marker:
        if (m_meter)
            m_meter->SetMarkerY(cue.a);
        break;
    case EPigCue::Won:
        m_wonCue = true;
        break;
    case EPigCue::Restart:
        m_restartCue = true;
        break;
    }
}

// --- leaving ------------------------------------------------------------------------------------

size_t CPigOutGame::CountLiveObjects() const
{
    size_t count = m_objects.size() + m_sounds.size() + (m_meter ? 1 : 0) + (m_textMade ? 1 : 0);
    for (const auto* sprite : {&m_roadTop, &m_roadBottom, &m_pig, &m_farmer})
        count += *sprite ? 1 : 0;
    for (const auto& sprite : m_templates)
        count += sprite ? 1 : 0;
    return count;
}

void CPigOutGame::ReleaseAll()
{
    m_loaded = false;
    m_model.ClearCues();
    m_cueDone = 0;
    m_wonCue = m_restartCue = false;
    m_objects.clear();
    for (auto& sprite : m_templates)
        sprite.reset();
    m_roadTop.reset();
    m_roadBottom.reset();
    m_pig.reset();
    m_farmer.reset();
    m_meter.reset();
    if (m_textMade) {
        m_foodText.Release();
        m_textMade = false;
    }
    if (m_font)
        DeleteFont(m_font);
    m_font = 0;
    m_sounds.clear();
}

int CPigOutGame::Unload()
{
    ReleaseAll();
    Hide();
    return CGameRoom::Unload();
}
