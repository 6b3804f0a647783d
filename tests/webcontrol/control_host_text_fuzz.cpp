// Random WM_USER messages into the launcher control: every text it hands the page is shorter
// than the host's buffer and holds no zero byte; commands from random dispatch ids reach the
// game's window only for the ten methods that send one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "webcontrol/launcher_control.h"

namespace {

class TCountingWindow : public TControlWindow {
 public:
  bool Exists() const override { return true; }
  bool HasGameWindow() const override { return true; }
  void PostHostCommand(uint32_t code) override {
    if (code < kHostFirstCommand || code > kHostLastCommand) std::abort();
  }
  void PostQuit() override {}
  void Invalidate() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCountingWindow window;
  TLauncherControl control(
      [](const std::string& text) {
        if (text.size() >= kHostTextBufferBytes || text.find('\0') != std::string::npos)
          std::abort();
      },
      [](TLauncherControl* c) { c->SetFinished(); });
  control.WindowCreated(&window);
  for (size_t at = 0; at + 9 <= size; at += 9) {
    uint32_t wparam = 0, lparam = 0;
    std::memcpy(&wparam, data + at + 1, 4);
    std::memcpy(&lparam, data + at + 5, 4);
    if (data[at] & 0x80) {
      control.Invoke(static_cast<int8_t>(data[at] & 0x7F) - 8);
    } else {
      control.ReceiveHostMessage(wparam, lparam);
    }
  }
  control.Release();
  return 0;
}
