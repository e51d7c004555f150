#include "game/common/CTitleScreen.h"

#include "DAX/sequences/CNotifyEvent.h"
#include "DAX/sequences/DaxSequences.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"

namespace {

constexpr int kBirdNotice = 7;
// In front of the buttons (1000) so Hob's mouth is never covered; Pip
// flies in front of the farm but behind Hob.
constexpr int32_t kFarmerZ = 900;
constexpr int32_t kBirdZ = 950;
constexpr int kCheerSize = 56;

// Posts an event written as text ("Farmer.Talk(...)") on a channel.
void PostText(const char* text, PimChannelId channel)
{
    if (CxEvent* event = CreateEventFromText(text))
        Post(event, channel);
}

} // namespace

CTitleScreen::CTitleScreen(CxGameApp* app) : CGameRoom(app) {}

CTitleScreen::~CTitleScreen()
{
    ReleaseCast();
}

int CTitleScreen::Load()
{
    const int code = CGameRoom::Load();
    // Their sprite descriptions name them ("Farmer", "Bird") and place them.
    if (m_farmer.Load("farmer/farmer.xni") == PIM_OK) {
        m_farmer.SetZ(kFarmerZ);
        AddChild(&m_farmer);
        m_farmer.Show();
    }
    if (m_bird.Load("prop/bird.xni") == PIM_OK) {
        m_bird.SetZ(kBirdZ);
        AddChild(&m_bird);
        m_bird.Show();
    }
    m_farmerChannel = CreateChannel();
    m_birdChannel = CreateChannel();
    return code;
}

int CTitleScreen::Start()
{
    const int code = CGameRoom::Start();
    // No prompts while Hob greets: the scene starts them when it ends.
    GetIdle().Stop();
    // The scene is read with the room's variables and the bird's channel,
    // which it waits for.
    m_sceneVariables = GetInterpolator();
    m_sceneVariables.AddIntConstant("BIRDCHANNEL", static_cast<int>(m_birdChannel));
    ST_SEQUENCE_POST post;
    post.interpolator = &m_sceneVariables;
    post.extra = this;
    post.channel = m_farmerChannel;
    post.sequenceChannel = &m_sceneChannel;
    PostSequenceFile("title/intro.seq", post);
    if (m_sceneChannel)
        Listen(m_sceneChannel);
    return code;
}

int CTitleScreen::OnEvent(PimChannelId channel, CxEvent* event)
{
    const auto* notice = dynamic_cast<const CNotifyEvent*>(event);
    if (channel != m_sceneChannel || !notice || notice->GetCode() != kBirdNotice)
        return CGameRoom::OnEvent(channel, event);
    // Pip flaps, flies to the fence, sits and chirps, then flaps there.
    PostText("Bird.PlayOnce(0)", m_birdChannel);
    PostText("Bird.PlayOnce(1)", m_birdChannel);
    PostText("Bird.PlayOnce(2)", m_birdChannel);
    PostText("Bird.PlayInfinite(0)", m_birdChannel);
    return 1;
}

void CTitleScreen::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    NoteInput();
    if (m_farmer.IsShown() && m_farmer.GetRect().Contains(point) && IsChannelEmpty(m_farmerChannel)) {
        PostText("Farmer.RandomTalk(1, farmer/hello.wav, farmer/name.wav, farmer/play.wav)", m_farmerChannel);
        return;
    }
    CGameRoom::OnLButtonDown(buttons, point);
}

void CTitleScreen::OnMilestone(int)
{
    GetScore().Bulge(kCheerSize);
    if (IsChannelEmpty(m_farmerChannel))
        PostText("Farmer.Talk(-1, farmer/cheer.wav)", m_farmerChannel);
}

int CTitleScreen::Unload()
{
    ReleaseCast();
    return CGameRoom::Unload();
}

void CTitleScreen::ReleaseCast()
{
    // The channels first: their events point at the characters.
    if (m_sceneChannel)
        StopListening(m_sceneChannel);
    m_sceneChannel = 0;
    for (PimChannelId* channel : {&m_farmerChannel, &m_birdChannel}) {
        if (*channel)
            DestroyChannel(*channel);
        *channel = 0;
    }
    m_farmer.Release();
    m_farmer.UnloadStates();
    m_bird.Release();
    m_bird.UnloadStates();
}
