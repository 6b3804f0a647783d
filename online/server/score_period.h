// The periods a score table covers, and where the current one began. Periods follow UTC:
// days start at midnight, weeks on Monday, months on the first.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class TScorePeriod { kAllTime, kMonth, kWeek, kDay };

// "all", "month", "week", "day".
std::optional<TScorePeriod> ScorePeriodFromName(std::string_view name);

// Seconds since the epoch at which the period containing `now` began (0 for all time).
int64_t PeriodStart(TScorePeriod period, int64_t now);
