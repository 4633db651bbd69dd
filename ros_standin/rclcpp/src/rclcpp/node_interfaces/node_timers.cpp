#include "rclcpp/node_interfaces/node_timers.hpp"

#include <stdexcept>
#include <string>

#include "rclcpp/exceptions.hpp"

namespace rclcpp
{
namespace node_interfaces
{

NodeTimers::NodeTimers(rclcpp::node_interfaces::NodeBaseInterface * node_base)
: node_base_(node_base)
{
}

NodeTimers::~NodeTimers() {}

void NodeTimers::add_timer(
  rclcpp::TimerBase::SharedPtr timer, rclcpp::CallbackGroup::SharedPtr callback_group)
{
  if (callback_group) {
    if (!node_base_->callback_group_in_node(callback_group)) {
      throw std::runtime_error("Cannot create timer, group not in node.");
    }
  } else {
    callback_group = node_base_->get_default_callback_group();
  }
  callback_group->add_timer(timer);

  try {
    node_base_->get_notify_guard_condition().trigger();
    callback_group->trigger_notify_guard_condition();
  } catch (const rclcpp::exceptions::RCLError & ex) {
    throw std::runtime_error(
      std::string("failed to notify wait set on timer creation: ") + ex.what());
  }
}

}  // namespace node_interfaces
}  // namespace rclcpp
