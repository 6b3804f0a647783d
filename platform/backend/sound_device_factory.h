// The one place that picks the sound device.
#pragma once

#include <memory>
#include <string>

#include "sound/sound_device.h"

// SDL2 audio, with SDL's audio driver of that name when one is given. Headless runs have no
// device (sounds play silently on their clocks) unless a driver is named, so tests can ask
// for SDL's "disk" driver and check what the program plays.
std::unique_ptr<TSoundDevice> CreateSoundDevice(bool headless, const std::string& driver);
