#pragma once
// The round game badges of the hubs: 32-bit with clear corners, in three
// looks: normal, highlighted (lit, with a yellow halo) and locked (grey,
// a big padlock in front), so a child sees at once which games are open.
// Each hub paints its own symbols with the look's ink.

#include "tools/painter/PaintKit.h"

constexpr int32_t kBadge = 104;

enum EBadgeLook
{
    kBadgeNormal,
    kBadgeHighlighted,
    kBadgeLocked,
};

// A colour as the look shows it: lighter when highlighted, grey when locked.
struct BadgeInk
{
    const CxDrawSurface& s;
    EBadgeLook look;
    uint32_t operator()(int r, int g, int b) const;
};

// Makes `s` a clear kBadge x kBadge picture with the badge's rim and its
// back in `back`'s colour, as `look` shows them.
void PaintBadgeBack(CxDrawSurface& s, EBadgeLook look, const int (&back)[3]);
// The padlock in front of a locked badge.
void PaintPadlock(CxDrawSurface& s);

// The three pictures of one badge for a picture list: `path` without its
// ".tga", each look painted by `paint<game, look>`.
#define BADGE_PICTURES(path, paint, game)                                                                          \
    {path ".tga", &paint<game, kBadgeNormal>, kBadge, kBadge, 32},                                                 \
        {path "_hi.tga", &paint<game, kBadgeHighlighted>, kBadge, kBadge, 32},                                     \
        {path "_lock.tga", &paint<game, kBadgeLocked>, kBadge, kBadge, 32}
