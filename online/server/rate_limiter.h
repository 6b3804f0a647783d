// TRateLimiter: a token bucket per client address. Each address may spend `burst`
// requests at once and regains `perSecond` of them every second. Buckets that have
// filled up again are forgotten now and then, so the table stays as small as the set of
// recently active addresses.
#pragma once

#include <mutex>
#include <string>
#include <unordered_map>

class TRateLimiter {
 public:
  // perSecond 0 turns the limiter off.
  TRateLimiter(double perSecond, double burst) : mPerSecond(perSecond), mBurst(burst) {}

  // Takes one token of the address's bucket; false when the bucket is empty.
  bool Allow(const std::string& address, double nowSeconds);

  size_t TrackedAddresses() const;

 private:
  struct TBucket {
    double tokens;
    double last;  // when tokens was computed
  };

  void Sweep(double nowSeconds);

  const double mPerSecond;
  const double mBurst;
  mutable std::mutex mMutex;
  std::unordered_map<std::string, TBucket> mBuckets;
  double mLastSweep = 0;
};
