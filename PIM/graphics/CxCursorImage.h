#pragma once
// One mouse cursor drawn by the engine: a picture (frames side by side, like
// a sprite's), a hot spot, an id and, for animated cursors, a frame rate.

#include "PIM/core/CxObject.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxSize.h"
#include "PIM/core/CxTimer.h"

class CxDrawSurface;

class CxCursorImage : public CxObject
{
public:
    // Takes ownership of `surface`.
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
    float GetFrameRate() const { return m_frameRate; }
    // Animated cursors step one frame (modulo the count) each time their
    // period of 1000 / rate ms has run out; true when the frame changed.
    bool Advance();

private:
    CxDrawSurface* m_surface;
    int m_id;
    CxPoint m_hotSpot;
    int m_frameCount;
    int m_frame = 0;
    float m_frameRate;
    CxTimer m_timer;
};
