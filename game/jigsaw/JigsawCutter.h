#pragma once
// Cutting a picture into the jigsaw's nine pieces. Each piece is a 16-bit
// surface of (pw + 130) x (ph + 130) for pieces of pw x ph: the piece's own
// square in the middle, its knobs reaching into the margin around it. The
// value JIGSAW_OUTSIDE marks what is not the piece (it becomes the piece's
// transparent colour); inside, the picture's pixels, with a one-pixel dark
// border (value 0) along the cut.
//
// The mask is drawn with the surface's own primitives: value JIGSAW_OUTSIDE
// everywhere, JIGSAW_INSIDE on the square, then each knob or notch as a
// filled circle of the seam's radius, its centre the seam's offset before
// the seam line on the middle of the shared edge. Both pieces of a seam use
// the same circle, so a knob fits its notch exactly.

#include "game/jigsaw/JigsawModel.h"

#include <array>
#include <cstdint>
#include <memory>

class CxDrawSurface;

constexpr uint32_t JIGSAW_OUTSIDE = 6;
constexpr uint32_t JIGSAW_INSIDE = 10;
// What a picture pixel of value JIGSAW_OUTSIDE becomes, so that it does not
// show as a hole: the nearest dark blue.
constexpr uint32_t JIGSAW_OUTSIDE_STANDIN = 7;

using JigsawPieceSurfaces = std::array<std::unique_ptr<CxDrawSurface>, JIGSAW_PIECES>;

// The pieces of `picture` (any depth; it is not changed), indexed a * 3 + b.
// PIM_OK, or the error; on an error `pieces` holds nothing. A picture of a
// size JigsawPictureSizeProblem refuses gives PIM_ERR_BAD_ARG, unreported.
int JigsawCutPicture(CxDrawSurface& picture, const ST_JIGSAW_SEAMS& seams, JigsawPieceSurfaces& pieces);

// The border: every pixel off the surface's edge that is neither `key` nor
// 0 and has `key` left, right, above or below it (as it was before this
// call) becomes 0. 16-bit surfaces only (else an error, nothing changed).
int JigsawOutlinePiece(CxDrawSurface& surface, uint32_t key);
