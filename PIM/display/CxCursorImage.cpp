#include "PIM/display/CxCursorImage.h"

#include "PIM/core/PimClock.h"
#include "PIM/graphics/CxDrawSurface.h"

CxCursorImage::CxCursorImage(CxDrawSurface* surface, int id, CxPoint hotSpot, int frameCount, float frameRate)
    : m_surface(surface), m_id(id), m_hotSpot(hotSpot), m_frameCount(frameCount), m_frameRate(frameRate)
{
    const int32_t width = m_surface ? m_surface->GetWidth() : 0;
    if (m_frameCount < 1 || width % m_frameCount != 0)
        m_frameCount = 1;
    if (!(m_frameRate > 0.0f))
        m_frameRate = 0.0f;
    // The cursor is drawn while a screen presents, which must neither
    // allocate nor read a swap file.
    if (m_surface)
        m_bitsLocked = m_surface->LockBits() != nullptr;
    if (IsAnimated())
        m_timer.Start(GetFramePeriod());
}

CxCursorImage::~CxCursorImage()
{
    if (m_surface && m_bitsLocked)
        m_surface->UnlockBits();
    delete m_surface;
}

CxSize CxCursorImage::GetFrameSize() const
{
    if (!m_surface)
        return CxSize();
    return CxSize(m_surface->GetWidth() / m_frameCount, m_surface->GetHeight());
}

CxRect CxCursorImage::GetFrameRect() const
{
    const CxSize size = GetFrameSize();
    return CxRect::FromSize(CxPoint(m_frame * size.width, 0), size);
}

uint32_t CxCursorImage::GetFramePeriod() const
{
    if (!IsAnimated())
        return 0;
    const float period = 1000.0f / m_frameRate;
    // Rates above 1000 frames a second step on every present.
    if (period < 1.0f)
        return 1;
    return period >= static_cast<float>(kMaxTimerSpan) ? kMaxTimerSpan : static_cast<uint32_t>(period);
}

bool CxCursorImage::IsFrameDue() const
{
    return IsAnimated() && m_timer.IsRunning() && m_timer.IsDueAt(PimGetTicks());
}

bool CxCursorImage::Advance()
{
    if (!IsAnimated())
        return false;
    if (!m_timer.IsRunning()) {
        m_timer.Start(GetFramePeriod());
        return false;
    }
    if (!m_timer.IsDueAt(PimGetTicks()))
        return false;
    // One frame per run-out, however late the present: a cursor that was
    // not presented for a while resumes where it stopped.
    m_frame = (m_frame + 1) % m_frameCount;
    m_timer.Start(GetFramePeriod());
    return true;
}

int CxCursorImage::ConvertTo(int depth, uint8_t layout)
{
    if (!m_surface)
        return PIM_ERR_BAD_ARG;
    if (m_bitsLocked) {
        m_surface->UnlockBits();
        m_bitsLocked = false;
    }
    const int code = ConvertKeepingKey(*m_surface, depth, layout);
    m_bitsLocked = m_surface->LockBits() != nullptr;
    return code;
}

int ConvertKeepingKey(CxDrawSurface& surface, int depth, uint8_t layout)
{
    // The key is a pixel value, which the conversion changes: remember where
    // a key pixel is and read its new value there afterwards.
    const uint32_t key = surface.GetTransparentColour();
    int32_t keyX = 0, keyY = 0;
    const bool found = key != PIM_NO_KEY && surface.FindPixel(key, keyX, keyY) == 1;
    if (surface.ConvertFormat(depth, layout) != PIM_OK)
        return surface.GetError() != PIM_OK ? surface.GetError() : PIM_ERR_UNKNOWN;
    surface.SetTransparentColour(found ? surface.GetPixel(keyX, keyY) : PIM_NO_KEY);
    return PIM_OK;
}
