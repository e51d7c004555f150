#include "game/common/CFarmyardMenu.h"

namespace {

constexpr int kCheerSize = 56;

} // namespace

void CFarmyardMenu::OnMilestone(int index)
{
    GetScore().Bulge(kCheerSize);
    CxString file;
    file.Format("FarmyardMenu/eggs%d.seq", index + 1);
    PostSequence(file.GetText());
}
