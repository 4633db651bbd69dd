#ifndef TF2_ROS__BUFFER_INTERFACE_H_
#define TF2_ROS__BUFFER_INTERFACE_H_

#include <chrono>
#include <cstdint>
#include <string>

#include "builtin_interfaces/msg/duration.hpp"
#include "builtin_interfaces/msg/time.hpp"
#include "geometry_msgs/msg/transform_stamped.hpp"
#include "rclcpp/rclcpp.hpp"
#include "tf2/convert.h"
#include "tf2/exceptions.h"
#include "tf2/time.h"

namespace tf2_ros
{

/// @brief A tf2 time point as a builtin_interfaces Time.
inline builtin_interfaces::msg::Time toMsg(const tf2::TimePoint & t)
{
  std::chrono::nanoseconds ns =
    std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch());
  std::chrono::seconds s = std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch());
  builtin_interfaces::msg::Time time_msg;
  time_msg.sec = static_cast<int32_t>(s.count());
  time_msg.nanosec = static_cast<uint32_t>(ns.count() % 1000000000ull);
  return time_msg;
}

/// @brief A builtin_interfaces Time as a tf2 time point.
inline tf2::TimePoint fromMsg(const builtin_interfaces::msg::Time & time_msg)
{
  int64_t d = time_msg.sec * 1000000000ull + time_msg.nanosec;
  std::chrono::nanoseconds ns(d);
  return tf2::TimePoint(std::chrono::duration_cast<tf2::Duration>(ns));
}

/// @brief A tf2 duration as a builtin_interfaces Duration.
inline builtin_interfaces::msg::Duration toMsg(const tf2::Duration & t)
{
  builtin_interfaces::msg::Duration duration_msg;
  std::chrono::nanoseconds ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t);
  std::chrono::seconds s = std::chrono::duration_cast<std::chrono::seconds>(t);
  duration_msg.sec = static_cast<int32_t>(s.count());
  duration_msg.nanosec = static_cast<uint32_t>(ns.count() % 1000000000ull);
  return duration_msg;
}

/// @brief A builtin_interfaces Duration as a tf2 duration.
inline tf2::Duration fromMsg(const builtin_interfaces::msg::Duration & duration_msg)
{
  int64_t d = duration_msg.sec * 1000000000ull + duration_msg.nanosec;
  std::chrono::nanoseconds ns(d);
  return tf2::Duration(std::chrono::duration_cast<tf2::Duration>(ns));
}

/// @brief A builtin_interfaces Time in seconds.
inline double timeToSec(const builtin_interfaces::msg::Time & time_msg)
{
  auto ns = std::chrono::duration<double, std::nano>(time_msg.nanosec);
  auto s = std::chrono::duration<double>(time_msg.sec);
  return (s + std::chrono::duration_cast<std::chrono::duration<double>>(ns)).count();
}

/// @brief An rclcpp::Time as a tf2 time point. The clock type is dropped, as
/// upstream does: tf2 assumes all its stamps come from one consistent clock.
inline tf2::TimePoint fromRclcpp(const rclcpp::Time & time)
{
  return tf2::TimePoint(std::chrono::nanoseconds(time.nanoseconds()));
}

/// @brief A tf2 time point as an rclcpp::Time of the default clock type.
inline rclcpp::Time toRclcpp(const tf2::TimePoint & time)
{
  return rclcpp::Time(std::chrono::nanoseconds(time.time_since_epoch()).count());
}

/// @brief An rclcpp::Duration as a tf2 duration.
inline tf2::Duration fromRclcpp(const rclcpp::Duration & duration)
{
  return tf2::Duration(std::chrono::nanoseconds(duration.nanoseconds()));
}

/// @brief A tf2 duration as an rclcpp::Duration.
inline rclcpp::Duration toRclcpp(const tf2::Duration & duration)
{
  return rclcpp::Duration(std::chrono::duration_cast<std::chrono::nanoseconds>(duration));
}

/// @brief Synchronous transform lookups with a timeout.
class BufferInterface
{
public:
  virtual ~BufferInterface() = default;

  /// @brief The transform from source_frame to target_frame at `time`, waiting
  /// up to `timeout` for it. Throws a tf2::TransformException on failure.
  virtual geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
    const tf2::Duration timeout) const = 0;

  /// @brief The transform between two frames at two times through fixed_frame,
  /// waiting up to `timeout` for it.
  virtual geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const tf2::TimePoint & target_time,
    const std::string & source_frame, const tf2::TimePoint & source_time,
    const std::string & fixed_frame, const tf2::Duration timeout) const = 0;

  /// @brief Whether the transform is available within `timeout`; the reason
  /// goes to `errstr` when given.
  virtual bool canTransform(
    const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
    const tf2::Duration timeout, std::string * errstr = NULL) const = 0;

  /// @brief Whether the two-time transform is available within `timeout`.
  virtual bool canTransform(
    const std::string & target_frame, const tf2::TimePoint & target_time,
    const std::string & source_frame, const tf2::TimePoint & source_time,
    const std::string & fixed_frame, const tf2::Duration timeout,
    std::string * errstr = NULL) const = 0;

  /// @brief `in` expressed in target_frame, looked up at the stamp of `in`
  /// (waiting up to `timeout`). Needs the tf2 conversions of T (e.g. from
  /// tf2_geometry_msgs); throws what lookupTransform throws.
  template<class T>
  T & transform(
    const T & in, T & out, const std::string & target_frame,
    tf2::Duration timeout = tf2::durationFromSec(0.0)) const
  {
    tf2::doTransform(
      in, out, lookupTransform(target_frame, tf2::getFrameId(in), tf2::getTimestamp(in), timeout));
    return out;
  }

  /// @brief The same, returning the result.
  template<class T>
  T transform(
    const T & in, const std::string & target_frame,
    tf2::Duration timeout = tf2::durationFromSec(0.0)) const
  {
    T out;
    return transform(in, out, target_frame, timeout);
  }

  /// @brief The same, converting the result to another type B.
  template<class A, class B>
  B & transform(
    const A & in, B & out, const std::string & target_frame,
    tf2::Duration timeout = tf2::durationFromSec(0.0)) const
  {
    A copy = transform(in, target_frame, timeout);
    tf2::convert(copy, out);
    return out;
  }
};

}  // namespace tf2_ros

#endif  // TF2_ROS__BUFFER_INTERFACE_H_
