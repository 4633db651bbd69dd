// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_NODE_MULTI_THREAD_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_NODE_MULTI_THREAD_HPP_

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
 * @brief Like KestruneNodeThread, but the node form serves the node with a
 * multi-threaded executor (one thread per core), so callbacks of reentrant
 * groups and of different groups run concurrently.
 *
 * The executor form spins the caller's single-threaded executor, exactly as
 * KestruneNodeThread does.
 */
class KestruneNodeMultiThread
{
public:
  /// @brief Serves @p node_base on a multi-threaded executor of its own.
  explicit KestruneNodeMultiThread(rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base);

  /// @brief Spins @p executor, which the caller has already filled.
  explicit KestruneNodeMultiThread(rclcpp::executors::SingleThreadedExecutor::SharedPtr executor);

  /// @brief Serves any node type that exposes its base interface.
  template<typename NodeT>
  explicit KestruneNodeMultiThread(NodeT node)
  : KestruneNodeMultiThread(node->get_node_base_interface())
  {
  }

  KestruneNodeMultiThread(const KestruneNodeMultiThread &) = delete;
  KestruneNodeMultiThread & operator=(const KestruneNodeMultiThread &) = delete;

  /// @brief Cancels the spin and joins the thread.
  ~KestruneNodeMultiThread();

protected:
  std::unique_ptr<detail::SpinState> spin_state_;
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_;
  std::unique_ptr<std::thread> thread_;
  rclcpp::Executor::SharedPtr executor_;
};

}  // namespace nav2_util

#endif  // KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_NODE_MULTI_THREAD_HPP_
