#ifndef RCLCPP__CREATE_PUBLISHER_HPP_
#define RCLCPP__CREATE_PUBLISHER_HPP_

#include <memory>
#include <string>

#include "rclcpp/detail/qos_parameters.hpp"
#include "rclcpp/node_interfaces/get_node_parameters_interface.hpp"
#include "rclcpp/node_interfaces/get_node_topics_interface.hpp"
#include "rclcpp/publisher.hpp"
#include "rclcpp/publisher_options.hpp"
#include "rclcpp/qos.hpp"

namespace rclcpp
{

/// @brief Creates a publisher of type PublisherT on the node (a node by reference or
/// pointer, e.g. rclcpp::Node or rclcpp_lifecycle::LifecycleNode) and registers it.
///
/// PublisherT is constructed as (NodeBaseInterface *, topic, qos, options).
template<
  typename MessageT, typename AllocatorT = std::allocator<void>,
  typename PublisherT = rclcpp::Publisher<MessageT, AllocatorT>, typename NodeT>
std::shared_ptr<PublisherT> create_publisher(
  NodeT && node, const std::string & topic_name, const rclcpp::QoS & qos,
  const rclcpp::PublisherOptionsWithAllocator<AllocatorT> & options =
    (rclcpp::PublisherOptionsWithAllocator<AllocatorT>()))
{
  auto node_topics = rclcpp::node_interfaces::get_node_topics_interface(node);
  rclcpp::QoS actual_qos = qos;
  if (!options.qos_overriding_options.get_policy_kinds().empty()) {
    actual_qos = rclcpp::detail::declare_qos_parameters(
      options.qos_overriding_options, *rclcpp::node_interfaces::get_node_parameters_interface(node),
      node_topics->resolve_topic_name(topic_name), qos,
      rclcpp::detail::PublisherQosParametersTraits{});
  }
  auto publisher = std::make_shared<PublisherT>(
    node_topics->get_node_base_interface(), topic_name, actual_qos, options);
  node_topics->add_publisher(publisher, options.callback_group);
  return publisher;
}

}  // namespace rclcpp

#endif  // RCLCPP__CREATE_PUBLISHER_HPP_
