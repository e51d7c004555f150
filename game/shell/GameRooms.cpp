// The rooms of the game, registered by the names scripts enter them with.
//
// Seam: every name stands on an empty room until its own room class is
// built; the names are the game's from the start, so navigation written now
// keeps working.

#include "PIM/app/CxGameRoomRegistrar.h"
#include "PIM/app/CxGameWindow.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxDrawText.h"
#include "PIM/display/CxSprite.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/sound/PimSound.h"
#include "PIM/text/CxFont.h"
#include "game/shell/CMarrowdaleApp.h"

#include <iterator>

namespace {

class CEmptyRoom : public CxGameWindow
{
public:
    explicit CEmptyRoom(CxGameApp*) {}
};

// Seam: the title screen of the game arrives with the game's rooms; until
// then "Title" shows the farm of the demo data with a few animals moving,
// so that the display tree, sprites, animations and the cursor can be seen.
class CTitleScene : public CxGameWindow
{
public:
    explicit CTitleScene(CxGameApp*) {}
    ~CTitleScene() override { ReleaseScene(); }

    int Load() override
    {
        LoadBackground("title/backdrop.tga");
        CxSprite& view = *this;
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
            {"common/cloud.tga", 1, PIM_DRAW_SOURCE_ALPHA, PIM_NO_KEY, 30},
            {"common/cloud.tga", 1, PIM_DRAW_SOURCE_ALPHA, PIM_NO_KEY, 31},
            {"common/hen.tga", 3, PIM_DRAW_COPY, magenta, 20},
            {"common/hen.tga", 3, PIM_DRAW_COPY, magenta, 21},
            {"common/sheep.tga", 4, PIM_DRAW_SOURCE_ALPHA, PIM_NO_KEY, 10},
        };
        for (int i = 0; i < kAnimals; ++i) {
            CxSprite& sprite = m_sprites[i];
            if (sprite.Load(animals[i].picture, animals[i].frames) != PIM_OK)
                continue; // reported by the loader; the scene goes on without it
            sprite.SetDrawMode(animals[i].mode);
            sprite.SetTransparentColour(animals[i].key);
            sprite.SetZ(animals[i].z);
            view.AddChild(&sprite);
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
        LoadTexts(view);
        return PIM_OK;
    }

    int Start() override
    {
        for (CxAnimation& animation : m_animations)
            if (animation.GetActionCount() > 0)
                animation.Play(0);
        // A greeting; a missing sound is reported and the farm goes on.
        PlaySoundFile("common/chime.wav", false, 0);
        return PIM_OK;
    }

    int Stop() override
    {
        for (CxAnimation& animation : m_animations)
            animation.Stop();
        return PIM_OK;
    }

    int Unload() override
    {
        ReleaseScene();
        return CxGameWindow::Unload();
    }

private:
    static constexpr int kAnimals = 5;
    static constexpr int kForever = 1000000;

    void ReleaseScene()
    {
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
    }

    // Titles in TrueType at two sizes, a counter in the digits strip font
    // and a hint in the built-in font, over the parts of the farm where
    // nothing moves (each text keeps a copy of what lies beneath it).
    void LoadTexts(CxSprite& view)
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
            {"Alt+X leaves the game", -1, 0, 0xFFFFE0, CxRect(600, 576, 799, 595)},
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
                        static_cast<int32_t>(line.place.Height()), &view);
            text.Show();
        }
    }

    static void AddMove(CxAnimation& animation, CxSprite& sprite, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
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

    static void AddPecking(CxAnimation& animation, CxSprite& sprite, int32_t x, int32_t y, int32_t pause)
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

    static constexpr int kTexts = 4;
    CxSprite m_sprites[kAnimals];
    CxAnimation m_animations[kAnimals];
    CxDrawText m_texts[kTexts];
    intptr_t m_fonts[3] = {};
};

const CxGameRoomRegistrar kRooms[] = {
    {"Title", &MakeRoom<CTitleScene>},
    {"Login", &MakeRoom<CEmptyRoom>},
    {"OptionsMenu", &MakeRoom<CEmptyRoom>},
    {"FarmyardMenu", &MakeRoom<CEmptyRoom>},
    {"FairgroundMenu", &MakeRoom<CEmptyRoom>},
    {"ActivityCenter", &MakeRoom<CEmptyRoom>},
    {"BaleOut", &MakeRoom<CEmptyRoom>},
    {"Croquet", &MakeRoom<CEmptyRoom>},
    {"Puzzle", &MakeRoom<CEmptyRoom>},
    {"Quiz", &MakeRoom<CEmptyRoom>},
    {"PigPen", &MakeRoom<CEmptyRoom>},
    {"PaintRoom", &MakeRoom<CEmptyRoom>},
    {"SpiderEgg", &MakeRoom<CEmptyRoom>},
    {"BumperCar", &MakeRoom<CEmptyRoom>},
    {"WordWeb", &MakeRoom<CEmptyRoom>},
    {"NumberWeb", &MakeRoom<CEmptyRoom>},
    {"PigsOut", &MakeRoom<CEmptyRoom>},
    {"SwinginAranelle", &MakeRoom<CEmptyRoom>},
    {"PopTrail", &MakeRoom<CEmptyRoom>},
    {"PopCorn", &MakeRoom<CEmptyRoom>},
};

} // namespace

void RegisterMarrowdaleRooms()
{
    // Referenced from main(): the linker keeps this file, and with it the
    // registrars above, even when the game is linked from a static library.
    (void)kRooms;
}
