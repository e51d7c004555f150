#include "game/croquet/CroquetRoom.h"

#include "DAX/base/CDaxServices.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/PimSafeFormat.h"
#include "PIM/core/Pimstr.h"
#include "PIM/sound/CxWave.h"
#include "PIM/core/PimTrace.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"
#include "game/common/CCodeDialog.h"
#include "game/common/GameData.h"
#include "game/common/GameDepth.h"
#include "game/common/GameSpriteLook.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr const char* kSounds[] = {"kick_ball.wav", "losesound.wav", "throughwicket.wav", "NewPlayerComing.wav"};
constexpr int32_t PATCH_Z = -11;
constexpr int32_t FOOD_Z = -21;
constexpr int32_t HOLE_Z = -1;
constexpr int32_t OBSTACLE_Z = 0x7FFFFFFF;
constexpr int BALL_HIT_STATE = 1;
constexpr int BALL_BREAK_STATE = 2;
constexpr int DEFLECTOR = 2;
constexpr int DESTROY_USED = 1;
constexpr int WICKET_NEXT = 1;
constexpr int WICKET_PASSED = 2;
// The tint of the blinking wicket.
constexpr ST_DRAW_PARAMS kTint{PIM_DRAW_ADD_RGB, 77, 122, 51, nullptr, nullptr};

CxPoint Centre(const CxPhysicsVector& position)
{
    constexpr float LIMIT = 1e6f;
    return {static_cast<int32_t>(std::clamp(position.x, -LIMIT, LIMIT)),
            static_cast<int32_t>(std::clamp(position.y, -LIMIT, LIMIT))};
}

bool HasAlpha(const CxSprite& sprite)
{
    return sprite.GetSurface() && sprite.GetSurface()->GetDepth() == 32;
}

// How a wicket draws without its tint.
ST_DRAW_PARAMS PlainDrawing(const CxSprite& sprite)
{
    ST_DRAW_PARAMS params;
    params.mode = HasAlpha(sprite) ? PIM_DRAW_SOURCE_ALPHA : PIM_DRAW_COPY;
    return params;
}

bool Breakable(int value)
{
    return value == 1 || value == 3;
}

int32_t BottomDepth(const CxDisplayObject& sprite)
{
    return GameDepth(0x7FFFFFFFu - static_cast<uint32_t>(sprite.GetPosition().y) -
                     static_cast<uint32_t>(sprite.GetHeight()));
}

} // namespace

CCroquet::CCroquet(CxGameApp* app) : CBalls(app) {}

CCroquet::~CCroquet()
{
    ReleaseAll();
}

// --- loading ------------------------------------------------------------------------------------

int CCroquet::Load()
{
    const int code = CBalls::Load();
    ReleaseAll();
    m_setup = ReadCroquetOptions(GetOptions());
    LoadTemplates();
    LoadCharacters();
    if (m_aimer.LoadPictures("tg_cone.tga", "tg_chain.tga") != PIM_OK)
        Trace("Croquet: the aim's pictures are missing\n");
    m_hole.Load("Hole.xni");
    GameApplySeeThrough(m_hole, true);
    LoadSounds();
    LoadShotMarkers();
    // The lawn's friction, kept within what lets a shot end.
    if (GetEngine())
        GetEngine()->SetWorldFriction(m_setup.worldFriction);
    DaxServices().GetMusic().Start(CROQUET_MUSIC);
    GetScore().SetTextDepth(CROQUET_SCORE_Z);
    m_loaded = true;

    SetScore(0);
    SetLevelRange(0, std::max(0, GetNumLevels() - 1));
    SetLevel(NextLevelToPlay());
    return code;
}

int CCroquet::Start()
{
    const int code = CBalls::Start();
    StartLevel();
    return code;
}

void CCroquet::LoadTemplateList(std::vector<std::unique_ptr<CDaxSprite>>& list, const char* pattern, int count)
{
    list.clear();
    for (int i = 0; i < count; ++i) {
        const CxString name = PimSafeFormatted(pattern, i);
        auto sprite = std::make_unique<CDaxSprite>();
        if (sprite->Load(name.GetText()) != PIM_OK && sprite->GetStateCount() == 0) {
            Trace("Croquet: %s is missing\n", name.GetText());
            continue;
        }
        GameApplySeeThrough(*sprite, true);
        list.push_back(std::move(sprite));
    }
}

void CCroquet::LoadTemplates()
{
    LoadTemplateList(m_gumTypes, "Gum%02d.xni", m_setup.numGumTypes);
    LoadTemplateList(m_mudTypes, "Mud%02d.xni", m_setup.numMudTypes);
    LoadTemplateList(m_destroyTypes, "Destroy%02d.xni", m_setup.numDestroyTypes);
    LoadTemplateList(m_foodTypes, "food%02d.xni", m_setup.numFoodTypes);
    LoadTemplateList(m_puzzleTypes, "puzz%02d.xni", m_setup.numPuzzleTypes);
    LoadTemplateList(m_stickerTypes, "Stick%02d.xni", m_setup.numStickerTypes);
    LoadTemplateList(m_wicketTypes, "wicket%02d.xni", m_setup.numWicketTypes);
    // Waters keep their type's place even when one is missing: the type is
    // the current's direction.
    m_waterTypes.clear();
    for (const CxString& file : m_setup.waterFiles) {
        auto sprite = std::make_unique<CDaxSprite>();
        if (sprite->Load(file.GetText()) != PIM_OK && sprite->GetStateCount() == 0)
            Trace("Croquet: the water %s is missing\n", file.GetText());
        GameApplySeeThrough(*sprite, true);
        m_waterTypes.push_back(std::move(sprite));
    }
}

void CCroquet::LoadCharacters()
{
    m_golfers.clear();
    for (int i = 0; i < m_setup.numCharTypes; ++i) {
        CxString name;
        name.Format("Golfer%02d.xni", i);
        auto golfer = std::make_unique<CGolfer>();
        if (golfer->Load(name.GetText()) != PIM_OK && golfer->GetStateCount() == 0) {
            Trace("Croquet: %s is missing\n", name.GetText());
            continue;
        }
        GameApplySeeThrough(*golfer, true);
        AddChild(golfer.get());
        m_golfers.push_back(std::move(golfer));
    }
}

void CCroquet::LoadShotMarkers()
{
    m_shotMarkers.clear();
    for (int i = 0; i < m_setup.maxNumShots; ++i) {
        auto marker = std::make_unique<CxSprite>();
        if (i == 0) {
            if (m_setup.shotFileName.IsEmpty() || marker->Load(m_setup.shotFileName.GetText(), 1) != PIM_OK)
                return;
            GameApplySeeThrough(*marker, true);
        } else {
            marker->CopyFrom(*m_shotMarkers.front());
        }
        marker->SetZ(CROQUET_SHOT_Z);
        AddChild(marker.get());
        marker->MoveTo(m_setup.shotLocation.x + i * m_setup.shotOffset.x,
                       m_setup.shotLocation.y + i * m_setup.shotOffset.y, PIM_ANCHOR_TOP_LEFT);
        marker->Hide();
        m_shotMarkers.push_back(std::move(marker));
    }
}

void CCroquet::LoadSounds()
{
    m_sounds.clear();
    for (const char* sound : kSounds)
        m_sounds.push_back(GameLoadOptionalSound(sound));
    for (const CxString* sound : {&m_setup.mudSfx, &m_setup.gumSfx, &m_setup.waterSfx})
        m_sounds.push_back(GameLoadOptionalSound(sound->GetText()));
}

void CCroquet::PlaySound(const char* name)
{
    for (size_t i = 0; i < std::size(kSounds) && i < m_sounds.size(); ++i)
        if (PimStrEqual(kSounds[i], name, true)) {
            if (m_sounds[i])
                m_sounds[i]->Play();
            return;
        }
    const CxString* patches[] = {&m_setup.mudSfx, &m_setup.gumSfx, &m_setup.waterSfx};
    for (size_t i = 0; i < std::size(patches); ++i)
        if (PimStrEqual(patches[i]->GetText(), name, true)) {
            const size_t slot = std::size(kSounds) + i;
            if (slot < m_sounds.size() && m_sounds[slot])
                m_sounds[slot]->Play();
            return;
        }
    GamePlayVoiceOnce(name);
}

// --- a level ------------------------------------------------------------------------------------

void CCroquet::SetLevel(int level)
{
    m_model = CCroquetModel{};
    m_blinkAt = GetGameTime() + CROQUET_BLINK_MS;
    m_loseAt = 0;
    m_eatState = -1;
    m_eating = false;
    m_wicketTinted = false;
    CBalls::SetLevel(level);
}

int CCroquet::LoadLevel(const char* fileName, int level)
{
    m_playable = false;
    ClearItems();
    CxString path;
    if (!fileName || !GameFindData(fileName, path)) {
        ReportError(PIM_ERR_NOT_FOUND, "Croquet has no level %d (%s)", level, fileName ? fileName : "");
        CBalls::ClearLevel();
        return PIM_ERR_NOT_FOUND;
    }
    const int code = CBalls::LoadLevel(fileName, level);
    if (code != PIM_OK)
        return code;
    CxOptions file;
    file.Load(path.GetText());
    m_level = ReadCroquetLevel(file, static_cast<int>(m_wicketTypes.size()));
    if (!m_level.background.IsEmpty())
        LoadSurface(m_level.background.GetText());

    m_hole.SetZ(HOLE_Z);
    AddChild(&m_hole);
    m_hole.MoveTo(m_level.hole.x, m_level.hole.y, PIM_ANCHOR_TOP_LEFT);
    m_hole.Stop();
    m_hole.SetState(HOLE_OPENING);
    m_hole.Show();

    CBallsBall* player = GetPlayerBall();
    if (!player) {
        PlaceCharacters();
        ReportError(PIM_ERR_FILE_TYPE, "%s: the level has no ball for the player (a movable first ball)", fileName);
        return PIM_ERR_FILE_TYPE;
    }
    PlaceItems();
    m_model.StartLevel(m_level.numShots, m_setup.maxNumShots, static_cast<int>(m_wickets.size()));
    UpdateShotMarkers();
    PlaceCharacters();

    for (const auto& ball : GetBalls()) {
        if (ball.get() == player)
            continue;
        ball->Sprite().SetZ(OBSTACLE_Z);
        ball->Sprite().Show();
        if (ball->m_breakable == DEFLECTOR)
            ball->Sprite().PlayInfinite(BALL_HIT_STATE);
    }
    CGolfer* golfer = GetGolfer();
    if (golfer) {
        const CxPoint at{golfer->GetPosition().x + golfer->m_ballOffset.x,
                         golfer->GetPosition().y + golfer->m_ballOffset.y};
        player->m_position = {static_cast<float>(at.x), static_cast<float>(at.y), 0.0f};
        player->m_velocity = {};
    }
    player->PlaceSprite();
    player->Sprite().SetZ(BottomDepth(player->Sprite()));
    m_playable = true;
    const CxPoint origin = Centre(player->m_position);
    SetupAim(&origin);
    return PIM_OK;
}

std::unique_ptr<CDaxSprite> CCroquet::CopyTemplate(CDaxSprite& from, CxPoint at, int32_t z)
{
    auto sprite = std::make_unique<CDaxSprite>();
    sprite->CopyStatesFrom(from);
    sprite->SetZ(z);
    AddChild(sprite.get());
    sprite->MoveTo(at.x, at.y, PIM_ANCHOR_TOP_LEFT);
    sprite->Show();
    return sprite;
}

void CCroquet::PlacePatches(std::vector<ST_CROQUET_ITEM>& items, const std::vector<CxPoint>& places,
                            const std::vector<std::unique_ptr<CDaxSprite>>& templates, int32_t z)
{
    if (templates.empty())
        return;
    for (const CxPoint& place : places) {
        ST_CROQUET_ITEM item;
        item.sprite = CopyTemplate(*templates.front(), place, z);
        items.push_back(std::move(item));
    }
}

void CCroquet::PlaceFood()
{
    const int places = CroquetFoodPlaces(static_cast<int>(m_level.bonus.size()), !m_puzzleTypes.empty(),
                                         !m_stickerTypes.empty());
    if (m_foodTypes.empty() || places <= 0)
        return;
    std::vector<CxPoint> unused(m_level.bonus.begin(), m_level.bonus.end());
    const int count = RandomRange(1, places);
    for (int i = 0; i < count && !unused.empty(); ++i) {
        const auto pick = static_cast<size_t>(RandomRange(0, static_cast<int>(unused.size()) - 1));
        const CxPoint place = unused[pick];
        unused.erase(unused.begin() + static_cast<std::ptrdiff_t>(pick));
        CDaxSprite& kind = *m_foodTypes[static_cast<size_t>(RandomRange(0, static_cast<int>(m_foodTypes.size()) - 1))];
        ST_CROQUET_ITEM item;
        item.sprite = CopyTemplate(kind, place, FOOD_Z);
        m_foods.push_back(std::move(item));
    }
}

void CCroquet::PlaceItems()
{
    PlaceFood();
    PlacePatches(m_gums, m_level.gums, m_gumTypes, PATCH_Z);
    PlacePatches(m_muds, m_level.muds, m_mudTypes, PATCH_Z);
    PlacePatches(m_destroys, m_level.destroys, m_destroyTypes, PATCH_Z);
    for (const ST_CROQUET_PLACE& water : m_level.waters) {
        if (static_cast<size_t>(water.type) >= m_waterTypes.size())
            continue;
        ST_CROQUET_ITEM item;
        item.type = water.type;
        item.sprite = CopyTemplate(*m_waterTypes[static_cast<size_t>(water.type)], water.pos, PATCH_Z);
        item.sprite->PlayInfinite(0);
        m_waters.push_back(std::move(item));
        // Every water pushes the way of the one read last.
        m_waterDirection = water.type;
    }
    for (const ST_CROQUET_PLACE& wicket : m_level.wickets) {
        if (m_wicketTypes.empty())
            break;
        const size_t type = static_cast<size_t>(wicket.type) < m_wicketTypes.size() ? static_cast<size_t>(wicket.type) : 0;
        ST_CROQUET_ITEM item;
        item.type = static_cast<int>(type);
        item.sprite = CopyTemplate(*m_wicketTypes[type], wicket.pos, GameDepth(0u - static_cast<uint32_t>(wicket.pos.y + 101)));
        const int index = static_cast<int>(m_wickets.size());
        item.sprite->PlayInfinite(index == 0 ? WICKET_NEXT : index + 4);
        m_wickets.push_back(std::move(item));
    }
    for (const ST_CROQUET_BUMPER& bumper : m_level.bumpers) {
        ST_CROQUET_ITEM item;
        item.sprite = std::make_unique<CDaxSprite>();
        if (item.sprite->Load(bumper.fileName.GetText()) != PIM_OK && item.sprite->GetStateCount() == 0)
            continue;
        GameApplySeeThrough(*item.sprite, true);
        AddChild(item.sprite.get());
        item.sprite->MoveTo(bumper.location.x, bumper.location.y, PIM_ANCHOR_TOP_LEFT);
        item.sprite->SetZ(BottomDepth(*item.sprite));
        item.sprite->Show();
        m_bumpers.push_back(std::move(item));
    }
}

void CCroquet::PlaceCharacters()
{
    // The waiting ones stand in line, each below the one before.
    int32_t y = m_setup.charHomePos.y;
    for (auto& golfer : m_golfers) {
        golfer->StopWalking();
        golfer->MoveTo(m_setup.charHomePos.x, y, PIM_ANCHOR_TOP_LEFT);
        golfer->PlayInfinite(GOLFER_WAIT);
        golfer->SetZ(BottomDepth(*golfer));
        golfer->Show();
        y += golfer->GetHeight();
    }
    CGolfer* golfer = GetGolfer();
    if (!golfer)
        return;
    golfer->MoveTo(m_level.golferLocation.x, m_level.golferLocation.y, PIM_ANCHOR_TOP_LEFT);
    golfer->PlayInfinite(GOLFER_STAND);
    golfer->m_ballOffset = m_level.ballOffset;
    golfer->SetZ(BottomDepth(*golfer));
}

void CCroquet::ClearItems()
{
    for (auto* items : {&m_gums, &m_muds, &m_destroys, &m_foods, &m_waters, &m_wickets, &m_bumpers})
        items->clear();
    m_waterDirection = 0;
}

void CCroquet::UpdateShotMarkers()
{
    for (size_t i = 0; i < m_shotMarkers.size(); ++i) {
        if (static_cast<int>(i) < m_model.GetShotsLeft())
            m_shotMarkers[i]->Show();
        else
            m_shotMarkers[i]->Hide();
    }
}

bool CCroquet::IsShotMarkerShown(size_t index) const
{
    return index < m_shotMarkers.size() && m_shotMarkers[index]->IsShown();
}

// --- aiming and kicking -------------------------------------------------------------------------

void CCroquet::SetupAim(const CxPoint* origin)
{
    CBallsBall* player = GetPlayerBall();
    CGolfer* golfer = GetGolfer();
    if (!player)
        return;
    const CxPoint from = origin ? *origin : Centre(player->m_position);
    if (golfer) {
        golfer->MoveTo(from.x - golfer->m_ballOffset.x, from.y - golfer->m_ballOffset.y, PIM_ANCHOR_TOP_LEFT);
        golfer->PlayInfinite(GOLFER_STAND);
        golfer->SetZ(BottomDepth(*golfer));
    }
    m_aimer.SetOrigin(from);
    // Until the pointer has been seen the aim waits for it (too short: hidden).
    m_aimer.SetTarget(m_pointerKnown ? m_pointer : from);
    m_aimer.AttachTo(this);
    m_aimer.SetZ(0);
    UpdateAimer();
    m_model.Aim();
}

void CCroquet::UpdateAimer()
{
    if (!m_aimer.IsValid()) {
        m_aimer.Hide();
        return;
    }
    m_aimer.UpdateAim();
    m_aimer.Show();
}

void CCroquet::OnMouseMove(uint32_t buttons, CxPoint point)
{
    CBalls::OnMouseMove(buttons, point);
    m_pointer = point;
    m_pointerKnown = true;
    if (m_model.GetState() != ECroquetState::Aiming)
        return;
    m_aimer.SetTarget(point);
    UpdateAimer();
}

void CCroquet::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    m_pointer = point;
    m_pointerKnown = true;
    if (m_model.GetState() == ECroquetState::Aiming) {
        m_aimer.SetTarget(point);
        if (m_aimer.IsValid()) {
            Shoot(point);
            return;
        }
    }
    CBalls::OnLButtonDown(buttons, point);
}

void CCroquet::Shoot(CxPoint pointer)
{
    if (!m_model.Shoot())
        return;
    CGolfer* golfer = GetGolfer();
    if (golfer) {
        const int32_t middle = golfer->GetPosition().x + golfer->GetWidth() / 2;
        golfer->PlayOnce(pointer.x > middle ? GOLFER_KICK_RIGHT : GOLFER_KICK_LEFT);
    }
    m_kickTarget = pointer;
    m_aimer.Hide();
}

void CCroquet::Kick()
{
    if (!m_model.Kick())
        return;
    PlaySound("kick_ball.wav");
    UpdateShotMarkers();
    m_rollStart = GetGameTime();
    CBallsBall* player = GetPlayerBall();
    if (!player)
        return;
    const CxPoint origin = m_aimer.GetOrigin();
    const CxPhysicsVector velocity{static_cast<float>(m_kickTarget.x - origin.x) / 10.0f,
                                   static_cast<float>(m_kickTarget.y - origin.y) / 10.0f, 0.0f};
    player->Set({static_cast<float>(origin.x), static_cast<float>(origin.y), 0.0f}, CROQUET_KICK_RADIUS,
                CROQUET_KICK_MASS, true, velocity);
}

// --- per frame ----------------------------------------------------------------------------------

int CCroquet::Update()
{
    const int code = CBalls::Update();
    if (!m_loaded)
        return code;
    RemoveBrokenBalls();
    CGolfer* golfer = GetGolfer();
    const uint32_t now = GetGameTime();
    switch (m_model.GetState()) {
    case ECroquetState::Kicking:
        if (golfer) {
            const int frames = golfer->GetFrameCount();
            if (golfer->IsStopped() || golfer->GetFrame() >= CroquetKickFrame(m_setup.ratHitBallFrame, frames))
                Kick();
        } else {
            Kick();
        }
        break;
    case ECroquetState::Rolling:
        StepRolling();
        break;
    case ECroquetState::Walking:
        if (!golfer || !golfer->IsWalking()) {
            if (golfer)
                golfer->PlayInfinite(GOLFER_STAND);
            SetupAim(nullptr);
            if (m_model.IsLastShot())
                PlaySound(CROQUET_LAST_SHOT_VOICE);
        } else {
            golfer->SetZ(BottomDepth(*golfer));
        }
        break;
    case ECroquetState::Won:
        if (!m_hole.IsPlaying() && (!golfer || !golfer->IsPlaying()) && m_model.Finish())
            LevelWon();
        break;
    case ECroquetState::Lost:
        if ((!golfer || !golfer->IsPlaying()) && m_model.LoseAnimationDone())
            m_loseAt = now + static_cast<uint32_t>(m_setup.loseWaitTime);
        break;
    case ECroquetState::LostWait:
        if (now >= m_loseAt) {
            m_model.Finish(); // false: the level was lost
            RestartLevel();
        }
        break;
    default:
        break;
    }
    const ECroquetState state = m_model.GetState();
    if (state >= ECroquetState::Aiming && state <= ECroquetState::Walking && now >= m_blinkAt) {
        m_blinkAt = now + CROQUET_BLINK_MS;
        Blink();
    }
    return code;
}

void CCroquet::StepRolling()
{
    CBallsBall* ball = GetPlayerBall();
    if (!ball)
        return;
    // A ball that leaves the lawn (a level without walls there) would roll
    // on for ever and the shot never end: it stops at the edge instead.
    const float right = static_cast<float>(GetWidth() > 0 ? GetWidth() : 800);
    const float bottom = static_cast<float>(GetHeight() > 0 ? GetHeight() : 600);
    CxPhysicsVector& at = ball->m_position;
    // So does a ball that an attractor keeps swinging: a shot ends in time.
    const uint32_t now = GetGameTime();
    if (now >= m_rollStart && now - m_rollStart > CROQUET_MAX_ROLL_MS)
        ball->m_velocity = {};
    if (at.x < 0.0f || at.y < 0.0f || at.x > right || at.y > bottom) {
        const float r = std::min(ball->m_radius, std::min(right, bottom) / 2.0f);
        at.x = std::clamp(at.x, r, right - r);
        at.y = std::clamp(at.y, r, bottom - r);
        ball->m_velocity = {};
        ball->PlaceSprite();
    }
    ball->Sprite().SetZ(BottomDepth(ball->Sprite()));
    const float vx = ball->m_velocity.x, vy = ball->m_velocity.y;
    if (std::sqrt(vx * vx + vy * vy) > CROQUET_MOVING_SPEED) {
        RollingChecks(*ball);
        return;
    }
    BallStopped(*ball);
}

bool CCroquet::RollingChecks(CBallsBall& ball)
{
    CDaxSprite& look = ball.Sprite();
    const CxPoint centre = Centre(ball.m_position);
    CxPhysicsEngine* engine = GetEngine();
    for (ST_CROQUET_ITEM& food : m_foods)
        if (!food.flag && food.sprite->IsShown() && look.CollidesWith(*food.sprite))
            TakeFood(food);
    for (ST_CROQUET_ITEM& mud : m_muds)
        if (!mud.flag && look.CollidesWith(*mud.sprite)) {
            mud.flag = true;
            if (engine)
                engine->SetWorldFriction(CroquetMudFriction(engine->WorldFriction(), m_setup.mudDampenSize));
            PlaySound(m_setup.mudSfx.GetText());
        }
    for (ST_CROQUET_ITEM& water : m_waters) {
        const bool inside = water.sprite->ContainsPoint(centre, true);
        if (inside) {
            CroquetWaterPush(m_waterDirection, ball.m_position, ball.m_velocity);
            if (!water.flag)
                PlaySound(m_setup.waterSfx.GetText());
        }
        water.flag = inside;
    }
    for (ST_CROQUET_ITEM& spot : m_destroys)
        if (!spot.flag && look.CollidesWith(*spot.sprite)) {
            spot.flag = true;
            spot.sprite->PlayOnce(DESTROY_USED);
            BreakBalls();
        }
    const CxRect ballRect = look.GetRect();
    for (ST_CROQUET_ITEM& gum : m_gums) {
        const CxRect patch = gum.sprite->GetRect();
        const CxPoint middle{static_cast<int32_t>((int64_t{patch.left} + patch.right) / 2),
                             static_cast<int32_t>((int64_t{patch.top} + patch.bottom) / 2)};
        const bool inside = ballRect.Contains(middle);
        if (inside && !gum.flag) {
            if (engine)
                engine->SetWorldFriction(m_setup.gumFriction);
            PlaySound(m_setup.gumSfx.GetText());
        }
        gum.flag = inside;
    }
    PassWicket(ball);
    if (m_model.IsHoleOpen() && m_hole.Takes(centre)) {
        const int points = m_model.SinkBall();
        if (points > 0) {
            SetScore(GetScoreValue() + points);
            GetScore().Bulge(CROQUET_BULGE);
            Win();
            return true;
        }
    }
    return false;
}

void CCroquet::TakeFood(ST_CROQUET_ITEM& food)
{
    food.flag = true;
    SetScore(GetScoreValue() + CROQUET_FOOD_POINTS);
    GetScore().Bulge(CROQUET_BULGE);
    PlaySound("throughwicket.wav");
    CGolfer* golfer = GetGolfer();
    if (!golfer)
        return;
    const CxPoint to{golfer->GetPosition().x + m_setup.foodOffsetPos.x,
                     golfer->GetPosition().y + m_setup.foodOffsetPos.y};
    m_eatState = food.sprite->GetPosition().x < golfer->GetPosition().x ? GOLFER_EAT_LEFT : GOLFER_EAT_RIGHT;
    CxAnimation& flight = food.sprite->GetAnimation();
    flight.Stop();
    flight.RemoveAllActions();
    ST_ANIM_ACTION action;
    action.flags = PIM_ANIM_START | PIM_ANIM_TARGET | PIM_ANIM_SPEED | PIM_ANIM_REPEAT;
    action.startX = food.sprite->GetPosition().x;
    action.startY = food.sprite->GetPosition().y;
    action.targetX = to.x;
    action.targetY = to.y;
    action.speed = static_cast<float>(CROQUET_FOOD_SPEED);
    action.repeatCount = 1;
    flight.AddActions(&action, 1);
    flight.SetLoopCount(1);
    flight.Play();
}

void CCroquet::BreakBalls()
{
    CBallsBall* player = GetPlayerBall();
    for (const auto& ball : GetBalls())
        if (ball.get() != player && Breakable(ball->m_breakable) && !ball->m_breaking) {
            ball->m_breaking = true;
            ball->Sprite().PlayOnce(BALL_BREAK_STATE);
        }
}

void CCroquet::RemoveBrokenBalls()
{
    // Collected first: removing deletes the ball and changes the list.
    std::vector<CBallsBall*> broken;
    for (const auto& ball : GetBalls()) {
        if (!ball->m_breaking)
            continue;
        CDaxSprite& look = ball->Sprite();
        if (look.IsStopped() || look.GetFrame() >= look.GetFrameCount() - 2)
            broken.push_back(ball.get());
    }
    for (CBallsBall* ball : broken)
        RemoveBall(ball);
}

void CCroquet::PassWicket(CBallsBall& ball)
{
    const int next = m_model.GetNextWicket();
    if (next < 0 || static_cast<size_t>(next) >= m_wickets.size())
        return;
    ST_CROQUET_ITEM& wicket = m_wickets[static_cast<size_t>(next)];
    if (!ball.Sprite().CollidesWith(*wicket.sprite))
        return;
    const int points = m_model.PassWicket();
    if (points <= 0)
        return;
    if (m_wicketTinted)
        SetWicketTint(false);
    PlaySound("throughwicket.wav");
    SetScore(GetScoreValue() + points);
    GetScore().Bulge(CROQUET_BULGE);
    wicket.sprite->PlayOnce(WICKET_PASSED);
    PlaySound(PimSafeFormatted(CROQUET_WICKET_VOICE, RandomRange(2, 7)).GetText());
    const int following = m_model.GetNextWicket();
    if (static_cast<size_t>(following) < m_wickets.size())
        m_wickets[static_cast<size_t>(following)].sprite->PlayInfinite(WICKET_NEXT);
    else
        m_hole.PlayOnce(HOLE_OPENING);
}

void CCroquet::BallStopped(CBallsBall& ball)
{
    for (const ST_CROQUET_ITEM& food : m_foods)
        if (food.flag && food.sprite->IsShown() && food.sprite->GetAnimation().IsPlaying())
            return;
    for (ST_CROQUET_ITEM& food : m_foods)
        if (food.flag)
            food.sprite->Hide();
    CGolfer* golfer = GetGolfer();
    if (m_eatState >= 0 && golfer) {
        golfer->PlayOnce(m_eatState);
        m_eatState = -1;
        m_eating = true;
        return;
    }
    if (m_eating && golfer && golfer->IsPlaying())
        return;
    m_eating = false;
    if (CxPhysicsEngine* engine = GetEngine())
        engine->SetWorldFriction(m_setup.worldFriction);
    for (ST_CROQUET_ITEM& mud : m_muds)
        mud.flag = false;
    if (m_model.BallStopped() == ECroquetState::Walking) {
        const int look = CroquetBallLook(ball.Sprite().GetStateCount(), m_model.GetShotsLeft(), m_model.GetShotsAllowed());
        if (look >= 0)
            ball.Sprite().PlayOnce(look);
        WalkToBall();
    } else {
        Lose();
    }
}

void CCroquet::WalkToBall()
{
    CGolfer* golfer = GetGolfer();
    CBallsBall* ball = GetPlayerBall();
    if (!golfer || !ball)
        return;
    const CxPoint target = CroquetWalkTarget(Centre(ball->m_position), golfer->m_ballOffset);
    const CxPoint from = golfer->GetPosition();
    golfer->PlayInfinite(CroquetWalkState(static_cast<float>(target.x - from.x), static_cast<float>(target.y - from.y)));
    golfer->WalkTo(target, static_cast<float>(CROQUET_WALK_SPEED));
}

void CCroquet::Win()
{
    m_hole.PlayOnce(HOLE_SUNK);
    if (CBallsBall* ball = GetPlayerBall()) {
        ball->Sprite().Hide();
        ball->Sprite().Detach();
    }
    if (CGolfer* golfer = GetGolfer())
        golfer->PlayOnce(GOLFER_CHEER);
    m_aimer.Hide();
}

void CCroquet::Lose()
{
    PlaySound("losesound.wav");
    if (CGolfer* golfer = GetGolfer())
        golfer->PlayOnce(GOLFER_LOSE);
    PlaySound(CROQUET_LOST_VOICE);
    if (CBallsBall* ball = GetPlayerBall())
        ball->Sprite().PlayOnce(ball->Sprite().GetStateCount() - 1);
}

void CCroquet::OnBallHit(CBallsBall* other, CBallsBall* ball)
{
    // A line hits with no other ball.
    if (other && other->m_breakable != 0 && !other->Sprite().IsPlaying())
        other->Sprite().PlayOnce(BALL_HIT_STATE);
    if (!ball || ball->m_breakable == 0)
        return;
    if (ball->m_breakable == DEFLECTOR) {
        if (CBallsBall* player = GetPlayerBall())
            player->m_velocity = CroquetDeflect(player->m_velocity);
        return;
    }
    if (!ball->Sprite().IsPlaying())
        ball->Sprite().PlayOnce(BALL_HIT_STATE);
}

// --- the blink ----------------------------------------------------------------------------------

void CCroquet::SetWicketTint(bool on)
{
    const int next = m_model.GetNextWicket();
    m_wicketTinted = on;
    if (next < 0 || static_cast<size_t>(next) >= m_wickets.size())
        return;
    CDaxSprite& wicket = *m_wickets[static_cast<size_t>(next)].sprite;
    ST_DRAW_PARAMS params = kTint;
    // A picture with its own alpha keeps it under the tint.
    if (HasAlpha(wicket))
        params.mode = PIM_DRAW_ALPHA_TINTED;
    if (!on)
        params = PlainDrawing(wicket);
    wicket.SetDrawParams(&params);
}

void CCroquet::Blink()
{
    if (!m_model.IsHoleOpen()) {
        SetWicketTint(!m_wicketTinted);
        return;
    }
    if (m_wicketTinted) {
        for (ST_CROQUET_ITEM& wicket : m_wickets) {
            const ST_DRAW_PARAMS params = PlainDrawing(*wicket.sprite);
            wicket.sprite->SetDrawParams(&params);
        }
        m_wicketTinted = false;
        return;
    }
    m_hole.PlayOnce(HOLE_OPENING);
}

// --- leaving ------------------------------------------------------------------------------------

size_t CCroquet::CountLiveObjects() const
{
    size_t count = m_golfers.size() + m_shotMarkers.size() + GetBalls().size() + GetLines().size() +
                   GetAttractors().size() + GetKinds().size();
    for (const auto* list : {&m_gumTypes, &m_mudTypes, &m_destroyTypes, &m_foodTypes, &m_puzzleTypes,
                             &m_stickerTypes, &m_wicketTypes, &m_waterTypes})
        count += list->size();
    for (const auto* items : {&m_gums, &m_muds, &m_destroys, &m_foods, &m_waters, &m_wickets, &m_bumpers})
        count += items->size();
    return count + m_sounds.size();
}

void CCroquet::ReleaseAll()
{
    m_loaded = false;
    ClearItems();
    for (auto& golfer : m_golfers)
        golfer->StopWalking();
    m_golfers.clear();
    m_shotMarkers.clear();
    for (auto* list : {&m_gumTypes, &m_mudTypes, &m_destroyTypes, &m_foodTypes, &m_puzzleTypes, &m_stickerTypes,
                       &m_wicketTypes, &m_waterTypes})
        list->clear();
    m_aimer.DetachAll();
    m_hole.Stop();
    m_hole.Hide();
    m_hole.Detach();
    m_hole.UnloadStates();
    m_sounds.clear();
    m_model = CCroquetModel{};
}

int CCroquet::Unload()
{
    DaxServices().GetMusic().Pause();
    ReleaseAll();
    return CBalls::Unload();
}
