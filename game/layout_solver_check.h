// The solver's share of a layout, measured off the caller's thread: the layout is dealt
// many times as free play deals it and a greedy player (always the most promising move, no
// going back) plays each deal; the share of deals it clears tells how kind the layout is.
// The editor starts a check after every change and shows the count as it grows; a new
// start or the destructor stops the running one at its next deal.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "game/board.h"
#include "game/level_layout.h"

class TLayoutSolverCheck {
 public:
  struct TProgress {
    unsigned generation = 0;  // which Start the figures belong to
    int dealsWanted = 0;
    int dealsDone = 0;
    int dealsCleared = 0;
    bool running = false;
  };

  TLayoutSolverCheck() = default;
  ~TLayoutSolverCheck();
  TLayoutSolverCheck(const TLayoutSolverCheck&) = delete;
  TLayoutSolverCheck& operator=(const TLayoutSolverCheck&) = delete;

  // Stops a running check and starts one over this layout. setup is made by the caller (it
  // reads the settings, which belong to the main thread). Returns the new generation.
  unsigned Start(const TLevelLayout& layout, int deals, const TBoardSetup& setup,
                 uint32_t seed = 1);
  void Stop();
  TProgress Progress() const;

 private:
  void Run(TLevelLayout layout, int deals, TBoardSetup setup, uint32_t seed);

  mutable std::mutex mMutex;
  TProgress mProgress;
  std::atomic<bool> mStop{false};
  std::thread mThread;
};
