#ifndef RCLCPP__NODE_INTERFACES__GET_NODE_TOPICS_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__GET_NODE_TOPICS_INTERFACE_HPP_

#include <memory>
#include <type_traits>
#include <utility>

#include "rclcpp/node_interfaces/node_topics_interface.hpp"

namespace rclcpp
{
namespace node_interfaces
{
namespace detail
{

template<typename T>
struct is_pointer_like : std::is_pointer<T>
{
};

template<typename T>
struct is_pointer_like<std::shared_ptr<T>> : std::true_type
{
};

template<typename T, typename D>
struct is_pointer_like<std::unique_ptr<T, D>> : std::true_type
{
};

// Reaches the interface through a node (by reference or by any pointer), or passes the
// interface itself through, as upstream's get_node_*_interface helpers do.
template<typename InterfaceT, typename NodeType, typename GetterT>
InterfaceT * get_interface(NodeType && node, GetterT && getter)
{
  using NodeT = std::decay_t<NodeType>;
  if constexpr (is_pointer_like<NodeT>::value) {
    using PointeeT = std::remove_reference_t<decltype(*node)>;
    if constexpr (std::is_base_of_v<InterfaceT, PointeeT>) {
      return &*node;
    } else {
      return getter(*node).get();
    }
  } else if constexpr (std::is_base_of_v<InterfaceT, NodeT>) {
    return &node;
  } else {
    return getter(node).get();
  }
}

}  // namespace detail

/// @brief The topics interface of a node (reference or pointer) or the interface itself.
template<typename NodeType>
rclcpp::node_interfaces::NodeTopicsInterface * get_node_topics_interface(NodeType && node)
{
  return detail::get_interface<NodeTopicsInterface>(
    std::forward<NodeType>(node), [](auto & n) { return n.get_node_topics_interface(); });
}

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__GET_NODE_TOPICS_INTERFACE_HPP_
