#include "rclcpp/subscription_base.hpp"

#include <string>

#include "rclcpp/node_interfaces/node_base_interface.hpp"

namespace rclcpp
{

SubscriptionBase::SubscriptionBase(
  rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & topic_name,
  const rclcpp::QoS & qos, const rclcpp::detail::InterfaceType & message_type)
: graph_(rclcpp::detail::get_in_process_graph(*node_base->get_context())),
  topic_name_(node_base->resolve_topic_or_service_name(topic_name, false)),
  qos_(qos),
  message_type_(message_type)
{
}

SubscriptionBase::~SubscriptionBase() {}

const char * SubscriptionBase::get_topic_name() const
{
  return topic_name_.c_str();
}

rclcpp::QoS SubscriptionBase::get_actual_qos() const
{
  return qos_;
}

size_t SubscriptionBase::get_publisher_count() const
{
  return graph_->count_publishers(topic_name_);
}

}  // namespace rclcpp
