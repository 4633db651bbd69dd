// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_PAUSE_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_PAUSE_HPP_

#include <chrono>
#include <memory>

#include "rclcpp/rclcpp.hpp"

namespace nav2_util
{
namespace detail
{

/**
 * @brief Holds a mutually exclusive callback group still for as long as it lives.
 *
 * Whichever executor serves the group is handed a callback of that group (a
 * timer due at once) which waits until the pause ends. Once it runs, no other
 * callback of the group is running, and none starts until the destructor lets
 * it go. The group's own rule does the excluding, so this works for callbacks
 * bound by anyone: the node's, its layers', Nav2's clear-costmap services.
 *
 * There is nothing to wait for when no executor serves the group, or when the
 * context is shut down (executors have stopped spinning). An executor that
 * holds the group but does not spin (spin_some between calls) never runs the
 * waiting callback: after @p patience the pause gives up, logs it, and
 * paused() says so.
 */
class CallbackGroupPause
{
public:
  CallbackGroupPause(
    const rclcpp::node_interfaces::NodeBaseInterface::SharedPtr & node_base,
    const rclcpp::node_interfaces::NodeTimersInterface::SharedPtr & node_timers,
    const rclcpp::CallbackGroup::SharedPtr & group, std::chrono::milliseconds patience);
  CallbackGroupPause(const CallbackGroupPause &) = delete;
  CallbackGroupPause & operator=(const CallbackGroupPause &) = delete;

  /// @brief Lets the executor go on and removes the waiting callback.
  ~CallbackGroupPause();

  /// @brief Whether the group's executor is held (false: nothing held it, or it gave up).
  bool paused() const { return paused_; }

private:
  struct Gate;

  std::shared_ptr<Gate> gate_;
  rclcpp::TimerBase::SharedPtr timer_;
  bool paused_{false};
};

}  // namespace detail
}  // namespace nav2_util

#endif  // KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_PAUSE_HPP_
