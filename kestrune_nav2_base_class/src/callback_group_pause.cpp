// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "callback_group_pause.hpp"

#include <condition_variable>
#include <mutex>

#include "kestrune_nav2_base_class/logger.hpp"
#include "rclcpp/create_timer.hpp"

namespace nav2_util
{
namespace detail
{

/// What the waiting callback and the pausing thread share; the timer's
/// callback owns a share, so it outlives whichever side finishes last.
struct CallbackGroupPause::Gate
{
  std::mutex mutex;
  std::condition_variable changed;
  bool entered{false};
  bool released{false};
  int running{0};  // firings of the timer's callback under way
};

CallbackGroupPause::CallbackGroupPause(
  const rclcpp::node_interfaces::NodeBaseInterface::SharedPtr & node_base,
  const rclcpp::node_interfaces::NodeTimersInterface::SharedPtr & node_timers,
  const rclcpp::CallbackGroup::SharedPtr & group, std::chrono::milliseconds patience)
{
  if (
    !group->get_associated_with_executor_atomic().load() || !rclcpp::ok(node_base->get_context())) {
    return;
  }
  gate_ = std::make_shared<Gate>();
  auto gate = gate_;
  timer_ = rclcpp::create_wall_timer(
    std::chrono::nanoseconds(0),
    [gate]() {
      std::unique_lock<std::mutex> lock(gate->mutex);
      ++gate->running;
      // Only the first firing waits; a later one, or one after the pause gave
      // up, returns at once.
      if (!gate->entered && !gate->released) {
        gate->entered = true;
        gate->changed.notify_all();
        gate->changed.wait(lock, [&gate]() { return gate->released; });
      }
      --gate->running;
      gate->changed.notify_all();
    },
    group, node_base.get(), node_timers.get());

  std::unique_lock<std::mutex> lock(gate_->mutex);
  paused_ = gate_->changed.wait_for(lock, patience, [this]() { return gate_->entered; });
  if (!paused_) {
    gate_->released = true;
    lock.unlock();
    KESTRUNE_LOG_ERROR(
      "The executor of node '{}' did not run its callbacks within {} ms; going on without "
      "holding them (spin the node while calling its transitions)",
      node_base->get_fully_qualified_name(), patience.count());
  }
}

CallbackGroupPause::~CallbackGroupPause()
{
  if (!gate_) {
    return;
  }
  timer_->cancel();
  std::unique_lock<std::mutex> lock(gate_->mutex);
  gate_->released = true;
  gate_->changed.notify_all();
  // The executor's thread is done with the gate before it goes (the executor
  // holds the timer in uninstrumented code, so nothing else says so).
  gate_->changed.wait(lock, [this]() { return gate_->running == 0; });
}

}  // namespace detail
}  // namespace nav2_util
