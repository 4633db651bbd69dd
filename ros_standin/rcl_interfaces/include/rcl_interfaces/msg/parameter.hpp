#ifndef RCL_INTERFACES__MSG__PARAMETER_HPP_
#define RCL_INTERFACES__MSG__PARAMETER_HPP_

#include <memory>

#include "rcl_interfaces/msg/parameter_value.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/Parameter.
template<class ContainerAllocator>
struct Parameter_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Parameter_)

  ROSIDL_STANDIN_FIELD(name, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(value, rcl_interfaces::msg::ParameterValue_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Parameter_ & other) const
  {
    return name == other.name && value == other.value;
  }
  bool operator!=(const Parameter_ & other) const { return !this->operator==(other); }
};

using Parameter = Parameter_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, Parameter)

#endif  // RCL_INTERFACES__MSG__PARAMETER_HPP_
