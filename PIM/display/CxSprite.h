#pragma once
// The display object that has a picture: a surface cut into frames of equal
// width laid side by side, or a movie whose driver renders into the surface.
// It draws with its colour key and draw parameters, may stretch, and can
// test points and other sprites against its opaque pixels.

#include "PIM/display/CxDisplayObject.h"
#include "PIM/graphics/PimDrawParams.h"

class CxDrawSurface;
class CxFrameSource;

// Frame counts a sprite takes.
constexpr int PIM_MAX_SPRITE_FRAMES = 32767;
// DrawFrameAt / DrawFrameInto: the sprite's own key or current frame.
constexpr uint32_t PIM_SPRITE_OWN_KEY = 0xFFFFFFFEu; // -2
constexpr int PIM_SPRITE_CURRENT_FRAME = -2;

class CxSprite : public CxDisplayObject
{
public:
    CxSprite();
    ~CxSprite() override;

    // Sprites alive in the process: what a room leaves behind shows up as
    // a count that grows from one visit to the next.
    static size_t GetLiveCount();

    // --- the picture ----------------------------------------------------------------------
    // Shares the other sprite's surface and movie driver (this sprite then
    // never deletes them), its pixel-test flag, colour key and draw parameters.
    virtual int CopyFrom(CxSprite& other);
    // Takes ownership of `surface` (13 "No image for Sprite" when null). A
    // surface carrying an error is refused (16) and stays the caller's. The
    // sprite takes the frame size when its own size is empty.
    virtual int SetSurface(CxDrawSurface* surface, int frameCount = 1);
    // A picture (through the image filters) or a movie (through the frame
    // source provider, which hands back an opened source). Sprites that load
    // their own way override LoadPicture; Load itself is not virtual, so
    // that a room's life-cycle Load () stands beside it without hiding it.
    int Load(const char* fileName, int frameCount = 1) { return LoadPicture(fileName, frameCount); }
    virtual int CreateSurface(int32_t width, int32_t height, int depth);
    // Releases the picture (PIM_OK). Objects that are more than a picture
    // give it their own meaning: a room's Unload is the room leaving.
    virtual int Unload();
    // Hide, Detach, and the picture released.
    virtual void Release();
    CxDrawSurface* GetSurface() const { return m_surface; }
    // Stores the pointer only.
    void SetSurfacePointer(CxDrawSurface* surface) { m_surface = surface; }
    CxFrameSource* GetFrameSource() const { return m_movie; }
    bool IsMovie() const { return m_movie != nullptr; }
    bool IsShared() const { return m_shared; }
    void SetMovieFlags(uint32_t flags) { m_movieFlags = flags; }
    uint32_t GetMovieFlags() const { return m_movieFlags; }

    // --- frames ---------------------------------------------------------------------------
    // Ignored for movies, n <= 0, n above 32,767, without a surface, or when
    // the surface width is not a multiple of n.
    virtual void SetFrameCount(int count);
    int GetFrameCount() const override;
    // Wraps with a true modulo: -1 is the last frame.
    void SetFrame(int index) override;
    int GetFrame() const override { return m_frame; }
    virtual void NextFrame() { SetFrame(m_frame + 1); }
    virtual void PrevFrame() { SetFrame(m_frame - 1); }
    CxRect GetFrameRect() const { return m_frameRect; }
    CxSize GetFrameSize() const { return m_frameSize; }

    // --- pixels ---------------------------------------------------------------------------
    virtual int ReplaceColour(uint32_t from, uint32_t to);
    virtual int SwapColours(uint32_t first, uint32_t second);
    // `frame` -1 is the current one.
    virtual int FlipFrameVertical(int frame = -1);
    virtual int FlipFrameHorizontal(int frame = -1);
    virtual int FlipVertical();
    virtual int FlipFramesHorizontal();
    virtual void SetDrawMode(int32_t mode) { m_params.mode = mode; }
    virtual int32_t GetDrawMode() const { return m_params.mode; }
    // Null sets every parameter to 0.
    virtual void SetDrawParams(const ST_DRAW_PARAMS* params);
    const ST_DRAW_PARAMS& GetDrawParams() const { return m_params; }
    void SetTransparentColour(uint32_t key) { m_key = key; }
    uint32_t GetTransparentColour() const { return m_key; }
    void SetPixelHitTest(bool on) { m_pixelHit = on; }
    bool GetPixelHitTest() const { return m_pixelHit; }

    // --- hit and collision tests -------------------------------------------------------------
    // The key the pixel tests use: the sprite's own, else its surface's (the
    // one drawing falls back to as well).
    uint32_t GetEffectiveKey() const;
    // True when the sprite is drawn scaled: the stretch flag is set and both
    // its width and its height differ from the frame's.
    bool IsStretched() const;
    // `point` in the parent's coordinates; a stretched sprite's point is
    // mapped into the frame before the pixel test.
    virtual bool ContainsPoint(CxPoint point, bool pixelTest);
    // (x, y) in frame coordinates.
    virtual bool IsOpaqueAt(int32_t x, int32_t y);
    // 1 when both sprites have an opaque pixel at the same place; `where`
    // gets it in this sprite's coordinates. Rectangles default to each
    // sprite's rectangle in its parent's coordinates (both must share them).
    int CollidesWith(CxSprite& other, CxPoint* where = nullptr, const CxRect* ownRect = nullptr,
                     const CxRect* otherRect = nullptr);
    CxDisplayObject* HitTest(CxPoint screenPoint, uint32_t mask) override;

    // --- drawing --------------------------------------------------------------------------
    void Draw(CxRenderTarget& target, const CxRect& clip) override;
    // One frame straight onto `surface`, outside the display tree.
    // `sourceRect` is in frame coordinates (null: the whole frame).
    virtual int DrawFrameAt(CxDrawSurface& surface, int32_t x, int32_t y, const CxRect* sourceRect = nullptr,
                            uint32_t key = PIM_SPRITE_OWN_KEY, int frame = PIM_SPRITE_CURRENT_FRAME);
    // The same through Blit, which stretches to `destinationRect`.
    virtual int DrawFrameInto(CxDrawSurface& surface, const CxRect* destinationRect,
                              const CxRect* sourceRect = nullptr, uint32_t key = PIM_SPRITE_OWN_KEY,
                              int frame = PIM_SPRITE_CURRENT_FRAME);

protected:
    virtual int LoadPicture(const char* fileName, int frameCount);
    // Deletes the movie driver and the surface unless shared, and forgets
    // the frames. Every picture change goes through here first (never
    // through Unload, which a room overrides with leaving).
    virtual void UnloadPicture();
    // Renders the current movie frame into the surface when it changed.
    void RenderMovieFrame();
    // The frame rectangle for `frame` of a still picture.
    CxRect FrameRectOf(int frame) const;
    // Takes `surface` as the picture, frames cut by `frameCount`; the old
    // picture must already be gone.
    void InstallSurface(CxDrawSurface* surface, int frameCount);
    // Selects `frame` (PIM_SPRITE_CURRENT_FRAME: the current one) without a
    // redraw, renders it when it is a movie frame, runs `draw` with the
    // source rectangle in the surface, and puts the old frame back.
    template <class DrawFn>
    int WithFrame(int frame, const CxRect* sourceRect, DrawFn draw);
    // Reports a picture that carries an error, once.
    void ReportBadPicture();

    ST_DRAW_PARAMS m_params;
    CxDrawSurface* m_surface = nullptr;
    CxFrameSource* m_movie = nullptr;
    uint32_t m_movieFlags = 0;
    uint32_t m_key = 0xFFFFFFFFu;
    int16_t m_frameCount = 1;
    int16_t m_frame = 0;
    uint16_t m_lastMovieFrame = 0xFFFF;
    bool m_shared = false;
    bool m_pixelHit = false;
    // Reported once: a sprite whose picture failed to load draws nothing.
    bool m_reportedBadPicture = false;
    CxRect m_frameRect;
    CxSize m_frameSize;
};
