#pragma once
// A game dialog that shows a text in the player's language, in the game
// font. Besides the keys of every dialog file (CDaxDialog.h) it reads:
//
//     [Options]
//     EndOnEnterKey=1            ; Enter closes it (each dialog says with what)
//     TextArea=85, 112, 331, 167 ; left, top, right, bottom of the text
//     TextColor=248, 232, 200    ; red, green, blue, each 0..255
//     TextSize=20                ; point size
//     EnglishText=Hello!         ; <Language>Text: the text in that language
//
// A text of fewer than 20 code points is one line, centred both ways in the
// area; a longer one is word-wrapped, each line centred and the block
// centred top to bottom. A TextColor part that is no number keeps its
// default (and those after it, as a scan stops there); numbers are kept to
// 0..255. Texts are kept to GAME_DIALOG_TEXT_MAX bytes and sound names to
// GAME_DIALOG_SOUND_NAME_MAX.
//
// A dialog may play an instruction sound while it is open; closing it, by
// any way, stops and frees the sound.

#include "DAX/dialogs/CDaxDialog.h"
#include "PIM/core/CxRect.h"
#include "PIM/display/CxDrawText.h"

#include <memory>

class CxWave;

constexpr int GAME_DIALOG_TEXT_MAX = 2047;
constexpr int GAME_DIALOG_SOUND_NAME_MAX = 255;
// Texts shorter than this many code points stay on one line.
constexpr size_t GAME_DIALOG_ONE_LINE_MAX = 19;
constexpr uint32_t GAME_DIALOG_TEXT_COLOUR = 0x00F8E8C8; // 248, 232, 200
constexpr int GAME_DIALOG_TEXT_SIZE = 20;

class CLocalizedDialog : public CDaxDialog
{
public:
    CLocalizedDialog();
    ~CLocalizedDialog() override;

    // The text (cut to GAME_DIALOG_TEXT_MAX bytes), laid out as at the top.
    void SetText(const char* text);
    const char* GetText() const { return m_text.GetText(); }
    // True when the text is laid out word-wrapped.
    bool IsWrapped() const { return (m_text.GetTextFlags() & PIM_TEXT_WRAP) != 0; }
    // Plays `fileName` (a data name longer than 4 characters) until the
    // dialog closes.
    void PlayInstruction(const char* fileName);
    bool HasInstruction() const { return m_sound != nullptr; }

    // The sound goes with the closing.
    int DoModal() override;
    void EndModal() override;
    void ReadExtraOptions(CxOptions& store) override;
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    // A click on one of the dialog's buttons becomes OnButton.
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;

    bool GetEndOnEnterKey() const { return m_endOnEnter; }
    const CxRect& GetTextArea() const { return m_area; }
    uint32_t GetTextColour() const { return m_colour; }
    int GetTextSize() const { return m_size; }
    CxDrawText& GetTextObject() { return m_text; }

    // "r, g, b" onto `colour` (0x00RRGGBB): parts that scan replace theirs,
    // clamped to 0..255.
    static uint32_t ScanColour(const char* text, uint32_t colour);

protected:
    // A button of the dialog was clicked (its name, without regard to case).
    virtual void OnButton(const char* name) { (void)name; }
    // Enter with EndOnEnterKey set.
    virtual void OnEnterKey() { EndModal(); }
    // Places a picture of the dialog (an icon) alpha blended at `point`;
    // a missing file leaves it empty and hidden. False when there is none.
    bool ShowPicture(CxSprite& picture, const char* fileName, CxPoint point);
    void StopInstruction();

private:
    void Layout();

    CxDrawText m_text;
    CxRect m_area{85, 112, 331, 167};
    uint32_t m_colour = GAME_DIALOG_TEXT_COLOUR;
    int m_size = GAME_DIALOG_TEXT_SIZE;
    bool m_endOnEnter = false;
    std::unique_ptr<CxWave> m_sound;
};
