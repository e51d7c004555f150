#include "game/common/CLocalizedDialog.h"

#include "DAX/base/DaxOptionText.h"
#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/sound/CxWave.h"
#include "PIM/text/PimText.h"
#include "game/common/CGameServices.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kTextLimit = 4096; // the area of a 800 x 600 dialog, and then some

// One "%d" of a scan at `at`: white space, a sign, digits. False when there are no digits.
bool ScanInt(const char*& at, int& value)
{
    const char* p = at;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    long long number = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        number = std::min<long long>(number * 10 + (*p - '0'), 1000000);
    value = static_cast<int>(negative ? -number : number);
    at = p;
    return true;
}

} // namespace

CLocalizedDialog::CLocalizedDialog()
{
    // Over a copy of the dialog beneath it, so the glyphs' soft edges blend into
    // the picture rather than into a colour key.
    m_text.SetBackground(PIM_NO_COLOUR);
    m_text.SetName("DialogText");
    Layout();
}

CLocalizedDialog::~CLocalizedDialog()
{
    StopInstruction();
    if (m_text.GetParent() == this)
        RemoveChild(&m_text);
}

uint32_t CLocalizedDialog::ScanColour(const char* text, uint32_t colour)
{
    int parts[3] = {static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                    static_cast<int>(colour & 0xFF)};
    const char* at = text ? text : "";
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            // ", " of the scan: white space, the comma, white space.
            while (*at == ' ' || *at == '\t')
                ++at;
            if (*at++ != ',')
                break;
        }
        int value = 0;
        if (!ScanInt(at, value))
            break;
        parts[i] = std::clamp(value, 0, 255);
    }
    return static_cast<uint32_t>(parts[0] << 16 | parts[1] << 8 | parts[2]);
}

void CLocalizedDialog::ReadExtraOptions(CxOptions& store)
{
    CDaxDialog::ReadExtraOptions(store);
    m_endOnEnter = store.GetInt(DAX_DIALOG_SECTION, "EndOnEnterKey", 0) == 1;
    int left = 85, top = 112, right = 331, bottom = 167;
    store.GetRect(DAX_DIALOG_SECTION, "TextArea", &left, &top, &right, &bottom, 85, 112, 331, 167);
    if (right < left || bottom < top || right - left > kTextLimit || bottom - top > kTextLimit ||
        std::abs(left) > kTextLimit || std::abs(top) > kTextLimit) {
        Trace("Dialog %s: TextArea %d, %d, %d, %d is no area; it stays 85, 112, 331, 167\n", GetName(), left, top,
              right, bottom);
        left = 85, top = 112, right = 331, bottom = 167;
    }
    m_area = CxRect(left, top, right, bottom);
    char colour[64];
    store.GetString(DAX_DIALOG_SECTION, "TextColor", colour, "248, 232, 200", sizeof colour);
    m_colour = ScanColour(colour, GAME_DIALOG_TEXT_COLOUR);
    m_size = std::clamp(store.GetInt(DAX_DIALOG_SECTION, "TextSize", GAME_DIALOG_TEXT_SIZE), 1, 400);

    CxString key;
    key.Format("%.15sText", GameServices().GetLanguage());
    SetText(DaxOptionText(store, DAX_DIALOG_SECTION, key.GetText()).GetText());
}

void CLocalizedDialog::SetText(const char* text)
{
    char copy[GAME_DIALOG_TEXT_MAX + 1];
    PimStrCopy(copy, text ? text : "", sizeof copy);
    m_text.SetText(copy);
    Layout();
}

void CLocalizedDialog::Layout()
{
    if (m_text.GetParent() != this) {
        m_text.SetZ(GetButtonDepth() + 1);
        AddChild(&m_text);
    }
    m_text.SetFont(GameServices().GetGameFont());
    m_text.SetColour(m_colour);
    m_text.SetPointSize(m_size);
    uint32_t flags = PIM_TEXT_CENTRE | PIM_TEXT_VCENTRE;
    if (CountCodePoints(m_text.GetText()) > GAME_DIALOG_ONE_LINE_MAX)
        flags |= PIM_TEXT_WRAP;
    m_text.SetTextFlags(flags);
    m_text.SetPosition(m_area.left, m_area.top);
    m_text.SetSize(m_area.right - m_area.left + 1, m_area.bottom - m_area.top + 1);
    m_text.Show();
}

void CLocalizedDialog::PlayInstruction(const char* fileName)
{
    StopInstruction();
    char name[GAME_DIALOG_SOUND_NAME_MAX + 1];
    PimStrCopy(name, fileName ? fileName : "", sizeof name);
    CxString path;
    if (std::strlen(name) <= 4 || BuildGamePathFromData(path, name) != PIM_OK)
        return;
    if (!FsExists(path.GetText())) {
        Trace("Dialog %s: the sound %.80s is missing\n", GetName(), path.GetText());
        return;
    }
    m_sound = std::make_unique<CxWave>();
    if (m_sound->Load(path.GetText()) == PIM_OK)
        m_sound->Play();
}

void CLocalizedDialog::StopInstruction()
{
    if (!m_sound)
        return;
    m_sound->Stop();
    m_sound.reset();
}

int CLocalizedDialog::DoModal()
{
    const int code = CDaxDialog::DoModal();
    StopInstruction();
    return code;
}

void CLocalizedDialog::EndModal()
{
    StopInstruction();
    CDaxDialog::EndModal();
}

void CLocalizedDialog::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (m_endOnEnter && key == PIM_KEY_ENTER) {
        OnEnterKey();
        return;
    }
    CDaxDialog::OnKeyDown(key, flags);
}

int CLocalizedDialog::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    char name[DAX_BUTTON_NAME_MAX + 1];
    if (!CDaxButton::IsClickNotice(code, sender, first, name, sizeof name))
        return CDaxDialog::OnNotify(code, sender, first, second);
    OnButton(name);
    return 1;
}

bool CLocalizedDialog::ShowPicture(CxSprite& picture, const char* fileName, CxPoint point)
{
    picture.Hide();
    picture.Unload();
    CxString path;
    if (!fileName || BuildGamePathFromData(path, fileName) != PIM_OK || !FsExists(path.GetText()))
        return false;
    if (picture.Load(path.GetText(), 1) != PIM_OK || !picture.GetSurface()) {
        picture.Unload();
        return false;
    }
    picture.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    // Just behind the buttons, among them in the dialog's children.
    if (picture.GetParent() != this) {
        picture.SetZ(GetButtonDepth() + 1);
        AddChild(&picture);
    }
    picture.SetPosition(point);
    picture.Show();
    return true;
}
