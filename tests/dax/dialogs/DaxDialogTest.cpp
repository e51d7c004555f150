// Data-driven dialogs opened through the engine's modal loop on the virtual
// clock: every frame of the loop runs the main-loop hooks (timers, the
// dialogs' idle time-outs) and the event channels, so commands posted on
// any channel reach the dialog at that channel's turn. Lua texts run in a
// real Lua engine behind fake services.
#include "DAX/base/DaxCategories.h"
#include "DAX/base/DaxDeferredDelete.h"
#include "DAX/buttons/CDaxButton.h"
#include "DAX/dialogs/CDaxDialog.h"
#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "PIM/app/CCommandEvent.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimMainLoop.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "tests/dax/DaxLuaServices.h"
#include "tests/dax/GeneratedPictures.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// What one frame of the modal loop does, and what the test adds to it.
struct ST_FRAMES
{
    CxVirtualClock* clock = nullptr;
    uint32_t step = 100;
    int frames = 0;
    std::function<void(int frame)> atFrame;
};

int Frame(void* context)
{
    auto* loop = static_cast<ST_FRAMES*>(context);
    ++loop->frames;
    loop->clock->Advance(loop->step);
    RunMainLoopCallbacks();
    DispatchEvents();
    if (loop->atFrame)
        loop->atFrame(loop->frames);
    return loop->frames >= 5000 ? 1 : 0; // a dialog that never ends fails the test, not the run
}

// Done once the virtual clock has moved on `ms` from its start.
class WaitEvent : public CxEvent
{
public:
    explicit WaitEvent(uint32_t ms) : CxEvent(kDeleteWhenDone), m_ms(ms) {}
    void Start() override
    {
        SetState(kStarted);
        m_start = PimGetTicks();
    }
    bool IsDone() const override { return IsStarted() && PimGetTicks() - m_start >= m_ms; }
    void Pause() override {}
    void Resume() override {}

private:
    uint32_t m_ms;
    uint32_t m_start = 0;
};

class Dialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PimSetClock(&m_clock);
        ASSERT_EQ(InitDisplay(CxSize(800, 600), 1), PIM_OK);
        ASSERT_EQ(DaxTest::RegisterGeneratedPictures(), PIM_OK);
        SetDaxServices(&m_services);
        m_loop.clock = &m_clock;
        SetModalLoop(ST_MODAL_LOOP{&Frame, nullptr, nullptr, 1000, &m_loop});
    }
    void TearDown() override
    {
        ResetModalLoop();
        DaxRemoveAllGlobalDialogs();
        DaxFlushDeferred();
        ShutdownDisplay();
        PimSetClock(nullptr);
    }
    // A dialog loaded from an option file holding `ini`.
    std::unique_ptr<CDaxDialog> Dialog(const std::string& ini, const char* name = nullptr)
    {
        auto dialog = std::make_unique<CDaxDialog>();
        if (name)
            dialog->SetName(name);
        m_lastLoad = dialog->LoadDialog(m_folder.Write("dialog.ini", ini).c_str());
        return dialog;
    }
    // Opens the dialog; `atFrame` runs after each of its frames. The frames it took.
    int Open(CDaxDialog& dialog, std::function<void(int)> atFrame)
    {
        m_loop.frames = 0;
        m_loop.atFrame = std::move(atFrame);
        m_opened = PimGetTicks();
        EXPECT_EQ(dialog.DoModal(), PIM_OK);
        m_loop.atFrame = nullptr;
        return m_loop.frames;
    }
    uint32_t SinceOpened() const { return PimGetTicks() - m_opened; }
    static void Post(const char* text, PimChannelId channel)
    {
        CxEvent* event = CreateEventFromText(text);
        ASSERT_NE(event, nullptr) << text;
        ASSERT_EQ(::Post(event, channel), PIM_OK);
    }
    // The command posted on a channel of its own and dispatched.
    void Command(const char* text)
    {
        Post(text, m_channel ? m_channel : (m_channel = CreateChannel()));
        DispatchEvents();
    }
    // Time passes in 10 ms frames outside any dialog loop.
    void Advance(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 10) {
            m_clock.Advance(10);
            RunMainLoopCallbacks();
        }
    }

    CxVirtualClock m_clock{5000};
    DaxTest::LuaServices m_services;
    ST_FRAMES m_loop;
    TempFolder m_folder;
    uint32_t m_opened = 0;
    int m_lastLoad = PIM_OK;
    PimChannelId m_channel = 0;
};

const char* kQuestion = "[Options]\n"
                        "Name=Question\n"
                        "Background=sign_200x100_16.pic\n"
                        "TransparentPixel=3, 4\n"
                        "MovieDriverFlags=6\n"
                        "Position=10, 20\n"
                        "IdleTime=8000\n"
                        "MaxIdleCount=2\n"
                        "OnTimeOut1=log = (log or '') .. '1'\n"
                        "OnTimeOut2=log = (log or '') .. '2'\n"
                        "[Button0]\nName=Yes\nFileName=yes_150x10_16.pic\nPosition=20, 60\n"
                        "OnMouseLeave=log = (log or '') .. 'L'\n"
                        "[Button1]\nName=No\nFileName=no_150x10_16.pic\nPosition=120, 60\n";

} // namespace

// --- loading ---------------------------------------------------------------------------------

TEST_F(Dialogs, TheOptionFileGivesNamePictureButtonsAndTimeOuts)
{
    auto dialog = Dialog(kQuestion);
    EXPECT_EQ(m_lastLoad, PIM_OK);
    EXPECT_STREQ(dialog->GetName(), "Question");
    EXPECT_EQ(FindEventCategory("question"), static_cast<CxEventCreator*>(dialog.get()));
    EXPECT_EQ(dialog->GetSize(), CxSize(200, 100));
    EXPECT_EQ(dialog->GetTransparentColour(), DaxTest::kPictureMark);
    EXPECT_EQ(dialog->GetDrawMode(), PIM_DRAW_COPY);
    EXPECT_EQ(dialog->GetMovieDriverFlags(), 6u);
    EXPECT_EQ(dialog->GetMovieFlags(), 6u);
    EXPECT_EQ(dialog->GetPosition(), CxPoint(10, 20));
    EXPECT_FALSE(dialog->IsCentered());
    EXPECT_EQ(dialog->GetIdleTime(), 8000u);
    EXPECT_EQ(dialog->GetMaxIdleCount(), 2);
    EXPECT_EQ(dialog->GetTimeOutCount(), 2);
    EXPECT_EQ(dialog->GetError(), PIM_OK);
    ASSERT_EQ(dialog->GetButtons().GetCount(), 2u);
    CDaxButton* yes = dialog->FindButton("YES");
    ASSERT_NE(yes, nullptr);
    EXPECT_EQ(yes->GetParent(), dialog.get());
    EXPECT_EQ(yes->GetZ(), 0);
    EXPECT_EQ(yes->GetPosition(), CxPoint(20, 60));
    EXPECT_TRUE(yes->IsShown());
    EXPECT_FALSE(dialog->IsShown()); // until it opens
    EXPECT_EQ(dialog->GetParent(), nullptr);

    // A 32-bit picture draws with its own alpha; a pixel outside the
    // picture names no colour; a file without a picture is a plain area.
    dialog = Dialog("[Options]\nBackground=glow_64x32_32.pic\nTransparentPixel=3, 4\n");
    EXPECT_EQ(dialog->GetDrawMode(), PIM_DRAW_SOURCE_ALPHA);
    EXPECT_EQ(dialog->GetTransparentColour(), PIM_NO_KEY);
    EXPECT_STREQ(dialog->GetName(), DAX_DIALOG_DEFAULT_NAME);
    dialog = Dialog("[Options]\nBackground=sign_200x100_16.pic\nTransparentPixel=200, 4\n");
    EXPECT_EQ(dialog->GetTransparentColour(), PIM_NO_KEY);
    dialog = Dialog("[Options]\nBackground=sign_200x100_16.pic\nTransparentPixel=5, -3\n");
    EXPECT_EQ(dialog->GetTransparentColour(), PIM_NO_KEY);
    dialog = Dialog("[Options]\nSize=320, 40\n");
    EXPECT_EQ(dialog->GetSurface(), nullptr);
    EXPECT_EQ(dialog->GetSize(), CxSize(320, 40));
}

TEST_F(Dialogs, NumbersTheFileGetsWrongAreTakenSafely)
{
    EXPECT_EQ(Dialog("[Options]\nSize=-1, -1\n")->GetSize(), CxSize(800, 600));
    EXPECT_EQ(Dialog("[Options]\nSize=-1, 50\n")->GetSize(), CxSize(800, 50));
    for (const char* size : {"0, 50", "50, -2", "99999999, 10", "-5, -5"})
        EXPECT_EQ(Dialog(std::string("[Options]\nSize=") + size + "\n")->GetSize(), CxSize(100, 100)) << size;
    // A picture that does not load leaves a plain area of Size, reported.
    {
        ErrorRecorder errors;
        auto dialog = Dialog("[Options]\nBackground=missing.pic\nSize=50, 60\n");
        EXPECT_EQ(dialog->GetSize(), CxSize(50, 60));
        EXPECT_FALSE(errors.errors.empty());
        EXPECT_EQ(dialog->GetError(), PIM_OK); // it still opens
    }

    auto dialog = Dialog("[Options]\nIdleTime=0\nMaxIdleCount=-2\nOnTimeOut1=a()\nOnTimeOut3=c()\n"
                         "Position=-99999999, 99999999\n");
    EXPECT_EQ(dialog->GetIdleTime(), 0u);
    EXPECT_EQ(dialog->GetMaxIdleCount(), 0);
    EXPECT_EQ(dialog->GetTimeOutCount(), 1); // up to the first one missing
    EXPECT_EQ(dialog->GetPosition(), CxPoint(-DAX_COORDINATE_LIMIT, DAX_COORDINATE_LIMIT));
    // Without an idle time there are no time-outs at all.
    Open(*dialog, [&](int frame) {
        EXPECT_FALSE(dialog->GetIdleTimer().IsRunning());
        if (frame == 3)
            dialog->EndModal();
    });
    EXPECT_EQ(Dialog("[Options]\nIdleTime=-5\n")->GetIdleTime(), 0u);
}

TEST_F(Dialogs, AMissingFileIsReportedAndLeavesADialogOfDefaultsNamedAfterItsEntry)
{
    ErrorRecorder errors;
    CxOptions dax;
    const std::string question = m_folder.Write("question.ini", kQuestion);
    const std::string ini = "[Dialogs]\nQuit=" + m_folder.Path() + "/nowhere/quit.ini\nQuestion=" + question + "\n";
    ASSERT_EQ(dax.ReadFromBuffer(ini.data(), ini.size()), PIM_OK);
    EXPECT_EQ(DaxLoadGlobalDialogs(dax), 2);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_NE(errors.errors[0].message.find("Could not open"), std::string::npos) << errors.errors[0].message;

    ASSERT_EQ(DaxGetGlobalDialogCount(), 2u);
    CDaxDialog* quit = DaxGetGlobalDialog(0);
    EXPECT_STREQ(quit->GetName(), "Quit");
    EXPECT_EQ(quit->GetSize(), CxSize(100, 100));
    EXPECT_EQ(quit->GetButtons().GetCount(), 0u);
    EXPECT_EQ(quit->GetIdleTime(), 30000u);
    EXPECT_EQ(quit->GetMaxIdleCount(), 3);
    EXPECT_EQ(FindEventCategory("Quit"), static_cast<CxEventCreator*>(quit));
    EXPECT_EQ(DaxFindGlobalDialog("QUESTION"), DaxGetGlobalDialog(1));
    EXPECT_EQ(DaxGetGlobalDialog(2), nullptr);
    // The missing one still opens and closes.
    EXPECT_EQ(Open(*quit, [&](int) { quit->EndModal(); }), 1);
}

TEST_F(Dialogs, OnLoadRunsOnceAndOnDoModalAtEveryOpening)
{
    auto dialog = Dialog("[Options]\nOnLoad=loads = (loads or 0) + 1\nOnDoModal=opens = (opens or 0) + 1\n");
    EXPECT_EQ(m_services.engine.GetNumber("loads", 0), 1);
    EXPECT_EQ(m_services.engine.GetNumber("opens", 0), 0);
    for (int opening = 1; opening <= 3; ++opening) {
        Open(*dialog, [&](int) {
            EXPECT_EQ(m_services.engine.GetNumber("opens", 0), opening);
            dialog->EndModal();
        });
    }
    EXPECT_EQ(m_services.engine.GetNumber("loads", 0), 1);
    EXPECT_EQ(m_services.engine.GetNumber("opens", 0), 3);
}

// --- opening ---------------------------------------------------------------------------------

TEST_F(Dialogs, CenteredBeatsPositionAtEveryOpening)
{
    auto dialog = Dialog("[Options]\nSize=200, 100\nPosition=10, 10\nCentered=1\n");
    EXPECT_EQ(dialog->GetPosition(), CxPoint(10, 10)); // read, but only until it opens
    for (int opening = 0; opening < 2; ++opening) {
        Open(*dialog, [&](int) {
            EXPECT_EQ(dialog->GetPosition(), CxPoint(300, 250));
            EXPECT_EQ(dialog->GetParent(), GetRootObject());
            EXPECT_TRUE(dialog->IsVisible());
            EXPECT_EQ(GetModalObject(), dialog.get());
            dialog->EndModal();
        });
        EXPECT_EQ(dialog->GetParent(), nullptr);
        EXPECT_FALSE(dialog->IsShown());
        dialog->SetPosition(0, 0);
    }

    // Without Centered it opens where the file put it, in front of what
    // the root holds; "Center" centres it then.
    dialog = Dialog("[Options]\nName=Plain\nSize=200, 100\nPosition=700, 550\n");
    CxDisplayObject room;
    room.SetZ(static_cast<int32_t>(0xBFFFFFFEu));
    room.Create(0, 0, 800, 600, GetRootObject());
    Open(*dialog, [&](int frame) {
        if (frame == 1) {
            EXPECT_EQ(dialog->GetPosition(), CxPoint(700, 550));
            EXPECT_EQ(GetRootObject()->GetChildren().GetLast()->GetElement(), dialog.get());
            Command("Plain.Center()");
            EXPECT_EQ(dialog->GetPosition(), CxPoint(300, 250));
            dialog->EndModal();
        }
    });
    room.Detach();

    // A dialog the file puts wholly off the screen is centred: the player
    // could never answer it.
    dialog = Dialog("[Options]\nSize=200, 100\nPosition=5000, 5000\n");
    Open(*dialog, [&](int) {
        EXPECT_EQ(dialog->GetPosition(), CxPoint(300, 250));
        dialog->EndModal();
    });
}

TEST_F(Dialogs, EndModalPostedOnAnyChannelClosesItAtThatChannelsTurn)
{
    auto dialog = Dialog(kQuestion);
    const PimChannelId busy = CreateChannel();
    const PimChannelId idle = CreateChannel();
    // Behind a second of waiting, the end comes the frame after the wait.
    bool openAfterWait = false;
    const int frames = Open(*dialog, [&](int frame) {
        if (frame == 1) {
            ::Post(new WaitEvent(1000), busy);
            Post("question.EndModal()", busy);
        }
        if (frame == 12)
            openAfterWait = dialog->IsRunningModal() && IsChannelEmpty(busy) == false;
    });
    EXPECT_TRUE(openAfterWait);
    EXPECT_EQ(frames, 13); // the wait starts in frame 2 and is over in frame 12
    EXPECT_FALSE(dialog->IsRunningModal());
    EXPECT_TRUE(IsChannelEmpty(busy));

    // On another channel, with nothing before it: the next frame.
    EXPECT_EQ(Open(*dialog, [&](int frame) {
                  if (frame == 1)
                      Post("Question.EndModal()", idle);
              }),
              2);

    // Only its own name makes its events, and never "TODO".
    CxEventArgs none;
    EXPECT_EQ(dialog->CreateEvent("Question", "TODO", none), nullptr);
    EXPECT_EQ(dialog->CreateEvent("Answer", "EndModal", none), nullptr);
    CxEvent* event = dialog->CreateEvent("QUESTION", "ShowButton", none);
    EXPECT_NE(event, nullptr);
    delete event;
}

TEST_F(Dialogs, ButtonCommandsFindTheirButtonByName)
{
    auto dialog = Dialog(kQuestion);
    CDaxButton* yes = dialog->FindButton("Yes");
    ASSERT_NE(yes, nullptr);
    Command("Question.HideButton(yes)");
    EXPECT_FALSE(yes->IsShown());
    Command("Question.showbutton(Yes)");
    EXPECT_TRUE(yes->IsShown());
    Command("Question.DisableButton(Yes)");
    EXPECT_FALSE(yes->IsEnabled());
    Command("Question.EnableButton(Yes)");
    EXPECT_TRUE(yes->IsEnabled());
    Command("Question.HighlightButton(Yes)");
    EXPECT_TRUE(yes->IsHighlighted());
    Command("Question.UnHighlightButton(Yes)");
    EXPECT_FALSE(yes->IsHighlighted());
    // Missing buttons and unknown commands do nothing.
    Command("Question.HideButton(Maybe)");
    Command("Question.HideButton()");
    Command("Question.Explode(Yes)");
    EXPECT_TRUE(yes->IsShown());
    EXPECT_TRUE(dialog->FindButton("No")->IsShown());
}

TEST_F(Dialogs, StartFlashButtonWithoutAPeriodFlashesEveryHalfSecond)
{
    auto dialog = Dialog(kQuestion);
    CDaxButton* yes = dialog->FindButton("Yes");
    // The look at the flash's start, just before one period, and at it.
    auto looks = [&](const char* command, uint32_t period) {
        Command(command);
        EXPECT_TRUE(yes->IsFlashing()) << command;
        Advance(10);
        std::vector<int> seen{yes->GetDrawMode()};
        Advance(period - 10);
        seen.push_back(yes->GetDrawMode());
        Advance(10);
        seen.push_back(yes->GetDrawMode());
        Command("Question.StopFlashButton(Yes)");
        EXPECT_FALSE(yes->IsFlashing());
        EXPECT_EQ(yes->GetDrawMode(), PIM_DRAW_COPY);
        // A timer started again keeps the phase of its last call: a pause
        // longer than any period makes the next flash come at once too.
        Advance(1000);
        return seen;
    };
    const std::vector<int> flash = {DAX_BUTTON_FLASH_MODE, DAX_BUTTON_FLASH_MODE, PIM_DRAW_COPY};
    EXPECT_EQ(looks("Question.StartFlashButton(Yes)", 500), flash);
    EXPECT_EQ(looks("Question.StartFlashButton(Yes, 250)", 250), flash);
    // A period that is no period is the half second too.
    EXPECT_EQ(looks("Question.StartFlashButton(Yes, 0)", 500), flash);
    EXPECT_EQ(looks("Question.StartFlashButton(Yes, -40)", 500), flash);
}

TEST_F(Dialogs, TimeOutsComeAtFixedIntervalsWhateverThePlayerDoes)
{
    auto dialog = Dialog("[Options]\nSize=200, 100\nCentered=1\nIdleTime=10000\nMaxIdleCount=2\n"
                         "OnTimeOut1=log = (log or '') .. '1'\n"
                         "OnTimeOut2=log = (log or '') .. '2'\n"
                         "OnTimeOut3=log = (log or '') .. '3'\n");
    std::vector<uint32_t> times;
    std::string seen;
    auto watch = [&](int) {
        const std::string log = m_services.Text("log");
        if (log != seen) {
            seen = log;
            times.push_back(SinceOpened());
        }
        // Input over the dialog does not put the time-outs off.
        if (SinceOpened() == 5000 || SinceOpened() == 15000) {
            DispatchKeyDown('a', 0);
            const CxPoint inside(400, 300);
            SetCursorPosition(inside);
            DispatchMouse(MouseEvent(EMouseAction::Move, EMouseButton::None, inside, 0));
        }
        if (SinceOpened() >= 35000)
            dialog->EndModal();
    };
    Open(*dialog, watch);
    EXPECT_EQ(times, (std::vector<uint32_t>{10000, 20000}));
    EXPECT_EQ(seen, "12");
    EXPECT_EQ(dialog->GetIdleCount(), 2);
    EXPECT_FALSE(dialog->GetIdleTimer().IsRunning());

    // Closed, nothing comes; opened again, the count starts over.
    Advance(20000);
    EXPECT_EQ(m_services.Text("log"), "12");
    times.clear();
    Open(*dialog, [&](int frame) {
        watch(frame);
        if (SinceOpened() >= 12000)
            dialog->EndModal();
    });
    EXPECT_EQ(times, (std::vector<uint32_t>{10000}));
    EXPECT_EQ(seen, "121");
}

TEST_F(Dialogs, LoadSurfaceTakesANewPictureByItsLiteralName)
{
    auto dialog = Dialog(kQuestion);
    Command("Question.LoadSurface(big%%_40x30_32.pic)");
    EXPECT_EQ(dialog->GetSize(), CxSize(40, 30));
    EXPECT_EQ(dialog->GetDrawMode(), PIM_DRAW_SOURCE_ALPHA);
    EXPECT_EQ(dialog->GetTransparentColour(), PIM_NO_KEY);
    EXPECT_TRUE(dialog->IsShown());
    // A 16-bit one takes the colour at the file's TransparentPixel again.
    Command("Question.LoadSurface(a%s_60x50_16.pic)");
    EXPECT_EQ(dialog->GetSize(), CxSize(60, 50));
    EXPECT_EQ(dialog->GetDrawMode(), PIM_DRAW_COPY);
    EXPECT_EQ(dialog->GetTransparentColour(), DaxTest::kPictureMark);
    Command("Question.LoadSurface()");
    EXPECT_EQ(dialog->GetSize(), CxSize(60, 50));
}

TEST_F(Dialogs, ButtonsAreBackToNormalAtEveryOpening)
{
    auto dialog = Dialog("[Options]\nSize=300, 100\nCentered=1\n"
                         "[Button0]\nName=Yes\nFileName=yes_150x10_16.pic\nPosition=20, 60\n"
                         "OnMouseLeave=log = (log or '') .. 'L'\n");
    CDaxButton* yes = dialog->FindButton("Yes");
    // The pointer over the button when the dialog closes.
    Open(*dialog, [&](int) {
        const CxPoint over = yes->LocalToScreen(CxPoint(5, 5));
        SetCursorPosition(over);
        DispatchMouse(MouseEvent(EMouseAction::Move, EMouseButton::None, over, 0));
        EXPECT_EQ(yes->GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
        dialog->EndModal();
    });
    Open(*dialog, [&](int) {
        EXPECT_EQ(yes->GetVisualState(), PIM_BUTTON_NORMAL);
        EXPECT_FALSE(yes->HasCapture());
        EXPECT_EQ(GetModalObject(), dialog.get());
        dialog->EndModal();
    });
    EXPECT_EQ(m_services.Text("log"), ""); // the reset tells no one
}

// --- ownership -------------------------------------------------------------------------------

TEST_F(Dialogs, ADialogGivesUpItsCategoryOnlyWhileItOwnsIt)
{
    auto first = Dialog("[Options]\nName=Shared\n");
    CCommandEventCreator taker("Shared", nullptr);
    ASSERT_EQ(DaxRegisterCategory("Shared", &taker), PIM_OK);
    first.reset();
    EXPECT_EQ(FindEventCategory("Shared"), &taker);

    auto mine = Dialog("[Options]\nName=Mine\n");
    // A command still waiting when its dialog goes does nothing.
    const PimChannelId channel = CreateChannel();
    ::Post(new WaitEvent(50), channel);
    Post("Mine.EndModal()", channel);
    mine.reset();
    EXPECT_EQ(FindEventCategory("Mine"), nullptr);
    for (int i = 0; i < 10; ++i) {
        m_clock.Advance(10);
        DispatchEvents();
    }
    EXPECT_TRUE(IsChannelEmpty(channel));

    // Loading again under a new name gives the old one up.
    auto renamed = Dialog("[Options]\nName=Before\n");
    renamed->LoadDialog(m_folder.Write("after.ini", "[Options]\nName=After\n").c_str());
    EXPECT_EQ(FindEventCategory("Before"), nullptr);
    EXPECT_EQ(FindEventCategory("After"), static_cast<CxEventCreator*>(renamed.get()));
    EXPECT_STREQ(renamed->GetCategory(), "After");
}

TEST_F(Dialogs, ThePendingDialogRunsAtTheEndOfTheFrameAndTheListOwnsItsDialogs)
{
    DaxAddGlobalDialog(Dialog(kQuestion).release());
    DaxAddGlobalDialog(Dialog("[Options]\nName=Quit\n").release());
    CDaxDialog* question = DaxFindGlobalDialog("qUESTION");
    ASSERT_NE(question, nullptr);

    EXPECT_FALSE(DaxSetPendingDialog("Nobody"));
    EXPECT_EQ(DaxGetPendingDialog(), nullptr);
    EXPECT_TRUE(DaxSetPendingDialog("question"));
    EXPECT_FALSE(DaxSetPendingDialog("nobody")); // an unknown name leaves nothing pending
    EXPECT_EQ(DaxGetPendingDialog(), nullptr);
    EXPECT_EQ(DaxRunPendingDialog(), PIM_OK);

    DaxSetPendingDialog("Question");
    m_loop.frames = 0;
    m_loop.atFrame = [&](int) {
        // Forgotten before it opened, so it may ask for itself again.
        EXPECT_EQ(DaxGetPendingDialog(), nullptr);
        EXPECT_EQ(question->DoModal(), PIM_ERR_BAD_ARG); // not opened twice
        EXPECT_TRUE(DaxEndModalDialog("QUESTION"));
    };
    EXPECT_EQ(DaxRunPendingDialog(), PIM_OK);
    EXPECT_EQ(m_loop.frames, 1);
    EXPECT_FALSE(DaxEndModalDialog("Nobody"));

    // Taken down from inside its own loop: the loop ends, and the dialog
    // goes once its DoModal has returned.
    DaxSetPendingDialog("Quit");
    m_loop.frames = 0;
    m_loop.atFrame = [&](int frame) {
        if (frame == 2)
            DaxRemoveAllGlobalDialogs();
    };
    EXPECT_EQ(DaxRunPendingDialog(), PIM_OK);
    m_loop.atFrame = nullptr;
    EXPECT_EQ(m_loop.frames, 2);
    EXPECT_EQ(DaxGetGlobalDialogCount(), 0u);
    EXPECT_EQ(DaxDeferredCount(), 1u);
    EXPECT_NE(FindEventCategory("Quit"), nullptr);
    DaxFlushDeferred();
    EXPECT_EQ(FindEventCategory("Quit"), nullptr);
    EXPECT_EQ(FindEventCategory("Question"), nullptr);

    // A dialog deleted by someone else leaves the list, pending or not.
    DaxAddGlobalDialog(Dialog("[Options]\nName=Brief\n").release());
    DaxSetPendingDialog("Brief");
    delete DaxFindGlobalDialog("Brief");
    EXPECT_EQ(DaxGetGlobalDialogCount(), 0u);
    EXPECT_EQ(DaxGetPendingDialog(), nullptr);
}
