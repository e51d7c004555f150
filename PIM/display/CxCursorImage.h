#pragma once
// One mouse cursor drawn by the engine: a picture (frames side by side, like
// a sprite's), a hot spot, an id and, for animated cursors, a frame rate.

#include "PIM/core/CxObject.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxSize.h"
#include "PIM/core/CxTimer.h"

class CxDrawSurface;

class CxCursorImage : public CxObject
{
public:
    // Takes ownership of `surface` and keeps its bits in memory, so that
    // drawing the cursor never has to bring them back. A frame count below 1,
    // or one that does not divide the width, is taken as 1.
    CxCursorImage(CxDrawSurface* surface, int id, CxPoint hotSpot, int frameCount = 1, float frameRate = 0.0f);
    ~CxCursorImage() override;
    CxCursorImage(const CxCursorImage&) = delete;
    CxCursorImage& operator=(const CxCursorImage&) = delete;

    CxDrawSurface* GetSurface() const { return m_surface; }
    int GetId() const { return m_id; }
    CxPoint GetHotSpot() const { return m_hotSpot; }
    int GetFrameCount() const { return m_frameCount; }
    int GetFrame() const { return m_frame; }
    CxSize GetFrameSize() const;
    // The current frame's rectangle in the surface.
    CxRect GetFrameRect() const;
    float GetFrameRate() const { return m_frameRate; }
    bool IsAnimated() const { return m_frameRate > 0.0f && m_frameCount > 1; }
    // Milliseconds a frame lasts (1000 / rate, at least 1); 0 for still cursors.
    uint32_t GetFramePeriod() const;
    // Animated cursors step one frame (modulo the count) each time their
    // period of 1000 / rate ms has run out; true when the frame changed.
    bool Advance();
    // True when the next Advance would step.
    bool IsFrameDue() const;
    // Converts the picture to a screen's format, its transparent colour
    // following a pixel that had it. PIM_OK, or the conversion's error (the
    // picture is then as it was).
    int ConvertTo(int depth, uint8_t layout);

private:
    CxDrawSurface* m_surface;
    int m_id;
    CxPoint m_hotSpot;
    int m_frameCount;
    int m_frame = 0;
    float m_frameRate;
    bool m_bitsLocked = false;
    CxTimer m_timer;
};

// Converts `surface` to `depth` and `layout` with its transparent colour
// carried over (the value a key pixel has afterwards; none when no pixel
// had the key).
int ConvertKeepingKey(CxDrawSurface& surface, int depth, uint8_t layout);
