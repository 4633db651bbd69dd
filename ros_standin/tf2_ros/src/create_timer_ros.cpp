#include "tf2_ros/create_timer_ros.h"

#include <chrono>
#include <functional>
#include <stdexcept>

namespace tf2_ros
{

CreateTimerROS::CreateTimerROS(
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base,
  rclcpp::node_interfaces::NodeTimersInterface::SharedPtr node_timers,
  rclcpp::CallbackGroup::SharedPtr callback_group)
: node_base_(node_base),
  node_timers_(node_timers),
  next_timer_handle_index_(0),
  callback_group_(callback_group)
{
}

TimerHandle CreateTimerROS::createTimer(
  rclcpp::Clock::SharedPtr clock, const tf2::Duration & period, TimerCallbackType callback)
{
  std::lock_guard<std::mutex> lock(timers_map_mutex_);
  auto timer_handle_index = next_timer_handle_index_++;
  // A timer on the caller's clock (the Buffer's ROS clock), registered in the
  // chosen group, as upstream's rclcpp::create_timer does.
  auto timer = rclcpp::GenericTimer<std::function<void()>>::make_shared(
    clock, std::chrono::duration_cast<std::chrono::nanoseconds>(period),
    std::bind(&CreateTimerROS::timerCallback, this, timer_handle_index, callback),
    node_base_->get_context());
  node_timers_->add_timer(timer, callback_group_);
  timers_map_[timer_handle_index] = timer;
  return timer_handle_index;
}

void CreateTimerROS::cancel(const TimerHandle & timer_handle)
{
  std::lock_guard<std::mutex> lock(timers_map_mutex_);
  cancelNoLock(timer_handle);
}

void CreateTimerROS::cancelNoLock(const TimerHandle & timer_handle)
{
  try {
    timers_map_.at(timer_handle)->cancel();
  } catch (const std::out_of_range &) {
    throw InvalidTimerHandleException("Invalid timer handle in cancel()");
  }
}

void CreateTimerROS::reset(const TimerHandle & timer_handle)
{
  std::lock_guard<std::mutex> lock(timers_map_mutex_);
  try {
    timers_map_.at(timer_handle)->reset();
  } catch (const std::out_of_range &) {
    throw InvalidTimerHandleException("Invalid timer handle in reset()");
  }
}

void CreateTimerROS::remove(const TimerHandle & timer_handle)
{
  std::lock_guard<std::mutex> lock(timers_map_mutex_);
  try {
    cancelNoLock(timer_handle);
  } catch (const InvalidTimerHandleException &) {
    throw InvalidTimerHandleException("Invalid timer handle in remove()");
  }
  timers_map_.erase(timer_handle);
}

void CreateTimerROS::timerCallback(const TimerHandle & timer_handle, TimerCallbackType callback)
{
  callback(timer_handle);
}

}  // namespace tf2_ros
