// Reads arbitrary bytes as WM_USER messages between the game and its page host: every 8
// bytes are one message's wParam and lParam. The host's side joins them into texts (which
// must stay inside its buffer and never hold the terminator); the game's side takes the
// wParam of each as a host command, and sends each finished text back out, which must
// arrive unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "online/host_link.h"
#include "online/host_protocol.h"

namespace {

class TLoopbackHost : public THostLinkSystem {
 public:
  uint32_t TickMs() override { return mTick += 700; }
  bool PostToHost(uint32_t wparam, uint32_t lparam) override {
    std::string text;
    if (assembler.Add(wparam, lparam, &text)) last = text;
    return true;
  }
  float MasterVolume() override { return mVolume; }
  void SetMasterVolume(float volume) override { mVolume = volume; }
  void ShowGameCursor(bool) override {}
  void ReleaseMouseCapture() override {}

  THostTextAssembler assembler;
  std::string last;

 private:
  uint32_t mTick = 0;
  float mVolume = 1;
};

uint32_t Word(const uint8_t* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  THostTextAssembler host;
  TLoopbackHost loopback;
  THostLink link(loopback);
  link.SetMsnMode(size % 2 == 0);
  link.SetZylomMode(size % 3 == 0);
  for (size_t at = 0; at + 8 <= size; at += 8) {
    const uint32_t wparam = Word(data + at);
    const uint32_t lparam = Word(data + at + 4);
    std::string text;
    if (host.Add(wparam, lparam, &text)) {
      if (text.size() >= kHostTextBufferBytes || text.find('\0') != std::string::npos)
        __builtin_trap();
      // The same text sent by the game arrives unchanged.
      link.SendHostText(text, (wparam & 1) != 0);
      if (link.IsActive() && loopback.last != text) __builtin_trap();
    }
    if (host.Pending() >= kHostTextBufferBytes) __builtin_trap();
    link.HandleHostCommand(static_cast<long>(wparam % 16));
    link.SendScoreBroadcast(static_cast<long>(lparam));
    if (link.ConsumeMenuRequest() && !link.IsAtMenu()) __builtin_trap();
    link.ConsumeRestartRequest();
  }
  return 0;
}
