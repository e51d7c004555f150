#pragma once
// Doubles and helpers shared by the display tree, sprite and pipeline tests:
// pictures made in memory, a display object that records what it hears, and
// a movie driver that renders each frame as a flat colour.

#include "PIM/display/CxDisplayObject.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/movie/CxMovieDriver.h"

#include <string>
#include <vector>

namespace DisplayTest {

// A new surface filled with `colour`; `depth` bits per pixel.
inline CxDrawSurface* MakeSurface(int32_t width, int32_t height, int depth, uint32_t colour)
{
    auto* surface = new CxDrawSurface;
    surface->Create(width, height, depth);
    surface->FillRect(surface->GetRect(), colour);
    return surface;
}

// A sprite holding a `width` x `height` picture of `frames` frames, each frame
// filled with its own colour `colour + frame`, attached to `parent` at (x, y).
inline void MakeSprite(CxSprite& sprite, CxDisplayObject* parent, int32_t x, int32_t y, int32_t width,
                       int32_t height, uint32_t colour, int frames = 1, int depth = 16)
{
    CxDrawSurface* surface = MakeSurface(width * frames, height, depth, colour);
    for (int f = 1; f < frames; ++f)
        surface->FillRect(CxRect(f * width, 0, (f + 1) * width - 1, height - 1), colour + static_cast<uint32_t>(f));
    sprite.SetSurface(surface, frames);
    sprite.Create(x, y, width, height, parent);
}

inline std::vector<CxRect> DirtyRects()
{
    std::vector<CxRect> rects(PIM_MAX_DIRTY_RECTS);
    rects.resize(static_cast<size_t>(GetDirtyRects(rects.data(), PIM_MAX_DIRTY_RECTS)));
    return rects;
}

// Empties every dirty list (one redraw per buffer) into a scratch surface.
inline void DrainDirty(int buffers = PIM_MAX_SCREEN_BUFFERS)
{
    CxDrawSurface scratch;
    const CxDisplayObject* root = GetRootObject();
    scratch.Create(root ? root->GetWidth() : 1, root ? root->GetHeight() : 1, 16);
    for (int i = 0; i < buffers; ++i)
        RedrawDirty(scratch);
}

// True when some dirty rectangle holds the whole of `rect`.
inline bool DirtyCovers(const CxRect& rect)
{
    for (const CxRect& r : DirtyRects())
        if (r.Contains(rect))
            return true;
    return false;
}

// Remembers what it was told, in order, as short words.
class RecordingObject : public CxDisplayObject
{
public:
    explicit RecordingObject(std::vector<std::string>* log = nullptr, const char* name = "") : m_log(log)
    {
        SetName(name);
    }
    void OnSetFocus() override { Note("set"); }
    void OnKillFocus() override { Note("kill"); }
    int CanLoseFocus(CxDisplayObject*) override { return keepFocus ? 0 : 1; }
    void OnLButtonDown(uint32_t buttons, CxPoint point) override
    {
        lastPoint = point;
        Note("down");
        CxDisplayObject::OnLButtonDown(buttons, point);
    }
    void OnKeyDown(uint32_t key, uint32_t flags) override
    {
        lastKey = key;
        Note("key");
        CxDisplayObject::OnKeyDown(key, flags);
    }

    bool keepFocus = false;
    CxPoint lastPoint{-1, -1};
    uint32_t lastKey = 0;

private:
    void Note(const char* what)
    {
        if (m_log)
            m_log->push_back(std::string(GetName()) + ":" + what);
    }
    std::vector<std::string>* m_log;
};

// Renders frame n as the flat colour n + 1 into an 8 x 4, 16-bit surface.
class FlatColourMovie : public CxMovieDriver
{
public:
    static inline int renders = 0;

    explicit FlatColourMovie(int32_t frames) : m_frames(frames) {}
    int Open(const char*, uint32_t openFlags) override
    {
        m_openFlags = openFlags;
        return PIM_OK;
    }
    void Close() override {}
    int32_t GetWidth() const override { return 8; }
    int32_t GetHeight() const override { return 4; }
    int GetNativeDepth() const override { return 16; }
    int32_t GetFrameCount() const override { return m_frames; }
    int GotoFrame(int32_t) override { return PIM_OK; }
    int32_t GetLastFrame() const override { return m_last; }
    int Render(ST_MOVIE_RENDER& request) override
    {
        ++renders;
        request.surface->FillRect(request.surface->GetRect(), static_cast<uint32_t>(request.frame + 1));
        m_last = request.frame + 1;
        request.flags |= PIM_RENDER_DECODED;
        return PIM_OK;
    }
    int SetVolume(int, int) override { return PIM_OK; }
    CxDrawSurface* CreateSurfaceObject() override { return CreateDrawSurface(); }
    int PrepareSurface(CxDrawSurface& surface, int depth) override
    {
        preparedDepth = depth;
        return surface.Create(GetWidth(), GetHeight(), 16);
    }
    int Command(const char*, intptr_t) override { return PIM_OK; }

    int preparedDepth = 0;

private:
    int32_t m_frames;
    int32_t m_last = 0;
};

// The create function: the user value is the frame count; a negative one
// asks for an alpha movie of that many frames.
inline CxMovieDriver* CreateFlatColourMovie(const char* fileName, uint32_t openFlags, intptr_t frames)
{
    auto* movie = new FlatColourMovie(static_cast<int32_t>(frames < 0 ? -frames : frames));
    if (movie)
        movie->Open(fileName, openFlags | (frames < 0 ? PIM_MOVIE_ALPHA : 0u));
    return movie;
}

} // namespace DisplayTest
