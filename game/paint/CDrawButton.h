#pragma once
// A button of the paint room's own rows: a crayon, a sticker set or one of
// the four sticker places, with the number it stands for (the crayon, the
// set, the sticker shown there). Unlike an engine button it keeps the frame
// count it is given: a sticker button is a one-frame preview.

#include "PIM/widgets/CxButton.h"

enum : int
{
    PAINT_BUTTON_CRAYON = 0,
    PAINT_BUTTON_SET = 1,
    PAINT_BUTTON_STICKER = 2,
};

class CDrawButton : public CxButton
{
public:
    CDrawButton(int drawKind, int index) : m_drawKind(drawKind), m_index(index) {}

    int LoadPicture(const char* fileName, int frameCount) override
    {
        const int code = CxSprite::LoadPicture(fileName, frameCount);
        if (code == PIM_OK)
            ShowState(m_state);
        return code;
    }

    int GetDrawKind() const { return m_drawKind; }
    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }

private:
    int m_drawKind;
    int m_index;
};
