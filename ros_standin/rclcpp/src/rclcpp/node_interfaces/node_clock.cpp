#include "rclcpp/node_interfaces/node_clock.hpp"

#include <memory>

namespace rclcpp
{
namespace node_interfaces
{

NodeClock::NodeClock(
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr,
  rclcpp::node_interfaces::NodeTopicsInterface::SharedPtr,
  rclcpp::node_interfaces::NodeGraphInterface::SharedPtr,
  rclcpp::node_interfaces::NodeServicesInterface::SharedPtr,
  rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr, rcl_clock_type_t clock_type)
: clock_(std::make_shared<rclcpp::Clock>(clock_type))
{
}

NodeClock::~NodeClock() {}

rclcpp::Clock::SharedPtr NodeClock::get_clock()
{
  return clock_;
}

rclcpp::Clock::ConstSharedPtr NodeClock::get_clock() const
{
  return clock_;
}

}  // namespace node_interfaces
}  // namespace rclcpp
