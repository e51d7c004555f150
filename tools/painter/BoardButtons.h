#pragma once
// The wooden board buttons of every room: a strip of 96 x 96 frames, 24-bit,
// whose five frames are the looks of the five button states (normal,
// checked, highlighted, pressed, disabled). The whole frame is the button,
// so these pictures need no see-through colour.

#include "tools/painter/PaintKit.h"

constexpr int32_t kBoardSize = 96;
constexpr int kButtonStates = 5;

// How a state looks: how much lighter (or darker) the face is, how far it
// sinks (pressed), and whether it is greyed out (disabled). Every five-state
// button of the demo takes its looks from here, on a board or not.
struct ST_BUTTON_LOOK
{
    int light;
    int sink;
    bool grey;
};
// In frame order.
extern const ST_BUTTON_LOOK kButtonLooks[kButtonStates];

// `value` made lighter by `light` (darker when negative), kept in 0..255.
uint8_t Lift(int value, int light);
// The board of the frame starting at column `x`, lit by `light`.
void PaintBoard(CxDrawSurface& s, int32_t x, int light, bool grey);
// Makes `s` a five-state strip. `face` paints the button's picture once, on
// a clear 32-bit kBoardSize x kBoardSize surface (alpha 0 around it); each
// frame then gets its board with that face stamped on it: dark-outlined and
// shadowed so that it stands out from the wood, lit for its state, sunk when
// pressed and grey when disabled.
void PaintBoardStrip(CxDrawSurface& s, void (*face)(CxDrawSurface& face));
