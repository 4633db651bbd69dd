#ifndef RCLCPP__NODE_INTERFACES__NODE_TOPICS_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__NODE_TOPICS_INTERFACE_HPP_

#include <string>

#include "rclcpp/callback_group.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/node_interfaces/node_base_interface.hpp"
#include "rclcpp/node_interfaces/node_timers_interface.hpp"
#include "rclcpp/publisher_base.hpp"
#include "rclcpp/subscription_base.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief Adds publishers and subscriptions to a node.
class NodeTopicsInterface
{
public:
  RCLCPP_SMART_PTR_ALIASES_ONLY(NodeTopicsInterface)

  virtual ~NodeTopicsInterface() = default;

  /// @brief Connects the publisher to the topic.
  virtual void add_publisher(
    rclcpp::PublisherBase::SharedPtr publisher,
    rclcpp::CallbackGroup::SharedPtr callback_group) = 0;

  /// @brief Connects the subscription to the topic and puts it in the group (nullptr: the
  /// default group).
  virtual void add_subscription(
    rclcpp::SubscriptionBase::SharedPtr subscription,
    rclcpp::CallbackGroup::SharedPtr callback_group) = 0;

  virtual rclcpp::node_interfaces::NodeBaseInterface * get_node_base_interface() const = 0;

  virtual rclcpp::node_interfaces::NodeTimersInterface * get_node_timers_interface() const = 0;

  /// @brief The topic name expanded in the node's namespace.
  virtual std::string resolve_topic_name(
    const std::string & name, bool only_expand = false) const = 0;
};

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__NODE_TOPICS_INTERFACE_HPP_
