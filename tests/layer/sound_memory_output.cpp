// Native runs of the layer tests mix into memory, so that they need no
// sound hardware and always have a device.
#include "testing.h"

namespace {

const bool chosen = (PlatformSoundUseMemoryOutput(22050, 1), true);

}  // namespace
