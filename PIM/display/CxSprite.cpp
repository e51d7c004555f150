// The display object with a picture: frames side by side in one surface, or
// a movie whose driver renders the current frame into the surface. It draws
// through the render target with its colour key and draw parameters, can be
// stretched, and tests points and other sprites against its opaque pixels.

#include "PIM/display/CxSprite.h"

#include "PIM/display/CxFrameSource.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/CxRenderTarget.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/graphics/PimSurfaceFactory.h"

namespace {

constexpr uint16_t kNoMovieFrame = 0xFFFF;

// A raw pixel as keys are written: 24-bit pixels read with the first byte
// least significant, like the blitter compares them.
uint32_t ReadKeyedPixel(const uint8_t* row, int32_t x, int depth)
{
    return depth == 24 ? Read24AsKey(row + static_cast<ptrdiff_t>(x) * 3) : ReadPixel(row, x, depth);
}

// How one sprite's pixels count in a collision test.
struct CollisionReader
{
    const uint8_t* bits = nullptr;
    int32_t pitch = 0;
    int depth = 0;
    uint32_t key = PIM_NO_KEY;
    bool alphaOnly = false;
    // Where the walk's (0, 0) lies in the surface.
    CxPoint origin;

    bool IsSolid(int32_t x, int32_t y) const
    {
        const uint8_t* row = bits + static_cast<ptrdiff_t>(origin.y + y) * pitch;
        uint32_t value = ReadKeyedPixel(row, origin.x + x, depth);
        if (alphaOnly)
            value >>= 24;
        return value != key;
    }
};

// Locks a surface for as long as it lives.
class BitsLock
{
public:
    explicit BitsLock(CxDrawSurface& surface) : m_surface(surface), m_bits(surface.LockBitsToRead()) {}
    ~BitsLock()
    {
        if (m_bits)
            m_surface.UnlockBits();
    }
    BitsLock(const BitsLock&) = delete;
    BitsLock& operator=(const BitsLock&) = delete;
    const uint8_t* Get() const { return m_bits; }

private:
    CxDrawSurface& m_surface;
    const uint8_t* m_bits;
};

// Sprites live on the main thread only, as the whole display tree does.
size_t g_liveSprites = 0;

} // namespace

CxSprite::CxSprite()
{
    m_hitMask = 1;
    ++g_liveSprites;
}

size_t CxSprite::GetLiveCount()
{
    return g_liveSprites;
}

CxSprite::~CxSprite()
{
    --g_liveSprites;
    // Hooks and focus first, while the sprite is whole; then the picture.
    ForgetSelf();
    UnloadPicture();
}

// --- the picture -----------------------------------------------------------------------------

void CxSprite::InstallSurface(CxDrawSurface* surface, int frameCount)
{
    m_surface = surface;
    m_frameSize = surface->GetSize();
    m_frameCount = 1;
    m_frame = 0;
    m_frameRect = surface->GetRect();
    m_lastMovieFrame = kNoMovieFrame;
    m_reportedBadPicture = false;
    SetFrameCount(frameCount);
    if (m_size.IsEmpty())
        m_size = m_frameSize;
    Invalidate();
}

int CxSprite::CopyFrom(CxSprite& other)
{
    if (&other == this)
        return PIM_OK;
    if (!other.m_surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    UnloadPicture();
    m_surface = other.m_surface;
    m_movie = other.m_movie;
    m_shared = true;
    m_pixelHit = other.m_pixelHit;
    m_key = other.m_key;
    m_params = other.m_params;
    m_frameCount = other.m_frameCount;
    m_frame = other.m_frame;
    m_frameRect = other.m_frameRect;
    m_frameSize = other.m_frameSize;
    if (m_size.IsEmpty())
        m_size = m_frameSize;
    RenderMovieFrame();
    Invalidate();
    return PIM_OK;
}

int CxSprite::SetSurface(CxDrawSurface* surface, int frameCount)
{
    // Handing the sprite its own surface again must not delete it.
    if (surface && surface == m_surface && !m_shared)
        m_surface = nullptr;
    UnloadPicture();
    if (!surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    if (surface->GetError() != PIM_OK)
        return SetError(PIM_ERR_BAD_ARG, "Sprite '%s': picture '%s' carries error %d and is not used",
                        m_name.GetText(), surface->GetNameText(), surface->GetError());
    InstallSurface(surface, frameCount);
    return PIM_OK;
}

int CxSprite::LoadPicture(const char* fileName, int frameCount)
{
    UnloadPicture();
    if (!fileName || !*fileName)
        return SetError(PIM_ERR_BAD_ARG, "CxSprite::Load: no file name");

    if (!IsFrameSourceFile(fileName)) {
        CxDrawSurface* surface = LoadDrawSurface(fileName);
        if (!surface) {
            // Said once here; Draw stays silent about the missing picture.
            m_reportedBadPicture = true;
            return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxDrawSurface for CxSprite::Load(%s)",
                            fileName);
        }
        return SetSurface(surface, frameCount);
    }

    CxFrameSource* driver = OpenFrameSource(fileName, m_movieFlags);
    if (!driver)
        return m_error = PIM_ERR_UNKNOWN; // the provider has reported it
    // A driver whose file did not open would leave a movie that shows
    // nothing: the sprite takes its error (reported by the driver) instead.
    if (const int failed = driver->GetError(); failed != PIM_OK) {
        delete driver;
        return m_error = failed;
    }
    CxDrawSurface* surface = driver->CreateSurfaceObject();
    if (!surface) {
        delete driver;
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not create a surface for this sprite's movie driver");
    }
    const int prepared = driver->PrepareSurface(*surface, GetDisplayDepth());
    if (prepared != PIM_OK || surface->GetError() != PIM_OK) {
        const int code = prepared != PIM_OK ? prepared : surface->GetError();
        delete surface;
        delete driver;
        return SetError(code, "The movie driver could not prepare a surface for '%s'", fileName);
    }
    m_movie = driver;
    InstallSurface(surface, 1);
    if (m_movie->GetOpenFlags() & PIM_MOVIE_ALPHA)
        m_params.mode = PIM_DRAW_SOURCE_ALPHA;
    m_frame = 0;
    RenderMovieFrame();
    return PIM_OK;
}

int CxSprite::CreateSurface(int32_t width, int32_t height, int depth)
{
    UnloadPicture();
    CxDrawSurface* surface = CreateDrawSurface();
    if (!surface)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxDrawSurface");
    const int code = surface->Create(width, height, depth);
    if (code != PIM_OK) {
        delete surface;
        return m_error = code; // the surface has reported it
    }
    InstallSurface(surface, 1);
    return PIM_OK;
}

int CxSprite::Unload()
{
    UnloadPicture();
    return PIM_OK;
}

void CxSprite::UnloadPicture()
{
    if (m_surface || m_movie)
        Invalidate();
    if (!m_shared) {
        // The driver may still refer to the surface it renders into.
        if (m_movie) {
            m_movie->Close();
            delete m_movie;
        }
        delete m_surface;
    }
    m_movie = nullptr;
    m_surface = nullptr;
    m_shared = false;
    m_frameCount = 1;
    m_frame = 0;
    m_lastMovieFrame = kNoMovieFrame;
    m_frameRect = CxRect();
    m_frameSize = CxSize();
    m_reportedBadPicture = false;
}

void CxSprite::Release()
{
    Hide();
    Detach();
    UnloadPicture();
}

// --- frames ----------------------------------------------------------------------------------

void CxSprite::SetFrameCount(int count)
{
    if (m_movie || count <= 0 || count > PIM_MAX_SPRITE_FRAMES || !m_surface)
        return;
    const int32_t width = m_surface->GetWidth();
    if (width % count != 0)
        return;
    m_frameCount = static_cast<int16_t>(count);
    m_frameSize = CxSize(width / count, m_surface->GetHeight());
    m_frame = 0;
    m_frameRect = FrameRectOf(0);
    Invalidate();
}

int CxSprite::GetFrameCount() const
{
    if (!m_movie)
        return m_frameCount;
    // Frames are indexed in 16 bits; a longer movie shows its first 32,767.
    const int32_t count = m_movie->GetFrameCount();
    return count < 0 ? 0 : (count > PIM_MAX_SPRITE_FRAMES ? PIM_MAX_SPRITE_FRAMES : count);
}

void CxSprite::SetFrame(int index)
{
    const int count = GetFrameCount();
    if (count <= 0)
        return;
    int frame = index % count;
    if (frame < 0)
        frame += count;
    if (frame == m_frame)
        return;
    m_frame = static_cast<int16_t>(frame);
    if (!m_movie)
        m_frameRect = FrameRectOf(frame);
    Invalidate();
}

CxRect CxSprite::FrameRectOf(int frame) const
{
    if (!m_surface)
        return CxRect();
    if (m_movie)
        return m_surface->GetRect();
    return CxRect::FromSize(CxPoint(frame * m_frameSize.width, 0), m_frameSize);
}

void CxSprite::RenderMovieFrame()
{
    if (!m_movie || !m_surface)
        return;
    // Sprites sharing a driver share its surface too: what the driver last
    // decoded counts as much as what this sprite last asked for.
    if (m_lastMovieFrame == static_cast<uint16_t>(m_frame) && m_movie->GetLastFrame() == m_frame + 1)
        return;
    ST_MOVIE_RENDER request;
    request.surface = m_surface;
    request.frame = m_frame;
    m_movie->Render(request);
    m_lastMovieFrame = static_cast<uint16_t>(m_frame);
}

// --- pixels ----------------------------------------------------------------------------------

int CxSprite::ReplaceColour(uint32_t from, uint32_t to)
{
    if (!m_surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    const int code = m_surface->ReplaceColour(from, to);
    Invalidate();
    return code;
}

int CxSprite::SwapColours(uint32_t first, uint32_t second)
{
    if (!m_surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    const int code = m_surface->SwapColours(first, second);
    Invalidate();
    return code;
}

int CxSprite::FlipFrameVertical(int frame)
{
    if (!m_surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    if (m_movie || frame >= m_frameCount)
        return SetError(PIM_ERR_BAD_ARG, "Sprite '%s': no still frame %d to flip", m_name.GetText(), frame);
    const CxRect rect = FrameRectOf(frame < 0 ? m_frame : frame);
    const int code = m_surface->FlipVertical(&rect);
    Invalidate();
    return code;
}

int CxSprite::FlipFrameHorizontal(int frame)
{
    if (!m_surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    if (m_movie || frame >= m_frameCount)
        return SetError(PIM_ERR_BAD_ARG, "Sprite '%s': no still frame %d to flip", m_name.GetText(), frame);
    const CxRect rect = FrameRectOf(frame < 0 ? m_frame : frame);
    const int code = m_surface->FlipHorizontal(&rect);
    Invalidate();
    return code;
}

int CxSprite::FlipVertical()
{
    if (!m_surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    if (m_movie)
        return SetError(PIM_ERR_BAD_ARG, "Sprite '%s': a movie cannot be flipped", m_name.GetText());
    const int code = m_surface->FlipVertical(nullptr);
    Invalidate();
    return code;
}

int CxSprite::FlipFramesHorizontal()
{
    if (!m_surface)
        return SetError(PIM_ERR_UNKNOWN, "No image for Sprite");
    if (m_movie)
        return SetError(PIM_ERR_BAD_ARG, "Sprite '%s': a movie cannot be flipped", m_name.GetText());
    int code = PIM_OK;
    for (int frame = 0; frame < m_frameCount && code == PIM_OK; ++frame) {
        const CxRect rect = FrameRectOf(frame);
        code = m_surface->FlipHorizontal(&rect);
    }
    Invalidate();
    return code;
}

void CxSprite::SetDrawParams(const ST_DRAW_PARAMS* params)
{
    if (params) {
        m_params = *params;
    } else {
        m_params = ST_DRAW_PARAMS();
    }
    Invalidate();
}

// --- hit and collision tests -----------------------------------------------------------------

uint32_t CxSprite::GetEffectiveKey() const
{
    if (m_key != PIM_NO_KEY || !m_surface)
        return m_key;
    return m_surface->GetTransparentColour();
}

bool CxSprite::IsStretched() const
{
    return (m_flags & PIM_DO_STRETCH) && !m_size.IsEmpty() && !m_frameSize.IsEmpty() &&
           m_size.width != m_frameSize.width && m_size.height != m_frameSize.height;
}

bool CxSprite::ContainsPoint(CxPoint point, bool pixelTest)
{
    CxPoint local = ParentToLocal(point);
    if (!CxRect::FromSize(CxPoint(), m_size).Contains(local))
        return false;
    if (!pixelTest)
        return true;
    if (!m_surface)
        return false;
    if (GetEffectiveKey() == PIM_NO_KEY && m_surface->GetDepth() != 32)
        return true;
    if (IsStretched()) {
        local.x = static_cast<int32_t>(int64_t{local.x} * m_frameSize.width / m_size.width);
        local.y = static_cast<int32_t>(int64_t{local.y} * m_frameSize.height / m_size.height);
    }
    return IsOpaqueAt(local.x, local.y);
}

bool CxSprite::IsOpaqueAt(int32_t x, int32_t y)
{
    if (!m_surface)
        return false;
    const int64_t sx = int64_t{x} + m_frameRect.left;
    const int64_t sy = int64_t{y} + m_frameRect.top;
    const CxRect readable = m_frameRect.Intersection(m_surface->GetRect());
    if (sx < readable.left || sx > readable.right || sy < readable.top || sy > readable.bottom)
        return false;
    BitsLock bits(*m_surface);
    if (!bits.Get())
        return false;
    const int depth = m_surface->GetDepth();
    const uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(sy) * m_surface->GetPitch();
    const uint32_t value = ReadKeyedPixel(row, static_cast<int32_t>(sx), depth);
    if (depth == 32)
        return value > 0xFFFFFFu;
    return value != GetEffectiveKey();
}

int CxSprite::CollidesWith(CxSprite& other, CxPoint* where, const CxRect* ownRect, const CxRect* otherRect)
{
    if (!m_surface || !other.m_surface || !IsVisible() || !other.IsVisible())
        return 0;
    const CxRect a = ownRect ? *ownRect : GetRect();
    const CxRect b = otherRect ? *otherRect : other.GetRect();
    if (a.IsEmpty() || b.IsEmpty())
        return 0;

    // Each rectangle's top-left is its frame's top-left; the walk stays in
    // the part of each frame that lies inside its surface.
    auto readableArea = [](const CxSprite& sprite, const CxRect& placed) {
        const CxRect frame = sprite.m_frameRect.Intersection(sprite.m_surface->GetRect());
        return frame.Offset(placed.left - sprite.m_frameRect.left, placed.top - sprite.m_frameRect.top);
    };
    const CxRect walk = a.Intersection(b).Intersection(readableArea(*this, a)).Intersection(readableArea(other, b));
    if (walk.IsEmpty())
        return 0;

    BitsLock ownBits(*m_surface);
    BitsLock otherBits(*other.m_surface);
    if (!ownBits.Get() || !otherBits.Get())
        return 0;
    auto reader = [](const CxSprite& sprite, const BitsLock& bits, const CxRect& placed, const CxRect& area) {
        CollisionReader r;
        r.bits = bits.Get();
        r.pitch = sprite.m_surface->GetPitch();
        r.depth = sprite.m_surface->GetDepth();
        r.alphaOnly = r.depth == 32 && sprite.m_params.mode == PIM_DRAW_SOURCE_ALPHA;
        r.key = r.alphaOnly ? 0 : sprite.GetEffectiveKey();
        r.origin = CxPoint(sprite.m_frameRect.left + area.left - placed.left,
                           sprite.m_frameRect.top + area.top - placed.top);
        return r;
    };
    const CollisionReader own = reader(*this, ownBits, a, walk);
    const CollisionReader theirs = reader(other, otherBits, b, walk);
    const auto width = static_cast<int32_t>(walk.Width());
    const auto height = static_cast<int32_t>(walk.Height());
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (own.IsSolid(x, y) && theirs.IsSolid(x, y)) {
                if (where)
                    *where = CxPoint(walk.left + x - a.left, walk.top + y - a.top);
                return 1;
            }
        }
    }
    return 0;
}

CxDisplayObject* CxSprite::HitTest(CxPoint screenPoint, uint32_t mask)
{
    if (!m_pixelHit)
        return CxDisplayObject::HitTest(screenPoint, mask);
    if (!GetScreenExtent().Contains(screenPoint))
        return nullptr;
    const CxPoint inParent = m_parent ? m_parent->ScreenToLocal(screenPoint) : screenPoint;
    const bool ownPixel = ContainsPoint(inParent, true);
    // Where the picture is see-through a clipping sprite hides its children
    // too; one that does not clip lets them be hit but never answers itself.
    if (!ownPixel && (m_flags & PIM_DO_CLIP))
        return nullptr;
    CxDisplayObject* result = ownPixel && (mask & m_hitMask) == mask ? this : nullptr;
    HitTestChildren(screenPoint, mask, result);
    return result;
}

// --- drawing ---------------------------------------------------------------------------------

void CxSprite::ReportBadPicture()
{
    if (m_reportedBadPicture)
        return;
    m_reportedBadPicture = true;
    SetError(m_surface->GetError(), "Sprite '%s' cannot draw picture '%s' (error %d)", m_name.GetText(),
             m_surface->GetNameText(), m_surface->GetError());
}

void CxSprite::Draw(CxRenderTarget& target, const CxRect& clip)
{
    if (clip.IsEmpty())
        return;
    const CxRect local = CxRect::FromSize(CxPoint(), m_size);
    const CxRect area = (m_flags & PIM_DO_CLIP) ? clip : clip.Intersection(local);
    if (m_surface && !area.IsEmpty()) {
        if (m_surface->GetError() != PIM_OK) {
            ReportBadPicture();
        } else {
            RenderMovieFrame();
            if (IsStretched()) {
                // The clip mapped proportionally into the frame.
                const CxRect part = area.Intersection(local);
                const double fw = m_frameSize.width, fh = m_frameSize.height;
                const double w = m_size.width, h = m_size.height;
                const CxRect source(
                    m_frameRect.left + static_cast<int32_t>(fw * part.left / w + 0.5),
                    m_frameRect.top + static_cast<int32_t>(fh * part.top / h + 0.5),
                    m_frameRect.right + static_cast<int32_t>((part.right - w + 1) / w * fw - 0.5),
                    m_frameRect.bottom + static_cast<int32_t>((part.bottom - h + 1) / h * fh - 0.5));
                if (!part.IsEmpty() && !source.IsEmpty()) {
                    const CxRect destination = LocalToScreen(part);
                    m_surface->DrawOnto(target, &destination, &source, m_key, &m_params);
                }
            } else {
                const CxRect part = area.Intersection(CxRect::FromSize(CxPoint(), m_frameSize));
                if (!part.IsEmpty()) {
                    const CxRect source = part.Offset(m_frameRect.left, m_frameRect.top);
                    const CxRect destination = LocalToScreen(part);
                    m_surface->DrawOnto(target, &destination, &source, m_key, &m_params);
                }
            }
        }
    }
    // Children always appear above their parent's picture.
    DrawChildren(target, clip);
}

template <class DrawFn>
int CxSprite::WithFrame(int frame, const CxRect* sourceRect, DrawFn draw)
{
    // With the shown flag off, the temporary frame change marks nothing dirty.
    const uint32_t shown = m_flags & PIM_DO_SHOWN;
    m_flags &= ~PIM_DO_SHOWN;
    const int oldFrame = m_frame;
    if (frame != PIM_SPRITE_CURRENT_FRAME)
        SetFrame(frame);
    RenderMovieFrame();
    CxRect source = m_frameRect;
    if (sourceRect)
        source = sourceRect->Offset(m_frameRect.left, m_frameRect.top).Intersection(m_frameRect);
    const int code = source.IsEmpty() ? PIM_OK : draw(source);
    if (frame != PIM_SPRITE_CURRENT_FRAME)
        SetFrame(oldFrame);
    m_flags |= shown;
    return code;
}

int CxSprite::DrawFrameAt(CxDrawSurface& surface, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                          int frame)
{
    if (!m_surface)
        return PIM_OK;
    const uint32_t useKey = key == PIM_SPRITE_OWN_KEY ? m_key : key;
    return WithFrame(frame, sourceRect, [&](const CxRect& source) {
        return m_surface->BlitAt(surface, x, y, &source, useKey, &m_params);
    });
}

int CxSprite::DrawFrameInto(CxDrawSurface& surface, const CxRect* destinationRect, const CxRect* sourceRect,
                            uint32_t key, int frame)
{
    if (!m_surface)
        return PIM_OK;
    const uint32_t useKey = key == PIM_SPRITE_OWN_KEY ? m_key : key;
    return WithFrame(frame, sourceRect, [&](const CxRect& source) {
        const CxRect destination =
            destinationRect ? *destinationRect
                            : CxRect::FromSize(CxPoint(), CxSize(static_cast<int32_t>(source.Width()),
                                                                 static_cast<int32_t>(source.Height())));
        return m_surface->Blit(surface, &destination, &source, useKey, &m_params);
    });
}
