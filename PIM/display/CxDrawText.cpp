// A sprite that shows a text: rendered into its own surface when dirty, then
// drawn as any sprite picture. Rendering only on change keeps a screen full
// of labels as cheap to redraw as a screen full of pictures.

#include "PIM/display/CxDrawText.h"

#include "PIM/display/CxOffsetTarget.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"

namespace {

// Twelve bits, as the settings are stored in the object's packed state.
constexpr int kTwelveBits = 0xFFF;

// The key a background-less text is cleared to; unlikely to be a text colour.
constexpr uint32_t kClearKeyRgb = 0x00FF00FF;

} // namespace

CxDrawText::CxDrawText()
{
    m_hitMask = PIM_DRAWTEXT_HIT_MASK;
}

CxDrawText::~CxDrawText() = default;

// --- settings --------------------------------------------------------------------------------

void CxDrawText::Changed()
{
    m_dirty = true;
    Invalidate();
}

void CxDrawText::SetText(const char* text)
{
    m_text = text ? text : "";
    Changed();
}

void CxDrawText::SetFont(intptr_t handle)
{
    m_fontHandle = handle;
    Changed();
}

CxFont* CxDrawText::GetFont() const
{
    // Looked up each time: a font deleted behind our back is never touched.
    return FindFont(m_fontHandle);
}

void CxDrawText::SetColour(uint32_t colour)
{
    m_colour = colour;
    Changed();
}

void CxDrawText::SetBackground(uint32_t colour)
{
    m_background = colour;
    Changed();
}

void CxDrawText::SetBackgroundHandling(bool on)
{
    m_backgroundOn = on;
    Changed();
}

void CxDrawText::SetShadowColour(uint32_t colour)
{
    m_shadowColour = colour;
    Changed();
}

void CxDrawText::SetTextFlags(uint32_t flags)
{
    m_textFlags = flags;
    Changed();
}

void CxDrawText::SetPointSize(int size)
{
    m_pointSize = static_cast<int16_t>(size < 0 ? 0 : size & kTwelveBits);
    Changed();
}

void CxDrawText::SetSurfaceDepth(int depth)
{
    m_surfaceDepth = static_cast<int16_t>(depth < 0 ? PIM_DRAWTEXT_DISPLAY_DEPTH : depth & kTwelveBits);
    Changed();
}

void CxDrawText::SetSelection(int32_t start, int32_t end, uint32_t textColour, uint32_t backgroundColour)
{
    m_selection.start = start;
    m_selection.end = start == PIM_NO_SELECTION ? PIM_NO_SELECTION : end;
    m_selection.textColour = textColour;
    m_selection.backgroundColour = backgroundColour;
    Changed();
}

// --- drawing ---------------------------------------------------------------------------------

int CxDrawText::EffectiveDepth() const
{
    return m_surfaceDepth < 0 ? GetDisplayDepth() : m_surfaceDepth;
}

uint32_t CxDrawText::SurfaceColour(uint32_t rgb) const
{
    return FontColourToPixel(*m_surface, rgb);
}

bool CxDrawText::PrepareSurface()
{
    const int depth = EffectiveDepth();
    if (m_surface && !m_shared && !m_movie && m_surface->GetSize() == m_size && m_surface->GetDepth() == depth)
        return true;
    // Called while the screen is being redrawn: replacing the picture must
    // not mark the area dirty again, or it would be redrawn next frame too.
    const uint32_t shown = m_flags & PIM_DO_SHOWN;
    m_flags &= ~PIM_DO_SHOWN;
    const int code = CreateSurface(m_size.width, m_size.height, depth);
    m_flags |= shown;
    return code == PIM_OK && m_surface;
}

void CxDrawText::ClearToKey()
{
    // Filled as a pixel value, compared as a key: 24-bit surfaces order the two differently.
    m_surface->FillRect(m_surface->GetRect(), SurfaceColour(kClearKeyRgb));
    m_surface->SetTransparentColour(FontColourToDrawArgument(*m_surface, kClearKeyRgb));
}

bool CxDrawText::CopyBackground(CxRenderTarget& target, const CxRect& clip)
{
    CxDrawSurface* source = dynamic_cast<CxDrawSurface*>(&target);
    CxPoint origin;
    if (!source) {
        if (auto* offset = dynamic_cast<CxOffsetTarget*>(&target)) {
            source = &offset->GetSurface();
            origin = offset->GetOrigin();
        }
    }
    if (!source) {
        // Nothing readable now, nor later: a plain background is the best there is.
        m_surface->FillRect(m_surface->GetRect(), 0);
        return true;
    }
    // Outside the clip the target still holds the previous frame (this text
    // included), so only the clipped part is a true picture of what lies beneath.
    const CxRect whole = CxRect::FromSize(CxPoint(), m_size);
    const CxRect part = clip.Intersection(whole);
    const CxRect wanted = LocalToScreen(part).Offset(-origin.x, -origin.y);
    const CxRect readable = wanted.Intersection(source->GetRect());
    if (readable.IsEmpty())
        return false;
    const CxPoint at(part.left + readable.left - wanted.left, part.top + readable.top - wanted.top);
    // Raw pixels only between identical formats: a 5-6-5 screen copied into
    // a 5-5-5 picture would come back in the wrong colours.
    if (source->GetDepth() == m_surface->GetDepth() && source->GetPixelLayout() == m_surface->GetPixelLayout())
        CopyPixels(*source, readable, *m_surface, at);
    else
        source->BlitAt(*m_surface, at.x, at.y, &readable, PIM_NO_KEY, nullptr);
    return readable.Width() == whole.Width() && readable.Height() == whole.Height();
}

void CxDrawText::Draw(CxRenderTarget& target, const CxRect& clip)
{
    CxFont* font = GetFont();
    if (font && !m_size.IsEmpty() && !clip.IsEmpty()) {
        const bool reshaped = !m_surface || m_surface->GetSize() != m_size || m_surface->GetDepth() != EffectiveDepth();
        if ((m_dirty || reshaped) && PrepareSurface()) {
            bool complete = true;
            if (!m_backgroundOn) {
                ClearToKey();
            } else {
                m_surface->SetTransparentColour(PIM_NO_KEY);
                if (m_background != PIM_NO_COLOUR)
                    m_surface->FillRect(m_surface->GetRect(), SurfaceColour(m_background));
                else
                    complete = CopyBackground(target, clip);
            }
            DrawText(*m_surface, TextRect(), m_colour, m_text.GetText(), m_textFlags, m_pointSize, font,
                     PIM_FONT_OWN_KEY, m_shadowColour, HasSelection() ? &m_selection : nullptr);
            m_dirty = !complete;
        }
    }
    CxSprite::Draw(target, clip);
}
