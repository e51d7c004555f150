#pragma once
// The farmyard ("FarmyardMenu"): the hub the farm's games open from. For
// now it is its option file (FarmyardMenu/FarmyardMenu.ini) and one answer
// of its own: each score milestone (eggs collected from the hen) bulges the
// score and plays "FarmyardMenu/eggs<N>.seq", N counting from 1.

#include "DAX/rooms/CDaxWindow.h"

class CFarmyardMenu : public CDaxWindow
{
public:
    explicit CFarmyardMenu(CxGameApp* app) : CDaxWindow(app) {}

    void OnMilestone(int index) override;
};
