#include "online/server/rate_limiter.h"

#include <algorithm>

namespace {

constexpr double kSweepSeconds = 60;

}  // namespace

bool TRateLimiter::Allow(const std::string& address, double nowSeconds) {
  if (mPerSecond <= 0) return true;
  std::lock_guard lock(mMutex);
  if (nowSeconds - mLastSweep > kSweepSeconds) Sweep(nowSeconds);
  auto [entry, added] = mBuckets.try_emplace(address, TBucket{mBurst, nowSeconds});
  TBucket& bucket = entry->second;
  if (!added) {
    // A clock that went back adds nothing.
    const double elapsed = std::max(0.0, nowSeconds - bucket.last);
    bucket.tokens = std::min(mBurst, bucket.tokens + elapsed * mPerSecond);
    bucket.last = nowSeconds;
  }
  if (bucket.tokens < 1) return false;
  bucket.tokens -= 1;
  return true;
}

size_t TRateLimiter::TrackedAddresses() const {
  std::lock_guard lock(mMutex);
  return mBuckets.size();
}

void TRateLimiter::Sweep(double nowSeconds) {
  mLastSweep = nowSeconds;
  std::erase_if(mBuckets, [&](const auto& entry) {
    const TBucket& bucket = entry.second;
    return bucket.tokens + (nowSeconds - bucket.last) * mPerSecond >= mBurst;
  });
}
