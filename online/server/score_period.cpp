#include "online/server/score_period.h"

#include <chrono>

std::optional<TScorePeriod> ScorePeriodFromName(std::string_view name) {
  if (name == "all") return TScorePeriod::kAllTime;
  if (name == "month") return TScorePeriod::kMonth;
  if (name == "week") return TScorePeriod::kWeek;
  if (name == "day") return TScorePeriod::kDay;
  return std::nullopt;
}

int64_t PeriodStart(TScorePeriod period, int64_t now) {
  using namespace std::chrono;
  const sys_days day = floor<days>(sys_seconds(seconds(now)));
  switch (period) {
    case TScorePeriod::kAllTime:
      return 0;
    case TScorePeriod::kDay:
      return duration_cast<seconds>(day.time_since_epoch()).count();
    case TScorePeriod::kWeek: {
      const sys_days monday = day - (weekday(day) - Monday);
      return duration_cast<seconds>(monday.time_since_epoch()).count();
    }
    case TScorePeriod::kMonth: {
      const year_month_day date(day);
      const sys_days first = sys_days(date.year() / date.month() / 1);
      return duration_cast<seconds>(first.time_since_epoch()).count();
    }
  }
  return 0;
}
