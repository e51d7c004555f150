#include "PIM/backends/headless/PimHeadlessBackend.h"

#include "PIM/app/CxWindowApp.h"
#include "PIM/backends/headless/CxHeadlessAudioDevice.h"
#include "PIM/backends/headless/CxHeadlessWindow.h"

#include <new>

namespace {

CxPlatformWindow* MakeWindow()
{
    return new (std::nothrow) CxHeadlessWindow();
}

std::unique_ptr<CxAudioDevice> MakeAudioDevice()
{
    return std::make_unique<CxHeadlessAudioDevice>();
}

} // namespace

const ST_PLATFORM_BACKEND& HeadlessBackend()
{
    static const ST_PLATFORM_BACKEND backend{"headless", true, &MakeWindow, &MakeAudioDevice};
    return backend;
}

CxHeadlessWindow* HeadlessWindowOf(const CxWindowApp& app)
{
    return dynamic_cast<CxHeadlessWindow*>(app.GetPlatformWindow());
}
