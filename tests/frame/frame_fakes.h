// Recording stand-ins for the window manager, sound and renderer links.
#pragma once

#include <string>
#include <vector>

#include "frame/frame_links.h"

class TRecordingWindowManager : public TWindowManagerLink {
 public:
  void HandleEvent(const TEvent& event) override { events.push_back(event); }
  bool IsSuspended() const override { return suspended; }
  bool BlocksMouseInput() const override { return blocksMouse; }
  void RequestRedraw() override { ++redraws; }
  void SetTopModalClockRunning(bool running) override { clockRunning = running; }
  std::vector<TEvent> events;
  bool suspended = false;
  bool blocksMouse = false;
  bool clockRunning = true;
  int redraws = 0;
};

class TRecordingSound : public TSoundLink {
 public:
  bool Init() override { return true; }
  void Enable(bool on) override { enabled = on; }
  void Update() override { ++updates; }
  void SetMasterVolume(float volume) override { master = volume; }
  float MasterVolume() const override { return master; }
  void SetGroupVolume(int, float) override {}
  float GroupVolume(int) const override { return master; }
  bool PlayMusic(const std::string&) override { return false; }
  void StopMusic() override {}
  std::string CurrentMusic() const override { return ""; }
  bool PlayEffect(const std::string&, int) override { return false; }
  bool enabled = true;
  int updates = 0;
  float master = 1.0f;
};

class TRecordingRenderer : public TRenderLink {
 public:
  bool IsDisplayValid() const override { return valid; }
  void RestoreDisplay() override {
    ++restores;
    valid = true;
  }
  void OnInactive() override { ++inactive; }
  void ToggleOverlay() override { overlay = !overlay; }
  int RefreshCursor() override { return 0; }
  bool WriteFramePng(const std::string& path) override {
    frames.push_back(path);
    return true;
  }
  bool valid = true;
  bool overlay = false;
  int restores = 0;
  int inactive = 0;
  std::vector<std::string> frames;
};
