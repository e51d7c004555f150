#pragma once
// A window onto one large picture that scrolls endlessly in one direction:
// the picture wraps around, so scrolling past its end shows its beginning
// again, and objects placed on the picture wrap with it.
//
// The picture lives in an inner strip sprite (CPanEx) one window longer than
// the picture: its first part is the picture, the rest repeats the
// picture's start, so any view of one window's width is one piece of the
// strip. Scrolling moves the strip behind the panorama's rectangle; the
// scroll position (x, y) puts the strip at (-x, -y).
//
// A panorama can be frozen: the current view is copied into a surface of its
// own and shown from there (while the strip moves on unseen) until Unfreeze.

#include "PIM/display/CxSprite.h"

enum class EPanoramaOrientation
{
    Horizontal, // wraps left and right, clamped top and bottom
    Vertical,   // wraps up and down, clamped left and right
};

// The strip: the picture, the repeat of its start, and the objects placed on
// the panorama. Its coordinates are the picture's, periodic in the
// wrapping direction: a child at x = 10 also shows at x = picture width + 10.
class CPanEx : public CxSprite
{
public:
    CPanEx();
    ~CPanEx() override;

    void SetVertical(bool vertical) { m_vertical = vertical; }
    bool IsVertical() const { return m_vertical; }
    // Of the picture (one frame); 0 without one.
    int32_t GetPictureWidth() const;
    int32_t GetPictureHeight() const;
    // The wrap period: the picture's length in the wrapping direction (0 without a picture).
    int32_t GetPeriod() const;
    // The window's length in the wrapping direction: what the strip holds beyond the picture.
    int32_t GetWindowLength() const;

    // A strip point in the panorama's coordinates, taken to the copy of it
    // that is in the window (or the nearest copy when none is); returns how
    // many picture lengths were added (negative: taken away).
    int WrapToParent(CxPoint& point) const;
    CxPoint LocalToParent(CxPoint point) const override;
    // A panorama point on the picture: the wrapping coordinate comes out in
    // 0 .. period - 1, where the strip's children live.
    CxPoint ParentToLocal(CxPoint point) const override;

    void Draw(CxRenderTarget& target, const CxRect& clip) override;
    CxRect GetChildScreenRect(const CxDisplayObject& child) const override;
    // Objects are found at the copy the view shows (at each, when the
    // picture repeats in the window). The strip itself never answers: a hit
    // on the bare picture is the panorama's.
    CxDisplayObject* HitTest(CxPoint screenPoint, uint32_t mask) override;
    // (x, y) in strip coordinates, wrapped onto the picture.
    bool IsOpaqueAt(int32_t x, int32_t y) override;

private:
    // The picture's pixels of `area` (strip coordinates), every copy of the
    // picture that `area` meets.
    void DrawPicture(CxRenderTarget& target, const CxRect& area);
    void DrawChildCopies(CxRenderTarget& target, const CxRect& clip, CxDisplayObject& child);
    // `rect` (strip coordinates) on the screen, the strip placed by its
    // position alone (no wrapping).
    CxRect StripToScreen(const CxRect& rect) const;
    // A rectangle moved by `copies` periods along the wrapping direction.
    CxRect Shifted(const CxRect& rect, int64_t copies) const;

    bool m_vertical = false;
    // The screen point of the hit test under way, if any.
    const CxPoint* m_probe = nullptr;
};

class CxPanorama : public CxSprite
{
public:
    CxPanorama();
    ~CxPanorama() override;

    // --- the picture (held by the strip) -------------------------------------------------
    // Unloads, gives the strip the picture, sizes the strip (picture plus one
    // window) and puts it at scroll position (0, 0).
    int SetSurface(CxDrawSurface* surface, int frameCount = 1) override;
    int LoadPicture(const char* fileName, int frameCount) override;
    // Unfreezes and lets go of the picture.
    void UnloadPicture() override;
    // The picture. (The panorama's own surface, which CxSprite::GetSurface
    // reads, is the frozen view while there is one.)
    CxDrawSurface* GetSurface() const { return m_strip.GetSurface(); }
    void SetDrawMode(int32_t mode) override;
    int32_t GetDrawMode() const override;
    void SetDrawParams(const ST_DRAW_PARAMS* params) override;
    const ST_DRAW_PARAMS& GetDrawParams() const { return m_strip.GetDrawParams(); }
    int32_t GetPictureWidth() const { return m_strip.GetPictureWidth(); }
    int32_t GetPictureHeight() const { return m_strip.GetPictureHeight(); }
    CPanEx& GetStrip() { return m_strip; }
    const CPanEx& GetStrip() const { return m_strip; }

    // Horizontal by default. Changing it re-sizes the strip and scrolls to (0, 0).
    void SetOrientation(EPanoramaOrientation orientation);
    EPanoramaOrientation GetOrientation() const
    {
        return m_strip.IsVertical() ? EPanoramaOrientation::Vertical : EPanoramaOrientation::Horizontal;
    }

    // --- scrolling -----------------------------------------------------------------------
    void ScrollLeft(int32_t pixels);
    void ScrollRight(int32_t pixels);
    void ScrollUp(int32_t pixels);
    void ScrollDown(int32_t pixels);
    // The wrapping coordinate is taken modulo the picture's length (-1 is
    // its last pixel); the other is kept so that the window stays on the
    // picture. Nothing happens without a picture.
    void ScrollTo(int32_t x, int32_t y);
    void ScrollToPoint(CxPoint point) { ScrollTo(point.x, point.y); }
    CxPoint GetScrollPosition() const;

    // --- freezing --------------------------------------------------------------------------
    // Copies the current view (children included) into a surface of the
    // panorama's size and shows that until Unfreeze; 1 when it cannot be made
    // (the panorama stays unfrozen). Nothing without a picture.
    int Freeze();
    void Unfreeze();
    bool IsFrozen() const { return m_surface != nullptr; }

    // --- the tree --------------------------------------------------------------------------
    // Everything but the strip goes onto the strip, to scroll with the picture.
    int AddChild(CxDisplayObject* child) override;
    // Children placed on the panorama are taken off the strip.
    void RemoveChild(CxDisplayObject* child) override;
    // The strip needs a window's length beyond the picture: it follows.
    void SetSize(CxSize size) override;
    using CxSprite::SetSize;
    CxRect GetChildScreenRect(const CxDisplayObject& child) const override;

    void Draw(CxRenderTarget& target, const CxRect& clip) override;
    bool ContainsPoint(CxPoint point, bool pixelTest) override;
    // (x, y) in the panorama's coordinates: the frozen picture when frozen,
    // else the picture at the scrolled, wrapped place.
    bool IsOpaqueAt(int32_t x, int32_t y) override;

private:
    void ScrollBy(int64_t dx, int64_t dy);
    void ScrollToWide(int64_t x, int64_t y);
    void SizeStrip();

    CPanEx m_strip;
};
