#ifndef RCLCPP__DURATION_HPP_
#define RCLCPP__DURATION_HPP_

#include <chrono>

#include "builtin_interfaces/msg/duration.hpp"
#include "rcl/time.h"
#include "rmw/time.h"

namespace rclcpp
{

class Time;

/// @brief A signed span of time in nanoseconds.
class Duration
{
public:
  Duration(int32_t seconds, uint32_t nanoseconds);

  explicit Duration(std::chrono::nanoseconds nanoseconds);

  // Implicit from any std::chrono::duration, as upstream.
  template<class Rep, class Period>
  Duration(const std::chrono::duration<Rep, Period> & duration)  // NOLINT(runtime/explicit)
  : Duration(std::chrono::duration_cast<std::chrono::nanoseconds>(duration))
  {
  }

  Duration(const builtin_interfaces::msg::Duration & duration_msg);  // NOLINT(runtime/explicit)

  explicit Duration(const rcl_duration_t & duration);

  Duration(const Duration & rhs);

  virtual ~Duration() = default;

  operator builtin_interfaces::msg::Duration() const;

  Duration & operator=(const Duration & rhs);
  Duration & operator=(const builtin_interfaces::msg::Duration & duration_msg);

  bool operator==(const rclcpp::Duration & rhs) const;
  bool operator!=(const rclcpp::Duration & rhs) const;
  bool operator<(const rclcpp::Duration & rhs) const;
  bool operator<=(const rclcpp::Duration & rhs) const;
  bool operator>=(const rclcpp::Duration & rhs) const;
  bool operator>(const rclcpp::Duration & rhs) const;

  Duration operator+(const rclcpp::Duration & rhs) const;
  Duration & operator+=(const rclcpp::Duration & rhs);
  Duration operator-(const rclcpp::Duration & rhs) const;
  Duration & operator-=(const rclcpp::Duration & rhs);
  Duration operator*(double scale) const;
  Duration & operator*=(double scale);

  /// @brief The largest representable duration.
  static Duration max();

  /// @brief The duration in nanoseconds.
  rcl_duration_value_t nanoseconds() const;

  /// @brief The duration in seconds (may lose precision).
  double seconds() const;

  static Duration from_seconds(double seconds);

  static Duration from_nanoseconds(rcl_duration_value_t nanoseconds);

  static Duration from_rmw_time(rmw_time_t duration);

  template<class DurationT>
  DurationT to_chrono() const
  {
    return std::chrono::duration_cast<DurationT>(std::chrono::nanoseconds(this->nanoseconds()));
  }

  rmw_time_t to_rmw_time() const;

private:
  rcl_duration_t rcl_duration_;

  // Upstream keeps the default constructor private; Time and the factories use it.
  Duration();

  friend class rclcpp::Time;
};

}  // namespace rclcpp

#endif  // RCLCPP__DURATION_HPP_
