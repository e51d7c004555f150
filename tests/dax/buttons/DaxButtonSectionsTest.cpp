// The one reader of "Button%d" sections: the defaults, the numbers a file
// gets wrong, where the list of sections ends, and the buttons made from
// them (picture and frames, alpha for 32-bit pictures, placement).
#include "DAX/buttons/CDaxButton.h"
#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxOptions.h"
#include "tests/dax/GeneratedPictures.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ButtonSections : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(400, 300), 1), PIM_OK);
        ASSERT_EQ(DaxTest::RegisterGeneratedPictures(), PIM_OK);
        m_parent.Create(0, 0, 400, 300, GetRootObject());
        m_parent.Show();
    }
    void TearDown() override
    {
        DaxDeleteButtons(m_buttons);
        m_parent.Detach();
        ShutdownDisplay();
    }
    CxOptions& Store(const std::string& text)
    {
        EXPECT_EQ(m_store.ReadFromBuffer(text.data(), text.size()), PIM_OK);
        return m_store;
    }
    // The sections of `text` loaded under the parent at depth 1000, shown.
    int Load(const std::string& text)
    {
        ST_DAX_BUTTON_PLACEMENT placement;
        placement.parent = &m_parent;
        placement.z = 1000;
        placement.shown = true;
        return DaxLoadButtonSections(Store(text), placement, m_buttons);
    }
    CDaxButton& At(size_t index) { return **m_buttons.GetAt(index); }

    CxOptions m_store;
    CxDisplayObject m_parent;
    DaxButtonList m_buttons;
};

} // namespace

TEST_F(ButtonSections, DefaultsAndTheNumbersAFileGetsWrong)
{
    ST_DAX_BUTTON_SECTION section;
    ASSERT_TRUE(DaxReadButtonSection(Store("[Button0]\nFileName=a_30x10_16.pic\n"), 0, section));
    EXPECT_STREQ(section.section.GetText(), "Button0");
    EXPECT_STREQ(section.fileName.GetText(), "a_30x10_16.pic");
    EXPECT_EQ(section.numFrames, 5);
    EXPECT_EQ(section.controlId, 0);
    EXPECT_FALSE(section.maskOnly);
    EXPECT_EQ(section.cursor, -1);
    EXPECT_STREQ(section.name.GetText(), "Button0");
    EXPECT_EQ(section.position, CxPoint(-1000, -1000));
    EXPECT_TRUE(section.onClick.IsEmpty() && section.onMouseEnter.IsEmpty() && section.onMouseLeave.IsEmpty());

    // A click text longer than the store's string getter reads stays whole.
    const std::string longText = "x = 1" + std::string(600, ' ') + "y = 2";
    ASSERT_TRUE(DaxReadButtonSection(Store("[Button3]\nFileName=b.pic\nNumFrames=0\nCursor=-7\nMaskOnly=2\n"
                                           "ControlID=-4\nPosition=99999999, -70000\n"
                                           "Name=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\nOnClick=" +
                                           longText + "\nOnMouseEnter=e()\nOnMouseLeave=l()\n"),
                                     3, section));
    EXPECT_EQ(section.numFrames, 1); // no frames: the picture whole
    EXPECT_EQ(section.cursor, -1);
    EXPECT_TRUE(section.maskOnly);
    EXPECT_EQ(section.controlId, -4);
    EXPECT_EQ(section.position, CxPoint(DAX_COORDINATE_LIMIT, -DAX_COORDINATE_LIMIT));
    EXPECT_STREQ(section.name.GetText(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    EXPECT_EQ(section.onClick.GetText(), longText);
    EXPECT_STREQ(section.onMouseEnter.GetText(), "e()");
    EXPECT_STREQ(section.onMouseLeave.GetText(), "l()");
    ASSERT_TRUE(DaxReadButtonSection(Store("[Button0]\nFileName=b.pic\nNumFrames=40000\n"), 0, section));
    EXPECT_EQ(section.numFrames, 5);
    ASSERT_TRUE(DaxReadButtonSection(Store("[Button0]\nFileName=b.pic\nNumFrames=-3\n"), 0, section));
    EXPECT_EQ(section.numFrames, 1);
}

TEST_F(ButtonSections, TheFirstSectionWithoutAPictureEndsTheList)
{
    EXPECT_EQ(Load("[Button0]\nName=NoPicture\n[Button1]\nFileName=a_30x10_16.pic\n"), PIM_OK);
    EXPECT_EQ(m_buttons.GetCount(), 0u);

    EXPECT_EQ(Load("[Button0]\nFileName=a_30x10_16.pic\n[Button1]\nFileName=b_30x10_16.pic\n"
                   "[Button3]\nFileName=c_30x10_16.pic\n"),
              PIM_OK);
    ASSERT_EQ(m_buttons.GetCount(), 2u);
    EXPECT_STREQ(At(1).GetName(), "Button1");
}

TEST_F(ButtonSections, ButtonsTakeTheirPictureNumbersAndPlace)
{
    ErrorRecorder errors;
    const int code = Load("[Button0]\nFileName=yes_150x10_16.pic\nName=Yes\nPosition=100, 160\nControlID=7\n"
                          "Cursor=2\nMaskOnly=1\nOnClick=c()\nOnMouseEnter=e()\nOnMouseLeave=l()\n"
                          "[Button1]\nFileName=glow_80x20_32.pic\nNumFrames=8\n"
                          "[Button2]\nFileName=missing.pic\nName=Gone\n"
                          "[Button3]\nFileName=odd_100x10_16.pic\nNumFrames=3\n");
    EXPECT_NE(code, PIM_OK); // the missing picture's, reported by its loader
    ASSERT_FALSE(errors.errors.empty());
    for (const RecordedError& error : errors.errors)
        EXPECT_NE(error.message.find("missing.pic"), std::string::npos) << error.message;
    ASSERT_EQ(m_buttons.GetCount(), 4u);

    CDaxButton& yes = At(0);
    EXPECT_STREQ(yes.GetName(), "Yes");
    EXPECT_EQ(yes.GetFrameCount(), 5);
    EXPECT_EQ(yes.GetSize(), CxSize(30, 10));
    EXPECT_EQ(yes.GetPosition(), CxPoint(100, 160));
    EXPECT_EQ(yes.GetControlId(), 7);
    EXPECT_EQ(yes.GetCursorId(), 2);
    EXPECT_TRUE(yes.GetPixelHitTest());
    EXPECT_STREQ(yes.GetClickText(), "c()");
    EXPECT_STREQ(yes.GetEnterText(), "e()");
    EXPECT_STREQ(yes.GetLeaveText(), "l()");
    EXPECT_EQ(yes.GetParent(), &m_parent);
    EXPECT_EQ(yes.GetZ(), 1000);
    EXPECT_TRUE(yes.IsShown());
    EXPECT_EQ(yes.GetDrawMode(), PIM_DRAW_COPY);

    // A 32-bit picture draws with its own alpha.
    CDaxButton& glow = At(1);
    EXPECT_EQ(glow.GetFrameCount(), 8);
    EXPECT_EQ(glow.GetSize(), CxSize(10, 20));
    EXPECT_EQ(glow.GetDrawMode(), DAX_BUTTON_ALPHA_MODE);
    EXPECT_EQ(glow.GetPosition(), CxPoint(-1000, -1000));

    // Without its picture the button is still there for its commands.
    EXPECT_EQ(DaxFindButton(m_buttons, "gONE"), &At(2));
    EXPECT_EQ(At(2).GetSurface(), nullptr);
    EXPECT_EQ(At(2).GetError(), PIM_OK);
    // A count the width does not divide gives one frame.
    EXPECT_EQ(At(3).GetFrameCount(), 1);
    EXPECT_EQ(DaxFindButton(m_buttons, "nobody"), nullptr);
    EXPECT_EQ(DaxFindButton(m_buttons, nullptr), nullptr);

    // Global buttons: no parent, depth 0, not shown, yet placed.
    ST_DAX_BUTTON_SECTION section;
    ASSERT_TRUE(DaxReadButtonSection(m_store, 0, section));
    CDaxButton* global = DaxMakeButton(section, ST_DAX_BUTTON_PLACEMENT{});
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(global->GetParent(), nullptr);
    EXPECT_EQ(global->GetZ(), 0);
    EXPECT_FALSE(global->IsShown());
    EXPECT_EQ(global->GetPosition(), CxPoint(100, 160));
    delete global;
}

TEST_F(ButtonSections, APercentInAPictureNameIsACharacter)
{
    // Were the name a printf format, "%s" would read an argument that is
    // not there; only "%%" collapses.
    Load("[Button0]\nFileName=100%%\\a%s_30x10_16.pic\n");
    ASSERT_EQ(m_buttons.GetCount(), 1u);
    EXPECT_EQ(At(0).GetSize(), CxSize(6, 10)); // it loaded, by its literal name
    ST_DAX_BUTTON_SECTION section;
    DaxReadButtonSection(m_store, 0, section);
    CxString path;
    ASSERT_EQ(BuildGamePathFromData(path, section.fileName.GetText()), PIM_OK);
    EXPECT_STREQ(path.GetText(), "100%/a%s_30x10_16.pic");
}
