// Modal dialogs driven through an installed frame step: what ends the loop,
// what the loop leaves behind (focus, modal stack), and message boxes laid
// out, clicked and nested from inside the frame step.
#include "PIM/core/PimKeyCodes.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/text/CxFont.h"
#include "PIM/widgets/CxCommonControls.h"
#include "PIM/widgets/CxDialogBox.h"
#include "tests/support/Golden.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// The frame step runs whatever the test put here.
struct Script
{
    std::function<int()> step;
    bool exitRequested = false;
    int frames = 0;
    int flushes = 0;
};

int ScriptStep(void* context)
{
    auto* script = static_cast<Script*>(context);
    ++script->frames;
    return script->step ? script->step() : 0;
}

bool ScriptExit(void* context)
{
    return static_cast<Script*>(context)->exitRequested;
}

void ScriptFlush(void* context)
{
    ++static_cast<Script*>(context)->flushes;
}

class Dialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(800, 600), 1), PIM_OK);
        ASSERT_EQ(CreateDefaultFont(), PIM_OK);
        SetModalLoop(ST_MODAL_LOOP{&ScriptStep, &ScriptExit, &ScriptFlush, 0, &m_script});
    }
    void TearDown() override
    {
        ResetModalLoop();
        DeleteDefaultFont();
        ShutdownDisplay();
    }
    // Presses and releases the left button over the centre of `object`.
    static void ClickAt(const CxDisplayObject& object)
    {
        const CxPoint centre = object.LocalToScreen(CxPoint(object.GetWidth() / 2, object.GetHeight() / 2));
        SetCursorPosition(centre);
        DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, centre, 1));
        DispatchMouse(MouseEvent(EMouseAction::Up, EMouseButton::Left, centre, 0));
    }

    Script m_script;
    ErrorRecorder m_errors;
};

TEST_F(Dialogs, DoModalEndsOnEndModalErrorsExitAndFrameStep)
{
    CxDialogBox dialog;
    EXPECT_EQ(dialog.GetHitMask(), 5u);
    dialog.Create(0, 0, 100, 50, GetRootObject());
    CxDisplayObject other;
    other.Create(0, 0, 10, 10, GetRootObject());
    other.SetFocus();

    // EndModal from inside a frame step; the dialog is modal and focused meanwhile.
    m_script.step = [&] {
        EXPECT_EQ(GetModalObject(), &dialog);
        EXPECT_EQ(GetFocusObject(), &dialog);
        if (m_script.frames == 3)
            dialog.EndModal();
        return 0;
    };
    EXPECT_EQ(dialog.DoModal(), PIM_OK);
    EXPECT_EQ(m_script.frames, 3);
    EXPECT_EQ(m_script.flushes, 1);
    EXPECT_EQ(GetModalDepth(), 0);
    EXPECT_EQ(GetFocusObject(), &other);

    // The end flag of the last run does not end the next one at once.
    m_script.frames = 0;
    m_script.step = [&] { return m_script.frames == 2 ? 1 : 0; };
    EXPECT_EQ(dialog.DoModal(), PIM_OK);
    EXPECT_EQ(m_script.frames, 2);

    // Each frame reports an error: the third ends the loop.
    m_script.frames = 0;
    m_script.step = [] {
        ReportError(PIM_ERR_UNKNOWN, "frame failed");
        return 0;
    };
    dialog.DoModal();
    EXPECT_EQ(m_script.frames, 3);
    EXPECT_EQ(GetModalDepth(), 0);
    ResetErrorState();

    // A quit raised during the loop ends it; one pending from the start does not.
    m_script.frames = 0;
    m_script.step = [&] {
        m_script.exitRequested = m_script.frames == 4;
        return 0;
    };
    dialog.DoModal();
    EXPECT_EQ(m_script.frames, 4);
    m_script.frames = 0;
    m_script.step = [&] { return m_script.frames == 5 ? 1 : 0; };
    dialog.DoModal();
    EXPECT_EQ(m_script.frames, 5);
    m_script.exitRequested = false;

    // Without a frame step there is nothing to run: refused, nothing left modal.
    ResetModalLoop();
    m_script.frames = 0;
    EXPECT_EQ(dialog.DoModal(), PIM_ERR_BAD_ARG);
    EXPECT_EQ(m_script.frames, 0);
    EXPECT_EQ(GetModalDepth(), 0);
    EXPECT_EQ(GetFocusObject(), &other);
    EXPECT_EQ(dialog.GetError(), PIM_OK);
}

TEST_F(Dialogs, FocusGoneDuringTheLoopIsClearedAfterIt)
{
    CxDialogBox dialog;
    dialog.Create(0, 0, 100, 50, GetRootObject());
    auto* doomed = new CxDisplayObject;
    doomed->Create(0, 0, 10, 10, GetRootObject());
    doomed->SetFocus();
    m_script.step = [&] {
        delete doomed;
        doomed = nullptr;
        return 1;
    };
    dialog.DoModal();
    EXPECT_EQ(GetFocusObject(), nullptr);
}

TEST_F(Dialogs, MessageBoxGeometry)
{
    CxFont* font = GetDefaultFont();
    ASSERT_NE(font, nullptr);
    std::string wide;
    while (font->MeasureText(wide.c_str(), 0) < 1300)
        wide += "word ";
    ASSERT_LT(font->MeasureText(wide.c_str(), 0), 1800);

    const char* labels[] = {"Yes", "No"};
    m_script.step = [&] {
        CxCommonMessageBox* box = GetOpenMessageBox();
        EXPECT_NE(box, nullptr);
        if (!box)
            return 1;
        EXPECT_STREQ(GetMessageBoxTitle(box), "Wide");
        EXPECT_EQ(box->GetRect(), CxRect(100, 205, 699, 394));
        EXPECT_EQ(box->GetTitleObject().GetRect(), CxRect(10, 10, 589, 29));
        EXPECT_EQ(box->GetTitleObject().GetTextFlags(), 0x24u);
        EXPECT_EQ(box->GetTextObject().GetRect(), CxRect(10, 40, 589, 149));
        EXPECT_EQ(box->GetTextObject().GetTextFlags(), 0xA4u);
        EXPECT_EQ(box->GetButtonCount(), 2);
        for (int i = 0; i < 2; ++i)
        {
            const CxCommonPushButton* button = box->GetButton(i);
            EXPECT_EQ(button->GetId(), i);
            EXPECT_EQ(button->GetSize(), CxSize(75, 25));
            EXPECT_EQ(button->GetAnchorPoint(PIM_ANCHOR_CENTRE), CxPoint((i + 1) * 600 / 3, 150));
        }
        EXPECT_EQ(ClickMessageBoxButton("Maybe"), -1);
        return ClickMessageBoxButton("No") == 1 ? 0 : 1;
    };
    EXPECT_EQ(ShowMessageBox("Wide", wide.c_str(), labels, 2), 1);
    EXPECT_EQ(GetOpenMessageBox(), nullptr);
    EXPECT_EQ(GetRootObject()->CountChildren(), 0);

    // A short text keeps the minimum box, one line, centred.
    m_script.step = [&] {
        CxCommonMessageBox* box = GetOpenMessageBox();
        EXPECT_EQ(box->GetRect(), CxRect(250, 225, 549, 374));
        EXPECT_EQ(box->GetTextObject().GetTextFlags(), 0x24u);
        EXPECT_EQ(box->GetButton(0)->GetAnchorPoint(PIM_ANCHOR_CENTRE), CxPoint(150, 110));
        return ClickMessageBoxButton("OK") == 0 ? 0 : 1;
    };
    const char* ok[] = {"OK"};
    EXPECT_EQ(ShowMessageBox("Note", "Short", ok, 1), 0);

    // A text of 13 box widths or more stops growing at 400.
    std::string huge;
    for (int i = 0; i < 14; ++i)
        huge += wide;
    m_script.step = [&] {
        EXPECT_EQ(GetOpenMessageBox()->GetSize(), CxSize(600, 400));
        return 1;
    };
    EXPECT_EQ(ShowMessageBox("Huge", huge.c_str(), ok, 1), -1);
}

TEST_F(Dialogs, ErrorBoxPictureAndEnterAnswersWithTheFirstButton)
{
    // The error display's box, as the player sees it over a plain screen.
    const char* labels[] = {"Continue", "Quit"};
    m_script.step = [&] {
        CxDrawSurface screen;
        EXPECT_EQ(screen.Create(800, 600, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
        screen.FillRect(screen.GetRect(), screen.MakeColour(40, 90, 160));
        RedrawAll(screen);
        CxDrawSurface box;
        EXPECT_EQ(box.Create(360, 200, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
        const CxRect around(220, 200, 579, 399);
        screen.BlitAt(box, 0, 0, &around, PIM_NO_KEY, nullptr);
        RegisterDefaultImageFilters();
        ExpectScreenGolden(box, "error-box.png");
        // ENTER is the first button, whatever has the pointer.
        DispatchKeyDown(PIM_KEY_ENTER, 0);
        return 0;
    };
    EXPECT_EQ(ShowMessageBox("Error opening file", "LoadFile() failed: no-such-picture.tga", labels, 2), 0);
}

TEST_F(Dialogs, MessageBoxClicksLoopEndsAndNesting)
{
    CxDisplayObject other;
    other.Create(0, 0, 10, 10, GetRootObject());
    other.SetFocus();
    const char* labels[] = {"Retry", "Abort", "Ignore"};

    // A real press and release over the third button.
    m_script.step = [&] {
        ClickAt(*GetOpenMessageBox()->GetButton(2));
        return 0;
    };
    EXPECT_EQ(ShowMessageBox("Disk", "Not ready", labels, 3), 2);
    EXPECT_EQ(m_script.frames, 1);
    EXPECT_EQ(GetFocusObject(), &other);

    // A press released outside the button is no click; the error limit ends the box.
    m_script.step = [&] {
        const CxCommonPushButton& button = *GetOpenMessageBox()->GetButton(0);
        const CxPoint inside = button.LocalToScreen(CxPoint(5, 5));
        DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, inside, 1));
        DispatchMouse(MouseEvent(EMouseAction::Up, EMouseButton::Left, CxPoint(0, 0), 0));
        ReportError(PIM_ERR_UNKNOWN, "frame failed");
        return 0;
    };
    EXPECT_EQ(ShowMessageBox("Disk", "Not ready", labels, 3), -1);
    ResetErrorState();

    // A quit ends it too, as does having no loop at all.
    m_script.step = [&] {
        m_script.exitRequested = true;
        return 0;
    };
    EXPECT_EQ(ShowMessageBox("Disk", "Not ready", labels, 3), -1);
    m_script.exitRequested = false;
    ResetModalLoop();
    EXPECT_EQ(ShowMessageBox("Disk", "Not ready", labels, 3), -1);
    SetModalLoop(ST_MODAL_LOOP{&ScriptStep, &ScriptExit, &ScriptFlush, 0, &m_script});

    // A box opened from inside another's frame step runs on top of it and
    // hands the outer one back when it closes.
    int innerResult = -2;
    const char* inner[] = {"A", "B"};
    m_script.step = [&] {
        CxCommonMessageBox* open = GetOpenMessageBox();
        if (std::string(GetMessageBoxTitle(open)) == "Inner")
        {
            EXPECT_EQ(GetModalObject(), open);
            EXPECT_EQ(ClickMessageBoxButton("Retry"), -1); // the outer box's button is not reachable
            return ClickMessageBoxButton("B") == 1 ? 0 : 1;
        }
        if (innerResult == -2)
        {
            innerResult = ShowMessageBox("Inner", "Nested", inner, 2);
            EXPECT_EQ(GetModalObject(), open);
            EXPECT_EQ(GetFocusObject(), open);
            return 0;
        }
        return ClickMessageBoxButton("Abort") == 1 ? 0 : 1;
    };
    EXPECT_EQ(ShowMessageBox("Outer", "Holding", labels, 3), 1);
    EXPECT_EQ(innerResult, 1);
    EXPECT_EQ(GetModalDepth(), 0);
    EXPECT_EQ(GetFocusObject(), &other);
}

TEST_F(Dialogs, CommonPicturesAndTextList)
{
    CxCommonPushButton button;
    ASSERT_EQ(button.CreateButton("Go", 7, 0, 0, 40, 20, GetRootObject()), PIM_OK);
    CxDrawSurface* picture = button.GetSurface();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetDepth(), 8);
    EXPECT_EQ(picture->GetSize(), CxSize(200, 20));
    EXPECT_EQ(button.GetFrameCount(), 5);
    // Raised frame: light top-left, dark bottom-right, the fill inside.
    EXPECT_EQ(picture->GetPixel(0, 0), 255u);
    EXPECT_EQ(picture->GetPixel(39, 19), 0u);
    EXPECT_EQ(picture->GetPixel(2, 2), 248u);
    // Pressed frame: the bevel turned round.
    EXPECT_EQ(picture->GetPixel(120, 0), 0u);
    EXPECT_EQ(picture->GetPixel(159, 19), 255u);
    // The label is drawn in every frame, and differs when disabled.
    int normalInk = 0;
    int disabledInk = 0;
    for (int32_t y = 1; y < 19; ++y)
        for (int32_t x = 1; x < 39; ++x)
        {
            normalInk += picture->GetPixel(x, y) != 248u;
            disabledInk += picture->GetPixel(160 + x, y) != 248u;
            EXPECT_TRUE(picture->GetPixel(x, y) == 248u || picture->GetPixel(160 + x, y) != picture->GetPixel(x, y));
        }
    EXPECT_GT(normalInk, 0);
    EXPECT_EQ(normalInk, disabledInk);

    CxCommonTextListBox list;
    list.Create(0, 0, 120, 60, GetRootObject());
    list.SetRowHeight(14);
    ASSERT_EQ(list.AddString("one"), PIM_OK);
    ASSERT_EQ(list.InsertString(0, "zero"), PIM_OK);
    for (int i = 0; i < 2; ++i)
    {
        auto* row = dynamic_cast<CxDrawText*>(list.GetItem(i));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->GetSize(), CxSize(116, 14));
        EXPECT_NE(row->GetTextFlags() & 8u, 0u);
    }
    EXPECT_EQ(list.FindString("zero", false), 0);
}

} // namespace
