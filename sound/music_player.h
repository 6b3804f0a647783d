// TMusicPlayer: the one background music piece the program keeps playing: a file streamed in
// the music group, looping until it is stopped or another piece replaces it. Main thread.
#pragma once

#include <memory>
#include <string>

class TSound;

class TMusicPlayer {
 public:
  // Starts file (stopping the piece before); the piece already playing keeps playing.
  bool Play(const std::string& file);
  void Stop();
  // "" when nothing plays.
  const std::string& Current() const { return mFile; }

 private:
  std::shared_ptr<TSound> mSound;
  std::string mFile;
};
