// Date-time values: a double counting days from 30 December 1899 at
// midnight, the fraction the time of day (for days before it, the time
// still counts forward from that day's midnight), as automation has them.
#pragma once

#include <string>

namespace qx {

// "2024年3月5日", followed by "14时7分9秒" unless the time is midnight,
// to the nearest second; empty for a value that names no day of the years
// 1 to 9999.
std::string DateTimeText(double days);

}  // namespace qx
