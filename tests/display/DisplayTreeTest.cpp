// The display tree: z order, anchors, dirty rectangles, hit tests, focus,
// modality, input dispatch and drawing a subtree off screen.
#include "PIM/core/CxError.h"
#include "PIM/display/CxOffsetTarget.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace DisplayTest;

namespace {

class DisplayTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(64, 48), 1), PIM_OK);
        DrainDirty();
    }
};

std::vector<int32_t> ZOrderOf(const CxDisplayObject& parent)
{
    std::vector<int32_t> order;
    for (const auto* node = parent.GetChildren().GetFirst(); node; node = node->GetNext())
        order.push_back(node->GetElement()->GetZ());
    return order;
}

} // namespace

TEST_F(DisplayTree, ZOrderIsUnsignedInListDrawingAndHitTests)
{
    CxDisplayObject* root = GetRootObject();
    // Every sprite covers the same 8 x 8 square, each in its own colour.
    CxSprite near, back, background, later, middle, front, front2;
    const int32_t backgroundZ = static_cast<int32_t>(0xBFFFFFFEu);
    struct Entry
    {
        CxSprite* sprite;
        int32_t z;
        uint32_t colour;
    } entries[] = {{&near, 5, 1}, {&background, backgroundZ, 2}, {&front, PIM_Z_FRONT, 3}, {&back, PIM_Z_BACK, 4},
                   {&later, 5, 5}, {&middle, 1, 6}, {&front2, PIM_Z_FRONT, 7}};
    for (Entry& e : entries) {
        MakeSprite(*e.sprite, nullptr, 10, 10, 8, 8, e.colour);
        e.sprite->SetZ(e.z);
        root->AddChild(e.sprite);
        e.sprite->Show();
    }
    EXPECT_EQ(ZOrderOf(*root), (std::vector<int32_t>{PIM_Z_BACK, backgroundZ, 5, 5, 1, PIM_Z_FRONT, PIM_Z_FRONT}));
    // Among equal z the later one is on top, and z 0 is above every positive z.
    EXPECT_EQ(*root->GetChildren().GetAt(2), &near);
    EXPECT_EQ(*root->GetChildren().GetAt(3), &later);
    EXPECT_EQ(FindObjectAt(CxPoint(12, 12)), &front2);

    CxDrawSurface screen;
    screen.Create(64, 48, 16);
    RedrawAll(screen);
    EXPECT_EQ(screen.GetPixel(12, 12), 7u);

    // Taking the front ones away uncovers each layer in turn.
    front2.Hide();
    front.Hide();
    EXPECT_EQ(FindObjectAt(CxPoint(12, 12)), &middle);
    middle.Hide();
    EXPECT_EQ(FindObjectAt(CxPoint(12, 12)), &later);
    later.Hide();
    near.Hide();
    EXPECT_EQ(FindObjectAt(CxPoint(12, 12)), &background);
    RedrawAll(screen);
    EXPECT_EQ(screen.GetPixel(12, 12), 2u);

    // Re-ordering: the background brought in front of everything shown.
    background.SetZ(PIM_Z_FRONT);
    EXPECT_EQ(root->GetChildren().GetLast()->GetElement(), &background);
    back.MoveInFrontOf(background);
    EXPECT_EQ(back.GetZ(), PIM_Z_FRONT);
    EXPECT_EQ(root->GetChildren().GetLast()->GetElement(), &back);
    middle.SetZ(100);
    near.MoveInFrontOf(middle);
    EXPECT_EQ(near.GetZ(), 99);
    later.MoveBehind(middle);
    EXPECT_EQ(later.GetZ(), 101);
    front.SetZ(PIM_Z_BACK);
    front2.MoveBehind(front);
    EXPECT_EQ(front2.GetZ(), PIM_Z_BACK);
    EXPECT_EQ(ZOrderOf(*root), (std::vector<int32_t>{PIM_Z_BACK, PIM_Z_BACK, 101, 100, 99, 0, 0}));
}

TEST(DisplayAnchors, PlaceAndReadBackEveryAnchor)
{
    const CxSize size(11, 7);
    const CxPoint p(100, 50);
    const CxPoint expected[] = {{100, 50}, {90, 50}, {100, 44}, {90, 44}, {100, 47},
                                {90, 47},  {95, 50}, {95, 44},  {95, 47}};
    for (int anchor = 0; anchor <= 8; ++anchor) {
        const CxPoint position = AnchorToPosition(p, size, anchor, CxPoint(-1, -1));
        EXPECT_EQ(position, expected[anchor]) << "anchor " << anchor;
        EXPECT_EQ(PositionToAnchor(position, size, anchor), p) << "anchor " << anchor;
    }
    EXPECT_EQ(AnchorToPosition(p, size, 9, CxPoint(3, 4)), CxPoint(3, 4));
    EXPECT_EQ(AnchorToPosition(p, size, -1, CxPoint(3, 4)), CxPoint(3, 4));

    CxDisplayObject object;
    object.Create(0, 0, 11, 7, nullptr);
    object.SetPosition(100, 50, PIM_ANCHOR_CENTRE);
    EXPECT_EQ(object.GetPosition(), CxPoint(95, 47));
    EXPECT_EQ(object.GetAnchorPoint(PIM_ANCHOR_BOTTOM_RIGHT), CxPoint(105, 53));
}

TEST_F(DisplayTree, DirtyRectanglesMergeClipAndStayBounded)
{
    Invalidate(CxRect(0, 0, 9, 9));
    Invalidate(CxRect(5, 5, 14, 14));
    Invalidate(CxRect(30, 30, 31, 31));
    // Touching edges without overlapping stays apart.
    Invalidate(CxRect(15, 0, 16, 1));
    EXPECT_EQ(GetDirtyRectCount(), 3);
    EXPECT_TRUE(DirtyCovers(CxRect(0, 0, 14, 14)));
    EXPECT_TRUE(DirtyCovers(CxRect(30, 30, 31, 31)));
    // A rectangle bridging two entries folds both into one.
    Invalidate(CxRect(14, 14, 30, 30));
    EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(0, 0, 31, 31)}));

    DrainDirty();
    Invalidate(CxRect(-10, 40, 100, 100));
    Invalidate(CxRect(64, 0, 70, 5)); // wholly outside: dropped
    EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(0, 40, 63, 47)}));

    // Far more disjoint rectangles than a list holds: it merges instead of
    // growing, and every pixel asked for stays covered.
    DrainDirty();
    std::vector<CxRect> asked;
    for (int32_t y = 0; y < 48; y += 2)
        for (int32_t x = 0; x < 64; x += 2)
            asked.emplace_back(x, y, x, y);
    for (const CxRect& r : asked)
        Invalidate(r);
    const std::vector<CxRect> held = DirtyRects();
    EXPECT_LE(held.size(), static_cast<size_t>(PIM_MAX_DIRTY_RECTS));
    for (const CxRect& r : asked)
        EXPECT_TRUE(DirtyCovers(r)) << r.left << "," << r.top;
    for (size_t i = 0; i < held.size(); ++i)
        for (size_t j = i + 1; j < held.size(); ++j)
            EXPECT_FALSE(held[i].Intersects(held[j]));
}

TEST(DisplayBuffers, EveryChangeReachesEachBufferOnceAndCountsAreClamped)
{
    ASSERT_EQ(InitDisplay(CxSize(32, 32), 3), PIM_OK);
    CxDrawSurface screen;
    screen.Create(32, 32, 16);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(0, 0, 31, 31)})) << "buffer " << i;
        RedrawDirty(screen);
    }
    EXPECT_EQ(GetDirtyRectCount(), 0);
    Invalidate(CxRect(1, 1, 2, 2));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(1, 1, 2, 2)})) << "buffer " << i;
        RedrawDirty(screen);
    }
    EXPECT_EQ(GetDirtyRectCount(), 0);

    // Seven buffers are three; none is one.
    ASSERT_EQ(InitDisplay(CxSize(32, 32), 7), PIM_OK);
    for (int i = 0; i < 3; ++i)
        RedrawDirty(screen);
    EXPECT_EQ(GetDirtyRectCount(), 0);
    ASSERT_EQ(InitDisplay(CxSize(32, 32), 0), PIM_OK);
    RedrawDirty(screen);
    EXPECT_EQ(GetDirtyRectCount(), 0);
}

namespace {

// Marks an area dirty while it is being drawn, as a movie frame might.
class InvalidatingObject : public CxDisplayObject
{
public:
    void Draw(CxRenderTarget& target, const CxRect& clip) override
    {
        sawRedrawing = IsRedrawing();
        if (!done)
            ::Invalidate(CxRect(40, 40, 41, 41));
        done = true;
        CxDisplayObject::Draw(target, clip);
    }
    bool done = false;
    bool sawRedrawing = false;
};

} // namespace

TEST_F(DisplayTree, InvalidateWhileRedrawingIsKeptForTheNextFrame)
{
    InvalidatingObject object;
    object.Create(0, 0, 20, 20, GetRootObject());
    object.Show();
    CxDrawSurface screen;
    screen.Create(64, 48, 16);
    RedrawDirty(screen);
    EXPECT_TRUE(object.sawRedrawing);
    EXPECT_FALSE(IsRedrawing());
    EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(40, 40, 41, 41)}));
}

TEST_F(DisplayTree, ChangesOfAVisibleObjectMarkItsOldAndNewArea)
{
    CxDisplayObject* root = GetRootObject();
    CxSprite sprite;
    MakeSprite(sprite, root, 10, 10, 4, 4, 1);
    EXPECT_EQ(GetDirtyRectCount(), 0); // not shown yet
    sprite.Show();
    EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(10, 10, 13, 13)}));

    DrainDirty();
    sprite.MoveTo(30, 20);
    EXPECT_TRUE(DirtyCovers(CxRect(10, 10, 13, 13)));
    EXPECT_TRUE(DirtyCovers(CxRect(30, 20, 33, 23)));
    EXPECT_EQ(GetDirtyRectCount(), 2);

    // In place: refresh-on-show marks it once; without the flag nothing.
    DrainDirty();
    sprite.MoveTo(30, 20);
    EXPECT_EQ(DirtyRects(), (std::vector<CxRect>{CxRect(30, 20, 33, 23)}));
    DrainDirty();
    sprite.ModifyFlags(0, PIM_DO_REFRESH_ON_SHOW);
    sprite.MoveTo(30, 20);
    EXPECT_EQ(GetDirtyRectCount(), 0);

    auto expectMarked = [&](const char* what, auto change) {
        DrainDirty();
        change();
        EXPECT_TRUE(DirtyCovers(CxRect(30, 20, 33, 23))) << what;
    };
    expectMarked("hide", [&] { sprite.Hide(); });
    expectMarked("show", [&] { sprite.Show(); });
    expectMarked("z", [&] { sprite.SetZ(7); });
    expectMarked("pixels", [&] { sprite.ReplaceColour(1, 2); });
    expectMarked("detach", [&] { sprite.Detach(); });
    expectMarked("attach", [&] { sprite.AttachToRoot(); });
    {
        auto doomed = std::make_unique<CxSprite>();
        MakeSprite(*doomed, root, 0, 0, 3, 3, 1);
        doomed->Show();
        DrainDirty();
        doomed.reset();
        EXPECT_TRUE(DirtyCovers(CxRect(0, 0, 2, 2))) << "destroy";
    }

    // A hidden parent hides its children: their changes mark nothing.
    CxDisplayObject panel;
    panel.Create(0, 0, 64, 48, root);
    sprite.SetParent(&panel);
    sprite.Show();
    DrainDirty();
    sprite.MoveTo(1, 1);
    EXPECT_EQ(GetDirtyRectCount(), 0);
    panel.Show();
    EXPECT_TRUE(DirtyCovers(CxRect(0, 0, 63, 47)));
}

TEST_F(DisplayTree, ExtentsCoordinatesAndHitTestsFollowTheTree)
{
    CxDisplayObject* root = GetRootObject();
    // A panel that does not clip: its children count even outside it.
    CxDisplayObject panel;
    panel.Create(10, 10, 10, 10, root);
    panel.ModifyFlags(0, PIM_DO_CLIP);
    panel.Show();
    CxSprite inside, outside, hidden;
    MakeSprite(inside, &panel, 2, 2, 4, 4, 1);
    MakeSprite(outside, &panel, 20, 5, 4, 4, 1);
    MakeSprite(hidden, &panel, 2, 2, 4, 4, 1);
    inside.Show();
    outside.Show();

    EXPECT_EQ(panel.GetExtent(), CxRect(0, 0, 23, 9));
    EXPECT_EQ(panel.GetScreenExtent(), CxRect(10, 10, 33, 19));
    EXPECT_EQ(outside.LocalToScreen(CxPoint(1, 1)), CxPoint(31, 16));
    EXPECT_EQ(outside.ScreenToLocal(CxPoint(31, 16)), CxPoint(1, 1));
    // Only the part inside every ancestor is visible.
    EXPECT_EQ(outside.GetVisibleRect(), CxRect());
    EXPECT_EQ(inside.GetVisibleRect(), CxRect(0, 0, 3, 3));
    panel.MoveTo(58, 10);
    EXPECT_EQ(inside.GetVisibleRect(), CxRect(0, 0, 3, 3));
    panel.MoveTo(60, 10);
    EXPECT_EQ(inside.GetVisibleRect(), CxRect(0, 0, 1, 3));
    panel.MoveTo(10, 10);

    EXPECT_EQ(FindObjectAt(CxPoint(13, 13)), &inside); // the hidden twin lies above, not shown
    EXPECT_EQ(FindObjectAt(CxPoint(31, 16)), &outside);
    EXPECT_EQ(FindObjectAt(CxPoint(15, 18)), &panel);
    EXPECT_EQ(FindObjectAt(CxPoint(50, 40)), root);
    // The mask: sprites carry bit 1, plain objects nothing, and a child
    // whose mask fails is not asked about its own children either.
    EXPECT_EQ(root->HitTest(CxPoint(13, 13), 1), nullptr);
    panel.SetHitMask(1);
    EXPECT_EQ(root->HitTest(CxPoint(13, 13), 1), &inside);
    EXPECT_EQ(root->HitTest(CxPoint(15, 18), 1), &panel);
    inside.SetHitMask(0);
    EXPECT_EQ(root->HitTest(CxPoint(13, 13), 1), &panel);
    panel.SetHitMask(0);
    EXPECT_EQ(root->HitTest(CxPoint(13, 13), 1), nullptr);

    // Clipping cuts the children off at the panel's edge.
    panel.ModifyFlags(PIM_DO_CLIP, 0);
    EXPECT_EQ(panel.GetExtent(), CxRect(0, 0, 9, 9));
    EXPECT_EQ(FindObjectAt(CxPoint(31, 16)), root);

    EXPECT_EQ(panel.CountChildren(), 3);
    EXPECT_EQ(panel.CountChildren(PIM_COUNT_SHOWN_ONLY), 2);
    EXPECT_EQ(root->CountChildren(PIM_COUNT_RECURSIVE), 4);
    EXPECT_EQ(root->CountChildren(PIM_COUNT_RECURSIVE | PIM_COUNT_SHOWN_ONLY), 3);
}

TEST_F(DisplayTree, AddChildRefusesCycles)
{
    ErrorRecorder errors;
    CxDisplayObject a, b, c;
    a.AddChild(&b);
    b.AddChild(&c);
    EXPECT_EQ(c.AddChild(&a), PIM_ERR_BAD_ARG);
    EXPECT_EQ(b.AddChild(&b), PIM_ERR_BAD_ARG);
    EXPECT_EQ(c.AddChild(&b), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.size(), 3u);
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_EQ(b.GetParent(), &a);
    EXPECT_EQ(c.GetParent(), &b);
    EXPECT_FALSE(c.HasChildren());

    // Moving a child to a new parent takes it from the old one.
    EXPECT_EQ(a.AddChild(&c), PIM_OK);
    EXPECT_EQ(c.GetParent(), &a);
    EXPECT_FALSE(b.HasChildren());
    EXPECT_EQ(a.CountChildren(), 2);
}

TEST_F(DisplayTree, ModalObjectCapturesTheMouseAndStacks)
{
    CxDisplayObject* root = GetRootObject();
    RecordingObject behind, dialog, button, second;
    for (CxDisplayObject* o : {&behind, &dialog, &second})
        o->Create(0, 0, 64, 48, root);
    dialog.Resize(CxSize(20, 20));
    dialog.MoveTo(20, 10);
    button.Create(2, 2, 5, 5, &dialog);
    button.Show();
    behind.Show();

    EXPECT_EQ(FindObjectAt(CxPoint(5, 5)), &behind);
    dialog.PushModal();
    EXPECT_TRUE(dialog.IsModal());
    EXPECT_EQ(FindObjectAt(CxPoint(5, 5)), &dialog);
    EXPECT_EQ(FindObjectAt(CxPoint(23, 13)), &button);
    DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, CxPoint(5, 5), 1));
    EXPECT_EQ(dialog.lastPoint, CxPoint(-15, -5));
    EXPECT_EQ(behind.lastPoint, CxPoint(-1, -1));
    // The button's press bubbles to the dialog in the dialog's coordinates.
    DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, CxPoint(23, 13), 1));
    EXPECT_EQ(button.lastPoint, CxPoint(1, 1));
    EXPECT_EQ(dialog.lastPoint, CxPoint(3, 3));

    second.PushModal();
    second.PushModal(); // already modal: no second entry
    EXPECT_EQ(GetModalDepth(), 2);
    dialog.PopModal(); // not the modal object: nothing
    EXPECT_EQ(GetModalObject(), &second);
    second.PopModal();
    EXPECT_EQ(GetModalObject(), &dialog);
    second.PushModal();
    dialog.RemoveModal(); // everything down to and including the dialog goes
    EXPECT_EQ(GetModalDepth(), 0);

    // A full stack refuses instead of losing what waits below.
    ErrorRecorder errors;
    std::vector<std::unique_ptr<CxDisplayObject>> many;
    for (int i = 0; i < PIM_MODAL_STACK_SIZE + 1; ++i) {
        many.push_back(std::make_unique<CxDisplayObject>());
        many.back()->PushModal();
    }
    EXPECT_EQ(GetModalDepth(), PIM_MODAL_STACK_SIZE);
    EXPECT_EQ(GetModalObject(), many[PIM_MODAL_STACK_SIZE - 1].get());
    EXPECT_EQ(errors.errors.size(), 1u);
    // Destroying an object takes it off the stack wherever it is.
    many[3].reset();
    EXPECT_EQ(GetModalDepth(), PIM_MODAL_STACK_SIZE - 1);
    EXPECT_FALSE(PimDisplayInternal::IsOnModalStack(nullptr));
}

TEST_F(DisplayTree, FocusMovesByTheRulesAndSurvivesDestruction)
{
    std::vector<std::string> log;
    RecordingObject a(&log, "a"), b(&log, "b");
    a.SetFocus();
    b.SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"a:set", "a:kill", "b:set"}));
    EXPECT_TRUE(b.HasFocus());
    EXPECT_EQ(GetPreviousFocusObject(), &a);
    b.SetFocus(); // already there: nothing
    EXPECT_EQ(log.size(), 3u);

    // A holder that will not let go keeps the focus.
    b.keepFocus = true;
    a.SetFocus();
    EXPECT_TRUE(b.HasFocus());
    b.keepFocus = false;

    DispatchKeyDown(65, 0);
    EXPECT_EQ(b.lastKey, 65u);
    EXPECT_EQ(a.lastKey, 0u);

    // Destroying the focus hands it back to the previous focus, which keeps it.
    log.clear();
    {
        auto c = std::make_unique<RecordingObject>(&log, "c");
        c->SetFocus(); // previous: b
        log.clear();
        c.reset();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"b:set"}));
    EXPECT_EQ(GetFocusObject(), &b);
    EXPECT_EQ(GetPreviousFocusObject(), nullptr);

    // Destroying the previous focus only forgets it.
    log.clear();
    {
        auto d = std::make_unique<RecordingObject>(&log, "d");
        d->SetFocus();
        b.SetFocus(); // previous: d
        log.clear();
        d.reset();
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(GetFocusObject(), &b);
    EXPECT_EQ(GetPreviousFocusObject(), nullptr);

    // Without a previous focus, no object is left with it.
    SetFocusObject(nullptr);
    {
        auto e = std::make_unique<RecordingObject>(&log, "e");
        e->SetFocus();
        EXPECT_EQ(GetPreviousFocusObject(), nullptr);
        e.reset();
    }
    EXPECT_EQ(GetFocusObject(), nullptr);
    DispatchKeyDown(66, 0); // nobody: nothing happens
}

namespace {

// Deletes itself from its own handler.
class SelfDeleting : public CxDisplayObject
{
public:
    explicit SelfDeleting(bool* gone) : m_gone(gone) {}
    ~SelfDeleting() override { *m_gone = true; }
    void OnLButtonDown(uint32_t, CxPoint) override { delete this; }
    void OnKeyDown(uint32_t, uint32_t) override { delete this; }

private:
    bool* m_gone;
};

// Deletes the child that handed it the event.
class ChildDeletingParent : public CxDisplayObject
{
public:
    void OnLButtonDown(uint32_t, CxPoint) override
    {
        delete victim;
        victim = nullptr;
    }
    CxDisplayObject* victim = nullptr;
};

bool g_hookSawWholeSprite = false;
const CxDisplayObject* g_goneObject = nullptr;

void RememberGone(const CxDisplayObject* object)
{
    g_goneObject = object;
    // The hook runs before any part of the object is torn down.
    if (auto* sprite = dynamic_cast<const CxSprite*>(object))
        g_hookSawWholeSprite = sprite->GetSurface() != nullptr;
}

} // namespace

TEST_F(DisplayTree, HandlersMayDeleteTheirObjectDuringDispatch)
{
    CxDisplayObject* root = GetRootObject();
    bool gone = false;
    auto* self = new SelfDeleting(&gone);
    self->Create(0, 0, 10, 10, root);
    self->Show();
    EXPECT_EQ(DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, CxPoint(5, 5), 1)), 0);
    EXPECT_TRUE(gone);
    EXPECT_EQ(FindObjectAt(CxPoint(5, 5)), root);

    gone = false;
    self = new SelfDeleting(&gone);
    self->SetFocus();
    DispatchKeyDown(13, 0);
    EXPECT_TRUE(gone);
    EXPECT_EQ(GetFocusObject(), nullptr);

    // Bubbling: the child's default handler calls the parent, which deletes it.
    ChildDeletingParent parent;
    parent.Create(20, 20, 20, 20, root);
    parent.Show();
    auto* child = new CxDisplayObject;
    child->Create(1, 1, 5, 5, &parent);
    child->Show();
    parent.victim = child;
    DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::Left, CxPoint(22, 22), 1));
    EXPECT_EQ(parent.victim, nullptr);
    EXPECT_FALSE(parent.HasChildren());

    // The object-gone hooks hear of destruction while the object is whole.
    EXPECT_TRUE(AddObjectGoneHook(&RememberGone));
    EXPECT_TRUE(AddObjectGoneHook(&RememberGone));
    {
        CxSprite sprite;
        MakeSprite(sprite, root, 0, 0, 2, 2, 1);
    }
    EXPECT_NE(g_goneObject, nullptr);
    EXPECT_TRUE(g_hookSawWholeSprite);
    RemoveObjectGoneHook(&RememberGone);
    g_goneObject = nullptr;
    {
        CxDisplayObject quiet;
    }
    EXPECT_EQ(g_goneObject, nullptr);
}

TEST_F(DisplayTree, OffsetTargetDrawsASubtreeIntoItsOwnSurface)
{
    CxDisplayObject* root = GetRootObject();
    CxSprite background, panelPicture, icon;
    MakeSprite(background, root, 0, 0, 64, 48, 0x0101);
    background.SetZ(static_cast<int32_t>(0xBFFFFFFEu));
    background.Show();
    // A picture with a child poking out of it (no clipping).
    MakeSprite(panelPicture, root, 20, 10, 16, 12, 0x0202);
    panelPicture.ModifyFlags(0, PIM_DO_CLIP);
    panelPicture.Show();
    MakeSprite(icon, &panelPicture, 12, 8, 8, 8, 0x0303);
    icon.GetSurface()->SetPixel(0, 0, 0x7777);
    icon.Show();

    CxDrawSurface screen;
    screen.Create(64, 48, 16);
    RedrawAll(screen);

    CxDrawSurface snapshot;
    snapshot.Create(20, 16, 16);
    snapshot.FillRect(snapshot.GetRect(), 0x0909);
    DrawObjectInto(panelPicture, snapshot);
    // Where the subtree covers, exactly the screen's pixels; elsewhere the
    // snapshot keeps its own (the background is not part of the subtree).
    const CxRect picture(0, 0, 15, 11), child(12, 8, 19, 15);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const bool covered = picture.Contains(CxPoint(x, y)) || child.Contains(CxPoint(x, y));
            ASSERT_EQ(snapshot.GetPixel(x, y), covered ? screen.GetPixel(20 + x, 10 + y) : 0x0909u) << x << "," << y;
        }

    // The adapter itself: lines, fills and blits land shifted by the origin.
    CxDrawSurface target;
    target.Create(10, 10, 16);
    CxOffsetTarget shifted(target, CxPoint(100, 200));
    shifted.FillRect(CxRect(101, 201, 102, 202), 5);
    EXPECT_EQ(target.GetPixel(1, 1), 5u);
    EXPECT_EQ(target.GetPixel(3, 3), 0u);
    shifted.DrawSurface(icon.GetSurface(), 104, 204, nullptr, PIM_NO_KEY, nullptr);
    EXPECT_EQ(target.GetPixel(4, 4), 0x7777u);
    EXPECT_EQ(target.GetPixel(5, 5), 0x0303u);
    const CxRect into(100, 208, 101, 209);
    shifted.DrawSurface(icon.GetSurface(), &into, nullptr, PIM_NO_KEY, nullptr);
    EXPECT_EQ(target.GetPixel(0, 8), 0x7777u);
    EXPECT_EQ(shifted.GetTargetWidth(), 10);
}

namespace {

// Writes the name of every mouse handler it hears, with the point.
class HandlerJournal : public CxDisplayObject
{
public:
    void OnMouseMove(uint32_t, CxPoint p) override { Note("move", p); }
    int OnMouseWheel(uint32_t, CxPoint p, int steps) override
    {
        Note("wheel" + std::to_string(steps), p);
        return 7;
    }
    void OnLButtonDown(uint32_t, CxPoint p) override { Note("ldown", p); }
    void OnLButtonUp(uint32_t, CxPoint p) override { Note("lup", p); }
    void OnLButtonDblClk(uint32_t, CxPoint p) override { Note("ldouble", p); }
    void OnMButtonDown(uint32_t, CxPoint p) override { Note("mdown", p); }
    void OnMButtonUp(uint32_t, CxPoint p) override { Note("mup", p); }
    void OnMButtonDblClk(uint32_t, CxPoint p) override { Note("mdouble", p); }
    void OnRButtonDown(uint32_t, CxPoint p) override { Note("rdown", p); }
    void OnRButtonUp(uint32_t, CxPoint p) override { Note("rup", p); }
    void OnRButtonDblClk(uint32_t, CxPoint p) override { Note("rdouble", p); }

    std::vector<std::string> heard;

private:
    void Note(const std::string& what, CxPoint p)
    {
        heard.push_back(what + "@" + std::to_string(p.x) + "," + std::to_string(p.y));
    }
};

} // namespace

TEST_F(DisplayTree, OneMouseEventReachesTheHandlerOfItsActionAndButton)
{
    HandlerJournal target;
    target.Create(10, 20, 30, 30, GetRootObject());
    target.Show();
    const CxPoint at(12, 25); // (2, 5) in the target's coordinates
    for (EMouseButton button : {EMouseButton::Left, EMouseButton::Middle, EMouseButton::Right})
        for (EMouseAction action : {EMouseAction::Down, EMouseAction::Up, EMouseAction::DoubleClick})
            EXPECT_EQ(DispatchMouse(MouseEvent(action, button, at)), 0);
    DispatchMouse(MouseEvent(EMouseAction::Move, EMouseButton::None, at));
    EXPECT_EQ(DispatchMouse(MouseEvent(EMouseAction::Wheel, EMouseButton::None, at, 0, -2)), 7);
    // A press of no button reaches nobody; a point over nothing finds nobody.
    DispatchMouse(MouseEvent(EMouseAction::Down, EMouseButton::None, at));
    EXPECT_EQ(DispatchMouse(MouseEvent(EMouseAction::Move, EMouseButton::None, CxPoint(5000, 5000))), -1);
    const std::vector<std::string> expected = {"ldown@2,5", "lup@2,5",   "ldouble@2,5", "mdown@2,5",
                                               "mup@2,5",   "mdouble@2,5", "rdown@2,5", "rup@2,5",
                                               "rdouble@2,5", "move@2,5", "wheel-2@2,5"};
    EXPECT_EQ(target.heard, expected);
}
