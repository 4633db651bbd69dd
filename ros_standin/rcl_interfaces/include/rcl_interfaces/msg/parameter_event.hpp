#ifndef RCL_INTERFACES__MSG__PARAMETER_EVENT_HPP_
#define RCL_INTERFACES__MSG__PARAMETER_EVENT_HPP_

#include <memory>

#include "builtin_interfaces/msg/time.hpp"
#include "rcl_interfaces/msg/parameter.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/ParameterEvent.
template<class ContainerAllocator>
struct ParameterEvent_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ParameterEvent_)

  ROSIDL_STANDIN_FIELD(stamp, builtin_interfaces::msg::Time_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(node, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    new_parameters, rosidl_runtime_cpp::detail::Sequence<
                      rcl_interfaces::msg::Parameter_<ContainerAllocator>, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    changed_parameters, rosidl_runtime_cpp::detail::Sequence<
                          rcl_interfaces::msg::Parameter_<ContainerAllocator>, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    deleted_parameters, rosidl_runtime_cpp::detail::Sequence<
                          rcl_interfaces::msg::Parameter_<ContainerAllocator>, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ParameterEvent_ & other) const
  {
    return stamp == other.stamp && node == other.node && new_parameters == other.new_parameters &&
           changed_parameters == other.changed_parameters &&
           deleted_parameters == other.deleted_parameters;
  }
  bool operator!=(const ParameterEvent_ & other) const { return !this->operator==(other); }
};

using ParameterEvent = ParameterEvent_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, ParameterEvent)

#endif  // RCL_INTERFACES__MSG__PARAMETER_EVENT_HPP_
