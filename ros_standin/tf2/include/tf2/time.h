#ifndef TF2__TIME_H_
#define TF2__TIME_H_

#include <chrono>
#include <string>

namespace tf2
{

using Duration = std::chrono::nanoseconds;
using TimePoint = std::chrono::time_point<std::chrono::system_clock, Duration>;

using IDuration = std::chrono::duration<int, std::nano>;
// This is the zero time in ROS; BufferCore reads it as "the latest common time".
static const TimePoint TimePointZero = TimePoint(IDuration::zero());

/// @brief The current system (wall) time.
TimePoint get_now();

/// @brief Seconds to a Duration, rounded to whole nanoseconds.
Duration durationFromSec(double t_sec);

/// @brief Seconds since the epoch to a TimePoint.
TimePoint timeFromSec(double t_sec);

/// @brief A Duration in seconds.
double durationToSec(const tf2::Duration & input);

/// @brief A TimePoint in seconds since the epoch.
double timeToSec(const TimePoint & timepoint);

/// @brief A TimePoint printed as seconds with "%.6f", as in tf2's error texts.
std::string displayTimePoint(const TimePoint & stamp);

}  // namespace tf2

#endif  // TF2__TIME_H_
