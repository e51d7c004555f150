#include "PIM/backends/headless/CxMemoryScreen.h"

#include "PIM/display/PimCursors.h"

#include <cstring>

CxMemoryScreen::~CxMemoryScreen()
{
    Close();
}

int CxMemoryScreen::OpenWindow()
{
    m_lastCount = 0;
    m_presentCount = 0;
    if (m_presented.Create(GetWidth(), GetHeight(), GetDepth(), -1, nullptr, GetPixelLayout()) != PIM_OK)
        return m_presented.GetError();
    m_presented.SetPalette(GetPalette());
    if (!m_presented.LockBits()) {
        const int code = m_presented.GetError() != PIM_OK ? m_presented.GetError() : PIM_ERR_OUT_OF_MEMORY;
        m_presented.Destroy();
        return code;
    }
    return PIM_OK;
}

void CxMemoryScreen::CloseWindow()
{
    m_presented.UnlockBits();
    m_presented.Destroy();
}

int CxMemoryScreen::CopyToWindow(const CxRect* rects, int count)
{
    for (int i = 0; i < count; ++i)
        CopyPixels(*this, rects[i], m_presented, rects[i].TopLeft());
    std::memcpy(m_lastRects, rects, sizeof(CxRect) * static_cast<size_t>(count));
    m_lastCount = count;
    ++m_presentCount;
    return PIM_OK;
}
