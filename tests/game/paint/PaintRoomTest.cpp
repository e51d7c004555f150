// The paint room in the real game on the demo data: the background chooser
// on entry, a stroke, a sticker and a quote on the canvas, saving the two
// wall pictures (and keeping the old pair when the disk fails), and a second
// visit leaving nothing behind.
#include "DAX/buttons/DaxGlobalButtons.h"
#include "PIM/app/CxPrinter.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/os/PimOsFiles.h"
#include "game/common/CGameServices.h"
#include "game/paint/PaintRoom.h"
#include "game/pigpen/PigPenRoom.h"
#include "tests/game/GameShots.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

class PaintRoomTest : public ::testing::Test
{
protected:
    CDrawRoom* Enter()
    {
        if (!game.Enter("PaintRoom"))
            return nullptr;
        game.Run(200);
        return dynamic_cast<CDrawRoom*>(game.App().GetCurrentRoom());
    }
    void Click(CxButton* button)
    {
        ASSERT_NE(button, nullptr);
        button->GetParent()->OnNotify(PIM_NOTIFY_BUTTON, button, PIM_BUTTON_EVENT_CLICKED, 0);
    }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }
    static std::unique_ptr<CxDrawSurface> Saved(const char* name)
    {
        auto s = std::make_unique<CxDrawSurface>();
        EXPECT_EQ(s->Load(name), PIM_OK) << name;
        return s;
    }
    // Picks the first background, which reveals the sticker sets.
    void ChooseBackground(CDrawRoom& room) { Click(room.GetStickerButton(0)); }

    GameTestApp game;
    TempFolder shots;
};

TEST_F(PaintRoomTest, EntryOffersOnlyBackgroundsWithTheBlackCrayonInHand)
{
    CDrawRoom* room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->GetModel().GetSet(), PAINT_BACKGROUND_SET);
    EXPECT_EQ(room->GetModel().GetCrayon(), 9);
    EXPECT_EQ(room->GetModel().GetToolCursor(), 109);
    for (int j = 0; j < PAINT_BACKGROUND_SET; ++j)
        EXPECT_FALSE(room->GetSetButton(j)->IsShown()) << j;
    EXPECT_TRUE(room->GetSetButton(PAINT_BACKGROUND_SET)->IsShown());
    // Only crayon 9 was lifted: no button -1 was moved for the crayon before.
    EXPECT_EQ(room->GetCrayonButton(9)->GetPosition().y, room->GetCrayonButton(8)->GetPosition().y - 2);
    for (int k = 0; k < PAINT_ROW_BUTTONS; ++k) {
        EXPECT_TRUE(room->GetStickerButton(k)->IsShown()) << k;
        // A one-frame preview shown whole: a button cut into five would be a sliver.
        EXPECT_EQ(room->GetStickerButton(k)->GetFrameCount(), 1) << k;
        EXPECT_GT(room->GetStickerButton(k)->GetWidth(), 40) << k;
        EXPECT_LE(room->GetStickerButton(k)->GetWidth(), PAINT_ROW_BUTTON_MAX_WIDTH) << k;
    }
    // The canvas is opaque white.
    CxDrawSurface* canvas = room->GetCanvas()->GetSurface();
    ASSERT_NE(canvas, nullptr);
    uint8_t a, r, g, b;
    canvas->SplitPixel(canvas->GetPixel(10, 10), &a, &r, &g, &b);
    EXPECT_EQ(a, 255);
    EXPECT_EQ(r, 255);
    // Home stands clear of every button of the room's own, so each can be pressed.
    CDaxButton* home = DaxFindGlobalButton("Home");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->GetParent(), room);
    for (int i = 0; i < PAINT_ENGINE_COUNT; ++i) {
        if (room->GetEngineButton(i)->IsShown()) {
            EXPECT_FALSE(home->GetRect().Intersects(room->GetEngineButton(i)->GetRect())) << i;
        }
    }
    for (int j = 0; j < PAINT_SET_COUNT; ++j)
        EXPECT_FALSE(home->GetRect().Intersects(room->GetSetButton(j)->GetRect())) << j;
    Screenshot("paint_chooser.tga");
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PaintRoomTest, SetTwoRowScrollsOneAtATimeAndStopsAtBothEnds)
{
    CDrawRoom* room = Enter();
    ASSERT_NE(room, nullptr);
    ChooseBackground(*room);
    Click(room->GetSetButton(2));
    for (int i = 0; i < 16; ++i)
        Click(room->GetEngineButton(PAINT_ENGINE_NEXT));
    EXPECT_EQ(room->GetModel().GetFirstShown(), 14);
    EXPECT_EQ(room->GetModel().GetLastShown(), 17);
    EXPECT_EQ(room->GetStickerButton(3)->GetIndex(), 17);
    EXPECT_TRUE(room->GetStickerButton(3)->IsShown());
    // A place that showed a low background thumb shows a sticker whole.
    EXPECT_EQ(room->GetStickerButton(3)->GetHeight(), room->GetStickerButton(3)->GetSurface()->GetHeight());
    EXPECT_GT(room->GetStickerButton(3)->GetHeight(), 40);
    for (int i = 0; i < 20; ++i)
        Click(room->GetEngineButton(PAINT_ENGINE_PREVIOUS));
    EXPECT_EQ(room->GetModel().GetFirstShown(), 0);
    EXPECT_EQ(room->GetStickerButton(0)->GetIndex(), 0);
}

TEST_F(PaintRoomTest, StrokeStickerAndQuoteLandOnTheCanvas)
{
    CDrawRoom* room = Enter();
    ASSERT_NE(room, nullptr);
    ChooseBackground(*room);
    CxDrawSurface* canvas = room->GetCanvas()->GetSurface();
    Click(room->GetCrayonButton(3)); // red
    room->OnLButtonDown(1, {22, 91});
    room->OnMouseMove(1, {28, 91});
    room->OnMouseMove(1, {300, 200});
    room->OnLButtonUp(1, {300, 200});
    EXPECT_EQ(canvas->GetRed(3, 5), 255);
    EXPECT_EQ(canvas->GetGreen(3, 5), 0);
    EXPECT_EQ(canvas->GetGreen(150, 64), 0) << "the stroke's middle";
    EXPECT_EQ(room->GetModel().GetStrokeCount(), 0);
    game.Run(50);

    // A sticker from set 1 held, then stamped centred on the click.
    Click(room->GetSetButton(1));
    Click(room->GetStickerButton(0));
    EXPECT_EQ(room->GetModel().GetTool(), PAINT_TOOL_STICKER);
    room->OnMouseMove(0, {500, 300});
    EXPECT_TRUE(room->GetPreview()->IsShown());
    room->OnLButtonDown(1, {500, 300});
    room->OnLButtonUp(1, {500, 300});
    EXPECT_FALSE(room->GetPreview()->IsShown());
    EXPECT_EQ(room->GetModel().GetTool(), PAINT_TOOL_CRAYON);

    // A speech bubble opens the quote editor; Enter burns the quote in.
    Click(room->GetSetButton(PAINT_BUBBLE_SET));
    Click(room->GetStickerButton(0));
    room->OnLButtonDown(1, {200, 380});
    room->OnLButtonUp(1, {200, 380});
    ASSERT_TRUE(room->GetBubble()->IsShown());
    EXPECT_TRUE(room->GetBubble()->HasFocus());
    for (const char* c = "Hello Tobble"; *c; ++c)
        room->GetBubble()->OnKeyDown(static_cast<uint32_t>(*c), 0);
    game.Run(50);
    EXPECT_STREQ(room->GetBubble()->GetText(), "Hello Tobble");
    room->GetBubble()->OnKeyDown(PIM_KEY_ENTER, 0);
    EXPECT_FALSE(room->GetBubble()->IsShown());
    // The letters' edges are blended into the canvas: some pixels are
    // neither the bubble's white nor the text's black.
    const CxPoint at = room->GetBubble()->GetPosition() - PAINT_CANVAS_ORIGIN;
    int dark = 0, between = 0;
    for (int y = 0; y < room->GetQuotes().textSize.height; ++y)
        for (int x = 0; x < room->GetQuotes().textSize.width; ++x) {
            const int red = canvas->GetRed(at.x + x, at.y + y);
            dark += red < 40;
            between += red > 60 && red < 200;
        }
    EXPECT_GT(dark, 20);
    EXPECT_GT(between, 10);

    // A second quote committed by a click elsewhere.
    Click(room->GetStickerButton(1));
    room->OnLButtonDown(1, {550, 150});
    room->OnLButtonUp(1, {550, 150});
    ASSERT_TRUE(room->GetBubble()->IsShown());
    room->GetBubble()->OnKeyDown('H', 0);
    room->GetBubble()->OnKeyDown('i', 0);
    game.Run(50);
    room->OnLButtonDown(1, {700, 450});
    EXPECT_FALSE(room->GetBubble()->IsShown());
    room->OnLButtonUp(1, {700, 450});
    game.Run(50);
    Screenshot("paint_picture.tga");
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

PimOs::EStep g_failStep;
std::string g_failName;
bool FailStep(PimOs::EStep step, const char* path)
{
    return step == g_failStep && path && std::strstr(path, g_failName.c_str());
}

TEST_F(PaintRoomTest, SavingWritesBothPicturesAndAFailureKeepsTheOldPair)
{
    CDrawRoom* room = Enter();
    ASSERT_NE(room, nullptr);
    ChooseBackground(*room);
    EXPECT_TRUE(room->SavePicture());
    Click(room->GetEngineButton(PAINT_ENGINE_SAVE));
    EXPECT_EQ(room->GetPlayCount("sound\\save.wav"), 2);
    auto wall = Saved(PAINT_SAVED_WALL), thumb = Saved(PAINT_SAVED_THUMB);
    EXPECT_EQ(wall->GetWidth(), 160);
    EXPECT_EQ(wall->GetHeight(), 130);
    EXPECT_EQ(wall->GetDepth(), 16);
    EXPECT_EQ(thumb->GetWidth(), 72);
    EXPECT_EQ(thumb->GetHeight(), 72);
    EXPECT_EQ(thumb->GetDepth(), 16);
    const uint32_t oldPixel = wall->GetPixel(80, 65);
    const uint32_t oldThumb = thumb->GetPixel(36, 36);

    // The painting changes, then every kind of disk failure on either file.
    Click(room->GetEngineButton(PAINT_ENGINE_DELETE));
    EXPECT_EQ(room->GetPlayCount("sound\\erase.wav"), 1);
    game.App().SetUnattended(true);
    const PimOs::EStep steps[] = {PimOs::EStep::Write, PimOs::EStep::Sync, PimOs::EStep::Rename};
    for (const char* name : {"G10_wall00_2", "G10_wall00_1"})
        for (PimOs::EStep step : steps) {
            g_failStep = step;
            g_failName = name;
            PimOs::SetFaultHook(FailStep);
            EXPECT_FALSE(room->SavePicture()) << name << " " << static_cast<int>(step);
            PimOs::SetFaultHook(nullptr);
            EXPECT_EQ(Saved(PAINT_SAVED_WALL)->GetPixel(80, 65), oldPixel) << name << " " << static_cast<int>(step);
            EXPECT_EQ(Saved(PAINT_SAVED_THUMB)->GetPixel(36, 36), oldThumb) << name;
        }
    EXPECT_EQ(room->GetPlayCount("sound\\save.wav"), 2);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PaintRoomTest, ASavedPaintingHangsOpaqueInThePigPenAtOnce)
{
    CPlayerStore& players = GameServices().GetPlayers();
    players.SetCurrentPlayer("Tessa");
    players.WriteInt("PigPenEnter", 1); // the pig has been met: no introduction
    players.WriteInt("PigWall8", 0);    // wall place 1 hangs picture 0, the painting
    CDrawRoom* room = Enter();
    ASSERT_NE(room, nullptr);
    ChooseBackground(*room);
    Click(room->GetCrayonButton(5)); // blue, across the top-left corner
    room->OnLButtonDown(1, {25, 86});
    room->OnMouseMove(1, {400, 86});
    room->OnLButtonUp(1, {400, 86});
    ASSERT_TRUE(room->SavePicture());

    ASSERT_TRUE(game.Enter("PigPen"));
    auto* pen = dynamic_cast<CPig*>(game.App().GetCurrentRoom());
    ASSERT_NE(pen, nullptr);
    CxSprite* wall = pen->GetDecor(PIG_DECOR_WALL1);
    ASSERT_NE(wall, nullptr);
    ASSERT_NE(wall->GetSurface(), nullptr);
    EXPECT_EQ(wall->GetWidth(), PAINT_WALL_SIZE.width);
    EXPECT_EQ(wall->GetHeight(), PAINT_WALL_SIZE.height);
    // Opaque: the painting's own colours are never cut out.
    EXPECT_EQ(wall->GetTransparentColour(), PIM_NO_KEY);
    EXPECT_GT(wall->GetSurface()->GetBlue(2, 0), 200);
    EXPECT_LT(wall->GetSurface()->GetRed(2, 0), 60);
    EXPECT_EQ(players.ReadInt("PigWall8", -1), 0);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

// A printer that takes pages, or refuses them from its first step on.
class FakePrinter : public CxPrinter
{
public:
    struct ST_LOG
    {
        int landscapeOpens = 0;
        int pages = 0;
        CxSize picture;
    };
    FakePrinter(ST_LOG& log, bool fails) : m_log(log), m_fails(fails) {}
    bool Open(bool, bool landscape, ST_PAGE_SETUP& page) override
    {
        page = {850, 1100, 100, 100};
        m_log.landscapeOpens += landscape;
        return !m_fails;
    }
    bool StartDoc(const char*) override { return true; }
    bool StartPage() override { return true; }
    bool DrawPicture(CxDrawSurface& picture, const CxRect&) override
    {
        m_log.picture = picture.GetSize();
        return true;
    }
    bool EndPage() override
    {
        ++m_log.pages;
        return true;
    }
    bool EndDoc() override { return true; }

private:
    ST_LOG& m_log;
    bool m_fails;
};

struct CountingQuestions : CGameServices
{
    int ShowYesNo(const char* dialogFile) override
    {
        ++asked;
        lastFile = dialogFile ? dialogFile : "";
        return 0;
    }
    int asked = 0;
    std::string lastFile;
};

TEST_F(PaintRoomTest, PrintingSendsOneLandscapePageAndAFailingPrinterAsksTheGamesQuestion)
{
    CDrawRoom* room = Enter();
    ASSERT_NE(room, nullptr);
    ChooseBackground(*room);
    FakePrinter::ST_LOG log;
    game.App().SetPrinter(std::make_unique<FakePrinter>(log, false));
    Click(room->GetEngineButton(PAINT_ENGINE_PRINT));
    EXPECT_EQ(log.landscapeOpens, 1);
    EXPECT_EQ(log.pages, 1);
    EXPECT_EQ(log.picture, CxSize(PAINT_CANVAS_WIDTH, PAINT_CANVAS_HEIGHT));
    EXPECT_EQ(room->GetPlayCount("sound\\print.wav"), 1);

    // No page goes out: the game's printer question, no sound, no error left counted.
    FakePrinter::ST_LOG refused;
    game.App().SetPrinter(std::make_unique<FakePrinter>(refused, true));
    CountingQuestions questions;
    SetGameServices(&questions);
    EXPECT_FALSE(room->PrintPicture());
    SetGameServices(&game.App());
    EXPECT_EQ(GetLastReportedError(), PIM_ERR_PRINTER);
    EXPECT_EQ(questions.asked, 1);
    EXPECT_EQ(questions.lastFile, GAME_PRINTER_DIALOG);
    EXPECT_EQ(refused.pages, 0);
    EXPECT_EQ(room->GetPlayCount("sound\\print.wav"), 1);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PaintRoomTest, SecondVisitLeavesNothingBehind)
{
    // The title's own voice and its subtitle come and go with time: the
    // counts are taken at the same moment of two title visits, one paint
    // visit between them. A first visit warms what lives for the program
    // (the sound and picture caches).
    ASSERT_NE(Enter(), nullptr);
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    const size_t sprites = LiveRoomSprites(game.App().GetConsole());
    const ST_LIVE live = Live();
    CDrawRoom* room = Enter();
    ASSERT_NE(room, nullptr);
    // What the title left playing (its voice lines differ from visit to
    // visit) is over before the room's own counts are taken.
    game.Run(3000);
    const size_t inRoom = LiveRoomSprites(game.App().GetConsole());
    const ST_LIVE liveInRoom = Live();
    // Leaving in the middle of everything: a stroke held, a quote being typed.
    ChooseBackground(*room);
    Click(room->GetSetButton(PAINT_BUBBLE_SET));
    Click(room->GetStickerButton(0));
    room->OnLButtonDown(1, {200, 300});
    room->OnLButtonUp(1, {200, 300});
    room->GetBubble()->OnKeyDown('A', 0);
    game.Run(600); // the caret blinks
    ASSERT_TRUE(room->GetBubble()->IsShown());
    room->OnMouseMove(0, {300, 300});
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    EXPECT_EQ(LiveRoomSprites(game.App().GetConsole()), sprites);
    EXPECT_EQ(Live(), live);
    // Home went back to the place the other rooms show it at.
    ASSERT_NE(DaxFindGlobalButton("Home"), nullptr);
    EXPECT_EQ(DaxFindGlobalButton("Home")->GetPosition(), CxPoint(700, 496));
    room = Enter();
    ASSERT_NE(room, nullptr);
    game.Run(3000);
    EXPECT_EQ(LiveRoomSprites(game.App().GetConsole()), inRoom);
    EXPECT_EQ(Live(), liveInRoom);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

} // namespace
