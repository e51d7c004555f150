#include "PIM/backends/sdl/CxSdlScreens.h"

#include "PIM/backends/sdl/CxSdlWindow.h"
#include "PIM/core/PimTrace.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace {

// Floor of a / b for b > 0, negative numerators included.
int64_t FloorDivide(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// One axis of MapWindowPoint: the centre of window unit `point` is
// (point + 1/2) x drawable / window pixels in; the picture starts at
// `offset` and shows `screen` pixels over `extent`.
int32_t MapAxis(int32_t point, int32_t window, int32_t drawable, int32_t offset, int32_t extent, int32_t screen)
{
    // Far beyond any window, so that the products below stay in 64 bits.
    const int64_t p = std::clamp<int64_t>(point, -(1 << 24), 1 << 24);
    const int64_t numerator = ((2 * p + 1) * drawable - int64_t{2} * offset * window) * screen;
    const int64_t denominator = int64_t{2} * window * extent;
    const int64_t mapped = FloorDivide(numerator, denominator);
    return static_cast<int32_t>(std::clamp<int64_t>(mapped, INT32_MIN, INT32_MAX));
}

// One axis of MapScreenPoint: the centre of screen pixel `point` lies
// offset + (point + 1/2) x extent / screen drawable pixels in, which is
// window / drawable as many window units.
int32_t UnmapAxis(int32_t point, int32_t window, int32_t drawable, int32_t offset, int32_t extent, int32_t screen)
{
    const int64_t p = std::clamp<int64_t>(point, -(1 << 24), 1 << 24);
    const int64_t numerator = ((2 * p + 1) * extent + int64_t{2} * offset * screen) * window;
    const int64_t denominator = int64_t{2} * screen * drawable;
    const int64_t mapped = FloorDivide(numerator, denominator);
    return static_cast<int32_t>(std::clamp<int64_t>(mapped, INT32_MIN, INT32_MAX));
}

ST_SCREEN_PLACEMENT PlacementOf(CxSize window, CxSize drawable, int32_t width, int32_t height)
{
    ST_SCREEN_PLACEMENT placement;
    placement.window = window;
    placement.drawable = drawable;
    placement.picture = CxRect::FromSize(CxPoint((drawable.width - width) / 2, (drawable.height - height) / 2),
                                         CxSize(width, height));
    return placement;
}

SDL_Rect ToSdl(const CxRect& rect)
{
    return SDL_Rect{rect.left, rect.top, static_cast<int>(rect.Width()), static_cast<int>(rect.Height())};
}

// Stores a converted pixel of 1 to 4 bytes, as SDL lays them out.
template <int Bytes>
inline void Store(uint8_t* at, uint32_t value)
{
    if constexpr (Bytes == 1) {
        *at = static_cast<uint8_t>(value);
    } else if constexpr (Bytes == 2) {
        const auto v = static_cast<uint16_t>(value);
        std::memcpy(at, &v, 2);
    } else if constexpr (Bytes == 3) {
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
        at[0] = static_cast<uint8_t>(value);
        at[1] = static_cast<uint8_t>(value >> 8);
        at[2] = static_cast<uint8_t>(value >> 16);
#else
        at[0] = static_cast<uint8_t>(value >> 16);
        at[1] = static_cast<uint8_t>(value >> 8);
        at[2] = static_cast<uint8_t>(value);
#endif
    } else {
        std::memcpy(at, &value, 4);
    }
}

// Converts one row span: `count` window pixels from window column `column`
// on, each showing source pixel (column - left) / factor.
template <int Bytes, class Converter>
void ConvertRow(uint8_t* destination, const uint16_t* source, int32_t column, int32_t count, int32_t left,
                int32_t factor, const Converter& convert)
{
    uint8_t* out = destination + static_cast<ptrdiff_t>(column) * Bytes;
    if (factor == 1) {
        const uint16_t* in = source + (column - left);
        for (int32_t i = 0; i < count; ++i, out += Bytes)
            Store<Bytes>(out, convert(in[i]));
        return;
    }
    int32_t index = (column - left) / factor;
    int32_t run = factor - (column - left) % factor;
    while (count > 0) {
        const uint32_t value = convert(source[index]);
        const int32_t n = std::min(run, count);
        for (int32_t i = 0; i < n; ++i, out += Bytes)
            Store<Bytes>(out, value);
        count -= n;
        ++index;
        run = factor;
    }
}

} // namespace

// --- placement ---------------------------------------------------------------------------------

ST_SCREEN_PLACEMENT PlaceLetterboxed(CxSize screen, CxSize window, CxSize drawable)
{
    if (screen.IsEmpty() || drawable.IsEmpty())
        return PlacementOf(window, drawable, 0, 0);
    int64_t width = drawable.width;
    int64_t height = drawable.height;
    // Compare the aspect ratios without dividing.
    if (int64_t{drawable.width} * screen.height <= int64_t{drawable.height} * screen.width)
        height = int64_t{screen.height} * drawable.width / screen.width;
    else
        width = int64_t{screen.width} * drawable.height / screen.height;
    return PlacementOf(window, drawable, static_cast<int32_t>(std::max<int64_t>(width, 1)),
                       static_cast<int32_t>(std::max<int64_t>(height, 1)));
}

ST_SCREEN_PLACEMENT PlaceWholeMultiple(CxSize screen, CxSize window, CxSize drawable)
{
    if (screen.IsEmpty() || drawable.IsEmpty())
        return PlacementOf(window, drawable, 0, 0);
    const int32_t factor = std::max(1, std::min(drawable.width / screen.width, drawable.height / screen.height));
    ST_SCREEN_PLACEMENT placement = PlacementOf(window, drawable, screen.width * factor, screen.height * factor);
    // Too small a window shows the top-left part rather than the middle.
    if (placement.picture.left < 0)
        placement.picture = placement.picture.Offset(-placement.picture.left, 0);
    if (placement.picture.top < 0)
        placement.picture = placement.picture.Offset(0, -placement.picture.top);
    return placement;
}

CxPoint MapWindowPoint(const ST_SCREEN_PLACEMENT& placement, CxSize screen, CxPoint windowPoint)
{
    if (placement.window.IsEmpty() || placement.picture.IsEmpty() || screen.IsEmpty())
        return CxPoint(-1, -1);
    const CxRect& picture = placement.picture;
    return CxPoint(MapAxis(windowPoint.x, placement.window.width, placement.drawable.width, picture.left,
                           static_cast<int32_t>(picture.Width()), screen.width),
                   MapAxis(windowPoint.y, placement.window.height, placement.drawable.height, picture.top,
                           static_cast<int32_t>(picture.Height()), screen.height));
}

CxPoint MapScreenPoint(const ST_SCREEN_PLACEMENT& placement, CxSize screen, CxPoint screenPoint)
{
    if (placement.drawable.IsEmpty() || placement.picture.IsEmpty() || screen.IsEmpty())
        return screenPoint;
    const CxRect& picture = placement.picture;
    return CxPoint(UnmapAxis(screenPoint.x, placement.window.width, placement.drawable.width, picture.left,
                             static_cast<int32_t>(picture.Width()), screen.width),
                   UnmapAxis(screenPoint.y, placement.window.height, placement.drawable.height, picture.top,
                             static_cast<int32_t>(picture.Height()), screen.height));
}

// --- what both screens share ---------------------------------------------------------------------

CxSdlScreen::CxSdlScreen(CxSdlWindow* owner) : m_owner(owner)
{
    m_settings.window = owner;
}

CxSdlScreen::~CxSdlScreen()
{
    if (m_owner)
        m_owner->ForgetScreen(this);
}

void CxSdlScreen::ForgetWindow()
{
    Close();
    m_owner = nullptr;
    m_settings.window = nullptr;
}

SDL_Window* CxSdlScreen::GetSdlWindow() const
{
    return m_owner ? m_owner->GetSdlWindow() : nullptr;
}

int CxSdlScreen::OpenWindow()
{
    SDL_Window* window = GetSdlWindow();
    if (!window)
        return SetError(PIM_ERR_DEVICE, "The screen has no window to open on");
    // What the texture and the conversion take; nothing else uses SDL screens.
    if (GetDepth() != 16)
        return SetError(PIM_ERR_BAD_ARG, "SDL screens are 16-bit, not %d-bit", GetDepth());
    m_settings.window = m_owner;
    m_owner->AttachScreen(this);

    if (m_settings.windowed) {
        if (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)
            SDL_SetWindowFullscreen(window, 0);
        const int wantWidth = GetWidth() * m_settings.scale;
        const int wantHeight = GetHeight() * m_settings.scale;
        int width = 0, height = 0;
        SDL_GetWindowSize(window, &width, &height);
        if (width != wantWidth || height != wantHeight)
            SDL_SetWindowSize(window, wantWidth, wantHeight);
    } else if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        Trace("Screen: no full screen (%s); staying in the window\n", SDL_GetError());
        m_settings.windowed = true;
    }

    const int code = OpenDevice();
    if (code != PIM_OK)
        m_owner->DetachScreen(this);
    return code;
}

void CxSdlScreen::CloseWindow()
{
    CloseDevice();
    if (m_owner)
        m_owner->DetachScreen(this);
}

bool CxSdlScreen::SetFullScreen(bool on)
{
    SDL_Window* window = GetSdlWindow();
    if (!m_open || !window)
        return false;
    if (SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        Trace("Screen: cannot change full screen: %s\n", SDL_GetError());
        return false;
    }
    m_settings.windowed = !on;
    // The window reports its new size later; until then show what there is.
    Redisplay();
    return true;
}

bool CxSdlScreen::IsFullScreen() const
{
    SDL_Window* window = GetSdlWindow();
    if (!m_open || !window)
        return !m_settings.windowed;
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

ST_SCREEN_PLACEMENT CxSdlScreen::GetPlacement() const
{
    SDL_Window* window = GetSdlWindow();
    if (!m_open || !window)
        return ST_SCREEN_PLACEMENT{};
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return Place(CxSize(width, height), GetDrawableSize());
}

CxPoint CxSdlScreen::WindowToScreen(CxPoint point) const
{
    if (!m_open)
        return point;
    return MapWindowPoint(GetPlacement(), GetSize(), point);
}

CxPoint CxSdlScreen::ScreenToWindow(CxPoint point) const
{
    if (!m_open)
        return point;
    return MapScreenPoint(GetPlacement(), GetSize(), point);
}

// --- the software screen -------------------------------------------------------------------------

CxSdlSoftwareScreen::CxSdlSoftwareScreen(CxSdlWindow* owner) : CxSdlScreen(owner) {}

CxSdlSoftwareScreen::~CxSdlSoftwareScreen()
{
    Close();
}

int CxSdlSoftwareScreen::OpenDevice()
{
    SDL_Surface* surface = SDL_GetWindowSurface(GetSdlWindow());
    if (!surface)
        return SetError(PIM_ERR_DEVICE, "The window has no surface: %s", SDL_GetError());
    m_surface = nullptr;
    m_repaint = true;
    return PIM_OK;
}

void CxSdlSoftwareScreen::CloseDevice()
{
    // The surface belongs to the window.
    m_surface = nullptr;
    m_surfaceFormat = 0;
}

ST_SCREEN_PLACEMENT CxSdlSoftwareScreen::Place(CxSize window, CxSize drawable) const
{
    return PlaceWholeMultiple(GetSize(), window, drawable);
}

CxSize CxSdlSoftwareScreen::GetDrawableSize() const
{
    // The window surface is as large as the window, in its own units.
    int width = 0, height = 0;
    if (SDL_Window* window = GetSdlWindow())
        SDL_GetWindowSize(window, &width, &height);
    return CxSize(width, height);
}

void CxSdlSoftwareScreen::BuildChannelTables(const SDL_Surface& surface)
{
    const SDL_PixelFormat* format = surface.format;
    m_surfaceFormat = format->format;
    m_indexed = SDL_ISPIXELFORMAT_INDEXED(format->format);
    if (m_indexed)
        return;
    // Widened with the top bits repeated, so that full channels stay full.
    for (uint32_t v = 0; v < 32; ++v) {
        const auto c = static_cast<uint8_t>((v << 3) | (v >> 2));
        m_red[v] = SDL_MapRGB(format, c, 0, 0);
        m_blue[v] = SDL_MapRGB(format, 0, 0, c);
    }
    for (uint32_t v = 0; v < 64; ++v) {
        const auto c = static_cast<uint8_t>((v << 2) | (v >> 4));
        m_green[v] = SDL_MapRGB(format, 0, c, 0);
    }
}

uint32_t CxSdlSoftwareScreen::Convert(uint16_t pixel) const
{
    return m_red[pixel >> 11] | m_green[(pixel >> 5) & 63] | m_blue[pixel & 31];
}

CxRect CxSdlSoftwareScreen::ConvertRect(SDL_Surface& surface, const ST_SCREEN_PLACEMENT& placement, const CxRect& rect)
{
    const int32_t factor = std::max<int32_t>(1, static_cast<int32_t>(placement.picture.Width() / GetWidth()));
    const CxRect& picture = placement.picture;
    const CxRect scaled(picture.left + rect.left * factor, picture.top + rect.top * factor,
                        picture.left + (rect.right + 1) * factor - 1, picture.top + (rect.bottom + 1) * factor - 1);
    const CxRect covered = scaled.Intersection(CxRect(0, 0, surface.w - 1, surface.h - 1));
    if (covered.IsEmpty())
        return covered;

    auto* pixels = static_cast<uint8_t*>(surface.pixels);
    const int32_t count = static_cast<int32_t>(covered.Width());
    const SDL_PixelFormat* format = surface.format;
    auto fast = [this](uint16_t pixel) { return Convert(pixel); };
    auto slow = [format](uint16_t pixel) {
        const auto red = static_cast<uint8_t>(((pixel >> 11) << 3) | (pixel >> 13));
        const auto green = static_cast<uint8_t>((((pixel >> 5) & 63) << 2) | ((pixel >> 9) & 3));
        const auto blue = static_cast<uint8_t>(((pixel & 31) << 3) | ((pixel >> 2) & 7));
        return SDL_MapRGB(format, red, green, blue);
    };
    for (int32_t y = covered.top; y <= covered.bottom; ++y) {
        const auto* source =
            reinterpret_cast<const uint16_t*>(GetRawPixelAddress(0, (y - picture.top) / factor));
        uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * surface.pitch;
        if (m_indexed) {
            ConvertRow<1>(row, source, covered.left, count, picture.left, factor, slow);
            continue;
        }
        switch (format->BytesPerPixel) {
        case 2:
            ConvertRow<2>(row, source, covered.left, count, picture.left, factor, fast);
            break;
        case 3:
            ConvertRow<3>(row, source, covered.left, count, picture.left, factor, fast);
            break;
        case 4:
            ConvertRow<4>(row, source, covered.left, count, picture.left, factor, fast);
            break;
        default:
            ConvertRow<1>(row, source, covered.left, count, picture.left, factor, fast);
            break;
        }
    }
    return covered;
}

int CxSdlSoftwareScreen::CopyToWindow(const CxRect* rects, int count)
{
    SDL_Window* window = GetSdlWindow();
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface)
        return SetError(PIM_ERR_DEVICE, "The window has no surface: %s", SDL_GetError());
    // A resized window has a new surface with nothing in it yet.
    const CxSize size(surface->w, surface->h);
    if (surface != m_surface || size != m_surfaceSize || surface->format->format != m_surfaceFormat) {
        if (surface->format->format != m_surfaceFormat)
            BuildChannelTables(*surface);
        m_surface = surface;
        m_surfaceSize = size;
        m_repaint = true;
    }
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    const ST_SCREEN_PLACEMENT placement = Place(CxSize(width, height), size);

    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
        return SetError(PIM_ERR_DEVICE, "Could not lock the window surface: %s", SDL_GetError());
    SDL_Rect updates[PIM_MAX_PRESENT_RECTS];
    int updateCount = 0;
    if (m_repaint) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        ConvertRect(*surface, placement, GetRect());
    } else {
        for (int i = 0; i < count && updateCount < PIM_MAX_PRESENT_RECTS; ++i) {
            const CxRect covered = ConvertRect(*surface, placement, rects[i]);
            if (!covered.IsEmpty())
                updates[updateCount++] = ToSdl(covered);
        }
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);

    int result = 0;
    if (m_repaint) {
        result = SDL_UpdateWindowSurface(window);
        m_repaint = result != 0;
    } else if (updateCount > 0) {
        result = SDL_UpdateWindowSurfaceRects(window, updates, updateCount);
    }
    if (result != 0)
        Trace("Screen: the window was not updated: %s\n", SDL_GetError());
    return PIM_OK;
}

void CxSdlSoftwareScreen::Redisplay()
{
    if (!m_open)
        return;
    m_repaint = true;
    Present(nullptr, 0);
}

void CxSdlSoftwareScreen::ClearWindow()
{
    SDL_Window* window = GetSdlWindow();
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface)
        return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window);
    // The picture must come back whole on the next present.
    m_repaint = true;
}

int CxSdlSoftwareScreen::CaptureWindow(CxDrawSurface& out)
{
    SDL_Window* window = GetSdlWindow();
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface)
        return SetError(PIM_ERR_DEVICE, "The window has no surface: %s", SDL_GetError());
    if (out.Create(surface->w, surface->h, 32) != PIM_OK || !out.LockBits())
        return out.GetError() != PIM_OK ? out.GetError() : PIM_ERR_OUT_OF_MEMORY;
    const int code = SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels,
                                       surface->pitch, SDL_PIXELFORMAT_ARGB8888, out.GetBits(), out.GetPitch());
    out.UnlockBits();
    return code == 0 ? PIM_OK : SetError(PIM_ERR_DEVICE, "Could not read the window: %s", SDL_GetError());
}

// --- the renderer screen -------------------------------------------------------------------------

CxSdlRendererScreen::CxSdlRendererScreen(CxSdlWindow* owner) : CxSdlScreen(owner) {}

CxSdlRendererScreen::~CxSdlRendererScreen()
{
    Close();
}

const char* CxSdlRendererScreen::GetRendererName() const
{
    SDL_RendererInfo info;
    if (!m_renderer || SDL_GetRendererInfo(m_renderer, &info) != 0 || !info.name)
        return "";
    return info.name;
}

int CxSdlRendererScreen::OpenDevice()
{
    SDL_Window* window = GetSdlWindow();
#if SDL_VERSION_ATLEAST(2, 28, 0)
    // Where the system draws window surfaces through a renderer of its own,
    // that one must go first.
    if (SDL_HasWindowSurface(window))
        SDL_DestroyWindowSurface(window);
#endif
    if (!m_softwareOnly) {
        m_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        if (!m_renderer)
            Trace("Screen: no accelerated renderer (%s); SDL's software renderer instead\n", SDL_GetError());
    }
    if (!m_renderer)
        m_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer)
        return SetError(PIM_ERR_DEVICE, "Could not create a renderer: %s", SDL_GetError());
    // Asked for by name (the SDL_RENDER_DRIVER variable), SDL may give a
    // software renderer to an accelerated request: its own flags tell.
    SDL_RendererInfo info;
    m_accelerated = SDL_GetRendererInfo(m_renderer, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED) != 0;
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, GetWidth(),
                                  GetHeight());
    if (!m_texture) {
        SetError(PIM_ERR_DEVICE, "Could not create a %d x %d texture: %s", GetWidth(), GetHeight(), SDL_GetError());
        CloseDevice();
        return m_error;
    }
    // Whole pixels, however far the picture is stretched.
    SDL_SetTextureScaleMode(m_texture, SDL_ScaleModeNearest);
    SDL_UpdateTexture(m_texture, nullptr, GetBits(), GetPitch());
    Trace("Screen: %s renderer, %d x %d\n", GetRendererName(), GetWidth(), GetHeight());
    return PIM_OK;
}

void CxSdlRendererScreen::CloseDevice()
{
    if (m_texture) {
        SDL_DestroyTexture(m_texture);
        m_texture = nullptr;
    }
    if (m_renderer) {
        SDL_DestroyRenderer(m_renderer);
        m_renderer = nullptr;
    }
    m_accelerated = false;
}

int CxSdlRendererScreen::ResetDevice()
{
    if (!m_open)
        return PIM_OK;
    CloseDevice();
    return OpenDevice() == PIM_OK ? Render() : m_error;
}

ST_SCREEN_PLACEMENT CxSdlRendererScreen::Place(CxSize window, CxSize drawable) const
{
    return PlaceLetterboxed(GetSize(), window, drawable);
}

CxSize CxSdlRendererScreen::GetDrawableSize() const
{
    int width = 0, height = 0;
    if (!m_renderer || SDL_GetRendererOutputSize(m_renderer, &width, &height) != 0)
        return CxSize();
    return CxSize(width, height);
}

int CxSdlRendererScreen::Render()
{
    if (!m_renderer || !m_texture)
        return PIM_SCREEN_DEVICE_LOST;
    // The whole output, as large as it is now: the renderer learns of a new
    // window size from an event that may not have come yet.
    SDL_RenderSetViewport(m_renderer, nullptr);
    const ST_SCREEN_PLACEMENT placement = GetPlacement();
    const SDL_Rect target = ToSdl(placement.picture);
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    if (SDL_RenderCopy(m_renderer, m_texture, nullptr, &target) != 0) {
        Trace("Screen: the picture could not be drawn: %s\n", SDL_GetError());
        return PIM_SCREEN_DEVICE_LOST;
    }
    return PIM_OK;
}

int CxSdlRendererScreen::CopyToWindow(const CxRect* rects, int count)
{
    if (!m_texture)
        return PIM_SCREEN_DEVICE_LOST;
    for (int i = 0; i < count; ++i) {
        const SDL_Rect area = ToSdl(rects[i]);
        if (SDL_UpdateTexture(m_texture, &area, GetRawPixelAddress(rects[i].left, rects[i].top), GetPitch()) != 0)
            return PIM_SCREEN_DEVICE_LOST;
    }
    const int result = Render();
    if (result == PIM_OK)
        SDL_RenderPresent(m_renderer);
    return result;
}

void CxSdlRendererScreen::Redisplay()
{
    // The texture holds the last picture, cursor included.
    if (m_open && Render() == PIM_OK)
        SDL_RenderPresent(m_renderer);
}

void CxSdlRendererScreen::ClearWindow()
{
    if (!m_renderer)
        return;
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderPresent(m_renderer);
}

int CxSdlRendererScreen::CaptureWindow(CxDrawSurface& out)
{
    // What a present shows, drawn again: after the last present the
    // renderer's buffer need not hold it any more.
    const int rendered = Render();
    if (rendered != PIM_OK)
        return rendered;
    const CxSize size = GetDrawableSize();
    if (out.Create(size.width, size.height, 32) != PIM_OK || !out.LockBits())
        return out.GetError() != PIM_OK ? out.GetError() : PIM_ERR_OUT_OF_MEMORY;
    const int code = SDL_RenderReadPixels(m_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, out.GetBits(), out.GetPitch());
    out.UnlockBits();
    return code == 0 ? PIM_OK : SetError(PIM_ERR_DEVICE, "Could not read the renderer: %s", SDL_GetError());
}
