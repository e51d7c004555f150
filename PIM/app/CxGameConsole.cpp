#include "PIM/app/CxGameConsole.h"

#include "PIM/core/CxThread.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/CxOptions.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/text/CxFont.h"

#include <algorithm>
#include <cstring>

namespace {

// Palette entries of the console's colours (the default palette's system
// colours: black, dark blue and white).
constexpr int kInk = 0;
constexpr int kSelectionBackground = 4;
constexpr int kPaper = 255;
// Light grey, for the arrows of a disabled button (the fill is mid grey).
constexpr uint32_t kDisabledInk = 7;

// The layout: a 5-pixel margin round the panel, 4 pixels between the parts.
constexpr int32_t kMargin = 5;
constexpr int32_t kListWidthLess = 30;
constexpr int32_t kListHeightLess = 33;
constexpr int32_t kEditHeight = 20;
constexpr int32_t kEditBottomInset = 6;
constexpr int32_t kBarWidth = 16;
constexpr int32_t kBarRightInset = 6;

constexpr uint32_t kEditTextFlags = 0x21;
// Every printable ASCII character: letters, digits, the blank and the
// punctuation a Lua line needs; control and non-ASCII codes are refused.
constexpr const char* kAllowedChars = "abcdefghijklmnopqrstuvwxyz"
                                      "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                      "0123456789"
                                      " \"!#$&%'()*,+-./:;<=>?@[\\]^_{|}~`";

uint32_t PaletteRgb(int index)
{
    const ST_RGB& c = DefaultPalette()[index];
    return (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | uint32_t{c.blue};
}

int ReadLimit(CxOptions& options, const char* key)
{
    // A limit of 0 would leave no room for the line being added.
    return std::max(1, options.GetInt(PIM_CONSOLE_SECTION, key, CxGameConsole::kDefaultHistory));
}

// The value cut to the alias limit, never inside a UTF-8 character.
std::string CutAlias(const char* value, int valueLength)
{
    int length = std::min(valueLength, CxGameConsole::kMaxAliasLength);
    if (length < valueLength)
        while (length > 0 && (static_cast<unsigned char>(value[length]) & 0xC0) == 0x80)
            --length;
    return std::string(value, static_cast<size_t>(length));
}

void DrawBevel(CxDrawSurface& picture, const CxRect& frame, uint32_t topLeft, uint32_t bottomRight)
{
    picture.DrawLine(frame.left, frame.top, frame.right, frame.top, topLeft);
    picture.DrawLine(frame.left, frame.top, frame.left, frame.bottom, topLeft);
    picture.DrawLine(frame.left, frame.bottom, frame.right, frame.bottom, bottomRight);
    picture.DrawLine(frame.right, frame.top, frame.right, frame.bottom, bottomRight);
}

// A square scroll-bar button of five frames with an arrow up or down; the
// checked and pressed frames are sunken with the arrow a pixel further in.
CxDrawSurface* CreateArrowButton(int32_t size, bool up)
{
    CxDrawSurface* picture = CreateCommonPicture(size, size, PIM_BUTTON_STATE_COUNT, false);
    if (!picture)
        return nullptr;
    for (int state = 0; state < PIM_BUTTON_STATE_COUNT; ++state)
    {
        const int32_t left = state * size;
        const bool sunken = state == PIM_BUTTON_CHECKED || state == PIM_BUTTON_PRESSED;
        if (sunken)
            DrawBevel(*picture, CxRect(left, 0, left + size - 1, size - 1), PIM_COMMON_DARK, PIM_COMMON_LIGHT);
        const int32_t shift = sunken ? 1 : 0;
        const uint32_t ink = state == PIM_BUTTON_DISABLED ? kDisabledInk : PIM_COMMON_DARK;
        const int32_t middle = left + size / 2 + shift;
        for (int32_t row = 0; row < 4; ++row)
        {
            const int32_t y = (up ? size / 2 - 2 + row : size / 2 + 1 - row) + shift;
            picture->DrawLine(middle - 1 - row, y, middle + row, y, ink);
        }
    }
    return picture;
}

// Hands a new picture to `install`; the picture is freed when refused.
template <class F>
int InstallPicture(CxDrawSurface* picture, F install)
{
    if (!picture)
        return PIM_ERR_OUT_OF_MEMORY;
    const int result = install(picture);
    if (result != PIM_OK)
        delete picture;
    return result;
}

} // namespace

CxGameConsole::CxGameConsole()
{
    SetName("console");
    m_list.SetName("console output");
    m_edit.SetName("console input");
    m_bar.SetName("console scroll bar");
}

CxGameConsole::~CxGameConsole()
{
    if (m_listening)
        RemoveTraceListener(&CxGameConsole::TraceListener, this);
    // The focus must not be handed on to one of our own parts, which go next.
    CxDisplayObject* focus = GetFocusObject();
    if (focus && focus->IsDescendantOf(this))
    {
        CxDisplayObject* back = GetPreviousFocusObject();
        SetFocusObject(back && !back->IsDescendantOf(this) ? back : nullptr);
    }
    ForgetSelf();
}

// --- building ---------------------------------------------------------------------------------

int CxGameConsole::Create(int32_t width, int32_t height, CxOptions& options, CxDisplayObject* parent)
{
    if (m_created)
        return SetError(PIM_ERR_BAD_ARG, "The command console is already created");
    width = std::max(width, kMinWidth);
    height = std::max(height, kMinHeight);
    m_options = &options;
    m_maxOutput = ReadLimit(options, "MaxOutputHistory");
    m_maxCommands = ReadLimit(options, "MaxCommandHistory");

    int result = CreateDialog(width, height, parent);
    if (result != PIM_OK)
        return result;
    // From here on the panel is in the tree: a second Create is refused even
    // when building the parts fails.
    m_created = true;
    // Over the game's own objects while it is up.
    SetZ(PIM_Z_FRONT);
    if ((result = BuildOutputList(width, height)) != PIM_OK || (result = BuildEditLine(width, height)) != PIM_OK ||
        (result = BuildScrollBar(width, height)) != PIM_OK)
        return SetError(result, "Could not build the command console");
    ScrollToEnd();
    AddTraceListener(&CxGameConsole::TraceListener, this);
    m_listening = true;
    return PIM_OK;
}

int CxGameConsole::BuildOutputList(int32_t width, int32_t height)
{
    const int32_t listWidth = width - kListWidthLess;
    const int32_t listHeight = height - kListHeightLess;
    // A sunken white well, so that the rows' 2-pixel border shows as a frame.
    CxDrawSurface* well = CreateCommonPicture(listWidth, listHeight, 1, true);
    if (well && listWidth > 2 && listHeight > 2)
        well->FillRect(CxRect(1, 1, listWidth - 2, listHeight - 2), kPaper);
    const int result = InstallPicture(well, [this](CxDrawSurface* p) { return m_list.SetSurface(p); });
    if (result != PIM_OK)
        return result;
    m_list.Create(kMargin, kMargin, listWidth, listHeight, this);
    CxFont* font = GetDefaultFont();
    m_list.SetFont(PIM_DEFAULT_FONT);
    m_list.SetRowHeight(font ? font->GetNativeSize() : PIM_TEXTLIST_DEFAULT_ROW_HEIGHT);
    m_list.SetColours(PaletteRgb(kInk), PaletteRgb(kPaper));
    m_list.SetSelectionColours(PaletteRgb(kPaper), PaletteRgb(kSelectionBackground));
    m_list.Show();
    return PIM_OK;
}

int CxGameConsole::BuildEditLine(int32_t width, int32_t height)
{
    m_edit.Create(0, 0, width - 2 * kMargin, kEditHeight, this);
    m_edit.SetPosition(kMargin, height - kEditBottomInset, PIM_ANCHOR_BOTTOM_LEFT);
    m_edit.SetFont(PIM_DEFAULT_FONT);
    m_edit.SetTextFlags(m_edit.GetTextFlags() | kEditTextFlags);
    // Every key goes on to the console as well, which acts on the few it owns.
    m_edit.SetEditFlags(PIM_EDIT_CARET | PIM_EDIT_FIT_WIDTH | PIM_EDIT_PASS_KEYS);
    m_edit.SetAllowedChars(kAllowedChars);
    m_edit.SetColour(PaletteRgb(kInk));
    m_edit.SetBackground(PaletteRgb(kPaper));
    m_edit.SetCaretColour(PaletteRgb(kInk));
    // The edit field keeps these colours and moves only the range.
    m_edit.SetSelection(PIM_NO_SELECTION, PIM_NO_SELECTION, PaletteRgb(kPaper), PaletteRgb(kSelectionBackground));
    m_edit.Show();
    return m_edit.GetError();
}

int CxGameConsole::BuildScrollBar(int32_t width, int32_t height)
{
    const int32_t barHeight = height - kListHeightLess;
    int result = InstallPicture(CreateCommonPicture(kBarWidth, barHeight, 1, true),
                                [this](CxDrawSurface* p) { return m_bar.SetSurface(p); });
    if (result != PIM_OK)
        return result;
    m_bar.Create(0, 0, kBarWidth, barHeight, this);
    m_bar.CxSprite::SetPosition(width - kBarRightInset, kMargin, PIM_ANCHOR_TOP_RIGHT);
    if ((result = InstallPicture(CreateArrowButton(kBarWidth, true),
                                 [this](CxDrawSurface* p) { return m_bar.SetDecreaseButton(p); })) != PIM_OK ||
        (result = InstallPicture(CreateArrowButton(kBarWidth, false),
                                 [this](CxDrawSurface* p) { return m_bar.SetIncreaseButton(p); })) != PIM_OK ||
        (result = InstallPicture(CreateCommonPicture(kBarWidth, kBarWidth, 1, false),
                                 [this](CxDrawSurface* p) { return m_bar.SetThumb(p); })) != PIM_OK)
        return result;
    for (CxDisplayObject* part : {static_cast<CxDisplayObject*>(m_bar.GetDecreaseButton()),
                                  static_cast<CxDisplayObject*>(m_bar.GetIncreaseButton()),
                                  static_cast<CxDisplayObject*>(m_bar.GetThumb())})
        if (part)
            part->Show();
    m_bar.Show();
    return PIM_OK;
}

// --- showing ---------------------------------------------------------------------------------

void CxGameConsole::Show()
{
    m_edit.SetFocus();
    CxCommonDialog::Show();
    // Lines traced by other threads while nothing was written here.
    if (!m_writing)
    {
        m_writing = true;
        if (DrainPending())
            ScrollToEnd();
        m_writing = false;
    }
}

void CxGameConsole::Hide()
{
    if (m_edit.HasFocus())
    {
        CxDisplayObject* back = GetPreviousFocusObject();
        SetFocusObject(back && !back->IsDescendantOf(this) ? back : nullptr);
    }
    CxCommonDialog::Hide();
}

void CxGameConsole::Toggle()
{
    if (IsShown())
        Hide();
    else
        Show();
}

// --- output ----------------------------------------------------------------------------------

void CxGameConsole::TraceListener(void* context, const char* text)
{
    static_cast<CxGameConsole*>(context)->OnOutput(text);
}

void CxGameConsole::OnOutput(const char* text)
{
    if (!text)
        return;
    if (!PimIsMainThread())
    {
        // The display tree belongs to the main thread: keep the text for it.
        std::lock_guard<std::mutex> hold(m_pendingLock);
        m_pending.emplace_back(text);
        if (m_pending.size() > static_cast<size_t>(m_maxOutput))
            m_pending.erase(m_pending.begin());
        return;
    }
    if (m_writing)
        return;
    m_writing = true;
    DrainPending();
    WriteLines(text);
    ScrollToEnd();
    m_writing = false;
}

bool CxGameConsole::DrainPending()
{
    std::vector<std::string> lines;
    {
        std::lock_guard<std::mutex> hold(m_pendingLock);
        lines.swap(m_pending);
    }
    // Written outside the lock: writing may trace again.
    for (const std::string& line : lines)
        WriteLines(line.c_str());
    return !lines.empty();
}

void CxGameConsole::WriteLines(const char* text)
{
    // Only the last rows of a long text can stay; the others are not made at all.
    int pieces = 1;
    for (const char* p = text; *p; ++p)
        pieces += *p == '\n';
    int skip = std::max(0, pieces - m_maxOutput);
    const char* start = text;
    for (;;)
    {
        const char* end = std::strchr(start, '\n');
        const size_t length = end ? static_cast<size_t>(end - start) : std::strlen(start);
        if (skip > 0)
        {
            --skip;
        }
        else
        {
            while (m_list.GetItemCount() >= m_maxOutput)
                m_list.RemoveItem(0);
            CxString row;
            row.Assign(start, static_cast<int>(std::min<size_t>(length, CxString::kMaxLength)));
            m_list.AddString(row.GetText());
        }
        if (!end)
            break;
        start = end + 1;
    }
}

void CxGameConsole::ScrollToEnd()
{
    const int visible = std::max(0, m_list.GetVisibleCount());
    const int last = std::max(0, m_list.GetItemCount() - visible);
    m_bar.SetRange(0, last);
    m_bar.SetPosition(last);
    m_list.SetTopIndex(last);
}

void CxGameConsole::ClearOutput()
{
    m_list.RemoveAll();
    ScrollToEnd();
}

// --- commands --------------------------------------------------------------------------------

const char* CxGameConsole::GetHistoryEntry(int index) const
{
    return index >= 0 && index < GetHistoryCount() ? m_history[static_cast<size_t>(index)].c_str() : nullptr;
}

void CxGameConsole::Execute(const char* line)
{
    if (!line || !*line)
        return;
    // A copy: `line` may be the edit line's own text, which running can change.
    std::string command(line);
    m_history.push_back(command);
    while (m_history.size() > static_cast<size_t>(m_maxCommands))
        m_history.pop_front();
    m_historyPos = 0;
    if (m_echo)
        OnOutput(command.c_str());
    if (m_options)
        if (const CxOptionVariable* alias = m_options->FindVariable(PIM_CONSOLE_ALIAS_SECTION, command.c_str()))
            command = CutAlias(alias->GetValue(), alias->GetValueLength());
    if (command.empty())
        return;
    CxLuaEngine* engine = CxLuaEngine::GetEngine();
    if (!engine)
    {
        OnOutput("No script engine to run the line");
        return;
    }
    // Errors reach the output through the trace.
    engine->DoString(command.c_str());
}

void CxGameConsole::HistoryBack()
{
    const int count = GetHistoryCount();
    if (count == 0)
        return;
    m_historyPos = m_historyPos % count + 1;
    ShowHistoryEntry();
}

void CxGameConsole::HistoryForward()
{
    const int count = GetHistoryCount();
    if (count == 0)
        return;
    m_historyPos = m_historyPos <= 1 ? count : m_historyPos - 1;
    ShowHistoryEntry();
}

void CxGameConsole::ShowHistoryEntry()
{
    m_edit.SetText(m_history[static_cast<size_t>(GetHistoryCount() - m_historyPos)].c_str());
}

// --- input -----------------------------------------------------------------------------------

void CxGameConsole::OnKeyDown(uint32_t key, uint32_t flags)
{
    (void)flags;
    const uint32_t base = PimKeyBase(key);
    if (key & PIM_KEY_CTRL)
    {
        if (base == 'C' || base == 'c')
            ClearOutput();
        return;
    }
    if (key & PIM_KEY_ALT)
        return;
    switch (base)
    {
    case PIM_KEY_ENTER: {
        const std::string line = m_edit.GetText();
        if (!line.empty())
        {
            Execute(line.c_str());
            m_edit.SetText("");
        }
        break;
    }
    case PIM_KEY_ESC:
        Hide();
        break;
    case PIM_KEY_UP:
        HistoryBack();
        break;
    case PIM_KEY_DOWN:
        HistoryForward();
        break;
    default:
        // Typing is the edit line's; the toggle key is the application's.
        break;
    }
}

int CxGameConsole::OnMouseWheel(uint32_t buttons, CxPoint point, int steps)
{
    (void)buttons;
    (void)point;
    // Notches away from the user bring older rows into view.
    m_list.ScrollUp(steps);
    m_bar.SetPosition(m_list.GetTopIndex());
    return 1;
}

int CxGameConsole::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (code == PIM_NOTIFY_SCROLL && sender == &m_bar)
    {
        m_list.SetTopIndex(static_cast<int>(first));
        return 1;
    }
    return CxCommonDialog::OnNotify(code, sender, first, second);
}
