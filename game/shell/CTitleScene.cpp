#include "game/shell/CTitleScene.h"

#include "DAX/base/CDaxServices.h"
#include "DAX/sequences/CNotifyEvent.h"
#include "DAX/sequences/DaxSequences.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/sound/PimSound.h"
#include "PIM/text/CxFont.h"

#include <iterator>

namespace {

constexpr int kForever = 1000000;

// Where the farmer's mouth and the buttons are; the replays check them too.
struct ST_BUTTON_PLACE
{
    const char* picture;
    int frames;
    const char* name;
    int32_t x, y;
    const char* onClick;
};
const ST_BUTTON_PLACE kButtonPlaces[CTitleScene::kButtons] = {
    {"title/button_play.tga", 5, "Play", 500, 490, "StartModalDialog('Question')"},
    {"title/button_sun.tga", 8, "Sun", 600, 490, ""},
    {"title/button_credits.tga", 5, "Credits", 700, 490, "ShowCreditsRoll('credits/credits.ini')"},
};

} // namespace

CTitleScene::CTitleScene(CxGameApp*) {}

CTitleScene::~CTitleScene()
{
    ReleaseScene();
}

int CTitleScene::Load()
{
    LoadBackground("title/backdrop.tga");
    LoadAnimals();
    LoadTexts();
    // The characters come from their sprite descriptions; their names there
    // ("Farmer", "Bird") are the names their events are written with.
    // Depths: the texts in front, then the buttons, the characters, the animals.
    if (m_farmer.Load("farmer/farmer.xni") == PIM_OK) {
        m_farmer.SetZ(1500);
        AddChild(&m_farmer);
        m_farmer.Show();
    }
    if (m_bird.Load("prop/bird.xni") == PIM_OK) {
        m_bird.SetZ(1400);
        AddChild(&m_bird);
        m_bird.Show();
    }
    LoadButtons();
    m_farmerChannel = CreateChannel();
    m_birdChannel = CreateChannel();
    Listen(m_farmerChannel);
    Listen(m_birdChannel);
    return PIM_OK;
}

void CTitleScene::LoadAnimals()
{
    const uint32_t magenta = 0xFF00FF; // the hen's key: red x 65536 + green x 256 + blue
    struct Animal
    {
        const char* picture;
        int frames;
        int32_t mode;
        uint32_t key;
        int32_t z;
    };
    const Animal animals[kAnimals] = {
        {"common/cloud.tga", 1, PIM_DRAW_SOURCE_ALPHA, PIM_NO_KEY, 3000},
        {"common/cloud.tga", 1, PIM_DRAW_SOURCE_ALPHA, PIM_NO_KEY, 3001},
        {"common/hen.tga", 3, PIM_DRAW_COPY, magenta, 2020},
        {"common/hen.tga", 3, PIM_DRAW_COPY, magenta, 2021},
        {"common/sheep.tga", 4, PIM_DRAW_SOURCE_ALPHA, PIM_NO_KEY, 2010},
    };
    for (int i = 0; i < kAnimals; ++i) {
        CxSprite& sprite = m_sprites[i];
        if (sprite.Load(animals[i].picture, animals[i].frames) != PIM_OK)
            continue; // reported by the loader; the scene goes on without it
        sprite.SetDrawMode(animals[i].mode);
        sprite.SetTransparentColour(animals[i].key);
        sprite.SetZ(animals[i].z);
        AddChild(&sprite);
    }
    // Clouds drift right and come round again; the second starts further on.
    AddMove(m_animations[0], m_sprites[0], -170, 70, 820, 70, 14.0f, 0.0f);
    AddMove(m_animations[1], m_sprites[1], 380, 150, 820, 150, 9.0f, 0.0f);
    AddMove(m_animations[1], m_sprites[1], -170, 150, 380, 150, 9.0f, 0.0f);
    // Hens stand, then peck down and up again.
    AddPecking(m_animations[2], m_sprites[2], 250, 500, 1100);
    AddPecking(m_animations[3], m_sprites[3], 600, 530, 1700);
    // The sheep walks along the fence, stepping its legs.
    AddMove(m_animations[4], m_sprites[4], -70, 446, 820, 446, 60.0f, 8.0f);
}

void CTitleScene::LoadButtons()
{
    for (int i = 0; i < kButtons; ++i) {
        const ST_BUTTON_PLACE& place = kButtonPlaces[i];
        CDaxButton& button = m_buttons[i];
        if (button.Load(place.picture, place.frames) != PIM_OK)
            continue; // reported by the loader
        button.SetName(place.name);
        button.SetClickText(place.onClick);
        button.SetZ(1000);
        AddChild(&button);
        button.MoveTo(place.x, place.y);
    }
}

int CTitleScene::Start()
{
    for (CxAnimation& animation : m_animations)
        if (animation.GetActionCount() > 0)
            animation.Play(0);
    // A greeting; a missing sound is reported and the farm goes on.
    PlaySoundFile("common/chime.wav", false, 0);
    // The opening scene, read with the room's variables (the bird's channel,
    // which the scene waits for); its notices come to this room.
    if (const CxInterpolator* global = DaxServices().GetInterpolator())
        m_interpolator = *global;
    else
        m_interpolator.RemoveAll();
    m_interpolator.AddIntConstant("BIRDCHANNEL", static_cast<int>(m_birdChannel));
    ST_SEQUENCE_POST post;
    post.interpolator = &m_interpolator;
    post.channel = m_farmerChannel;
    post.sequenceChannel = &m_sceneChannel;
    PostSequenceFile("title/intro.seq", post);
    if (m_sceneChannel)
        Listen(m_sceneChannel);
    return PIM_OK;
}

int CTitleScene::OnEvent(PimChannelId channel, CxEvent* event)
{
    const auto* notice = dynamic_cast<const CNotifyEvent*>(event);
    if (channel != m_sceneChannel || !notice || notice->GetCode() != 7)
        return 0;
    // Pip flaps, flies to the fence, sits and chirps, then flaps there.
    Post("Bird.PlayOnce(0)", m_birdChannel);
    Post("Bird.PlayOnce(1)", m_birdChannel);
    Post("Bird.PlayOnce(2)", m_birdChannel);
    Post("Bird.PlayInfinite(0)", m_birdChannel);
    return 1;
}

void CTitleScene::Post(const char* text, PimChannelId channel)
{
    if (CxEvent* event = CreateEventFromText(text))
        ::Post(event, channel);
}

void CTitleScene::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (m_farmer.IsShown() && m_farmer.GetRect().Contains(point) && IsChannelEmpty(m_farmerChannel)) {
        Post("Farmer.RandomTalk(1, farmer/hello.wav, farmer/name.wav, farmer/play.wav)", m_farmerChannel);
        return;
    }
    CxGameWindow::OnLButtonDown(buttons, point);
}

int CTitleScene::Stop()
{
    for (CxAnimation& animation : m_animations)
        animation.Stop();
    return PIM_OK;
}

int CTitleScene::Unload()
{
    ReleaseScene();
    return CxGameWindow::Unload();
}

void CTitleScene::ReleaseScene()
{
    // The channels first: their events point at the characters.
    if (m_sceneChannel)
        StopListening(m_sceneChannel);
    m_sceneChannel = 0;
    if (m_farmerChannel) {
        StopListening(m_farmerChannel);
        DestroyChannel(m_farmerChannel);
        m_farmerChannel = 0;
    }
    if (m_birdChannel) {
        StopListening(m_birdChannel);
        DestroyChannel(m_birdChannel);
        m_birdChannel = 0;
    }
    for (CxAnimation& animation : m_animations) {
        animation.Stop();
        animation.RemoveAllActions();
    }
    for (CxSprite& sprite : m_sprites)
        sprite.Release();
    for (CxDrawText& text : m_texts)
        text.Release();
    for (intptr_t& font : m_fonts) {
        if (font)
            DeleteFont(font);
        font = 0;
    }
    m_farmer.Release();
    m_farmer.UnloadStates();
    m_bird.Release();
    m_bird.UnloadStates();
    for (CDaxButton& button : m_buttons) {
        button.StopFlash();
        button.Release();
    }
}

// Titles in TrueType at two sizes, a counter in the digits strip font and a
// hint in the built-in font, over the parts of the farm where nothing moves
// (each text keeps a copy of what lies beneath it).
void CTitleScene::LoadTexts()
{
    LoadFont("fonts/DejaVuSans-Bold.ttf", &m_fonts[0]);
    LoadFont("fonts/DejaVuSans.ttf", &m_fonts[1]);
    if (CxDrawSurface* strip = LoadDrawSurface("common/digits.tga")) {
        CreateBitmapFont(*strip, &m_fonts[2]);
        delete strip;
    }
    struct Line
    {
        const char* text;
        int font; // index into m_fonts, or -1 for the built-in font
        int size;
        uint32_t colour;
        CxRect place;
    };
    const Line lines[kTexts] = {
        {"Marrowdale", 0, 44, 0xFFFFFF, CxRect(200, 4, 599, 63)},
        {"A day on the farm", 1, 18, 0x1E3C78, CxRect(300, 250, 499, 279)},
        {"0452", 2, 0, PIM_NO_COLOUR, CxRect(8, 8, 87, 39)},
        {"Alt+X leaves the game", -1, 0, 0xFFFFE0, CxRect(8, 576, 207, 595)},
    };
    for (int i = 0; i < kTexts; ++i) {
        const Line& line = lines[i];
        CxDrawText& text = m_texts[i];
        text.SetFont(line.font < 0 ? PIM_DEFAULT_FONT : m_fonts[line.font]);
        text.SetPointSize(line.size);
        text.SetColour(line.colour);
        text.SetTextFlags(PIM_TEXT_CENTRE | PIM_TEXT_VCENTRE | (i == 0 ? uint32_t{PIM_TEXT_SHADOW} : 0u));
        text.SetShadowColour(0x203040);
        text.SetText(line.text);
        text.SetZ(5);
        text.Create(line.place.left, line.place.top, static_cast<int32_t>(line.place.Width()),
                    static_cast<int32_t>(line.place.Height()), this);
        text.Show();
    }
}

void CTitleScene::AddMove(CxAnimation& animation, CxSprite& sprite, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                    float speed, float frameRate)
{
    ST_ANIM_ACTION move;
    move.flags = PIM_ANIM_START | PIM_ANIM_TARGET | PIM_ANIM_SPEED | (frameRate > 0 ? uint32_t{PIM_ANIM_FRAME_RATE} : 0u);
    move.startX = x1;
    move.startY = y1;
    move.targetX = x2;
    move.targetY = y2;
    move.speed = speed;
    move.frameRate = frameRate;
    animation.SetDisplayObject(&sprite);
    animation.AddActions(&move, 1);
    animation.SetLoopCount(kForever);
}

void CTitleScene::AddPecking(CxAnimation& animation, CxSprite& sprite, int32_t x, int32_t y, int32_t pause)
{
    ST_ANIM_ACTION steps[3];
    steps[0].flags = PIM_ANIM_START | PIM_ANIM_START_FRAME | PIM_ANIM_DURATION;
    steps[0].startX = x;
    steps[0].startY = y;
    steps[0].duration = pause;
    steps[1].flags = PIM_ANIM_FRAME_RATE | PIM_ANIM_START_FRAME | PIM_ANIM_END_FRAME;
    steps[1].frameRate = 6.0f;
    steps[1].endFrame = 2;
    steps[2].flags = PIM_ANIM_FRAME_RATE | PIM_ANIM_START_FRAME | PIM_ANIM_END_FRAME;
    steps[2].frameRate = 6.0f;
    steps[2].startFrame = 2;
    steps[2].endFrame = 0;
    animation.SetDisplayObject(&sprite);
    animation.AddActions(steps, static_cast<int>(std::size(steps)));
    animation.SetLoopCount(kForever);
}
