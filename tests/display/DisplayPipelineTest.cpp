// The whole redraw pipeline: after any change, redrawing only the dirty
// rectangles into a poisoned buffer must give exactly what a full redraw
// gives inside them, and every pixel that changed must lie inside them.
#include "tests/display/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

using namespace DisplayTest;

namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr uint16_t kPoison = 0xF81F;

class Pipeline : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(kWidth, kHeight), 1), PIM_OK);
        CxDisplayObject* root = GetRootObject();

        CxDrawSurface* pattern = MakeSurface(kWidth, kHeight, 16, 0);
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                pattern->SetPixel(x, y, 0x100u + static_cast<uint32_t>((x * 3) ^ (y * 5)));
        background.SetSurface(pattern);
        background.Create(0, 0, kWidth, kHeight, root);
        background.SetZ(static_cast<int32_t>(0xBFFFFFFEu));
        background.Show();

        // Three frames with a see-through hole in each.
        MakeSprite(walker, root, 5, 5, 10, 10, 0x21, 3);
        walker.GetSurface()->FillRect(CxRect(3, 3, 5, 5), 0);
        walker.GetSurface()->FillRect(CxRect(13, 2, 16, 4), 0);
        walker.GetSurface()->FillRect(CxRect(22, 6, 24, 8), 0);
        walker.SetTransparentColour(0);
        walker.Show();

        MakeSprite(box, root, 20, 10, 12, 8, 0x31);
        box.SetZ(5);
        box.Show();

        // A group that does not clip, with children outside its rectangle.
        group.Create(30, 20, 8, 8, root);
        group.ModifyFlags(0, PIM_DO_CLIP);
        group.Show();
        MakeSprite(left, &group, -3, 2, 5, 5, 0x41);
        left.Show();
        MakeSprite(right, &group, 6, 6, 6, 6, 0x51);
        right.Show();

        // A clipping frame whose child pokes out (and is cut off).
        MakeSprite(frame, root, 44, 4, 12, 12, 0x61);
        frame.Show();
        MakeSprite(inner, &frame, 8, 8, 8, 8, 0x71);
        inner.Show();

        loner = std::make_unique<CxSprite>();
        MakeSprite(*loner, root, 40, 30, 8, 8, 0x81);
        loner->SetZ(PIM_Z_FRONT);
        loner->Show();

        m_previous.Create(kWidth, kHeight, 16);
        RedrawDirty(m_previous);
        ASSERT_EQ(GetDirtyRectCount(), 0);
    }

    // Redraws the dirty rectangles into a poisoned buffer and holds it to a
    // full redraw of the scene.
    void Check(const char* step)
    {
        SCOPED_TRACE(step);
        const std::vector<CxRect> dirty = DirtyRects();
        CxDrawSurface partial;
        partial.Create(kWidth, kHeight, 16);
        partial.FillRect(partial.GetRect(), kPoison);
        RedrawDirty(partial);
        EXPECT_EQ(GetDirtyRectCount(), 0);
        CxDrawSurface full;
        full.Create(kWidth, kHeight, 16);
        RedrawAll(full);

        int failures = 0;
        for (int32_t y = 0; y < kHeight && failures < 5; ++y) {
            for (int32_t x = 0; x < kWidth && failures < 5; ++x) {
                bool inside = false;
                for (const CxRect& r : dirty)
                    inside = inside || r.Contains(CxPoint(x, y));
                const uint32_t p = partial.GetPixel(x, y), f = full.GetPixel(x, y);
                if (inside && p != f) {
                    ADD_FAILURE() << "redrawn pixel differs at " << x << "," << y;
                    ++failures;
                } else if (!inside && (p != kPoison || f != m_previous.GetPixel(x, y))) {
                    ADD_FAILURE() << "changed pixel outside every dirty rectangle at " << x << "," << y;
                    ++failures;
                }
            }
        }
        full.CopyBitsTo(m_previous);
    }

    CxSprite background, walker, box, left, right, frame, inner;
    CxDisplayObject group;
    std::unique_ptr<CxSprite> loner;

private:
    CxDrawSurface m_previous;
};

} // namespace

TEST_F(Pipeline, EveryChangedPixelLiesInADirtyRectangle)
{
    walker.MoveTo(8, 7);
    Check("move");
    walker.Hide();
    Check("hide");
    walker.Show();
    Check("show");
    walker.SetFrame(2);
    Check("frame");
    box.SetZ(PIM_Z_BACK); // behind the background: gone from view
    Check("z to the back");
    box.SetZ(PIM_Z_FRONT);
    Check("z to the front");
    walker.MoveInFrontOf(box);
    box.MoveTo(0, 40);
    Check("two changes in one frame");
    right.Detach();
    Check("detach");
    group.MoveTo(25, 25);
    Check("move a group with children outside it");
    group.AddChild(&right);
    Check("attach");
    left.MoveTo(-10, -10);
    Check("move a child past its group's corner");
    loner.reset();
    Check("destroy");
    inner.MoveTo(2, 9);
    Check("move a clipped child");
    frame.MoveTo(50, 40, PIM_ANCHOR_CENTRE);
    Check("move by the centre");
    walker.Resize(CxSize(14, 12));
    Check("resize");
    // Stretched and redrawn whole: the scaled picture lands exactly.
    walker.ModifyFlags(PIM_DO_STRETCH, 0);
    walker.Resize(CxSize(20, 20));
    Check("stretch");
    walker.Resize(CxSize(10, 10));
    Check("unstretch");
    box.ReplaceColour(0x31, 0x32);
    Check("recolour");
    group.Hide();
    Check("hide a group");
    group.Show();
    Check("show a group");
    ST_DRAW_PARAMS half;
    half.mode = PIM_DRAW_HALF;
    box.SetDrawParams(&half);
    Check("draw parameters");
    frame.SetRect(CxRect(0, 30, 15, 41));
    Check("set rectangle");
    walker.SetParent(&frame);
    Check("reparent");
    walker.Release();
    Check("release");
}

TEST_F(Pipeline, RandomChangesNeverLeaveStalePixels)
{
    std::mt19937 random(20240611u);
    CxDisplayObject* movable[] = {&walker, &box, &group, &left, &right, &frame, &inner};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 150; ++round) {
        // One to three changes per frame, so that they merge.
        const int changes = 1 + pick(3);
        for (int c = 0; c < changes; ++c) {
            CxDisplayObject* object = movable[pick(7)];
            switch (pick(6)) {
            case 0:
                object->MoveTo(pick(kWidth + 20) - 10, pick(kHeight + 20) - 10);
                break;
            case 1:
                object->IsShown() ? object->Hide() : object->Show();
                break;
            case 2:
                object->SetZ(pick(4) == 0 ? PIM_Z_FRONT : pick(10));
                break;
            case 3:
                walker.NextFrame();
                break;
            case 4:
                // A raw flag change: the caller marks the old and new extent.
                object->Invalidate();
                object->ModifyFlags(pick(2) ? uint32_t{PIM_DO_CLIP} : 0u, pick(2) ? 0u : uint32_t{PIM_DO_CLIP});
                object->Invalidate();
                break;
            default:
                object->Resize(CxSize(4 + pick(12), 4 + pick(12)));
                break;
            }
        }
        Check(("round " + std::to_string(round)).c_str());
        if (HasFailure())
            break;
    }
}
