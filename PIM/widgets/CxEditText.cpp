// The input field. The text is kept as code points, so that every caret
// move, deletion and selection is an index operation; the UTF-8 form that
// GetText hands out and the shown form (stars, the visible part) are
// rebuilt from them after each change.

#include "PIM/widgets/CxEditText.h"

#include "PIM/core/PimClock.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimMessage.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kLineFeed = '\n';
constexpr uint32_t kPasswordChar = '*';
// Invalid UTF-8 bytes decode to 0xDC00 + the byte; they are written back as
// that byte, so a text survives the round trip unchanged.
constexpr uint32_t kRawByteBase = 0xDC00;

void AppendUtf8(CxString& out, uint32_t code)
{
    char bytes[4];
    int count = 0;
    if (code >= kRawByteBase + 0x80 && code <= kRawByteBase + 0xFF) {
        bytes[count++] = static_cast<char>(code - kRawByteBase);
    } else if (code < 0x80) {
        bytes[count++] = static_cast<char>(code);
    } else if (code < 0x800) {
        bytes[count++] = static_cast<char>(0xC0 | (code >> 6));
        bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes[count++] = static_cast<char>(0xE0 | (code >> 12));
        bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes[count++] = static_cast<char>(0xF0 | (code >> 18));
        bytes[count++] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
    }
    out.Append(bytes, count);
}

void Decode(const char* text, std::vector<uint32_t>& out)
{
    out.clear();
    if (!text)
        return;
    size_t left = std::strlen(text);
    while (left > 0) {
        uint32_t code = 0;
        const size_t length = PimUtf8Decode(text, left, &code);
        out.push_back(code);
        text += length;
        left -= length;
    }
}

uint32_t UpperAscii(uint32_t code)
{
    return code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
}

int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

CxEditText::CxEditText() : m_blinkTimer(this, PIM_CARET_BLINK_MS)
{
    m_hitMask = PIM_EDITTEXT_HIT_MASK;
    m_allowed.Reserve(126 - 32 + 1);
    for (char c = 32; c < 127; ++c)
        m_allowed.Append(c);
    m_caretSprite.SetName("caret");
}

CxEditText::~CxEditText()
{
    // The caret is a member: it must leave the tree while the field is whole.
    ForgetSelf();
    m_blinkTimer.Reset();
    m_caretSprite.Detach();
}

// --- text and settings ----------------------------------------------------------------------

void CxEditText::SetText(const char* text)
{
    Decode(text, m_codes);
    if (static_cast<int32_t>(m_codes.size()) > m_maxLength)
        m_codes.resize(static_cast<size_t>(m_maxLength));
    m_caret = static_cast<int32_t>(m_codes.size());
    ClearEditSelection();
    TextChanged();
    Refresh();
}

void CxEditText::TextChanged()
{
    m_editText = "";
    for (uint32_t code : m_codes)
        AppendUtf8(m_editText, code);
}

CxString CxEditText::GetSelectedText() const
{
    CxString out;
    if (!HasEditSelection())
        return out;
    for (int32_t i = m_selStart; i < m_selEnd; ++i)
        AppendUtf8(out, m_codes[static_cast<size_t>(i)]);
    return out;
}

void CxEditText::SetEditFlags(uint32_t flags)
{
    m_editFlags = flags;
    if (!(flags & PIM_EDIT_CARET))
        m_caretSprite.Hide();
    Refresh();
    RestartBlink();
}

void CxEditText::SetAllowedChars(const char* chars)
{
    m_allowed = chars ? chars : "";
}

bool CxEditText::IsAllowed(uint32_t code) const
{
    if (code == 0 || code >= 128)
        return false;
    return std::strchr(m_allowed.GetText(), static_cast<int>(code)) != nullptr;
}

void CxEditText::SetMaxLength(int32_t length)
{
    m_maxLength = Clamp(length, 0, PIM_EDIT_DEFAULT_MAX_LENGTH);
}

void CxEditText::SetMaxWidth(int32_t width)
{
    m_maxWidth = width < 0 ? 0 : width;
}

void CxEditText::SetCaretColour(uint32_t colour)
{
    m_caretColour = colour;
    m_caretHeight = 0; // rebuilt in the new colour
    UpdateCaretSprite();
}

void CxEditText::SetCaretPosition(int32_t position)
{
    MoveCaret(position, false);
    Refresh();
}

void CxEditText::Select(int32_t start, int32_t end)
{
    const int32_t length = GetLength();
    start = Clamp(start, 0, length);
    end = Clamp(end, 0, length);
    m_caret = end;
    if (start == end) {
        ClearEditSelection();
    } else {
        m_selStart = std::min(start, end);
        m_selEnd = std::max(start, end);
    }
    Refresh();
}

// --- editing ---------------------------------------------------------------------------------

int32_t CxEditText::SelectionAnchor() const
{
    return m_caret == m_selStart ? m_selEnd : m_selStart;
}

void CxEditText::MoveCaret(int32_t position, bool extend)
{
    position = Clamp(position, 0, GetLength());
    if (extend) {
        const int32_t anchor = HasEditSelection() ? SelectionAnchor() : m_caret;
        // An empty selection stays recorded until the next key clears it, so
        // that shift-moving back over the anchor keeps extending from it.
        m_selStart = std::min(anchor, position);
        m_selEnd = std::max(anchor, position);
    } else {
        ClearEditSelection();
    }
    m_caret = position;
}

bool CxEditText::DeleteRange(int32_t start, int32_t end)
{
    start = Clamp(start, 0, GetLength());
    end = Clamp(end, start, GetLength());
    if (start == end)
        return false;
    m_codes.erase(m_codes.begin() + start, m_codes.begin() + end);
    m_caret = start;
    ClearEditSelection();
    TextChanged();
    return true;
}

bool CxEditText::DeleteSelection()
{
    if (!HasEditSelection())
        return false;
    if (m_selStart == m_selEnd) {
        ClearEditSelection();
        return false;
    }
    return DeleteRange(m_selStart, m_selEnd);
}

bool CxEditText::InsertCode(uint32_t code, bool checkWidth)
{
    const bool replacing = HasEditSelection() && m_selStart < m_selEnd;
    const int32_t start = replacing ? m_selStart : m_caret;
    const int32_t end = replacing ? m_selEnd : m_caret;
    if (GetLength() - (end - start) >= m_maxLength)
        return false;
    std::vector<uint32_t> candidate(m_codes.begin(), m_codes.begin() + start);
    candidate.push_back(code);
    candidate.insert(candidate.end(), m_codes.begin() + end, m_codes.end());
    if (checkWidth && m_maxWidth > 0 && WidestLine(candidate) >= m_maxWidth)
        return false;
    m_codes.swap(candidate);
    m_caret = start + 1;
    ClearEditSelection();
    TextChanged();
    return true;
}

bool CxEditText::ApplyKey(uint32_t code, bool shift)
{
    switch (code) {
    case PIM_KEY_BACK:
        if (!DeleteSelection() && m_caret > 0)
            DeleteRange(m_caret - 1, m_caret);
        return true;
    case PIM_KEY_ENTER:
        if (!(m_editFlags & PIM_EDIT_MULTILINE))
            return false;
        InsertCode(kLineFeed, false);
        return true;
    case PIM_KEY_END:
        MoveCaret(GetLength(), shift);
        return true;
    case PIM_KEY_HOME:
        MoveCaret(0, shift);
        return true;
    case PIM_KEY_LEFT:
        MoveCaret(m_caret - 1, shift);
        return true;
    case PIM_KEY_RIGHT:
        MoveCaret(m_caret + 1, shift);
        return true;
    case PIM_KEY_DEL:
        if (!DeleteSelection() && m_caret < GetLength())
            DeleteRange(m_caret, m_caret + 1);
        return true;
    case PIM_KEY_TAB:
    case PIM_KEY_ESC:
        return false;
    default:
        break;
    }
    if (code >= 128)
        return true;
    // A whitelist written in capitals still takes lower-case typing in an
    // upper-casing field.
    const bool upper = (m_editFlags & PIM_EDIT_UPPERCASE) != 0;
    const uint32_t typed = upper ? UpperAscii(code) : code;
    if (IsAllowed(code) || IsAllowed(typed))
        InsertCode(typed, true);
    return true;
}

void CxEditText::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (!IsEnabled() || !(m_editFlags & PIM_EDIT_CARET)) {
        CxDrawText::OnKeyDown(key, flags);
        return;
    }
    if (m_selStart != PIM_NO_SELECTION && m_selStart == m_selEnd)
        ClearEditSelection();
    // Shift comes in the key code or, from the window, in the flags.
    const bool shift = ((key | flags) & PIM_KEY_SHIFT) != 0;
    const bool handled = ApplyKey(key & ~PIM_KEY_SHIFT, shift);
    const bool passOn = !handled || (m_editFlags & PIM_EDIT_PASS_KEYS);

    RestartBlink();
    Refresh();
    CxDisplayObject* parent = m_parent;
    if (parent)
        parent->OnNotify(PIM_NOTIFY_EDIT_KEY, this, static_cast<intptr_t>(key), 0);
    // Last: the parent's handler may delete this field.
    if (passOn && parent)
        parent->OnKeyDown(key, flags);
}

// --- layout ----------------------------------------------------------------------------------

uint32_t CxEditText::ShownCode(uint32_t code) const
{
    if ((m_editFlags & PIM_EDIT_PASSWORD) && code != kLineFeed)
        return kPasswordChar;
    return code;
}

int32_t CxEditText::Advance(CxFont& font, uint32_t code) const
{
    // What DrawText moves on by: nothing for the characters it skips or
    // breaks lines at, else the glyph plus the font's character spacing.
    if (code == kLineFeed || code == '\r' || code == '\t')
        return 0;
    return font.MeasureChar(ShownCode(code), m_pointSize) + font.GetSpacing().width;
}

void CxEditText::Offsets(const std::vector<uint32_t>& codes, std::vector<int32_t>& out) const
{
    out.assign(codes.size() + 1, 0);
    CxFont* font = GetFont();
    if (!font)
        return;
    for (size_t i = 0; i < codes.size(); ++i)
        out[i + 1] = out[i] + Advance(*font, codes[i]);
}

int32_t CxEditText::WidestLine(const std::vector<uint32_t>& codes) const
{
    std::vector<int32_t> offsets;
    Offsets(codes, offsets);
    int32_t widest = 0;
    size_t lineStart = 0;
    for (size_t i = 0; i <= codes.size(); ++i) {
        if (i == codes.size() || codes[i] == kLineFeed) {
            widest = std::max(widest, offsets[i] - offsets[lineStart]);
            lineStart = i + 1;
        }
    }
    return widest;
}

CxString CxEditText::ShownText(int32_t start, int32_t end) const
{
    CxString out;
    for (int32_t i = start; i < end; ++i)
        AppendUtf8(out, ShownCode(m_codes[static_cast<size_t>(i)]));
    return out;
}

int32_t CxEditText::LineHeight() const
{
    CxFont* font = GetFont();
    return font ? font->GetLineHeight(m_pointSize) : 0;
}

int32_t CxEditText::LinePitch() const
{
    CxFont* font = GetFont();
    return font ? font->GetLineHeight(m_pointSize) + font->GetSpacing().height : 0;
}

void CxEditText::LayOutLines(std::vector<ST_EDIT_LINE>& lines) const
{
    lines.clear();
    if (!(m_editFlags & PIM_EDIT_MULTILINE)) {
        lines.push_back(ST_EDIT_LINE{m_firstVisible, m_firstVisible + m_visibleCount});
        return;
    }
    CxFont* font = GetFont();
    const CxString shown = ShownText(0, GetLength());
    CxString laid = shown;
    if ((m_textFlags & PIM_TEXT_WRAP) && font) {
        int widest = 0, count = 0;
        laid = WrapText(shown.GetText(), TextRect(), font, m_pointSize, &widest, &count);
    }
    // The wrapped text is the shown text with line feeds put in: walk both,
    // telling the text's own line feeds from the inserted ones.
    std::vector<uint32_t> laidCodes;
    Decode(laid.GetText(), laidCodes);
    int32_t index = 0;
    int32_t lineStart = 0;
    const int32_t length = GetLength();
    for (uint32_t code : laidCodes) {
        if (code != kLineFeed) {
            index = std::min(index + 1, length);
            continue;
        }
        if (index < length && m_codes[static_cast<size_t>(index)] == kLineFeed) {
            lines.push_back(ST_EDIT_LINE{lineStart, index});
            lineStart = ++index;
        } else {
            lines.push_back(ST_EDIT_LINE{lineStart, index});
            lineStart = index;
        }
    }
    lines.push_back(ST_EDIT_LINE{lineStart, length});
}

void CxEditText::ScrollToCaret(const std::vector<int32_t>& offsets)
{
    const int32_t length = GetLength();
    if ((m_editFlags & PIM_EDIT_MULTILINE) || !(m_editFlags & PIM_EDIT_FIT_WIDTH)) {
        m_firstVisible = 0;
        m_visibleCount = length;
        return;
    }
    const int32_t room = std::max<int32_t>(0, static_cast<int32_t>(TextRect().Width()));
    auto width = [&](int32_t from, int32_t to) { return offsets[static_cast<size_t>(to)] - offsets[static_cast<size_t>(from)]; };
    int32_t first = Clamp(m_firstVisible, 0, m_caret);
    while (first < m_caret && width(first, m_caret) > room)
        ++first;
    // Room freed at the end (a deletion) shows more of the start again.
    while (first > 0 && width(first - 1, length) <= room)
        --first;
    int32_t last = first;
    while (last < length && width(first, last + 1) <= room)
        ++last;
    m_firstVisible = first;
    m_visibleCount = std::max(last, m_caret) - first;
}

void CxEditText::Layout()
{
    std::vector<int32_t> offsets;
    Offsets(m_codes, offsets);
    m_caret = Clamp(m_caret, 0, GetLength());
    ScrollToCaret(offsets);
    m_text = ShownText(m_firstVisible, m_firstVisible + m_visibleCount);
    if (HasEditSelection()) {
        m_selection.start = m_selStart - m_firstVisible;
        m_selection.end = m_selEnd - m_firstVisible;
    } else {
        m_selection.start = m_selection.end = PIM_NO_SELECTION;
    }
    m_dirty = true;
    m_laidOutFont = GetFont();
    m_laidOutWidth = m_size.width;
    m_laidOutPointSize = m_pointSize;
    m_laidOutTextFlags = m_textFlags;

    std::vector<ST_EDIT_LINE> lines;
    LayOutLines(lines);
    size_t line = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].start <= m_caret)
            line = i;
    }
    const int32_t lineStart = Clamp(lines[line].start, 0, m_caret);
    m_caretPoint = CxPoint(offsets[static_cast<size_t>(m_caret)] - offsets[static_cast<size_t>(lineStart)] +
                               m_caretOffset.x,
                           m_caretOffset.y + static_cast<int32_t>(line) * LinePitch());
    UpdateCaretSprite();
}

bool CxEditText::IsLaidOut() const
{
    return GetFont() == m_laidOutFont && m_size.width == m_laidOutWidth && m_pointSize == m_laidOutPointSize &&
           m_textFlags == m_laidOutTextFlags;
}

void CxEditText::Refresh()
{
    Layout();
    Invalidate();
}

int32_t CxEditText::PositionAt(CxPoint point) const
{
    std::vector<int32_t> offsets;
    Offsets(m_codes, offsets);
    std::vector<ST_EDIT_LINE> lines;
    LayOutLines(lines);
    int32_t line = 0;
    const int32_t pitch = LinePitch();
    if (pitch > 0)
        line = Clamp((point.y - m_caretOffset.y) / pitch, 0, static_cast<int32_t>(lines.size()) - 1);
    const int32_t length = GetLength();
    const int32_t start = Clamp(lines[static_cast<size_t>(line)].start, 0, length);
    const int32_t end = Clamp(lines[static_cast<size_t>(line)].end, start, length);
    const int32_t base = offsets[static_cast<size_t>(start)];
    int32_t best = start;
    int32_t bestDistance = INT32_MAX;
    for (int32_t i = start; i <= end; ++i) {
        const int32_t distance = std::abs(offsets[static_cast<size_t>(i)] - base + m_caretOffset.x - point.x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// --- the caret -------------------------------------------------------------------------------

void CxEditText::BuildCaretPicture()
{
    const int32_t height = LineHeight();
    if (height <= 0 || (height == m_caretHeight && m_caretSprite.GetSurface()))
        return;
    CxDrawSurface* surface = CreateDrawSurface();
    if (!surface || surface->Create(4, height, 8) != PIM_OK) {
        delete surface;
        SetError(PIM_ERR_OUT_OF_MEMORY, "Could not make the caret of edit field '%s'", m_name.GetText());
        return;
    }
    uint32_t colour = FontColourToPixel(*surface, m_caretColour);
    // The caret's colour must not be the key, or the caret would never show.
    if (colour == PIM_CARET_KEY)
        colour = PIM_CARET_KEY + 1;
    surface->FillRect(CxRect(0, 0, 1, height - 1), colour);
    surface->FillRect(CxRect(2, 0, 3, height - 1), PIM_CARET_KEY);
    surface->SetTransparentColour(PIM_CARET_KEY);
    const bool shown = m_caretSprite.IsShown();
    m_caretSprite.Hide();
    if (m_caretSprite.SetSurface(surface, 2) != PIM_OK)
        return;
    m_caretSprite.Create(m_caretPoint.x, m_caretPoint.y, 2, height, this);
    m_caretSprite.SetZ(PIM_Z_FRONT);
    m_caretHeight = height;
    if (shown)
        m_caretSprite.Show();
}

void CxEditText::UpdateCaretSprite()
{
    BuildCaretPicture();
    if (!m_caretSprite.GetSurface())
        return;
    if (m_caretSprite.GetPosition() != m_caretPoint)
        m_caretSprite.MoveTo(m_caretPoint);
    const bool wanted = (m_editFlags & PIM_EDIT_CARET) && HasFocus();
    if (wanted && !m_caretSprite.IsShown())
        m_caretSprite.Show();
    else if (!wanted && m_caretSprite.IsShown())
        m_caretSprite.Hide();
}

void CxEditText::RestartBlink()
{
    // Typing or clicking shows the caret at once, a full period before it blinks.
    m_blinkStart = PimGetTicks();
    m_caretSprite.SetFrame(0);
}

void CxEditText::OnTimer(CxTimerCallBack* timer)
{
    if (timer != &m_blinkTimer)
        return;
    if (!HasFocus()) {
        m_blinkTimer.Reset();
        UpdateCaretSprite();
        return;
    }
    m_caretSprite.SetFrame(static_cast<int>(((PimGetTicks() - m_blinkStart) / PIM_CARET_BLINK_MS) & 1u));
}

void CxEditText::OnSetFocus()
{
    RestartBlink();
    m_blinkTimer.Start(0);
    UpdateCaretSprite();
    CxDrawText::OnSetFocus();
}

void CxEditText::OnKillFocus()
{
    m_blinkTimer.Reset();
    m_dragging = false;
    UpdateCaretSprite();
    CxDrawText::OnKillFocus();
}

// --- drawing and the mouse --------------------------------------------------------------------

void CxEditText::Draw(CxRenderTarget& target, const CxRect& clip)
{
    // A font or size changed since the last layout moves the caret and the
    // visible part; a redraw it causes is kept for the next frame.
    if (!IsLaidOut())
        Layout();
    CxDrawText::Draw(target, clip);
}

void CxEditText::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (!IsEnabled()) {
        CxDrawText::OnLButtonDown(buttons, point);
        return;
    }
    if (!HasFocus())
        SetFocus();
    MoveCaret(PositionAt(point), (buttons & PIM_MK_SHIFT) != 0);
    m_dragging = true;
    RestartBlink();
    Refresh();
}

void CxEditText::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    if (!m_dragging) {
        CxDrawText::OnLButtonUp(buttons, point);
        return;
    }
    m_dragging = false;
    const int32_t position = PositionAt(point);
    if (position != m_caret) {
        MoveCaret(position, true);
        Refresh();
    }
}

void CxEditText::OnMouseMove(uint32_t buttons, CxPoint point)
{
    // Not handed on: the parent would put its own cursor back.
    SetCursor(PIM_CURSOR_TEXT);
    if (!m_dragging)
        return;
    if (!(buttons & PIM_MK_LBUTTON)) {
        m_dragging = false;
        return;
    }
    const int32_t position = PositionAt(point);
    if (position != m_caret) {
        MoveCaret(position, true);
        Refresh();
    }
}
