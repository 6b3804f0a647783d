// TServerMetrics: the server's counters in the Prometheus text format, served on
// "/metrics": requests by action and outcome, refusals by reason, and a histogram of the
// time taken to answer.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

class TServerMetrics {
 public:
  // action and outcome come from small fixed sets (the protocol's actions, the answer
  // kinds); reason is one of the handler's refusal words or empty.
  void Record(const std::string& action, const std::string& outcome, const std::string& reason,
              double seconds);

  std::string Render() const;

 private:
  static constexpr std::array<double, 12> kBuckets = {0.0005, 0.001, 0.002, 0.005, 0.01, 0.025,
                                                      0.05,   0.1,   0.25,  0.5,   1,    2.5};

  mutable std::mutex mMutex;
  std::map<std::pair<std::string, std::string>, uint64_t> mRequests;
  std::map<std::string, uint64_t> mRefusals;
  std::array<uint64_t, kBuckets.size() + 1> mLatency{};  // the last one: above all buckets
  double mLatencySum = 0;
  uint64_t mLatencyCount = 0;
};
