// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__SRC__SPIN_STATE_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__SRC__SPIN_STATE_HPP_

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "rclcpp/rclcpp.hpp"
#include "tf2_ros/create_timer_interface.h"

namespace nav2_util
{
namespace detail
{

/**
 * @brief Lets a node thread's destructor stop a spin that may not have begun.
 *
 * rclcpp's Executor::cancel() only clears the spinning flag, and spin() sets
 * it again when it starts, so a cancel that arrives first is lost and a plain
 * cancel-then-join can wait for ever. The spin thread reports when it is about
 * to spin and when it is done; the stopper cancels again until it is done.
 */
class SpinState
{
public:
  /// @brief Spin thread: calls executor.spin(), reporting its start and end.
  void Spin(rclcpp::Executor & executor);

  /// @brief Spin thread: the thread body has nothing left to do.
  void MarkFinished();

  /// @brief Destroying thread: cancels @p executor until the body is done.
  void Stop(rclcpp::Executor & executor);

private:
  bool IsFinished();

  std::mutex mutex_;
  std::condition_variable changed_;
  bool spin_entered_{false};
  bool finished_{false};
};

/// @brief Marks the body finished however it ends.
class FinishedOnExit
{
public:
  explicit FinishedOnExit(SpinState & state)
  : state_(state)
  {
  }
  FinishedOnExit(const FinishedOnExit &) = delete;
  FinishedOnExit & operator=(const FinishedOnExit &) = delete;
  ~FinishedOnExit() { state_.MarkFinished(); }

private:
  SpinState & state_;
};

using InvalidTimerHandler = std::function<void(const tf2_ros::InvalidTimerHandleException &)>;

/**
 * @brief Starts the node form's thread: add the node, spin, remove the node.
 * Only an InvalidTimerHandleException is caught around the spin; it goes to
 * @p on_invalid_timer and ends the spin. Anything else ends the process.
 */
std::unique_ptr<std::thread> StartNodeSpin(
  SpinState & state, rclcpp::Executor & executor,
  const rclcpp::node_interfaces::NodeBaseInterface::SharedPtr & node,
  InvalidTimerHandler on_invalid_timer);

/// @brief Starts the executor form's thread: spin only, nothing caught.
std::unique_ptr<std::thread> StartExecutorSpin(SpinState & state, rclcpp::Executor & executor);

}  // namespace detail
}  // namespace nav2_util

#endif  // KESTRUNE_NAV2_BASE_CLASS__SRC__SPIN_STATE_HPP_
