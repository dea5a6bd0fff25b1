#include "runtime/DateTime.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace qx {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 0000-03-01, where the conversion below counts from, to
// 1899-12-30.
constexpr int64_t kEpochFromCycleStart = 693899;
// The days of 0001-01-01 and 9999-12-31, counted from 1899-12-30.
constexpr double kFirstDay = -693593, kLastDay = 2958465;

struct Civil {
  int64_t year;
  int month, day;
};

// Howard Hinnant's days-to-civil, on days counted from 0000-03-01.
Civil CivilFromDays(int64_t z) {
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

}  // namespace

std::string DateTimeText(double days) {
  if (!std::isfinite(days) || days <= kFirstDay - 1 || days >= kLastDay + 1) return "";
  // The whole days toward zero, the time of day from the fraction's size.
  double whole = std::trunc(days);
  int64_t seconds = std::llround(std::fabs(days - whole) * kSecondsPerDay);
  int64_t day = static_cast<int64_t>(whole);
  if (seconds >= kSecondsPerDay) {  // rounded up to the next midnight
    seconds -= kSecondsPerDay;
    ++day;
  }
  Civil c = CivilFromDays(day + kEpochFromCycleStart);
  char text[64];
  int n = snprintf(text, sizeof text, "%lld年%d月%d日", static_cast<long long>(c.year), c.month,
                   c.day);
  if (seconds != 0)
    snprintf(text + n, sizeof text - n, "%d时%d分%d秒", static_cast<int>(seconds / 3600),
             static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

}  // namespace qx
