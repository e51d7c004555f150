#include "PIM/display/PimCursors.h"

#include "PIM/core/CxDynamicArray.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxMutex.h"
#include "PIM/display/CxCursorImage.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kCursorMutexName = "Pim_DDCursor";

struct ST_CURSOR_STATE
{
    bool custom = false;
    int depth = 0;
    uint8_t layout = PIM_LAYOUT_DEFAULT;
    bool allowAlpha = true;

    CxDynamicArray<CxCursorImage*> images;
    CxCursorImage* current = nullptr;
    int currentId = PIM_CURSOR_ARROW;
    int defaultId = PIM_CURSOR_ARROW;
    int hideCount = 0;
    CxPoint position;

    // One surface for every cursor, as large as the largest frame met.
    CxDrawSurface* saveUnder = nullptr;
    CxSize largestFrame;
    // Where the saved pixels came from; empty while nothing is saved.
    CxRect savedRect;
    const CxDrawSurface* savedOn = nullptr;
    CxRect lastRect;
    bool dirty = false;

    PimSystemCursorHook hook = nullptr;
};

ST_CURSOR_STATE& State()
{
    static ST_CURSOR_STATE state;
    return state;
}

// The named mutex is opened once and kept rather than opened per use:
// opening one allocates, and presenting must not.
CxMutex& CursorMutex()
{
    static CxMutex mutex;
    if (!mutex.IsCreated())
        mutex.Create(kCursorMutexName, false);
    return mutex;
}

class CursorLock
{
public:
    CursorLock() : m_mutex(CursorMutex()) { m_mutex.Lock(PIM_INFINITE); }
    ~CursorLock() { m_mutex.Unlock(); }
    CursorLock(const CursorLock&) = delete;
    CursorLock& operator=(const CursorLock&) = delete;

private:
    CxMutex& m_mutex;
};

ptrdiff_t IndexOfCursor(int id)
{
    ST_CURSOR_STATE& s = State();
    for (size_t i = 0; i < s.images.GetCount(); ++i) {
        if ((*s.images.Get(i))->GetId() == id)
            return static_cast<ptrdiff_t>(i);
    }
    return -1;
}

void CallHook(int id, bool visible)
{
    if (PimSystemCursorHook hook = State().hook)
        hook(id, visible);
}

void FreeSaveUnder(ST_CURSOR_STATE& s)
{
    if (s.saveUnder) {
        s.saveUnder->UnlockBits();
        delete s.saveUnder;
        s.saveUnder = nullptr;
    }
    s.savedRect = CxRect();
    s.savedOn = nullptr;
}

// A save-under of this depth holding the largest frame, its bits in memory
// for good. Called with the lock held; false when it cannot be had. Only a
// new largest frame or a screen of another depth makes a new one, so a
// present with the cursors the screen was set up for never allocates.
bool EnsureSaveUnder(ST_CURSOR_STATE& s, int depth, uint8_t layout)
{
    if (s.largestFrame.IsEmpty() || !IsValidDepth(depth))
        return false;
    if (s.saveUnder && s.saveUnder->GetDepth() == depth && s.saveUnder->GetWidth() >= s.largestFrame.width &&
        s.saveUnder->GetHeight() >= s.largestFrame.height)
        return true;
    FreeSaveUnder(s);
    auto* surface = new CxDrawSurface;
    if (!surface) {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate the cursor's save-under surface");
        return false;
    }
    if (surface->Create(s.largestFrame.width, s.largestFrame.height, depth, -1, nullptr,
                        depth == 16 ? layout : uint8_t{PIM_LAYOUT_DEFAULT}) != PIM_OK ||
        !surface->LockBits()) {
        delete surface;
        return false;
    }
    s.saveUnder = surface;
    return true;
}

void RestoreLocked(ST_CURSOR_STATE& s, CxDrawSurface& backBuffer)
{
    if (s.savedRect.IsEmpty() || s.savedOn != &backBuffer || !s.saveUnder)
        return;
    CopyPixels(*s.saveUnder, CxRect::FromSize(CxPoint(), CxSize(static_cast<int32_t>(s.savedRect.Width()),
                                                                  static_cast<int32_t>(s.savedRect.Height()))),
               backBuffer, s.savedRect.TopLeft());
    s.savedRect = CxRect();
    s.savedOn = nullptr;
}

void MarkDirty()
{
    ST_CURSOR_STATE& s = State();
    if (s.custom)
        s.dirty = true;
}

} // namespace

// --- configuration ------------------------------------------------------------------------------

void SetSystemCursorHook(PimSystemCursorHook hook)
{
    State().hook = hook;
}

PimSystemCursorHook GetSystemCursorHook()
{
    return State().hook;
}

int InitCursors(bool custom, int screenDepth, uint8_t screenLayout, bool allowAlpha)
{
    ShutdownCursors();
    ST_CURSOR_STATE& s = State();
    {
        CursorLock lock;
        s.custom = custom;
        s.depth = screenDepth;
        s.layout = screenLayout;
        s.allowAlpha = allowAlpha;
        s.dirty = custom;
    }
    if (!custom) {
        CallHook(s.currentId, s.hideCount == 0);
        return PIM_OK;
    }
    int result = PIM_OK;
    for (int id = 0; id < PIM_BUILTIN_CURSOR_COUNT; ++id) {
        CxPoint hot;
        CxDrawSurface* picture = CreateBuiltinCursor(id, hot);
        const int code = picture ? RegisterCursor(picture, id, hot.x, hot.y)
                                 : ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not create built-in cursor %d", id);
        if (code != PIM_OK && result == PIM_OK)
            result = code;
    }
    {
        CursorLock lock;
        const ptrdiff_t arrow = IndexOfCursor(PIM_CURSOR_ARROW);
        s.current = arrow >= 0 ? *s.images.Get(static_cast<size_t>(arrow)) : nullptr;
        s.currentId = PIM_CURSOR_ARROW;
        s.defaultId = PIM_CURSOR_ARROW;
    }
    // The engine draws the cursor; the system's would show on top of it.
    CallHook(PIM_CURSOR_ARROW, false);
    return result;
}

int AttachCursorsToScreen(int screenDepth, uint8_t screenLayout)
{
    ST_CURSOR_STATE& s = State();
    CursorLock lock;
    if (!IsValidDepth(screenDepth))
        return PIM_ERR_BAD_ARG;
    const uint8_t layout = screenDepth == 16 ? screenLayout : uint8_t{PIM_LAYOUT_DEFAULT};
    const uint8_t had = s.depth == 16 ? s.layout : uint8_t{PIM_LAYOUT_DEFAULT};
    int result = PIM_OK;
    if (s.custom && (screenDepth != s.depth || layout != had)) {
        for (size_t i = 0; i < s.images.GetCount(); ++i) {
            CxCursorImage* image = *s.images.Get(i);
            CxDrawSurface* picture = image->GetSurface();
            // Alpha cursors draw as they are on any screen.
            if (!picture || (picture->GetDepth() == 32 && s.allowAlpha))
                continue;
            const int code = image->ConvertTo(screenDepth, layout);
            if (code != PIM_OK && result == PIM_OK)
                result = code;
        }
    }
    s.depth = screenDepth;
    s.layout = screenLayout;
    s.dirty = s.custom;
    if (s.custom)
        EnsureSaveUnder(s, s.depth, s.layout);
    return result;
}

void ShutdownCursors()
{
    ST_CURSOR_STATE& s = State();
    bool wasCustom = false;
    {
        CursorLock lock;
        wasCustom = s.custom;
        for (size_t i = 0; i < s.images.GetCount(); ++i)
            delete *s.images.Get(i);
        s.images.Clear();
        s.current = nullptr;
        FreeSaveUnder(s);
        s.largestFrame = CxSize();
        s.custom = false;
        s.depth = 0;
        s.layout = PIM_LAYOUT_DEFAULT;
        s.allowAlpha = true;
        s.currentId = PIM_CURSOR_ARROW;
        s.defaultId = PIM_CURSOR_ARROW;
        s.hideCount = 0;
        s.lastRect = CxRect();
        s.dirty = false;
    }
    if (wasCustom)
        CallHook(PIM_CURSOR_ARROW, true);
}

bool UsesCustomCursors()
{
    return State().custom;
}

// --- the images ---------------------------------------------------------------------------------

int RegisterCursor(CxDrawSurface* surface, int id, int32_t hotX, int32_t hotY, int frameCount, float frameRate)
{
    if (!surface)
        return ReportError(PIM_ERR_BAD_ARG, "RegisterCursor: no picture for cursor %d", id);
    ST_CURSOR_STATE& s = State();

    if (surface->GetDepth() == 32 && s.allowAlpha) {
        // Drawn with its own alpha.
        surface->SetTransparentColour(PIM_NO_KEY);
    } else if (IsValidDepth(s.depth)) {
        if (const int code = ConvertKeepingKey(*surface, s.depth, s.layout); code != PIM_OK) {
            delete surface;
            return code;
        }
    }

    auto* image = new CxCursorImage(surface, id, CxPoint(hotX, hotY), frameCount, frameRate);
    if (!image) {
        delete surface;
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxCursorImage");
    }

    CxCursorImage* replaced = nullptr;
    {
        CursorLock lock;
        const ptrdiff_t index = IndexOfCursor(id);
        if (index >= 0) {
            // Replaced in place: no allocation, and the old one cannot stay
            // behind when memory is short.
            CxCursorImage** slot = s.images.Get(static_cast<size_t>(index));
            replaced = *slot;
            *slot = image;
        } else if (!s.images.Append(image)) {
            delete image;
            return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not add cursor %d to the list", id);
        }
        if (replaced && s.current == replaced) {
            s.current = image;
            MarkDirty();
        }
        const CxSize frame = image->GetFrameSize();
        s.largestFrame.width = std::max(s.largestFrame.width, frame.width);
        s.largestFrame.height = std::max(s.largestFrame.height, frame.height);
        if (IsValidDepth(s.depth))
            EnsureSaveUnder(s, s.depth, s.layout);
    }
    delete replaced;
    return PIM_OK;
}

void UnregisterCursor(int id)
{
    ST_CURSOR_STATE& s = State();
    CxCursorImage* removed = nullptr;
    {
        CursorLock lock;
        const ptrdiff_t index = IndexOfCursor(id);
        if (index < 0)
            return;
        removed = *s.images.Get(static_cast<size_t>(index));
        s.images.RemoveAt(static_cast<size_t>(index));
        if (s.current == removed) {
            s.current = nullptr;
            MarkDirty();
        }
        if (s.defaultId == id)
            s.defaultId = PIM_CURSOR_ARROW;
    }
    delete removed;
}

const CxCursorImage* FindCursor(int id)
{
    CursorLock lock;
    const ptrdiff_t index = IndexOfCursor(id);
    return index >= 0 ? *State().images.Get(static_cast<size_t>(index)) : nullptr;
}

int CountCursors()
{
    CursorLock lock;
    return static_cast<int>(State().images.GetCount());
}

// --- selection and visibility -------------------------------------------------------------------

void SetCursor(int id)
{
    ST_CURSOR_STATE& s = State();
    if (!s.custom) {
        if (id == s.currentId)
            return;
        s.currentId = id;
        if (s.hideCount == 0)
            CallHook(id, true);
        return;
    }
    CursorLock lock;
    if (id == s.currentId && s.current && s.current->GetId() == id)
        return;
    const ptrdiff_t index = IndexOfCursor(id);
    if (index < 0)
        return;
    s.current = *s.images.Get(static_cast<size_t>(index));
    s.currentId = id;
    s.dirty = true;
}

int GetCursor()
{
    return State().currentId;
}

void SetDefaultCursor(int id)
{
    State().defaultId = id;
}

int GetDefaultCursor()
{
    return State().defaultId;
}

void HideCursor()
{
    ST_CURSOR_STATE& s = State();
    {
        CursorLock lock;
        if (++s.hideCount != 1)
            return;
        MarkDirty();
    }
    if (!s.custom)
        CallHook(s.currentId, false);
}

void ShowCursor()
{
    ST_CURSOR_STATE& s = State();
    {
        CursorLock lock;
        // Extra shows do not bank visibility against later hides.
        if (s.hideCount == 0 || --s.hideCount != 0)
            return;
        MarkDirty();
    }
    if (!s.custom)
        CallHook(s.currentId, true);
}

int GetCursorHideCount()
{
    return State().hideCount;
}

void SetCursorPosition(CxPoint point)
{
    ST_CURSOR_STATE& s = State();
    CursorLock lock;
    if (s.position == point)
        return;
    s.position = point;
    MarkDirty();
}

CxPoint GetCursorPosition()
{
    CursorLock lock;
    return State().position;
}

// --- presenting ---------------------------------------------------------------------------------

CxRect DrawCursorInto(CxDrawSurface& backBuffer)
{
    ST_CURSOR_STATE& s = State();
    CursorLock lock;
    RestoreLocked(s, backBuffer);
    s.dirty = false;
    if (!s.custom || s.hideCount > 0 || !s.current || !s.current->GetSurface())
        return CxRect();

    CxCursorImage& image = *s.current;
    image.Advance();
    const CxPoint origin = s.position - image.GetHotSpot();
    const CxRect area = CxRect::FromSize(origin, image.GetFrameSize()).Intersection(backBuffer.GetRect());
    if (area.IsEmpty() || !EnsureSaveUnder(s, backBuffer.GetDepth(), backBuffer.GetPixelLayout()))
        return CxRect();

    CopyPixels(backBuffer, area, *s.saveUnder, CxPoint());
    s.savedRect = area;
    s.savedOn = &backBuffer;

    CxDrawSurface& picture = *image.GetSurface();
    ST_DRAW_PARAMS params;
    if (picture.GetDepth() == 32)
        params.mode = PIM_DRAW_SOURCE_ALPHA;
    const CxRect frame = image.GetFrameRect();
    // Blit clips to the back buffer as the save did, so nothing outside the
    // saved area is touched.
    picture.BlitAt(backBuffer, origin.x, origin.y, &frame, picture.GetTransparentColour(), &params);
    return area;
}

void RestoreUnderCursor(CxDrawSurface& backBuffer)
{
    CursorLock lock;
    RestoreLocked(State(), backBuffer);
}

CxRect GetLastCursorRect()
{
    CursorLock lock;
    return State().lastRect;
}

void SetLastCursorRect(const CxRect& rect)
{
    CursorLock lock;
    State().lastRect = rect;
}

bool IsCursorDirty()
{
    ST_CURSOR_STATE& s = State();
    CursorLock lock;
    if (!s.custom)
        return false;
    return s.dirty || (s.hideCount == 0 && s.current && s.current->IsFrameDue());
}

void CopyPixels(CxDrawSurface& from, const CxRect& rect, CxDrawSurface& to, CxPoint at)
{
    if (from.GetDepth() != to.GetDepth() || &from == &to)
        return;
    // Clip the source, move the destination with it, then clip the
    // destination and move the source back by the same amounts.
    CxRect source = rect.Intersection(from.GetRect());
    if (source.IsEmpty())
        return;
    at.x += source.left - rect.left;
    at.y += source.top - rect.top;
    const CxRect placed = CxRect::FromSize(at, CxSize(static_cast<int32_t>(source.Width()),
                                                      static_cast<int32_t>(source.Height())));
    const CxRect target = placed.Intersection(to.GetRect());
    if (target.IsEmpty())
        return;
    source = CxRect(source.left + (target.left - placed.left), source.top + (target.top - placed.top),
                    source.left + (target.right - placed.left), source.top + (target.bottom - placed.top));

    const int depth = from.GetDepth();
    if (depth < 8) {
        // Pixels share bytes; no screen is this deep, so speed does not matter.
        for (int32_t y = 0; y < static_cast<int32_t>(target.Height()); ++y)
            for (int32_t x = 0; x < static_cast<int32_t>(target.Width()); ++x)
                to.SetPixel(target.left + x, target.top + y, from.GetPixel(source.left + x, source.top + y));
        return;
    }
    uint8_t* fromBits = from.LockBits();
    if (!fromBits)
        return;
    uint8_t* toBits = to.LockBits();
    if (toBits) {
        const size_t bytes = static_cast<size_t>(target.Width()) * static_cast<size_t>(depth / 8);
        for (int32_t y = 0; y < static_cast<int32_t>(target.Height()); ++y)
            std::memcpy(to.GetRawPixelAddress(target.left, target.top + y),
                        from.GetRawPixelAddress(source.left, source.top + y), bytes);
        to.UnlockBits();
    }
    from.UnlockBits();
}
