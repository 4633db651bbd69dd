#include "rclcpp/clock.hpp"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <stdexcept>

#include "rclcpp/detail/scope_exit.hpp"

namespace rclcpp
{

JumpHandler::JumpHandler(
  pre_callback_t pre_callback, post_callback_t post_callback,
  const rcl_jump_threshold_t & threshold)
: pre_callback(pre_callback),
  post_callback(post_callback),
  notice_threshold(threshold)
{
}

Clock::Clock(rcl_clock_type_t clock_type)
: clock_type_(clock_type)
{
  if (
    clock_type != RCL_ROS_TIME && clock_type != RCL_SYSTEM_TIME && clock_type != RCL_STEADY_TIME) {
    throw std::invalid_argument("failed to initialize rcl clock: clock type is not valid");
  }
}

Clock::~Clock() {}

Time Clock::now() const
{
  int64_t nanoseconds = 0;
  if (clock_type_ == RCL_STEADY_TIME) {
    nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count();
  } else {
    // ROS time falls back to the system time while no simulated time is active, which in
    // the stand-in is always.
    nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
  }
  return Time(nanoseconds, clock_type_);
}

bool Clock::sleep_until(Time until, Context::SharedPtr context)
{
  if (!context || !context->is_valid()) {
    throw std::runtime_error("context cannot be slept with because it's invalid");
  }
  const auto this_clock_type = get_clock_type();
  if (until.get_clock_type() != this_clock_type) {
    throw std::runtime_error("until's clock type does not match this clock's type");
  }

  std::condition_variable cv;
  // Wake this thread if the context is shut down. As upstream, the notification is not
  // made under the clock mutex, so a shutdown racing with the start of the sleep can be
  // missed until the deadline.
  rclcpp::OnShutdownCallbackHandle shutdown_cb_handle =
    context->add_on_shutdown_callback([&cv]() { cv.notify_one(); });
  RCLCPP_STANDIN_SCOPE_EXIT(context->remove_on_shutdown_callback(shutdown_cb_handle));

  // Map the deadline onto the matching std::chrono clock and wait on that.
  const Duration delta_t = until - now();
  std::unique_lock<std::mutex> lock(clock_mutex_);
  if (this_clock_type == RCL_STEADY_TIME) {
    const auto chrono_until =
      std::chrono::steady_clock::now() + std::chrono::nanoseconds(delta_t.nanoseconds());
    while (now() < until && context->is_valid()) {
      cv.wait_until(lock, chrono_until);
    }
  } else {
    const auto chrono_until =
      std::chrono::system_clock::now() + std::chrono::nanoseconds(delta_t.nanoseconds());
    while (now() < until && context->is_valid()) {
      cv.wait_until(lock, chrono_until);
    }
  }

  if (!context->is_valid()) {
    return false;
  }
  return now() >= until;
}

bool Clock::sleep_for(Duration rel_time, Context::SharedPtr context)
{
  return sleep_until(now() + rel_time, context);
}

bool Clock::started()
{
  return true;
}

bool Clock::wait_until_started(Context::SharedPtr context)
{
  if (!context || !context->is_valid()) {
    throw std::runtime_error("context cannot be slept with because it's invalid");
  }
  return started();
}

bool Clock::wait_until_started(const Duration &, Context::SharedPtr context, const Duration &)
{
  return wait_until_started(context);
}

bool Clock::ros_time_is_active()
{
  return false;
}

rcl_clock_type_t Clock::get_clock_type() const noexcept
{
  return clock_type_;
}

std::mutex & Clock::get_clock_mutex() noexcept
{
  return clock_mutex_;
}

JumpHandler::SharedPtr Clock::create_jump_callback(
  JumpHandler::pre_callback_t pre_callback, JumpHandler::post_callback_t post_callback,
  const rcl_jump_threshold_t & threshold)
{
  // Without simulated time the clock never jumps, so the handler is never called.
  return std::make_shared<JumpHandler>(pre_callback, post_callback, threshold);
}

}  // namespace rclcpp
