#pragma once
// A stand-in movie driver for tests, benchmarks and fuzz targets: a clip of
// `frames` flat 16-bit frames of `width` x `height`, frame n filled with the
// value first + n, one decoded per request whatever the clock says.

#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/movie/CxMovieDriver.h"

class FlatClipDriver : public CxMovieDriver
{
public:
    FlatClipDriver(int32_t width, int32_t height, int32_t frames, uint32_t first)
        : m_width(width), m_height(height), m_frames(frames), m_first(first)
    {
    }
    int Open(const char*, uint32_t) override { return PIM_OK; }
    void Close() override {}
    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    int GetNativeDepth() const override { return 16; }
    int32_t GetFrameCount() const override { return m_frames; }
    int GotoFrame(int32_t index) override
    {
        m_next = index;
        return PIM_OK;
    }
    int32_t GetLastFrame() const override { return m_next; }
    int Render(ST_MOVIE_RENDER& request) override
    {
        if (m_next >= m_frames) {
            request.flags |= PIM_RENDER_SKIPPED;
            return PIM_OK;
        }
        request.surface->FillRect(request.surface->GetRect(), m_first + static_cast<uint32_t>(m_next++));
        request.flags |= PIM_RENDER_DECODED;
        return PIM_OK;
    }
    int SetVolume(int, int) override { return PIM_OK; }
    CxDrawSurface* CreateSurfaceObject() override { return new CxDrawSurface; }
    int PrepareSurface(CxDrawSurface& surface, int) override { return surface.Create(m_width, m_height, 16); }
    int Command(const char*, intptr_t) override { return PIM_OK; }

private:
    int32_t m_width;
    int32_t m_height;
    int32_t m_frames;
    uint32_t m_first;
    int32_t m_next = 0;
};
