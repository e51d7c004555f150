#include "PIM/widgets/CxCommonControls.h"

#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/PimText.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimKeyCodes.h"

#include <algorithm>
#include <cstring>

namespace {

// A message box is at least this wide and at most the cap, growing a row
// taller for each cap's worth of text beyond it.
constexpr int32_t kBoxMinWidth = 300;
constexpr int32_t kBoxMaxWidth = 600;
constexpr int32_t kBoxHeight = 150;
constexpr int32_t kBoxRowHeight = 20;
constexpr int32_t kBoxTallQuotient = 13;
constexpr int32_t kBoxTallHeight = 400;
constexpr int32_t kButtonWidth = 75;
constexpr int32_t kButtonHeight = 25;
constexpr uint32_t kCentredFlags = PIM_TEXT_CENTRE | PIM_TEXT_VCENTRE;
// The text flag a common list row carries on top of the list's.
constexpr uint32_t kCommonRowFlag = 0x8;

// The boxes ShowMessageBox has open, innermost last.
CxCommonMessageBox* s_openBoxes[PIM_MODAL_STACK_SIZE] = {};
int s_openCount = 0;

int MeasureDefault(const char* text)
{
    CxFont* font = GetDefaultFont();
    return font && text ? font->MeasureText(text, 0) : 0;
}

void DrawLabel(CxDrawSurface& surface, const CxRect& rect, const char* label, uint32_t colour)
{
    if (label && *label)
        DrawText(surface, rect, colour, label, kCentredFlags, 0, nullptr, PIM_FONT_OWN_KEY, PIM_NO_COLOUR, nullptr);
}

} // namespace

CxDrawSurface* CreateCommonPicture(int32_t width, int32_t height, int frames, bool sunken)
{
    if (width <= 0 || height <= 0 || frames <= 0)
        return nullptr;
    CxDrawSurface* surface = CreateDrawSurface();
    if (!surface)
        return nullptr;
    if (surface->Create(width * frames, height, 8) != PIM_OK)
    {
        delete surface;
        return nullptr;
    }
    surface->SetPalette(reinterpret_cast<const uint8_t*>(DefaultPalette()));
    const uint32_t topLeft = sunken ? PIM_COMMON_DARK : PIM_COMMON_LIGHT;
    const uint32_t bottomRight = sunken ? PIM_COMMON_LIGHT : PIM_COMMON_DARK;
    for (int f = 0; f < frames; ++f)
    {
        const int32_t left = f * width;
        const int32_t right = left + width - 1;
        const int32_t bottom = height - 1;
        surface->FillRect(CxRect(left, 0, right, bottom), PIM_COMMON_FILL);
        surface->DrawLine(left, 0, right, 0, topLeft);
        surface->DrawLine(left, 0, left, bottom, topLeft);
        surface->DrawLine(left, bottom, right, bottom, bottomRight);
        surface->DrawLine(right, 0, right, bottom, bottomRight);
    }
    return surface;
}

int CxCommonDialog::CreateDialog(int32_t width, int32_t height, CxDisplayObject* parent)
{
    CxDrawSurface* picture = CreateCommonPicture(width, height, 1, false);
    if (!picture)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxDrawSurface");
    const int result = SetSurface(picture);
    if (result != PIM_OK)
    {
        delete picture;
        return result;
    }
    return Create(0, 0, width, height, parent ? parent : GetRootObject());
}

int CxCommonTextListBox::InsertString(int index, const char* text)
{
    const int before = m_count;
    const int result = CxTextListBox::InsertString(index, text);
    if (result != PIM_OK)
        return result;
    const int at = (index < 0 || index > before) ? before : index;
    if (auto* row = dynamic_cast<CxDrawText*>(GetItem(at)))
    {
        row->SetSize(GetWidth() - 4, GetRowHeight());
        row->SetTextFlags(row->GetTextFlags() | kCommonRowFlag);
    }
    return PIM_OK;
}

void CxCommonTextListBox::LayoutItems()
{
    CxTextListBox::LayoutItems();
    for (int i = 0; i < m_count; ++i)
        if (auto* row = dynamic_cast<CxDrawText*>(GetItem(i)))
            row->SetTextFlags(row->GetTextFlags() | kCommonRowFlag);
}

int CxCommonPushButton::CreateButton(const char* label, int id, int32_t x, int32_t y, int32_t width, int32_t height,
                                     CxDisplayObject* parent)
{
    m_label = label ? label : "";
    m_id = id;
    // One picture with raised and sunken frames side by side: the sunken
    // bevel is drawn over the raised one for the checked and pressed states.
    CxDrawSurface* picture = CreateCommonPicture(width, height, PIM_BUTTON_STATE_COUNT, false);
    if (!picture)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxDrawSurface");
    for (int state = 0; state < PIM_BUTTON_STATE_COUNT; ++state)
    {
        const CxRect frame(state * width, 0, (state + 1) * width - 1, height - 1);
        if (state == PIM_BUTTON_CHECKED || state == PIM_BUTTON_PRESSED)
        {
            picture->DrawLine(frame.left, frame.top, frame.right, frame.top, PIM_COMMON_DARK);
            picture->DrawLine(frame.left, frame.top, frame.left, frame.bottom, PIM_COMMON_DARK);
            picture->DrawLine(frame.left, frame.bottom, frame.right, frame.bottom, PIM_COMMON_LIGHT);
            picture->DrawLine(frame.right, frame.top, frame.right, frame.bottom, PIM_COMMON_LIGHT);
        }
        DrawLabel(*picture, frame, m_label.GetText(),
                  state == PIM_BUTTON_DISABLED ? PIM_COMMON_GREY_RGB : PIM_COMMON_LABEL_RGB);
    }
    const int result = SetSurface(picture);
    if (result != PIM_OK)
    {
        delete picture;
        return result;
    }
    return Create(x, y, width, height, parent);
}

CxCommonMessageBox::~CxCommonMessageBox()
{
    ForgetSelf();
    for (CxCommonPushButton* button : m_buttons)
        PimDelete(button);
    m_buttons.clear();
}

CxCommonPushButton* CxCommonMessageBox::GetButton(int index) const
{
    return index >= 0 && index < GetButtonCount() ? m_buttons[static_cast<size_t>(index)] : nullptr;
}

CxCommonPushButton* CxCommonMessageBox::FindButton(const char* label) const
{
    if (!label)
        return nullptr;
    for (CxCommonPushButton* button : m_buttons)
        if (std::strcmp(button->GetLabel(), label) == 0)
            return button;
    return nullptr;
}

int CxCommonMessageBox::Build(const char* title, const char* text, const char* const* labels, int count)
{
    if (count < 0 || (count > 0 && !labels))
        return SetError(PIM_ERR_BAD_ARG, "Bad button list for a message box");
    const int32_t titleWidth = MeasureDefault(title);
    const int32_t textWidth = MeasureDefault(text);
    const int32_t measured = std::max(kBoxMinWidth, std::max(titleWidth, textWidth));
    int32_t width = measured;
    int32_t height = kBoxHeight;
    if (measured > kBoxMaxWidth)
    {
        const int32_t quotient = measured / kBoxMaxWidth;
        width = kBoxMaxWidth;
        height = quotient >= kBoxTallQuotient ? kBoxTallHeight : kBoxHeight + kBoxRowHeight * quotient;
    }
    int result = CreateDialog(width, height, GetRootObject());
    if (result != PIM_OK)
        return result;
    CenterInParent();

    m_title.Create(10, 10, width - 20, 20, this);
    m_title.SetTextFlags(kCentredFlags);
    m_title.SetColour(PIM_COMMON_LABEL_RGB);
    m_title.SetText(title ? title : "");
    m_title.Show();

    m_text.Create(10, 40, width - 20, height - 80, this);
    m_text.SetTextFlags(textWidth > width - 10 ? (kCentredFlags | PIM_TEXT_WRAP) : kCentredFlags);
    m_text.SetColour(PIM_COMMON_LABEL_RGB);
    m_text.SetText(text ? text : "");
    m_text.Show();

    m_buttons.reserve(static_cast<size_t>(count));
    for (int k = 1; k <= count; ++k)
    {
        auto* button = PimNew<CxCommonPushButton>(__FILE__, __LINE__);
        if (!button)
            return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxButton");
        m_buttons.push_back(button);
        result = button->CreateButton(labels[k - 1], k - 1, 0, 0, kButtonWidth, kButtonHeight, this);
        if (result != PIM_OK)
            return SetError(result, "Could not make a message box button");
        button->SetPosition(k * width / (count + 1), height - 40, PIM_ANCHOR_CENTRE);
        button->Show();
    }
    Show();
    return PIM_OK;
}

int CxCommonMessageBox::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (code == PIM_NOTIFY_BUTTON && first == PIM_BUTTON_EVENT_CLICKED)
    {
        for (CxCommonPushButton* button : m_buttons)
        {
            if (button == sender)
            {
                m_clicked = button->GetId();
                EndModal();
                return 1;
            }
        }
    }
    return CxCommonDialog::OnNotify(code, sender, first, second);
}

void CxCommonMessageBox::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (key == PIM_KEY_ENTER && !m_buttons.empty())
    {
        m_buttons.front()->Notify(PIM_BUTTON_EVENT_CLICKED);
        return;
    }
    CxCommonDialog::OnKeyDown(key, flags);
}

int ShowMessageBox(const char* title, const char* text, const char* const* labels, int count)
{
    if (s_openCount >= PIM_MODAL_STACK_SIZE)
        return -1;
    auto* box = PimNew<CxCommonMessageBox>(__FILE__, __LINE__);
    if (!box)
    {
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxCommonMessageBox");
        return -1;
    }
    int clicked = -1;
    if (box->Build(title, text, labels, count) == PIM_OK)
    {
        s_openBoxes[s_openCount++] = box;
        box->DoModal();
        clicked = box->GetClickedId();
        --s_openCount;
        s_openBoxes[s_openCount] = nullptr;
    }
    PimDelete(box);
    return clicked;
}

CxCommonMessageBox* GetOpenMessageBox()
{
    return s_openCount > 0 ? s_openBoxes[s_openCount - 1] : nullptr;
}

const char* GetMessageBoxTitle(const CxCommonMessageBox* box)
{
    return box ? box->GetTitle() : nullptr;
}

int ClickMessageBoxButton(const char* label)
{
    CxCommonMessageBox* box = GetOpenMessageBox();
    CxCommonPushButton* button = box ? box->FindButton(label) : nullptr;
    if (!button)
        return -1;
    const int id = button->GetId();
    button->Notify(PIM_BUTTON_EVENT_CLICKED);
    return id;
}
