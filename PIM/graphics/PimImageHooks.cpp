#include "PIM/graphics/PimImageHooks.h"

namespace {

ST_IMAGE_HOOKS g_hooks;

} // namespace

void SetImageHooks(const ST_IMAGE_HOOKS& hooks)
{
    g_hooks = hooks;
}

const ST_IMAGE_HOOKS& GetImageHooks()
{
    return g_hooks;
}
