#pragma once
// Ready-made controls that draw their own pictures instead of loading them,
// so that the engine can put up a message box before (or without) any game
// data: 8-bit surfaces with the default palette, a flat fill of colour 248
// inside a bevel (top and left 255, bottom and right 0), labels in the
// default font. ShowMessageBox builds one of these boxes and runs it modally.

#include "PIM/display/CxDrawText.h"
#include "PIM/widgets/CxButton.h"
#include "PIM/widgets/CxDialogBox.h"
#include "PIM/widgets/CxEditText.h"
#include "PIM/widgets/CxListBox.h"
#include "PIM/widgets/CxScrollBar.h"

#include <vector>

class CxDrawSurface;

// Palette entries of the drawn pictures.
constexpr uint8_t PIM_COMMON_FILL = 248;
constexpr uint8_t PIM_COMMON_LIGHT = 255;
constexpr uint8_t PIM_COMMON_DARK = 0;
constexpr uint32_t PIM_COMMON_LABEL_RGB = 0x000000;
constexpr uint32_t PIM_COMMON_GREY_RGB = 0x808080;

// A new 8-bit surface of `frames` frames of `width` x `height`, each filled
// and bevelled (`sunken` swaps the bevel colours); null when out of memory.
CxDrawSurface* CreateCommonPicture(int32_t width, int32_t height, int frames, bool sunken);

class CxCommonDialog : public CxDialogBox
{
public:
    // Attaches to `parent` (null: the root) with a drawn background.
    int CreateDialog(int32_t width, int32_t height, CxDisplayObject* parent);
};

class CxCommonDrawText : public CxDrawText
{
};

class CxCommonEdit : public CxEditText
{
};

class CxCommonVerticalScrollBar : public CxVerticalScrollBar
{
};

class CxCommonTextListBox : public CxTextListBox
{
public:
    // Each new row is sized to (list width - 4) x row height and keeps text flag 8.
    int InsertString(int index, const char* text) override;
    // The text layout hands every row the list's flags; flag 8 is put back.
    void LayoutItems() override;
};

class CxCommonPushButton : public CxButton
{
public:
    CxCommonPushButton() : CxButton(PIM_BUTTON_PUSH) {}

    // Draws the five frames with `label` and attaches at (x, y) anchor 0.
    int CreateButton(const char* label, int id, int32_t x, int32_t y, int32_t width, int32_t height,
                     CxDisplayObject* parent);
    const char* GetLabel() const { return m_label.GetText(); }
    int GetId() const { return m_id; }

private:
    CxString m_label;
    int m_id = -1;
};

class CxCommonMessageBox : public CxCommonDialog
{
public:
    CxCommonMessageBox() = default;
    ~CxCommonMessageBox() override;

    // Lays the box out by the message-box geometry and centres it on the root.
    int Build(const char* title, const char* text, const char* const* labels, int count);
    // A button's click ends the loop with its id.
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;
    // ENTER answers with the first button, as a player expects of a box.
    void OnKeyDown(uint32_t key, uint32_t flags) override;

    // -1 until a button was clicked.
    int GetClickedId() const { return m_clicked; }
    const char* GetTitle() const { return m_title.GetText(); }
    const char* GetText() const { return m_text.GetText(); }
    CxCommonDrawText& GetTitleObject() { return m_title; }
    CxCommonDrawText& GetTextObject() { return m_text; }
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    CxCommonPushButton* GetButton(int index) const;
    // The first button carrying `label`, or null.
    CxCommonPushButton* FindButton(const char* label) const;

private:
    CxCommonDrawText m_title;
    CxCommonDrawText m_text;
    std::vector<CxCommonPushButton*> m_buttons;
    int m_clicked = -1;
};

// Puts up a message box and runs it; the index of the button clicked, or -1
// when the loop ended without a click (error limit, quit, no loop installed).
int ShowMessageBox(const char* title, const char* text, const char* const* labels, int count);
// The innermost message box ShowMessageBox has open, or null.
CxCommonMessageBox* GetOpenMessageBox();
const char* GetMessageBoxTitle(const CxCommonMessageBox* box);
// Clicks the innermost open box's button carrying `label` (as a replay or a
// test would); its id, or -1 when no open box has such a button.
int ClickMessageBoxButton(const char* label);
