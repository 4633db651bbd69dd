#ifndef RCLCPP__TIME_HPP_
#define RCLCPP__TIME_HPP_

#include "builtin_interfaces/msg/time.hpp"
#include "rcl/time.h"
#include "rclcpp/duration.hpp"

namespace rclcpp
{

class Clock;

/// @brief A point in time of a given clock type, in nanoseconds since its epoch.
class Time
{
public:
  /// @throws std::runtime_error for negative seconds.
  Time(int32_t seconds, uint32_t nanoseconds, rcl_clock_type_t clock_type = RCL_SYSTEM_TIME);

  /// @throws std::runtime_error for negative nanoseconds.
  explicit Time(int64_t nanoseconds = 0, rcl_clock_type_t clock_type = RCL_SYSTEM_TIME);

  Time(const Time & rhs);

  Time(  // NOLINT(runtime/explicit)
    const builtin_interfaces::msg::Time & time_msg, rcl_clock_type_t clock_type = RCL_ROS_TIME);

  explicit Time(const rcl_time_point_t & time_point);

  virtual ~Time() = default;

  operator builtin_interfaces::msg::Time() const;

  Time & operator=(const Time & rhs);
  Time & operator=(const builtin_interfaces::msg::Time & time_msg);

  /// @throws std::runtime_error if the clock types differ (all comparisons).
  bool operator==(const rclcpp::Time & rhs) const;
  bool operator!=(const rclcpp::Time & rhs) const;
  bool operator<(const rclcpp::Time & rhs) const;
  bool operator<=(const rclcpp::Time & rhs) const;
  bool operator>=(const rclcpp::Time & rhs) const;
  bool operator>(const rclcpp::Time & rhs) const;

  Time operator+(const rclcpp::Duration & rhs) const;
  Duration operator-(const rclcpp::Time & rhs) const;
  Time operator-(const rclcpp::Duration & rhs) const;
  Time & operator+=(const rclcpp::Duration & rhs);
  Time & operator-=(const rclcpp::Duration & rhs);

  /// @brief Nanoseconds since the clock's epoch.
  rcl_time_point_value_t nanoseconds() const;

  /// @brief The largest representable time.
  static Time max();

  /// @brief Seconds since the clock's epoch (may lose precision).
  double seconds() const;

  rcl_clock_type_t get_clock_type() const;

private:
  rcl_time_point_t rcl_time_;
  friend Clock;
};

Time operator+(const rclcpp::Duration & lhs, const rclcpp::Time & rhs);

}  // namespace rclcpp

#endif  // RCLCPP__TIME_HPP_
