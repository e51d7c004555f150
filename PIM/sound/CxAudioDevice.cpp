#include "PIM/sound/CxAudioDevice.h"

namespace {

// Beyond this the rate times a second's milliseconds could overflow the
// frame arithmetic; no sound card comes near it.
constexpr uint32_t kMaxDeviceRate = 1000000;

} // namespace

CxAudioDevice::~CxAudioDevice() = default;

bool CxAudioDevice::ValidFormat(uint32_t rate, uint16_t channels, PimAudioPull pull)
{
    return pull && rate > 0 && rate <= kMaxDeviceRate && (channels == 1 || channels == 2);
}
