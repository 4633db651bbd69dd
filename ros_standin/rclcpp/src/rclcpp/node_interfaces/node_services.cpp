#include "rclcpp/node_interfaces/node_services.hpp"

#include <stdexcept>
#include <string>

#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/exceptions.hpp"

namespace rclcpp
{
namespace node_interfaces
{

NodeServices::NodeServices(rclcpp::node_interfaces::NodeBaseInterface * node_base)
: node_base_(node_base)
{
}

NodeServices::~NodeServices() {}

void NodeServices::add_service(
  rclcpp::ServiceBase::SharedPtr service_base_ptr, rclcpp::CallbackGroup::SharedPtr group)
{
  if (group) {
    if (!node_base_->callback_group_in_node(group)) {
      throw std::runtime_error("Cannot create service, group not in node.");
    }
  } else {
    group = node_base_->get_default_callback_group();
  }
  rclcpp::detail::get_in_process_graph(*node_base_->get_context())->add_service(service_base_ptr);
  group->add_service(service_base_ptr);

  try {
    node_base_->get_notify_guard_condition().trigger();
    group->trigger_notify_guard_condition();
  } catch (const rclcpp::exceptions::RCLError & ex) {
    throw std::runtime_error(
      std::string("failed to notify wait set on service creation: ") + ex.what());
  }
}

void NodeServices::add_client(
  rclcpp::ClientBase::SharedPtr client_base_ptr, rclcpp::CallbackGroup::SharedPtr group)
{
  if (group) {
    if (!node_base_->callback_group_in_node(group)) {
      throw std::runtime_error("Cannot create client, group not in node.");
    }
  } else {
    group = node_base_->get_default_callback_group();
  }
  rclcpp::detail::get_in_process_graph(*node_base_->get_context())->add_client(client_base_ptr);
  group->add_client(client_base_ptr);

  try {
    node_base_->get_notify_guard_condition().trigger();
    group->trigger_notify_guard_condition();
  } catch (const rclcpp::exceptions::RCLError & ex) {
    throw std::runtime_error(
      std::string("failed to notify wait set on client creation: ") + ex.what());
  }
}

std::string NodeServices::resolve_service_name(const std::string & name, bool only_expand) const
{
  return node_base_->resolve_topic_or_service_name(name, true, only_expand);
}

}  // namespace node_interfaces
}  // namespace rclcpp
