#include "platform/backend/sound_device_factory.h"

#include "platform/sdl_audio/sdl_sound_device.h"

std::unique_ptr<TSoundDevice> CreateSoundDevice(bool headless, const std::string& driver) {
  if (headless && driver.empty()) return nullptr;
  return std::make_unique<TSdlSoundDevice>(driver);
}
