#ifndef RCLCPP__CLOCK_HPP_
#define RCLCPP__CLOCK_HPP_

#include <functional>
#include <memory>
#include <mutex>

#include "rcl/time.h"
#include "rclcpp/context.hpp"
#include "rclcpp/contexts/default_context.hpp"
#include "rclcpp/duration.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/time.hpp"

namespace rclcpp
{

/// @brief Callbacks a clock would call around a time jump.
///
/// The stand-in has no simulated time, so ROS time never jumps and no jump callback
/// is ever invoked; the handler only exists to be registered and released.
class JumpHandler
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(JumpHandler)

  using pre_callback_t = std::function<void()>;
  using post_callback_t = std::function<void(const rcl_time_jump_t &)>;

  JumpHandler(
    pre_callback_t pre_callback, post_callback_t post_callback,
    const rcl_jump_threshold_t & threshold);

  pre_callback_t pre_callback;
  post_callback_t post_callback;
  rcl_jump_threshold_t notice_threshold;
};

/// @brief Reads the time of one clock type: ROS time (the system time here, since the
/// stand-in has no /clock), system time or steady time.
class Clock
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(Clock)

  explicit Clock(rcl_clock_type_t clock_type = RCL_SYSTEM_TIME);

  ~Clock();

  /// @brief The current time of this clock.
  Time now() const;

  /// @brief Sleeps until `until` (a time of this clock) or until the context shuts down.
  /// @return true if the time was reached, false on shutdown.
  /// @throws std::runtime_error if the context is invalid or the clock types differ.
  bool sleep_until(Time until, Context::SharedPtr context = contexts::get_global_default_context());

  /// @brief sleep_until(now() + rel_time).
  bool sleep_for(
    Duration rel_time, Context::SharedPtr context = contexts::get_global_default_context());

  /// @brief True once the clock runs; always true without simulated time.
  bool started();

  /// @brief Returns started() at once; the clock has always started.
  bool wait_until_started(Context::SharedPtr context = contexts::get_global_default_context());

  /// @brief Same, with a timeout that is never needed.
  bool wait_until_started(
    const rclcpp::Duration & timeout,
    Context::SharedPtr context = contexts::get_global_default_context(),
    const rclcpp::Duration & wait_tick_ns = rclcpp::Duration(0, static_cast<uint32_t>(1e7)));

  /// @brief False: simulated time is never active in the stand-in.
  bool ros_time_is_active();

  rcl_clock_type_t get_clock_type() const noexcept;

  std::mutex & get_clock_mutex() noexcept;

  /// @brief Registers callbacks for time jumps; they stay registered while the handler lives.
  JumpHandler::SharedPtr create_jump_callback(
    JumpHandler::pre_callback_t pre_callback, JumpHandler::post_callback_t post_callback,
    const rcl_jump_threshold_t & threshold);

private:
  rcl_clock_type_t clock_type_;
  std::mutex clock_mutex_;
};

}  // namespace rclcpp

#endif  // RCLCPP__CLOCK_HPP_
