#include "PIM/display/CxScreenSurface.h"

#include "PIM/display/PimCursors.h"

// --- every screen ----------------------------------------------------------------------------

CxScreenSurface::~CxScreenSurface()
{
    if (m_open) {
        m_open = false;
        UnlockBits();
    }
}

int CxScreenSurface::Open(const ST_SCREEN_SETTINGS& settings)
{
    Close();
    ClearError();
    if (settings.width <= 0 || settings.height <= 0)
        return SetError(PIM_ERR_BAD_ARG, "Open: a screen of %d x %d", settings.width, settings.height);
    m_settings = settings;
    if (m_settings.scale < 1)
        m_settings.scale = 1;

    const bool is16 = settings.depth == 16;
    if (Create(settings.width, settings.height, settings.depth, -1, nullptr,
               is16 ? uint8_t{PIM_LAYOUT_565} : uint8_t{PIM_LAYOUT_DEFAULT}) != PIM_OK)
        return m_error;
    // Pictures loaded from now on convert straight to the screen's layout.
    if (is16)
        SetPreferredLayout16(PIM_LAYOUT_565);
    // Held for as long as the screen is open: presenting must neither
    // allocate the bits nor read them back from a swap file.
    if (!LockBits()) {
        const int code = m_error != PIM_OK ? m_error : PIM_ERR_OUT_OF_MEMORY;
        Destroy();
        return code;
    }
    const int code = OpenWindow();
    if (code != PIM_OK) {
        UnlockBits();
        Destroy();
        return code;
    }
    m_open = true;
    // A cursor rectangle of an earlier screen means nothing to this window.
    SetLastCursorRect(CxRect());
    return PIM_OK;
}

void CxScreenSurface::Close()
{
    if (!m_open)
        return;
    CloseWindow();
    RestoreUnderCursor(*this);
    m_open = false;
    UnlockBits();
    Destroy();
}

int CxScreenSurface::Present(const CxRect* rects, int count)
{
    return Compose(rects, count, false);
}

int CxScreenSurface::PresentCursor()
{
    return Compose(nullptr, 0, true);
}

void CxScreenSurface::AddPresentRect(CxRect* list, int& count, const CxRect& rect)
{
    if (rect.IsEmpty())
        return;
    for (int i = 0; i < count; ++i) {
        if (list[i].Contains(rect))
            return;
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (!rect.Contains(list[i]))
            list[kept++] = list[i];
    }
    count = kept;
    if (count < PIM_MAX_PRESENT_RECTS) {
        list[count++] = rect;
        return;
    }
    CxRect bounds = rect;
    for (int i = 0; i < count; ++i)
        bounds = bounds.Union(list[i]);
    list[0] = bounds;
    count = 1;
}

int CxScreenSurface::Compose(const CxRect* rects, int count, bool cursorOnly)
{
    if (!m_open)
        return PIM_ERR_BAD_ARG;
    if (m_error != PIM_OK)
        return m_error;
    const CxRect screen = GetRect();
    // On the stack: a present allocates nothing.
    CxRect list[PIM_MAX_PRESENT_RECTS];
    int listed = 0;

    const CxRect cursor = DrawCursorInto(*this);
    if (!cursorOnly) {
        if (!rects || count <= 0) {
            rects = &screen;
            count = 1;
        }
        for (int i = 0; i < count; ++i) {
            const CxRect clipped = rects[i].Intersection(screen);
            if (clipped.IsEmpty())
                continue;
            // One copy where the cursor overlaps, rather than two that the
            // window might show a moment apart.
            AddPresentRect(list, listed, clipped.Intersects(cursor) ? clipped.Union(cursor) : clipped);
        }
    }
    AddPresentRect(list, listed, cursor);
    // Where the cursor was: the back buffer there is the picture without it.
    AddPresentRect(list, listed, GetLastCursorRect().Intersection(screen));

    const int result = listed > 0 ? CopyToWindow(list, listed) : PIM_OK;
    RestoreUnderCursor(*this);
    SetLastCursorRect(cursor);
    return result;
}
