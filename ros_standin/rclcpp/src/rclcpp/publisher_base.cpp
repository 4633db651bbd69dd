#include "rclcpp/publisher_base.hpp"

#include <string>

#include "rclcpp/node_interfaces/node_base_interface.hpp"

namespace rclcpp
{

PublisherBase::PublisherBase(
  rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & topic,
  const rclcpp::QoS & qos, const rclcpp::detail::InterfaceType & message_type)
: context_(node_base->get_context()),
  graph_(rclcpp::detail::get_in_process_graph(*context_)),
  topic_name_(node_base->resolve_topic_or_service_name(topic, false)),
  qos_(qos),
  message_type_(message_type)
{
}

PublisherBase::~PublisherBase() {}

const char * PublisherBase::get_topic_name() const
{
  return topic_name_.c_str();
}

size_t PublisherBase::get_queue_size() const
{
  return qos_.depth();
}

size_t PublisherBase::get_subscription_count() const
{
  return graph_->count_subscriptions(topic_name_);
}

rclcpp::QoS PublisherBase::get_actual_qos() const
{
  return qos_;
}

void PublisherBase::replay_history(SubscriptionBase &) const {}

}  // namespace rclcpp
