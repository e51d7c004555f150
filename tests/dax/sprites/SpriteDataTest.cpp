// Sprite description files as the outside data they are: hostile counts,
// indices and rates, missing pictures and missing files, each met with its
// error and message while whatever can work goes on working.
#include "DAX/sprites/CDaxSprite.h"
#include "DAX/sprites/CDaxSpritePlayOnceEvent.h"
#include "DAX/sprites/CSuperState.h"
#include "DAX/sprites/DaxSpriteFile.h"
#include "PIM/core/CxMemory.h"
#include "tests/dax/sprites/SpriteTestSupport.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

namespace {

class SpriteData : public SpriteTest::SpriteFiles
{
protected:
    void SetUp() override
    {
        SpriteFiles::SetUp();
        Picture("strip.tga", 4, 8, 6);
        Picture("still.tga", 1, 12, 12, 0x100, 16, 0x1234);
    }
    // A description with the "PimSprite" keys given and `states` copies of
    // the four-frame strip.
    void Describe(const std::string& header, int states = 3, const std::string& extra = "")
    {
        std::string text = "[PimSprite]\nName=Bad\n" + header + "\n";
        for (int i = 0; i < states; ++i)
            text += "[State00" + std::to_string(i) + "]\nFileName=strip.tga\nNumFrames=4\n";
        Text("bad.xni", text + extra);
    }
    static bool Mentions(const ErrorRecorder& recorder, int code, const char* words)
    {
        for (const RecordedError& e : recorder.errors)
            if (e.code == code && e.message.find(words) != std::string::npos)
                return true;
        return false;
    }
};

} // namespace

TEST_F(SpriteData, StateCountsOutsideOneToAThousandMakeTheFileUnusableWithoutAllocatingForThem)
{
    ErrorRecorder errors;
    CDaxSprite sprite;
    Describe("NumStates=2000000000");
    ResetMemoryStats();
    EXPECT_EQ(sprite.Load("bad.xni"), PIM_ERR_UNKNOWN);
    EXPECT_LT(GetMemoryStats().bytesRequested, 1u << 20);
    EXPECT_TRUE(Mentions(errors, PIM_ERR_UNKNOWN, "at most 1000"));
    EXPECT_EQ(sprite.GetStateCount(), 0);
    // A sprite without states does nothing, and nothing breaks.
    EXPECT_EQ(sprite.SetState(0), PIM_OK);
    EXPECT_EQ(sprite.PlayOnce(0), PIM_OK);
    EXPECT_TRUE(sprite.IsStopped());
    EXPECT_EQ(sprite.GetSurface(), nullptr);

    for (const char* count : {"NumStates=0", "NumStates=-5", ""}) {
        Describe(count);
        EXPECT_EQ(sprite.Load("bad.xni"), PIM_ERR_UNKNOWN) << count;
        EXPECT_TRUE(Mentions(errors, PIM_ERR_UNKNOWN, "No states found in bad.xni")) << count;
    }
    Describe("NumStates=1000", 1);
    EXPECT_EQ(sprite.Load("bad.xni"), PIM_ERR_OPEN); // allowed; states 1 .. 999 have no picture
    EXPECT_EQ(sprite.GetStateCount(), 1000);

    EXPECT_EQ(sprite.Load("missing.xni"), PIM_ERR_NOT_FOUND);
    EXPECT_TRUE(Mentions(errors, PIM_ERR_NOT_FOUND, "Could not open missing.xni"));
}

TEST_F(SpriteData, PreloadEntriesAndStateArgumentsAreRangeChecked)
{
    ErrorRecorder errors;
    CDaxSprite sprite;
    Describe("NumStates=3\nPreLoadList=5, 0, -1");
    EXPECT_EQ(sprite.Load("bad.xni"), PIM_ERR_UNKNOWN);
    EXPECT_TRUE(Mentions(errors, PIM_ERR_UNKNOWN, "names state 5"));
    EXPECT_TRUE(Mentions(errors, PIM_ERR_UNKNOWN, "names state -1"));
    EXPECT_TRUE(sprite.IsStateLoaded(0));
    EXPECT_FALSE(sprite.IsStateLoaded(1));

    CxOptions::IntList mine;
    mine.Append(7);
    mine.Append(1);
    EXPECT_EQ(sprite.Load("bad.xni", &mine), PIM_ERR_BAD_ARG);
    EXPECT_TRUE(sprite.IsStateLoaded(1));

    errors.errors.clear();
    EXPECT_EQ(sprite.LoadState(3), PIM_ERR_BAD_ARG);
    EXPECT_EQ(sprite.LoadState(-1), PIM_ERR_BAD_ARG);
    EXPECT_EQ(sprite.UnloadState(3), PIM_ERR_BAD_ARG);
    EXPECT_EQ(sprite.ActivateState(-2), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.size(), 4u);
    EXPECT_EQ(sprite.GetSuperState(99), nullptr);
    EXPECT_EQ(sprite.GetSuperState(-1), nullptr);
    // Commands given no state do nothing.
    CxEventArgs none;
    for (const char* command : {"LoadState", "UnLoadState", "SetState", "PlayOnceAndContinue", "PlayInfinite"})
        sprite.OnCommand(command, none);
    EXPECT_EQ(errors.errors.size(), 4u);
    EXPECT_TRUE(sprite.IsStopped());
}

TEST_F(SpriteData, AStateWhosePictureIsMissingStaysUnloadedAndTheOthersWork)
{
    ErrorRecorder errors;
    Describe("NumStates=3", 0,
             "[State000]\nFileName=strip.tga\nNumFrames=4\n[State001]\nFileName=missing.tga\n"
             "[State002]\nFileName=still.tga\n");
    CDaxSprite sprite;
    EXPECT_EQ(sprite.Load("bad.xni"), PIM_ERR_OPEN);
    EXPECT_TRUE(Mentions(errors, PIM_ERR_OPEN, "Could not load a SuperState: state 1 of bad.xni"));
    EXPECT_TRUE(sprite.IsStateLoaded(0));
    EXPECT_FALSE(sprite.IsStateLoaded(1));
    EXPECT_TRUE(sprite.IsStateLoaded(2));

    // Selecting it fails quietly and leaves the sprite as it was; playing
    // it ends at once, so a sequence waiting on it goes on.
    const size_t reported = errors.errors.size();
    EXPECT_EQ(sprite.SetState(1), PIM_ERR_OPEN);
    EXPECT_EQ(sprite.GetState(), 0);
    EXPECT_NE(sprite.GetSurface(), nullptr);
    CDaxSpritePlayOnceEvent event(sprite, 1, 0);
    event.Start();
    EXPECT_TRUE(event.IsDone());
    EXPECT_EQ(errors.errors.size(), reported);
    ASSERT_EQ(sprite.PlayOnce(2), PIM_OK);
    EXPECT_EQ(sprite.GetState(), 2);
    // Asking for it by name tries again (and says so again).
    EXPECT_EQ(sprite.LoadState(1), PIM_ERR_OPEN);
    EXPECT_GT(errors.errors.size(), reported);

    // With no state loaded at all the sprite shows and plays nothing.
    Describe("NumStates=2", 0, "[State000]\nFileName=missing.tga\n[State001]\nFileName=gone.tga\n");
    EXPECT_EQ(sprite.Load("bad.xni"), PIM_ERR_OPEN);
    EXPECT_EQ(sprite.GetSurface(), nullptr);
    EXPECT_NE(sprite.Play(-1), PIM_OK);
    EXPECT_NE(sprite.PlayOnce(1), PIM_OK);
    EXPECT_TRUE(sprite.IsStopped());
    Run(50);
}

TEST_F(SpriteData, RatesAndFrameCountsAreMadeSafeSoThatAPlayedOnceStateEnds)
{
    Describe("NumStates=4", 0,
             "[State000]\nFileName=strip.tga\nFrameRate=0\n"             // the picture's one frame, 12 fps
             "[State001]\nFileName=strip.tga\nNumFrames=7\nFrameRate=-3\n" // 7 does not divide 32 pixels
             "[State002]\nFileName=strip.tga\nNumFrames=4\nStartFrame=99\nDuration=-50\n"
             "[State003]\nFileName=strip.tga\nNumFrames=4\nXYPerFrame=1\nFrameRate=0.0000001\n");
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("bad.xni"), PIM_OK);
    const ST_ANIM_ACTION* action = sprite.GetSuperState(0)->GetActions();
    EXPECT_EQ(sprite.GetSuperState(0)->GetFrameCount(), 1);
    EXPECT_FLOAT_EQ(action->frameRate, DAX_DEFAULT_FRAME_RATE);
    EXPECT_EQ(action->endFrame, 0);

    action = sprite.GetSuperState(1)->GetActions();
    EXPECT_EQ(sprite.GetSuperState(1)->GetFrameCount(), 1);
    EXPECT_FLOAT_EQ(action->frameRate, DAX_DEFAULT_FRAME_RATE);
    EXPECT_EQ(action->endFrame, 0); // within the frames the picture has
    action = sprite.GetSuperState(2)->GetActions();
    EXPECT_EQ(action->startFrame, 3);
    EXPECT_EQ(action->endFrame, 3);
    EXPECT_EQ(action->flags & PIM_ANIM_DURATION, 0u);
    // A frame rate near zero lasts long, but within what a timer holds.
    action = sprite.GetSuperState(3)->GetActions();
    ASSERT_EQ(sprite.GetSuperState(3)->GetActionCount(), 4);
    EXPECT_EQ(action->duration, INT32_MAX);

    for (int state : {0, 1, 2}) {
        ASSERT_EQ(sprite.PlayOnce(state), PIM_OK);
        Run(500);
        EXPECT_TRUE(sprite.IsStopped()) << state;
    }
}

TEST_F(SpriteData, TheMaskColourComesFromInsideTheFirstPictureOrNotAtAll)
{
    Text("mask.xni", "[PimSprite]\nNumStates=1\nMaskColorPosition=500, 500\n[State000]\nFileName=still.tga\n");
    CDaxSprite sprite;
    ASSERT_EQ(sprite.Load("mask.xni"), PIM_OK);
    EXPECT_EQ(sprite.GetTransparentColour(), PIM_NO_KEY);
    Text("mask.xni", "[PimSprite]\nNumStates=1\nMaskColorPosition=0, 0\nMaskOnly=1\n[State000]\nFileName=still.tga\n");
    ASSERT_EQ(sprite.Load("mask.xni"), PIM_OK);
    EXPECT_EQ(sprite.GetTransparentColour(), sprite.GetSurface()->GetPixel(0, 0));
    EXPECT_TRUE(sprite.GetPixelHitTest());
    EXPECT_EQ(sprite.GetHitMask(), 0x10008001u);
}

TEST_F(SpriteData, TheReaderTakesTheHeaderAndFileNamesAsDataAuthorsWriteThem)
{
    CxOptions store;
    const std::string text = "[PimSprite]\nControlID=42\nPosition=3, 4\nAutoRegisterEventName=0\n"
                             "AutoStopStateSounds=0\nManualStateSounds=1\nNumStates=2\nMovieDriverFlags=6\n"
                             "[State001]\nFileName=art\\\\props\\\\cart.tga\nStateName=" +
                             std::string(80, 'n') + "\nLips=mouth.tga\nLipPosition=7,8\nLipMask=2\n";
    ASSERT_EQ(store.ReadFromBuffer(text.data(), text.size()), PIM_OK);
    ST_DAX_SPRITE_HEADER header;
    header.name = "Kept";
    CxError reporter;
    ASSERT_EQ(ReadDaxSpriteHeader(store, header, reporter), PIM_OK);
    EXPECT_STREQ(header.name.GetText(), "Kept");
    EXPECT_EQ(header.controlId, 42);
    EXPECT_EQ(header.position, CxPoint(3, 4));
    EXPECT_FALSE(header.autoRegister);
    EXPECT_FALSE(header.autoStopSounds);
    EXPECT_TRUE(header.manualSounds);
    EXPECT_FALSE(header.hasMaskPosition);
    EXPECT_EQ(header.movieFlags, 6u);

    ST_DAX_STATE_DESC desc;
    ReadDaxState(store, 1, desc);
    EXPECT_STREQ(desc.fileName.GetText(), "art\\props\\cart.tga");
    EXPECT_EQ(desc.stateName.Length(), DAX_STATE_NAME_LENGTH);
    EXPECT_STREQ(desc.lips.GetText(), "mouth.tga");
    EXPECT_EQ(desc.lipPosition, CxPoint(7, 8));
    EXPECT_FALSE(desc.lipMask); // exactly 1 masks
    ReadDaxState(store, 0, desc); // a missing section is all defaults
    EXPECT_TRUE(desc.fileName.IsEmpty());
    EXPECT_EQ(desc.position, CxPoint(-1, -1));
    EXPECT_TRUE(desc.lipMask);
    EXPECT_EQ(DaxDeclaredFrames(desc, 9), 9);
}

TEST_F(SpriteData, PathKeysAreFoundAsALookupByTheirWrittenNameWouldFindThem)
{
    auto build = [](const std::string& text, CxArray<ST_ANIM_ACTION>& actions) {
        CxOptions store;
        ASSERT_EQ(store.ReadFromBuffer(text.data(), text.size()), PIM_OK);
        ST_DAX_STATE_DESC desc;
        ReadDaxState(store, 0, desc);
        ASSERT_EQ(BuildDaxStateActions(store, 0, desc, 10, actions), PIM_OK);
    };
    CxArray<ST_ANIM_ACTION> actions;
    build("[State000]\nXYPerFrame=1\nStartFrame=1\nNumFrames=4\nFrameRate=12\nframe001=1, 1\nFrame002=2, 2, 9\n"
          "Frame002=7, 7\nFrame3=5, 5\nFrame0004=6, 6\nFrame000=8, 8\nFrame004=4,4,\n",
          actions);
    ASSERT_EQ(actions.GetCount(), 4u);
    const ST_ANIM_ACTION* a = actions.GetData();
    EXPECT_EQ(a[0].startX, 1); // any case
    EXPECT_EQ(a[0].startFrame, 1);
    EXPECT_EQ(a[1].startX, 2); // the first of two
    EXPECT_EQ(a[1].startFrame, 9);
    EXPECT_EQ(a[2].startX, 0); // "Frame3" is not "Frame003": the default, frame 0
    EXPECT_EQ(a[2].startFrame, 0);
    EXPECT_EQ(a[3].startX, 4);
    EXPECT_EQ(a[3].startFrame, 4); // an empty third number is a missing one: the key's own
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a[i].flags, PIM_ANIM_START | PIM_ANIM_DURATION | PIM_ANIM_START_FRAME);
        EXPECT_EQ(a[i].duration, 83);
    }
    // Past 999 the names grow a digit.
    build("[State000]\nXYPerFrame=1\nStartFrame=999\nNumFrames=2\nFrame999=1, 0\nFrame1000=2, 0\n", actions);
    ASSERT_EQ(actions.GetCount(), 2u);
    EXPECT_EQ(actions.Get(1)->startX, 2);
    EXPECT_EQ(actions.Get(1)->startFrame, 1000);
}
