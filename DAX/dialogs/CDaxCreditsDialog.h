#pragma once
// The credits roll on screen: a modal dialog over a background that draws
// the credits text once into a tall picture and scrolls it up the screen,
// from its top line in the middle of the screen until the last line has
// passed the top, with two optional logos at the foot of the text and two
// optional pictures laid over everything. Enter, Esc, Space, Alt+Q, Alt+F4
// or a left click end it early.
//
// Use:
//     CDaxCreditsDialog credits;
//     credits.Build(options);           // the "Credits" keys, or settings
//     credits.AttachToRoot();
//     credits.Show();
//     credits.DoModal();                // the scroll timer drives it
//     credits.Hide();
//     credits.Detach();
//
// Or all of that, with the section's "Music" under it, in one call:
//     CDaxCreditsDialog::ShowModal(options, music);
//
// Missing pictures, fonts or text leave their part out; the roll still
// runs and ends on a key or a click (a roll without text ends on its own
// once its empty picture has passed).

#include "DAX/dialogs/CDaxCreditsRoll.h"
#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/display/CxSprite.h"
#include "PIM/widgets/CxDialogBox.h"

class CDaxMusic;
class CxOptions;

class CDaxCreditsDialog : public CxDialogBox, public CxTimerListener
{
public:
    CDaxCreditsDialog();
    // Builds from the option store's "Credits" keys at once.
    explicit CDaxCreditsDialog(CxOptions& options);
    ~CDaxCreditsDialog() override;

    // Builds the roll (a roll built before is taken down first). The first
    // failure's code, for the record: the failures are reported, and the
    // dialog runs whatever failed.
    int Build(CxOptions& options, const char* section = DAX_CREDITS_SECTION);
    int Build(const ST_CREDITS_SETTINGS& settings);

    // A roll built from `section` of `options`, attached to the root, shown
    // and run modally, then taken down. When the section's "Music" names a
    // file that exists (a data name), `music` plays it at its own volume
    // while the roll runs, and stops with it; a missing one is left out.
    // The modal loop's code.
    static int ShowModal(CxOptions& options, CDaxMusic& music, const char* section = DAX_CREDITS_SECTION);
    // The same for a roll configured by `settings`, with `musicFile` (a data
    // name; null, empty or missing: none).
    static int ShowModal(const ST_CREDITS_SETTINGS& settings, CDaxMusic& music, const char* musicFile);

    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnTimer(CxTimerCallBack* timer) override;

    // One scroll step (what the scroll timer's tick does, less restarting
    // the timer): false, with the dialog ended, once the text has gone.
    bool Step();
    // The text back at its start, in the middle of the screen.
    void Rewind();

    const ST_CREDITS_SETTINGS& GetSettings() const { return m_settings; }
    const ST_CREDITS_LAYOUT& GetLayout() const { return m_layout; }
    const CDaxCreditsRoll& GetRoll() const { return m_roll; }
    CxSprite& GetTextSprite() { return m_text; }
    CxDisplayObject& GetClip() { return m_clip; }
    // 0 or 1; null for other indices.
    CxSprite* GetLogo(int index);
    CxSprite* GetMask(int index);
    // PIM_DEFAULT_FONT unless "Font" named one that loaded.
    intptr_t GetFontHandle() const { return m_font; }
    bool IsScrolling() const { return m_scrollTimer.IsRunning(); }

private:
    void TakeDown();
    // The dialog's picture, the background or an empty screen; its code.
    int MakeBackground();
    // The text picture (when it can be had) and the text sprite placed.
    void MakeText(CxFont* font);
    // A picture of one frame, `parent`'s child; false (and nothing shown)
    // when it did not load.
    bool LoadPart(CxSprite& sprite, const CxString& fileName, CxDisplayObject& parent, int* firstError);

    CDaxCreditsRoll m_roll;
    ST_CREDITS_SETTINGS m_settings;
    ST_CREDITS_LAYOUT m_layout;
    CxDisplayObject m_clip;
    CxSprite m_text;
    CxSprite m_logos[2];
    CxSprite m_masks[2];
    intptr_t m_font = -1;
    CxPoint m_start;
    CxTimerCallBack m_scrollTimer;
};
