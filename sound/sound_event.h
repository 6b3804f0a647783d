// An auto-reset event between the mixer and the code that watches a buffer: the mixer
// signals it when the play position passes a notification offset (or the buffer stops);
// Take answers whether it was signalled since the last Take and clears it.
#pragma once

#include <atomic>

class TSoundEvent {
 public:
  void Signal() { mSignalled.store(true, std::memory_order_release); }
  bool Take() { return mSignalled.exchange(false, std::memory_order_acq_rel); }

 private:
  std::atomic<bool> mSignalled{false};
};
