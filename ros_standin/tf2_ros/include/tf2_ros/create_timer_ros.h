#ifndef TF2_ROS__CREATE_TIMER_ROS_H_
#define TF2_ROS__CREATE_TIMER_ROS_H_

#include <mutex>
#include <unordered_map>

#include "rclcpp/rclcpp.hpp"
#include "tf2/time.h"
#include "tf2_ros/create_timer_interface.h"

namespace tf2_ros
{

/// @brief Makes the timers of Buffer::waitForTransform as rclcpp timers of a
/// node, in `callback_group` (the node's default group when null), so only an
/// executor serving that group runs them.
class CreateTimerROS : public CreateTimerInterface
{
public:
  /// @brief Uses `node_timers` to register each timer in `callback_group`.
  CreateTimerROS(
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base,
    rclcpp::node_interfaces::NodeTimersInterface::SharedPtr node_timers,
    rclcpp::CallbackGroup::SharedPtr callback_group = nullptr);

  virtual ~CreateTimerROS() = default;

  /// @brief Starts a periodic timer calling `callback` with the returned handle.
  TimerHandle createTimer(
    rclcpp::Clock::SharedPtr clock, const tf2::Duration & period,
    TimerCallbackType callback) override;

  /// @brief Stops the timer; throws InvalidTimerHandleException for an unknown handle.
  void cancel(const TimerHandle & timer_handle) override;

  /// @brief Restarts the timer's period; throws InvalidTimerHandleException for an unknown handle.
  void reset(const TimerHandle & timer_handle) override;

  /// @brief Stops and forgets the timer; throws InvalidTimerHandleException for an unknown handle.
  void remove(const TimerHandle & timer_handle) override;

private:
  void cancelNoLock(const TimerHandle & timer_handle);

  void timerCallback(const TimerHandle & timer_handle, TimerCallbackType callback);

  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base_;
  rclcpp::node_interfaces::NodeTimersInterface::SharedPtr node_timers_;
  TimerHandle next_timer_handle_index_;
  std::unordered_map<TimerHandle, rclcpp::TimerBase::SharedPtr> timers_map_;
  std::mutex timers_map_mutex_;
  rclcpp::CallbackGroup::SharedPtr callback_group_;
};

}  // namespace tf2_ros

#endif  // TF2_ROS__CREATE_TIMER_ROS_H_
