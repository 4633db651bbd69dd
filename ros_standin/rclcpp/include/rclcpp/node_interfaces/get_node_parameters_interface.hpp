#ifndef RCLCPP__NODE_INTERFACES__GET_NODE_PARAMETERS_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__GET_NODE_PARAMETERS_INTERFACE_HPP_

#include <utility>

#include "rclcpp/node_interfaces/get_node_topics_interface.hpp"
#include "rclcpp/node_interfaces/node_parameters_interface.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief The parameters interface of a node (reference or pointer) or the interface itself.
template<typename NodeType>
rclcpp::node_interfaces::NodeParametersInterface * get_node_parameters_interface(NodeType && node)
{
  return detail::get_interface<NodeParametersInterface>(
    std::forward<NodeType>(node), [](auto & n) { return n.get_node_parameters_interface(); });
}

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__GET_NODE_PARAMETERS_INTERFACE_HPP_
