#include "tf2/time.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace tf2
{

TimePoint get_now()
{
  return std::chrono::system_clock::now();
}

Duration durationFromSec(double t_sec)
{
  // Same split as upstream (32-bit seconds, nanoseconds rounded then carried),
  // so durations agree to the nanosecond with real tf2.
  int32_t sec = static_cast<int32_t>(std::floor(t_sec));
  int32_t nsec = static_cast<int32_t>(std::round((t_sec - sec) * 1e9));
  sec += (nsec / 1000000000l);
  nsec %= 1000000000l;
  return std::chrono::seconds(sec) + std::chrono::nanoseconds(nsec);
}

TimePoint timeFromSec(double t_sec)
{
  return TimePoint(durationFromSec(t_sec));
}

double durationToSec(const tf2::Duration & input)
{
  const int64_t count = input.count();
  const int32_t nsec = static_cast<int32_t>(count % 1000000000l);
  const int32_t sec = static_cast<int32_t>((count - nsec) / 1000000000l);
  return static_cast<double>(sec) + 1e-9 * static_cast<double>(nsec);
}

double timeToSec(const TimePoint & timepoint)
{
  return durationToSec(timepoint.time_since_epoch());
}

std::string displayTimePoint(const TimePoint & stamp)
{
  const char * format_str = "%.6f";
  const double current_time = timeToSec(stamp);
  const int buff_size = std::snprintf(nullptr, 0, format_str, current_time);
  if (buff_size < 0) {
    return std::string();
  }
  std::string buffer(static_cast<std::size_t>(buff_size) + 1, '\0');
  std::snprintf(&buffer[0], buffer.size(), format_str, current_time);
  buffer.resize(static_cast<std::size_t>(buff_size));
  return buffer;
}

}  // namespace tf2
