// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_NODE_THREAD_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_NODE_THREAD_HPP_

#include <memory>
#include <thread>

#include "rclcpp/rclcpp.hpp"

namespace nav2_util
{

namespace detail
{
class SpinState;
}  // namespace detail

/**
 * @brief Spins a single-threaded executor on a thread of its own for exactly
 * the lifetime of the object.
 *
 * Built from a node, it makes its own executor, adds the node, spins and
 * removes the node again when the spin ends; built from an executor the caller
 * prepared, it only spins it. The destructor cancels the spin and joins the
 * thread, also when it runs before the spin has begun.
 *
 * In the node form a tf2_ros::InvalidTimerHandleException that leaves the spin
 * is logged and ends the thread; in the executor form every exception that
 * leaves the spin ends the process. Do not destroy the object from a callback
 * that its own thread is running.
 */
class KestruneNodeThread
{
public:
  /// @brief Serves @p node_base on an executor of its own.
  explicit KestruneNodeThread(rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base);

  /// @brief Spins @p executor, which the caller has already filled.
  explicit KestruneNodeThread(rclcpp::executors::SingleThreadedExecutor::SharedPtr executor);

  /// @brief Serves any node type that exposes its base interface.
  template<typename NodeT>
  explicit KestruneNodeThread(NodeT node)
  : KestruneNodeThread(node->get_node_base_interface())
  {
  }

  KestruneNodeThread(const KestruneNodeThread &) = delete;
  KestruneNodeThread & operator=(const KestruneNodeThread &) = delete;

  /// @brief Cancels the spin and joins the thread.
  ~KestruneNodeThread();

protected:
  std::unique_ptr<detail::SpinState> spin_state_;
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_;
  std::unique_ptr<std::thread> thread_;
  rclcpp::executors::SingleThreadedExecutor::SharedPtr executor_;
};

}  // namespace nav2_util

#endif  // KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_NODE_THREAD_HPP_
