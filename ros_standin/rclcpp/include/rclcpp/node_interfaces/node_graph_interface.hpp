#ifndef RCLCPP__NODE_INTERFACES__NODE_GRAPH_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__NODE_GRAPH_INTERFACE_HPP_

#include <string>

#include "rclcpp/macros.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief Queries about the other endpoints of the graph (the subset the stand-in offers).
class NodeGraphInterface
{
public:
  RCLCPP_SMART_PTR_ALIASES_ONLY(NodeGraphInterface)

  virtual ~NodeGraphInterface() = default;

  /// @brief The number of publishers on the topic (resolved in the node's namespace).
  virtual size_t count_publishers(const std::string & topic_name) const = 0;

  /// @brief The number of subscriptions on the topic (resolved in the node's namespace).
  virtual size_t count_subscribers(const std::string & topic_name) const = 0;
};

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__NODE_GRAPH_INTERFACE_HPP_
