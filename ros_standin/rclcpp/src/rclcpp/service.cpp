#include "rclcpp/service.hpp"

#include <string>

#include "rclcpp/node_interfaces/node_base_interface.hpp"

namespace rclcpp
{

ServiceBase::ServiceBase(
  rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & service_name,
  const rclcpp::detail::InterfaceType & service_type)
: graph_(rclcpp::detail::get_in_process_graph(*node_base->get_context())),
  service_name_(node_base->resolve_topic_or_service_name(service_name, true)),
  service_type_(service_type)
{
}

ServiceBase::~ServiceBase() {}

const char * ServiceBase::get_service_name()
{
  return service_name_.c_str();
}

bool ServiceBase::exchange_in_use_by_wait_set_state(bool in_use_state)
{
  return in_use_by_wait_set_.exchange(in_use_state);
}

}  // namespace rclcpp
