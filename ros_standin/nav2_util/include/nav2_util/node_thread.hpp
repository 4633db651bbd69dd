#ifndef NAV2_UTIL__NODE_THREAD_HPP_
#define NAV2_UTIL__NODE_THREAD_HPP_

#include <memory>
#include <thread>

#include "rclcpp/rclcpp.hpp"

namespace nav2_util
{

/// @brief Spins a node, or an executor, on a thread of its own until destroyed.
class NodeThread
{
public:
  /// @brief Spins @p node_base on a new single-threaded executor.
  explicit NodeThread(rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base);

  /// @brief Spins @p executor as it is.
  explicit NodeThread(rclcpp::executors::SingleThreadedExecutor::SharedPtr executor);

  /// @brief Spins any node that has a node base interface.
  template<typename NodeT>
  explicit NodeThread(NodeT node)
  : NodeThread(node->get_node_base_interface())
  {
  }

  /// @brief Cancels the executor and joins the thread.
  ~NodeThread();

protected:
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_;
  std::unique_ptr<std::thread> thread_;
  rclcpp::Executor::SharedPtr executor_;
};

}  // namespace nav2_util

#endif  // NAV2_UTIL__NODE_THREAD_HPP_
