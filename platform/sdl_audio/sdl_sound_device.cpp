#include "platform/sdl_audio/sdl_sound_device.h"

#include <SDL.h>

#include "frame/log.h"

namespace {

// About 23 ms per period: short enough for clicks to follow the pointer, long enough not to
// starve on a busy machine.
constexpr Uint16 kPeriodFrames = 1024;

}  // namespace

TSdlSoundDevice::TSdlSoundDevice(std::string driver) : mDriver(std::move(driver)) {}

TSdlSoundDevice::~TSdlSoundDevice() {
  Close();
}

bool TSdlSoundDevice::Open(TSoundRenderer& renderer) {
  Close();
  if (!mDriver.empty()) SDL_SetHint(SDL_HINT_AUDIODRIVER, mDriver.c_str());
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    Log("No sound device (SDL audio: %s): sounds play silently", SDL_GetError());
    return false;
  }
  mSubsystemStarted = true;
  mRenderer = &renderer;
  SDL_AudioSpec wanted{};
  wanted.freq = kRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kChannels;
  wanted.samples = kPeriodFrames;
  wanted.callback = &TSdlSoundDevice::Callback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware takes, the mixer always
  // renders the same format.
  mDeviceId = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (mDeviceId == 0) {
    Log("No sound device (%s driver: %s): sounds play silently",
        SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "no", SDL_GetError());
    Close();
    return false;
  }
  Log("Sound device: %s driver, %d Hz, %d channels, %d frames per period",
      SDL_GetCurrentAudioDriver(), obtained.freq, obtained.channels, obtained.samples);
  SDL_PauseAudioDevice(mDeviceId, 0);
  return true;
}

void TSdlSoundDevice::Close() {
  if (mDeviceId != 0) {
    // Closing waits for a running callback to return; no call comes after it.
    SDL_CloseAudioDevice(mDeviceId);
    mDeviceId = 0;
  }
  if (mSubsystemStarted) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mSubsystemStarted = false;
  }
  mRenderer = nullptr;
}

void TSdlSoundDevice::Callback(void* device, uint8_t* stream, int length) {
  auto* self = static_cast<TSdlSoundDevice*>(device);
  self->mRenderer->Render(reinterpret_cast<int16_t*>(stream),
                          length / static_cast<int>(kChannels * sizeof(int16_t)));
}
