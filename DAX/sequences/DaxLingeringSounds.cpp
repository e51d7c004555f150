#include "DAX/sequences/DaxLingeringSounds.h"

#include "PIM/sound/CxWave.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

std::vector<CDaxSound>& Kept()
{
    static std::vector<CDaxSound> kept;
    return kept;
}

bool IsBusy(const CDaxSound& sound)
{
    return sound && (sound->IsStarted() || sound->IsQueued());
}

} // namespace

void DaxKeepSoundPlaying(CDaxSound sound)
{
    DaxSweepLingeringSounds();
    if (!IsBusy(sound))
        return;
    try {
        Kept().push_back(std::move(sound));
    } catch (const std::bad_alloc&) {
        // The sound stops with its last handle: a lost tail, not a fault.
    }
}

size_t DaxSweepLingeringSounds()
{
    std::vector<CDaxSound>& kept = Kept();
    kept.erase(std::remove_if(kept.begin(), kept.end(), [](const CDaxSound& sound) { return !IsBusy(sound); }),
               kept.end());
    return kept.size();
}

void DaxReleaseLingeringSounds()
{
    std::vector<CDaxSound> kept;
    kept.swap(Kept());
}
