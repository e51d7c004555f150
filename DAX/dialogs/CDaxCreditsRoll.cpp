#include "DAX/dialogs/CDaxCreditsRoll.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/PimText.h"

#include <cstring>

namespace {

constexpr int kTabWidth = 4;
constexpr int32_t kMaxStep = 10000;
constexpr int32_t kMaxPeriod = 10000;
constexpr int32_t kMinSpacing = 1 - DAX_CREDITS_LINE_HEIGHT;
constexpr int32_t kMaxSpacing = 1000;
constexpr int32_t kMaxPointSize = 512;
constexpr size_t kNameSize = 256;

bool IsDropped(char c)
{
    return c == '\r' || c == '\0';
}

bool IsContinuation(char c)
{
    return (static_cast<uint8_t>(c) & 0xC0) == 0x80;
}

// The one place the text is cut into lines: at line feeds, and after
// `maxLength` kept bytes (never inside a UTF-8 character, unless the whole
// piece is continuation bytes). `emit` gets each line's raw bytes, dropped
// ones still in; it answers false to stop.
template <class Emit>
void CutLines(const char* text, size_t size, int maxLength, Emit emit)
{
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && text[end] != '\n')
            ++end;
        size_t from = at;
        do {
            size_t cut = from;
            for (int kept = 0; cut < end && kept < maxLength; ++cut)
                if (!IsDropped(text[cut]))
                    ++kept;
            if (cut < end) {
                size_t back = cut;
                while (back > from && IsContinuation(text[back]))
                    --back;
                if (back > from)
                    cut = back;
            }
            if (!emit(text + from, cut - from))
                return;
            from = cut;
        } while (from < end);
        at = end + 1;
    }
}

// The bytes a raw line takes once cleaned and its tabs expanded.
size_t CleanedLength(const char* raw, size_t length)
{
    size_t bytes = 0;
    for (size_t i = 0; i < length; ++i)
        bytes += raw[i] == '\t' ? kTabWidth : (IsDropped(raw[i]) ? 0 : 1);
    return bytes;
}

int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

// `value` put into low..high, traced when it had to be.
void Keep(int32_t& value, int32_t low, int32_t high, const char* key)
{
    const int32_t kept = Clamp(value, low, high);
    if (kept != value)
        Trace("Credits: %s %d is outside %d..%d; %d is used\n", key, value, low, high, kept);
    value = kept;
}

// A step or period that would never move the roll (or would spin) takes the default.
void Positive(int32_t& value, int32_t fallback, int32_t high, const char* key)
{
    if (value <= 0) {
        Trace("Credits: %s %d must be above 0; %d is used\n", key, value, fallback);
        value = fallback;
    }
    Keep(value, 1, high, key);
}

CxString ReadName(CxOptions& options, const char* section, const char* key)
{
    char text[kNameSize] = {};
    options.GetString(section, key, text, "", static_cast<int>(sizeof text));
    return CxString(text);
}

// "r, g, b" as 0x00RRGGBB; anything else is no colour (the font's own).
uint32_t ReadColour(CxOptions& options, const char* section)
{
    if (!options.FindVariable(section, "FontColor"))
        return PIM_NO_COLOUR;
    CxOptions::IntList values;
    options.GetIntList(section, "FontColor", &values);
    if (values.GetCount() != 3) {
        Trace("Credits: FontColor wants \"red, green, blue\"; the font's own colours are used\n");
        return PIM_NO_COLOUR;
    }
    uint32_t colour = 0;
    for (auto* node = values.GetFirst(); node; node = node->GetNext())
        colour = colour << 8 | static_cast<uint32_t>(Clamp(node->GetElement(), 0, 255));
    return colour;
}

int BytesPerPixel(int depth)
{
    return depth / 8;
}

} // namespace

// --- configuration ---------------------------------------------------------------------------

ST_CREDITS_SETTINGS CDaxCreditsRoll::ReadSettings(CxOptions& options, const char* section)
{
    ST_CREDITS_SETTINGS s;
    options.GetInt(section, "ScrollPixelsPerInterval", &s.scrollPixels, s.scrollPixels);
    options.GetInt(section, "ScrollTimeInterval", &s.scrollPeriod, s.scrollPeriod);
    options.GetInt(section, "TextSpacing", &s.textSpacing, s.textSpacing);
    options.GetInt(section, "Depth", &s.depth, s.depth);
    options.GetInt(section, "FontPointSize", &s.pointSize, s.pointSize);
    s.fontColour = ReadColour(options, section);
    s.background = ReadName(options, section, "Background");
    s.font = ReadName(options, section, "Font");
    s.textFile = ReadName(options, section, "TextFile");
    s.logos[0] = ReadName(options, section, "Logo1");
    s.logos[1] = ReadName(options, section, "Logo2");
    s.masks[0] = ReadName(options, section, "Mask1");
    s.masks[1] = ReadName(options, section, "Mask2");
    CxPoint& first = s.maskPositions[0];
    CxPoint& second = s.maskPositions[1];
    options.GetPoint(section, "Mask1Position", &first.x, &first.y, 0, 0);
    // The second overlay sits on the first unless told otherwise.
    const CxPoint fallback = s.masks[0].IsEmpty() ? CxPoint() : first;
    options.GetPoint(section, "Mask2Position", &second.x, &second.y, fallback.x, fallback.y);
    CheckSettings(s);
    return s;
}

void CDaxCreditsRoll::CheckSettings(ST_CREDITS_SETTINGS& s)
{
    const ST_CREDITS_SETTINGS defaults;
    Positive(s.scrollPixels, defaults.scrollPixels, kMaxStep, "ScrollPixelsPerInterval");
    Positive(s.scrollPeriod, defaults.scrollPeriod, kMaxPeriod, "ScrollTimeInterval");
    Keep(s.textSpacing, kMinSpacing, kMaxSpacing, "TextSpacing");
    const int depth = ValidDepth(s.depth);
    if (depth != s.depth)
        Trace("Credits: Depth %d is no picture depth; %d is used\n", s.depth, depth);
    s.depth = depth;
    Keep(s.pointSize, 0, kMaxPointSize, "FontPointSize");
    Keep(s.maxLineLength, 1, DAX_CREDITS_MAX_LINE_LENGTH, "line length");
}

int CDaxCreditsRoll::ValidDepth(int depth)
{
    return depth == 8 || depth == 16 || depth == 24 || depth == 32 ? depth : 16;
}

// --- the text --------------------------------------------------------------------------------

void CDaxCreditsRoll::ClearText()
{
    m_text.Release();
    m_starts.Clear();
    m_widths.Clear();
    m_lineCount = 0;
    m_linesCut = 0;
}

int CDaxCreditsRoll::SetText(const char* text, size_t size, int maxLineLength)
{
    ClearText();
    if (!text || size == 0)
        return PIM_OK;
    maxLineLength = Clamp(maxLineLength, 1, DAX_CREDITS_MAX_LINE_LENGTH);

    // First the room the kept lines need, then the lines themselves.
    size_t bytes = 0;
    int64_t lines = 0;
    CutLines(text, size, maxLineLength, [&](const char* raw, size_t length) {
        if (lines < DAX_CREDITS_MAX_LINES)
            bytes += CleanedLength(raw, length) + 1;
        ++lines;
        return true;
    });
    const int32_t kept = static_cast<int32_t>(lines < DAX_CREDITS_MAX_LINES ? lines : DAX_CREDITS_MAX_LINES);
    if (!m_text.Resize(bytes) || !m_starts.Resize(static_cast<size_t>(kept))) {
        ClearText();
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate %zu bytes for the credits text", bytes);
    }

    char* out = reinterpret_cast<char*>(m_text.GetData());
    size_t at = 0;
    int32_t index = 0;
    CutLines(text, size, maxLineLength, [&](const char* raw, size_t length) {
        *m_starts.Get(static_cast<size_t>(index)) = static_cast<uint32_t>(at);
        for (size_t i = 0; i < length; ++i) {
            if (raw[i] == '\t') {
                std::memset(out + at, ' ', kTabWidth);
                at += kTabWidth;
            } else if (!IsDropped(raw[i])) {
                out[at++] = raw[i];
            }
        }
        out[at++] = '\0';
        return ++index < kept;
    });
    m_lineCount = kept;
    if (lines > kept) {
        m_linesCut = static_cast<int32_t>(lines - kept);
        Trace("Credits: the text has %lld lines; the first %d are shown\n", static_cast<long long>(lines), kept);
    }
    return PIM_OK;
}

int CDaxCreditsRoll::LoadText(const char* fileName, int maxLineLength)
{
    ClearText();
    CxFile file;
    const int opened = file.Open(fileName, CBF_BINARY | CBF_READONLY);
    if (opened != PIM_OK)
        return opened;
    const int64_t size = file.Size();
    if (size <= 0)
        return PIM_OK;
    if (size > DAX_CREDITS_MAX_FILE_BYTES)
        Trace("Credits: only the first %u bytes of %s are read\n", DAX_CREDITS_MAX_FILE_BYTES, fileName);
    CxBuffer buffer;
    const size_t wanted = static_cast<size_t>(size < DAX_CREDITS_MAX_FILE_BYTES ? size : DAX_CREDITS_MAX_FILE_BYTES);
    if (!buffer.Resize(wanted))
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate %zu bytes to read %s", wanted, fileName);
    size_t got = 0;
    const int read = file.Read(buffer.GetData(), wanted, &got);
    if (read != PIM_OK)
        return read;
    return SetText(reinterpret_cast<const char*>(buffer.GetData()), got, maxLineLength);
}

const char* CDaxCreditsRoll::GetLine(int32_t index) const
{
    if (index < 0 || index >= m_lineCount)
        return "";
    return reinterpret_cast<const char*>(m_text.GetData()) + *m_starts.Get(static_cast<size_t>(index));
}

// --- the picture -----------------------------------------------------------------------------

ST_CREDITS_LAYOUT CDaxCreditsRoll::ComputeLayout(const int32_t* widths, int32_t count, int32_t spacing, int depth)
{
    ST_CREDITS_LAYOUT layout;
    layout.depth = ValidDepth(depth);
    layout.linePitch = DAX_CREDITS_LINE_HEIGHT + Clamp(spacing, kMinSpacing, kMaxSpacing);
    count = widths ? Clamp(count, 0, DAX_CREDITS_MAX_LINES) : 0;
    int32_t widest = 0;
    for (int32_t i = 0; i < count; ++i)
        widest = widths[i] > widest ? widths[i] : widest;
    layout.widestLine = widest;
    layout.width = widest > DAX_CREDITS_MAX_WIDTH - DAX_CREDITS_EXTRA_WIDTH ? DAX_CREDITS_MAX_WIDTH
                                                                           : widest + DAX_CREDITS_EXTRA_WIDTH;
    // The byte budget decides how many lines a picture this wide and deep holds.
    const int64_t rowBytes = int64_t{layout.width} * BytesPerPixel(layout.depth);
    const int64_t rows = DAX_CREDITS_MAX_PICTURE_BYTES / rowBytes;
    const int64_t fit = (rows - DAX_CREDITS_EXTRA_HEIGHT) / layout.linePitch;
    layout.lineCount = fit < count ? static_cast<int32_t>(fit) : count;
    layout.height = layout.lineCount * layout.linePitch + DAX_CREDITS_EXTRA_HEIGHT;
    return layout;
}

ST_CREDITS_LAYOUT CDaxCreditsRoll::Measure(CxFont* font, int pointSize, int32_t spacing, int depth)
{
    if (!m_widths.Resize(static_cast<size_t>(m_lineCount))) {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate the widths of %d credits lines", m_lineCount);
        return ComputeLayout(nullptr, 0, spacing, depth);
    }
    for (int32_t i = 0; i < m_lineCount; ++i)
        *m_widths.Get(static_cast<size_t>(i)) = MeasureTextBlock(GetLine(i), font, pointSize, nullptr);
    const ST_CREDITS_LAYOUT layout = ComputeLayout(m_widths.GetData(), m_lineCount, spacing, depth);
    if (layout.lineCount < m_lineCount)
        Trace("Credits: a picture %d wide holds %d of the %d lines\n", layout.width, layout.lineCount, m_lineCount);
    return layout;
}

int CDaxCreditsRoll::DrawLines(CxDrawSurface& target, const ST_CREDITS_LAYOUT& layout, CxFont* font, int pointSize,
                               uint32_t colour) const
{
    const uint32_t flags = target.GetDepth() == 32 ? DAX_CREDITS_TEXT_FLAGS_32 : DAX_CREDITS_TEXT_FLAGS;
    const int32_t count = layout.lineCount < m_lineCount ? layout.lineCount : m_lineCount;
    int result = PIM_OK;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t top = int64_t{i} * layout.linePitch;
        if (top >= target.GetHeight())
            break;
        const char* line = GetLine(i);
        if (!*line)
            continue;
        const int32_t y = static_cast<int32_t>(top);
        const CxRect rect(0, y, layout.width - 1, y + DAX_CREDITS_LINE_HEIGHT - 1);
        const int code = DrawText(target, rect, colour, line, flags, pointSize, font, PIM_FONT_OWN_KEY,
                                  PIM_NO_COLOUR, nullptr);
        if (result == PIM_OK)
            result = code;
    }
    return result;
}

CxDrawSurface* CDaxCreditsRoll::CreatePicture(const ST_CREDITS_LAYOUT& layout, CxFont* font, int pointSize,
                                              uint32_t colour) const
{
    CxDrawSurface* surface = CreateDrawSurface();
    if (!surface) {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxDrawSurface for the credits");
        return nullptr;
    }
    // The bits come with the first lock: had here, so that a picture too
    // big for the memory left is known before anything is drawn into it.
    // The layout's caps keep the size valid, so what fails here is the
    // memory, which the surface has reported (error 1).
    if (surface->Create(layout.width, layout.height, ValidDepth(layout.depth)) != PIM_OK || !surface->LockBits()) {
        Trace("Credits: no %d x %d picture for the text; the roll runs without it\n", layout.width, layout.height);
        delete surface;
        return nullptr;
    }
    const uint32_t fill = surface->GetDepth() == 32 ? 0 : surface->MakeColour(255, 0, 255);
    surface->FillRect(surface->GetRect(), fill);
    DrawLines(*surface, layout, font, pointSize, colour);
    surface->UnlockBits();
    return surface;
}

// --- scrolling -------------------------------------------------------------------------------

bool CDaxCreditsRoll::NextScrollTop(int32_t top, int32_t step, int32_t height, int32_t& next)
{
    const int64_t moved = int64_t{top} - step;
    if (moved <= -int64_t{height})
        return false;
    next = static_cast<int32_t>(moved);
    return true;
}
