#include "online/server/server_metrics.h"

#include <cstdio>

void TServerMetrics::Record(const std::string& action, const std::string& outcome,
                            const std::string& reason, double seconds) {
  std::lock_guard lock(mMutex);
  ++mRequests[{action, outcome}];
  if (!reason.empty() && reason != "ok") ++mRefusals[reason];
  size_t bucket = 0;
  while (bucket < kBuckets.size() && seconds > kBuckets[bucket]) ++bucket;
  ++mLatency[bucket];
  mLatencySum += seconds;
  ++mLatencyCount;
}

std::string TServerMetrics::Render() const {
  std::lock_guard lock(mMutex);
  std::string out;
  char line[256];
  out += "# HELP hiscored_requests_total Requests answered, by action and outcome.\n";
  out += "# TYPE hiscored_requests_total counter\n";
  for (const auto& [key, count] : mRequests) {
    std::snprintf(line, sizeof line, "hiscored_requests_total{action=\"%s\",outcome=\"%s\"} %llu\n",
                  key.first.c_str(), key.second.c_str(), static_cast<unsigned long long>(count));
    out += line;
  }
  out += "# HELP hiscored_refusals_total Requests refused, by reason.\n";
  out += "# TYPE hiscored_refusals_total counter\n";
  for (const auto& [reason, count] : mRefusals) {
    std::snprintf(line, sizeof line, "hiscored_refusals_total{reason=\"%s\"} %llu\n",
                  reason.c_str(), static_cast<unsigned long long>(count));
    out += line;
  }
  out += "# HELP hiscored_request_duration_seconds Time from request to answer.\n";
  out += "# TYPE hiscored_request_duration_seconds histogram\n";
  uint64_t cumulative = 0;
  for (size_t i = 0; i <= kBuckets.size(); ++i) {
    cumulative += mLatency[i];
    if (i < kBuckets.size()) {
      std::snprintf(line, sizeof line, "hiscored_request_duration_seconds_bucket{le=\"%g\"} %llu\n",
                    kBuckets[i], static_cast<unsigned long long>(cumulative));
    } else {
      std::snprintf(line, sizeof line,
                    "hiscored_request_duration_seconds_bucket{le=\"+Inf\"} %llu\n",
                    static_cast<unsigned long long>(cumulative));
    }
    out += line;
  }
  std::snprintf(line, sizeof line,
                "hiscored_request_duration_seconds_sum %.6f\n"
                "hiscored_request_duration_seconds_count %llu\n",
                mLatencySum, static_cast<unsigned long long>(mLatencyCount));
  out += line;
  return out;
}
