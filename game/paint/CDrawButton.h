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

    // The sprite's loader hands the picture on through SetSurface, where an
    // engine button would cut it into five frames whatever it was asked:
    // here the count given stays. A one-frame button shows its only frame
    // in every state. A sprite keeps the size it had across pictures; a
    // row place takes each new preview's own size (a background's thumb is
    // lower than a sticker's).
    int SetSurface(CxDrawSurface* surface, int frameCount = PIM_BUTTON_STATE_COUNT) override
    {
        const int code = CxSprite::SetSurface(surface, frameCount);
        if (code != PIM_OK)
            return code;
        SetSize(GetFrameSize());
        ShowState(m_state);
        return code;
    }
    int LoadPicture(const char* fileName, int frameCount) override
    {
        return CxSprite::LoadPicture(fileName, frameCount);
    }

    int GetDrawKind() const { return m_drawKind; }
    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }

private:
    int m_drawKind;
    int m_index;
};
