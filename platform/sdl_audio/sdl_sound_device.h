// TSdlSoundDevice: the sound device on SDL2 audio. It opens the default output at 44100 Hz,
// 16-bit stereo (SDL converts when the hardware wants another format) and calls the mixer
// from SDL's audio thread. A driver name picks SDL's audio driver ("disk" and "dummy" run
// without a sound card, so tests can take the real path); empty leaves the choice to SDL.
#pragma once

#include <cstdint>
#include <string>

#include "sound/sound_device.h"

class TSdlSoundDevice : public TSoundDevice {
 public:
  explicit TSdlSoundDevice(std::string driver = "");
  ~TSdlSoundDevice() override;
  TSdlSoundDevice(const TSdlSoundDevice&) = delete;
  TSdlSoundDevice& operator=(const TSdlSoundDevice&) = delete;

  bool Open(TSoundRenderer& renderer) override;
  void Close() override;

 private:
  static void Callback(void* device, uint8_t* stream, int length);

  std::string mDriver;
  TSoundRenderer* mRenderer = nullptr;
  uint32_t mDeviceId = 0;
  bool mSubsystemStarted = false;
};
