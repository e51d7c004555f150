#include "DAX/dialogs/CDaxCreditsDialog.h"

#include "DAX/base/CDaxMusic.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/base/DaxOptionText.h"
#include "PIM/app/CxWindowApp.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/text/CxFont.h"

#include <memory>

namespace {

// Logos sit this far in from either side of the text.
constexpr int32_t kLogoInset = 200;
constexpr int32_t kMaskZ = 1;

bool EndsTheRoll(uint32_t key)
{
    switch (key) {
    case PIM_KEY_ENTER:
    case PIM_KEY_ESC:
    case PIM_KEY_SPACE:
    case PIM_KEY_ALT | 'Q':
    case PIM_KEY_ALT | 'q':
    case PIM_KEY_ALT | (PIM_KEY_F1 + 3):
        return true;
    default:
        return false;
    }
}

// The screen the roll covers: the display's root, else the game's window.
CxSize ScreenSize()
{
    if (const CxDisplayObject* root = GetRootObject())
        return root->GetSize();
    if (const auto* app = dynamic_cast<const CxWindowApp*>(CxApp::GetApp()))
        return CxSize(app->GetClientWidth(), app->GetClientHeight());
    return CxSize();
}

void Keep(int* firstError, int code)
{
    if (*firstError == PIM_OK)
        *firstError = code;
}

} // namespace

CDaxCreditsDialog::CDaxCreditsDialog() : m_scrollTimer(this)
{
}

CDaxCreditsDialog::CDaxCreditsDialog(CxOptions& options) : CDaxCreditsDialog()
{
    Build(options);
}

CDaxCreditsDialog::~CDaxCreditsDialog()
{
    ForgetSelf();
    TakeDown();
    Hide();
    UnloadPicture();
}

void CDaxCreditsDialog::TakeDown()
{
    m_scrollTimer.Reset();
    for (CxSprite* sprite : {&m_logos[0], &m_logos[1], &m_text, &m_masks[0], &m_masks[1]}) {
        sprite->Hide();
        sprite->Detach();
        sprite->Unload();
    }
    m_clip.Hide();
    m_clip.Detach();
    if (m_font != PIM_DEFAULT_FONT)
        DeleteFont(m_font);
    m_font = PIM_DEFAULT_FONT;
    m_roll.ClearText();
}

CxSprite* CDaxCreditsDialog::GetLogo(int index)
{
    return index == 0 || index == 1 ? &m_logos[index] : nullptr;
}

CxSprite* CDaxCreditsDialog::GetMask(int index)
{
    return index == 0 || index == 1 ? &m_masks[index] : nullptr;
}

// --- building --------------------------------------------------------------------------------

int CDaxCreditsDialog::Build(CxOptions& options, const char* section)
{
    return Build(CDaxCreditsRoll::ReadSettings(options, section ? section : DAX_CREDITS_SECTION));
}

int CDaxCreditsDialog::Build(const ST_CREDITS_SETTINGS& settings)
{
    TakeDown();
    m_settings = settings;
    CDaxCreditsRoll::CheckSettings(m_settings);
    int firstError = PIM_OK;

    Keep(&firstError, MakeBackground());
    const CxSize screen = ScreenSize();
    m_clip.Create(0, 0, screen.width, screen.height, this);
    m_clip.Show();

    CxFont* font = nullptr;
    if (!m_settings.font.IsEmpty()) {
        const CxString name = DaxServices().Interpolate(m_settings.font.GetText());
        intptr_t handle = PIM_DEFAULT_FONT;
        const int code = LoadFont(name.GetText(), &handle);
        if (code == PIM_OK && (font = FindFont(handle)) != nullptr)
            m_font = handle;
        else
            Keep(&firstError, code != PIM_OK ? code : PIM_ERR_UNKNOWN);
    }

    if (!m_settings.textFile.IsEmpty()) {
        const CxString name = DaxServices().Interpolate(m_settings.textFile.GetText());
        Keep(&firstError, m_roll.LoadText(name.GetText(), m_settings.maxLineLength));
    }
    MakeText(font);
    if (!m_text.GetSurface())
        Keep(&firstError, PIM_ERR_OUT_OF_MEMORY);
    m_scrollTimer.Start(static_cast<uint32_t>(m_settings.scrollPeriod));

    // The logos hang from the foot of the text, 200 pixels in from its sides.
    const int32_t foot = m_layout.height - 1;
    if (LoadPart(m_logos[0], m_settings.logos[0], m_text, &firstError))
        m_logos[0].MoveTo(kLogoInset, foot, PIM_ANCHOR_BOTTOM_LEFT);
    if (LoadPart(m_logos[1], m_settings.logos[1], m_text, &firstError))
        m_logos[1].MoveTo(m_layout.width - kLogoInset, foot, PIM_ANCHOR_BOTTOM_RIGHT);
    for (int i = 0; i < 2; ++i) {
        CxSprite& mask = m_masks[i];
        if (!LoadPart(mask, m_settings.masks[i], *this, &firstError))
            continue;
        // Only a picture that loaded has a corner pixel to take the key from.
        CxDrawSurface* surface = mask.GetSurface();
        if (surface && surface->GetWidth() > 0 && surface->GetHeight() > 0)
            mask.SetTransparentColour(surface->GetPixel(0, 0));
        mask.SetZ(kMaskZ);
        mask.MoveTo(m_settings.maskPositions[i], PIM_ANCHOR_TOP_LEFT);
    }
    return firstError;
}

int CDaxCreditsDialog::MakeBackground()
{
    const CxSize screen = ScreenSize();
    int code = PIM_OK;
    if (!m_settings.background.IsEmpty()) {
        const CxString name = DaxServices().Interpolate(m_settings.background.GetText());
        code = Load(name.GetText(), 1);
        if (code == PIM_OK)
            return code;
    }
    // A dialog carrying an error would refuse to run: the roll goes on over
    // an empty screen.
    ClearError();
    if (CreateSurface(screen.width, screen.height, GetDisplayDepth()) != PIM_OK) {
        Keep(&code, GetError());
        ClearError();
    }
    if (GetSize().IsEmpty())
        SetSize(screen);
    return code;
}

void CDaxCreditsDialog::MakeText(CxFont* font)
{
    m_layout = m_roll.Measure(font, m_settings.pointSize, m_settings.textSpacing, m_settings.depth);
    // Nothing of an earlier build's look stays.
    m_text.SetDrawParams(nullptr);
    m_text.SetTransparentColour(PIM_NO_COLOUR);
    if (CxDrawSurface* picture = m_roll.CreatePicture(m_layout, font, m_settings.pointSize, m_settings.fontColour)) {
        m_text.SetSurface(picture, 1);
        if (picture->GetDepth() == 32) {
            m_text.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
        } else {
            m_text.SetTransparentColour(picture->GetPixel(0, 0));
        }
    }
    // Without its picture the text still takes its place, so the roll
    // lasts as long and ends by itself.
    m_text.Create(0, 0, m_layout.width, m_layout.height, &m_clip);
    m_start = CxPoint(m_clip.GetWidth() / 2, m_clip.GetHeight() / 2);
    m_text.MoveTo(m_start, PIM_ANCHOR_MIDDLE_TOP);
    m_text.Show();
}

bool CDaxCreditsDialog::LoadPart(CxSprite& sprite, const CxString& fileName, CxDisplayObject& parent,
                                 int* firstError)
{
    if (fileName.IsEmpty())
        return false;
    const CxString name = DaxServices().Interpolate(fileName.GetText());
    const int code = sprite.Load(name.GetText(), 1);
    if (code != PIM_OK) {
        Keep(firstError, code);
        sprite.ClearError();
        return false;
    }
    parent.AddChild(&sprite);
    sprite.Show();
    return true;
}

// --- running ---------------------------------------------------------------------------------

int CDaxCreditsDialog::ShowModal(CxOptions& options, CDaxMusic& music, const char* section)
{
    if (!section)
        section = DAX_CREDITS_SECTION;
    const CxString musicFile = DaxOptionText(options, section, "Music");
    return ShowModal(CDaxCreditsRoll::ReadSettings(options, section), music, musicFile.GetText());
}

int CDaxCreditsDialog::ShowModal(const ST_CREDITS_SETTINGS& settings, CDaxMusic& music, const char* musicFile)
{
    std::unique_ptr<CDaxCreditsDialog> credits(new CDaxCreditsDialog);
    if (!credits)
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate the credits");
    credits->Build(settings);
    CxString musicPath;
    const bool withMusic = musicFile && *musicFile && BuildGamePathFromData(musicPath, musicFile) == PIM_OK &&
                           FsExists(musicPath.GetText()) && music.Start(musicFile) == PIM_OK;
    credits->AttachToRoot();
    credits->Show();
    const int code = credits->DoModal();
    if (withMusic)
        music.Stop();
    credits->Hide();
    credits->Detach();
    return code;
}

bool CDaxCreditsDialog::Step()
{
    int32_t top = 0;
    if (!CDaxCreditsRoll::NextScrollTop(m_text.GetPosition().y, m_settings.scrollPixels, m_text.GetHeight(), top)) {
        EndModal();
        return false;
    }
    m_text.MoveTo(m_text.GetPosition().x, top);
    return true;
}

void CDaxCreditsDialog::Rewind()
{
    m_text.MoveTo(m_start, PIM_ANCHOR_MIDDLE_TOP);
}

void CDaxCreditsDialog::OnTimer(CxTimerCallBack* timer)
{
    if (timer == &m_scrollTimer && Step())
        m_scrollTimer.Start(static_cast<uint32_t>(m_settings.scrollPeriod));
}

void CDaxCreditsDialog::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (EndsTheRoll(key)) {
        EndModal();
        return;
    }
    CxDialogBox::OnKeyDown(key, flags);
}

void CDaxCreditsDialog::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    EndModal();
    CxDialogBox::OnLButtonDown(buttons, point);
}
