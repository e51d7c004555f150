#include "game/balls/CBalls.h"

#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "game/common/GameData.h"
#include "game/common/GameSpriteLook.h"

#include <algorithm>

namespace {

constexpr int32_t SCREEN_WIDTH = 800;
constexpr int32_t SCREEN_HEIGHT = 600;

} // namespace

CBalls::CBalls(CxGameApp* app) : CGameRoom(app) {}

CBalls::~CBalls()
{
    ReleaseRoomObjects();
}

// --- loading ------------------------------------------------------------------------------------

int CBalls::Load()
{
    const int code = CGameRoom::Load();
    ReleaseRoomObjects();
    m_engine = std::make_unique<CxPhysicsEngine>();
    m_options = ReadBallsOptions(GetOptions());
    if (!m_options.ok) {
        ReportError(PIM_ERR_FILE_TYPE, "%s: %s; the engine keeps its defaults", GetRoomName(),
                    m_options.error.GetText());
        const std::vector<ST_BALL_KIND> kinds = std::move(m_options.kinds);
        m_options = ST_BALLS_OPTIONS{};
        m_options.kinds = kinds;
    }
    m_tickLength = static_cast<uint32_t>(m_options.updateTime);
    m_engine->SetMaxSpeed(m_options.maxSpeed);
    m_engine->SetWorldFriction(m_options.worldFriction);
    m_engine->SetCollisionDampen(m_options.collisionDampen);
    m_engine->SetMode(m_options.mode);
    ReadKinds();
    return code;
}

void CBalls::ReadKinds()
{
    m_kinds.clear();
    for (size_t i = 0; i < m_options.kinds.size(); ++i) {
        const ST_BALL_KIND& kind = m_options.kinds[i];
        auto ball = std::make_unique<CBallsBall>(this);
        if (ball->Sprite().Load(kind.fileName.GetText()) != PIM_OK && ball->Sprite().GetStateCount() == 0)
            Trace("%s: ball kind %d has no sprite (%s)\n", GetRoomName(), static_cast<int>(i),
                  kind.fileName.GetText());
        // 32-bit pictures blend by their alpha; others keep their own key.
        if (ball->Sprite().GetSurface() && ball->Sprite().GetSurface()->GetDepth() == 32)
            GameApplySeeThrough(ball->Sprite(), false);
        ball->Set(kind.startPos, kind.radius, kind.mass, kind.movable);
        ball->SetBit(SPHERE_CHANGE_DIR, kind.changeDirection);
        ball->m_breakable = kind.breakable;
        ball->m_kind = static_cast<int>(i);
        m_kinds.push_back(std::move(ball));
    }
}

CxString CBalls::LevelFileName(int level) const
{
    CxString name;
    name.Format("%s/%s", GetRoomName(), BallsLevelFileName(level).GetText());
    return name;
}

void CBalls::SetLevel(int level)
{
    if (level >= GetMinLevel() && level <= GetMaxLevel())
        CGameRoom::SetLevel(level);
    LoadLevel(LevelFileName(GetLevel()).GetText(), GetLevel());
}

int CBalls::LoadLevel(const char* fileName, int level)
{
    (void)level;
    ClearLevel();
    m_ticks = 0;
    m_tickOrigin = GetGameTime();
    m_pausedAt = m_tickOrigin;
    s_lastTick = 0;
    CxString path;
    if (!fileName || !GameFindData(fileName, path))
        return PIM_ERR_NOT_FOUND;
    CxOptions file;
    const int read = file.Load(path.GetText());
    if (read != PIM_OK)
        return ReportError(read, "%s: the level file %s could not be read", GetRoomName(), fileName);
    const ST_BALLS_LEVEL parsed = ReadBallsLevel(file, m_options.kinds);
    if (!parsed.ok)
        return ReportError(PIM_ERR_FILE_TYPE, "%s: %s; the level is left empty", fileName, parsed.error.GetText());
    if (parsed.skippedBalls > 0 || parsed.capped)
        Trace("%s: %d ball(s) of no kind skipped%s\n", fileName, parsed.skippedBalls,
              parsed.capped ? ", and a count was over its cap" : "");
    BuildLevel(parsed);
    Show();
    // A player's ball outside the engine would keep its speed for ever.
    if (!m_balls.empty() && m_balls.front()->IsMovable() && !m_balls.front()->m_simulated) {
        ClearLevel();
        return ReportError(PIM_ERR_FILE_TYPE, "%s: the first movable ball could not be simulated; the level is left empty",
                           fileName);
    }
    return PIM_OK;
}

void CBalls::BuildLevel(const ST_BALLS_LEVEL& level)
{
    if (level.gravity != 0.0f) {
        auto gravity = std::make_unique<CxGravityBody>(CxPhysicsVector{0.0f, level.gravity, 0.0f});
        if (m_engine->AddGravity(gravity.get()))
            m_uniform.push_back(std::move(gravity));
    }
    // The list comes movable first: the player's ball goes into the engine
    // first and so is always simulated; a later ball that overlaps one
    // before it is drawn but not simulated.
    for (const ST_BALLS_BALL& data : level.balls) {
        if (data.kind < 0 || static_cast<size_t>(data.kind) >= m_kinds.size())
            continue;
        auto ball = std::make_unique<CBallsBall>(this);
        ball->CopyFrom(*m_kinds[static_cast<size_t>(data.kind)]);
        ball->Set(data.position, data.radius, data.mass, data.movable, data.movable ? data.velocity : CxPhysicsVector{});
        ball->m_breakable = data.breakable;
        ball->m_kind = data.kind;
        AttachBallSprite(*ball);
        ball->m_simulated = m_engine->AddSphere(ball.get());
        m_balls.push_back(std::move(ball));
    }
    const CxRect screen(0, 0, (GetWidth() > 0 ? GetWidth() : SCREEN_WIDTH) - 1,
                        (GetHeight() > 0 ? GetHeight() : SCREEN_HEIGHT) - 1);
    for (const ST_BALLS_LINE& data : level.lines) {
        auto line = std::make_unique<CBallsLine>();
        line->SetEnds({static_cast<float>(data.p1.x), static_cast<float>(data.p1.y), 0.0f},
                      {static_cast<float>(data.p2.x), static_cast<float>(data.p2.y), 0.0f});
        line->m_passLo = data.passLo;
        line->m_passHi = data.passHi;
        line->m_bounceFriction = data.bounceFriction;
        line->m_color = data.color;
        if (data.color != -1)
            line->Draw(data.color, screen, this);
        m_engine->AddLine(line.get());
        m_lines.push_back(std::move(line));
    }
    for (const ST_BALLS_ATTRACTOR& data : level.attractors) {
        auto attractor = std::make_unique<CBallsGravity>();
        attractor->m_centre = {static_cast<float>(data.position.x), static_cast<float>(data.position.y), 0.0f};
        attractor->m_strength = data.strength;
        attractor->m_range = data.range;
        attractor->m_color = data.color;
        if (data.color != -1)
            attractor->DrawMarker(data.color, this);
        m_engine->AddGravity(attractor.get());
        m_attractors.push_back(std::move(attractor));
    }
}

void CBalls::AttachBallSprite(CBallsBall& ball)
{
    AddChild(&ball.Sprite());
    ball.PlaceSprite();
    ball.Sprite().Show();
}

CBallsBall* CBalls::GetPlayerBall() const
{
    if (m_balls.empty() || !m_balls.front()->IsMovable())
        return nullptr;
    return m_balls.front().get();
}

void CBalls::RemoveBall(CBallsBall* ball)
{
    const auto found = std::find_if(m_balls.begin(), m_balls.end(),
                                    [ball](const std::unique_ptr<CBallsBall>& b) { return b.get() == ball; });
    if (found == m_balls.end())
        return;
    if (m_engine)
        m_engine->RemoveSphere(ball);
    m_balls.erase(found);
}

void CBalls::ClearLevel()
{
    if (m_engine)
        m_engine->Clear();
    for (auto& attractor : m_attractors)
        attractor->HideMarker();
    for (auto& line : m_lines)
        line->HideDrawing();
    m_attractors.clear();
    m_lines.clear();
    m_balls.clear();
    // A uniform pull belongs to the level that asked for it.
    m_uniform.clear();
}

int CBalls::SaveLevel(const char* path)
{
    std::vector<ST_BALLS_BALL> balls;
    for (const auto& ball : m_balls) {
        ST_BALLS_BALL data;
        data.kind = 0;
        data.position = ball->m_position;
        data.radius = ball->m_radius;
        data.mass = ball->m_mass;
        data.movable = ball->IsMovable();
        data.breakable = ball->m_breakable;
        balls.push_back(data);
    }
    std::vector<ST_BALLS_LINE> lines;
    for (const auto& line : m_lines) {
        ST_BALLS_LINE data;
        data.p1 = {static_cast<int32_t>(line->m_p1.x), static_cast<int32_t>(line->m_p1.y)};
        data.p2 = {static_cast<int32_t>(line->m_p2.x), static_cast<int32_t>(line->m_p2.y)};
        data.color = line->m_color;
        data.passLo = line->m_passLo;
        data.passHi = line->m_passHi;
        data.bounceFriction = line->m_bounceFriction;
        lines.push_back(data);
    }
    CxOptions out;
    const int created = out.Create(path);
    if (created != PIM_OK)
        return ReportError(created, "The level could not be written to %s", path ? path : "");
    WriteBallsLevel(out, balls, lines);
    const int saved = out.Save();
    if (saved != PIM_OK)
        return ReportError(saved, "The level could not be written to %s", path ? path : "");
    return PIM_OK;
}

// --- the tick -----------------------------------------------------------------------------------

uint32_t CBalls::GetTickTime() const
{
    const uint32_t now = m_tickPauses > 0 ? m_pausedAt : GetGameTime();
    return now >= m_tickOrigin ? now - m_tickOrigin : 0;
}

int CBalls::Update()
{
    const int code = CGameRoom::Update();
    if (!m_engine || m_tickPauses > 0)
        return code;
    // The game clock starts again from 0 when a level begins: so does the tick clock.
    if (GetGameTime() < m_tickOrigin) {
        m_tickOrigin = GetGameTime();
        s_lastTick = 0;
    }
    const uint32_t now = GetTickTime();
    if (BallsTickDue(now, s_lastTick, m_tickLength)) {
        s_lastTick += m_tickLength;
        ++m_ticks;
        for (int i = 0; i < BALLS_STEPS_PER_TICK; ++i)
            m_engine->Step(BALLS_STEP);
    }
    return code;
}

void CBalls::PauseTicks()
{
    if (m_tickPauses++ == 0)
        m_pausedAt = GetGameTime();
}

void CBalls::ResumeTicks()
{
    if (m_tickPauses <= 0)
        return;
    if (--m_tickPauses == 0) {
        const uint32_t now = GetGameTime();
        if (now >= m_pausedAt)
            m_tickOrigin += now - m_pausedAt;
    }
}

void CBalls::Pause()
{
    CGameRoom::Pause();
    PauseTicks();
}

void CBalls::Resume()
{
    ResumeTicks();
    CGameRoom::Resume();
}

void CBalls::OnBallHit(CBallsBall* other, CBallsBall* ball)
{
    (void)other;
    (void)ball;
}

// --- stopping -----------------------------------------------------------------------------------

void CBalls::ReleaseRoomObjects()
{
    ClearLevel();
    m_kinds.clear();
    m_uniform.clear();
    m_engine.reset();
}

int CBalls::Unload()
{
    ReleaseRoomObjects();
    Hide();
    return CGameRoom::Unload();
}
