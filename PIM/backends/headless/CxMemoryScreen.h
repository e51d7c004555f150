#pragma once
// The headless screen: keeps what was presented (a copy of the back buffer
// as the window would show it) and the rectangles of every Present, for tests.

#include "PIM/display/CxScreenSurface.h"

class CxMemoryScreen : public CxScreenSurface
{
public:
    CxMemoryScreen() = default;
    ~CxMemoryScreen() override;

    const char* GetKindName() const override { return "memory"; }
    // What the window shows: pixels of every presented rectangle, cursor included.
    CxDrawSurface& GetPresented() { return m_presented; }
    // The rectangles of the last Present, and how many Presents there were.
    const CxRect* GetLastPresentedRects() const { return m_lastRects; }
    int GetLastPresentedCount() const { return m_lastCount; }
    int GetPresentCount() const { return m_presentCount; }

protected:
    int OpenWindow() override;
    int CopyToWindow(const CxRect* rects, int count) override;
    void CloseWindow() override;

private:
    CxDrawSurface m_presented;
    CxRect m_lastRects[PIM_MAX_PRESENT_RECTS];
    int m_lastCount = 0;
    int m_presentCount = 0;
};
