#ifndef RCLCPP__CREATE_SUBSCRIPTION_HPP_
#define RCLCPP__CREATE_SUBSCRIPTION_HPP_

#include <memory>
#include <string>
#include <utility>

#include "rclcpp/any_subscription_callback.hpp"
#include "rclcpp/detail/qos_parameters.hpp"
#include "rclcpp/node_interfaces/get_node_parameters_interface.hpp"
#include "rclcpp/node_interfaces/get_node_topics_interface.hpp"
#include "rclcpp/qos.hpp"
#include "rclcpp/subscription.hpp"
#include "rclcpp/subscription_options.hpp"

namespace rclcpp
{

/// @brief Creates a subscription on the node (a node by reference or pointer) and registers
/// it in options.callback_group (nullptr: the node's default group).
template<
  typename MessageT, typename CallbackT, typename AllocatorT = std::allocator<void>,
  typename SubscriptionT = rclcpp::Subscription<MessageT, AllocatorT>,
  typename MessageMemoryStrategyT = typename SubscriptionT::MessageMemoryStrategyType,
  typename NodeT>
typename std::shared_ptr<SubscriptionT> create_subscription(
  NodeT && node, const std::string & topic_name, const rclcpp::QoS & qos, CallbackT && callback,
  const rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> & options =
    (rclcpp::SubscriptionOptionsWithAllocator<AllocatorT>()),
  typename MessageMemoryStrategyT::SharedPtr msg_mem_strat =
    (MessageMemoryStrategyT::create_default()))
{
  auto node_topics = rclcpp::node_interfaces::get_node_topics_interface(node);
  rclcpp::QoS actual_qos = qos;
  if (!options.qos_overriding_options.get_policy_kinds().empty()) {
    actual_qos = rclcpp::detail::declare_qos_parameters(
      options.qos_overriding_options, *rclcpp::node_interfaces::get_node_parameters_interface(node),
      node_topics->resolve_topic_name(topic_name), qos,
      rclcpp::detail::SubscriptionQosParametersTraits{});
  }
  AnySubscriptionCallback<MessageT, AllocatorT> any_subscription_callback;
  any_subscription_callback.set(std::forward<CallbackT>(callback));
  auto subscription = std::make_shared<SubscriptionT>(
    node_topics->get_node_base_interface(), topic_name, actual_qos,
    std::move(any_subscription_callback), options, msg_mem_strat);
  node_topics->add_subscription(subscription, options.callback_group);
  return subscription;
}

}  // namespace rclcpp

#endif  // RCLCPP__CREATE_SUBSCRIPTION_HPP_
