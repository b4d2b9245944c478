// Where a device's mixer plays: SDL2's audio device.
#pragma once

#include <cstdint>
#include <memory>

#include "mixer.h"

namespace dsound {

class Output {
public:
    virtual ~Output() = default;  // stops playback; the mixer is not called afterwards
};

// Opens the system's default audio output and starts feeding it from a mixer
// made for the output's rate. Null, with `mixer` untouched, when there is no
// audio output.
std::unique_ptr<Output> OpenSystemOutput(std::shared_ptr<Mixer>& mixer);

}  // namespace dsound
