#ifndef RCL_INTERFACES__MSG__PARAMETER_DESCRIPTOR_HPP_
#define RCL_INTERFACES__MSG__PARAMETER_DESCRIPTOR_HPP_

#include <cstdint>
#include <memory>

#include "rcl_interfaces/msg/floating_point_range.hpp"
#include "rcl_interfaces/msg/integer_range.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/ParameterDescriptor.
template<class ContainerAllocator>
struct ParameterDescriptor_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ParameterDescriptor_)

  ROSIDL_STANDIN_FIELD(name, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(type, uint8_t)
  ROSIDL_STANDIN_FIELD(description, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    additional_constraints, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(read_only, bool)
  ROSIDL_STANDIN_FIELD(dynamic_typing, bool)
  ROSIDL_STANDIN_FIELD(
    floating_point_range,
    rosidl_runtime_cpp::detail::BoundedSequence<
      rcl_interfaces::msg::FloatingPointRange_<ContainerAllocator>, 1, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    integer_range, rosidl_runtime_cpp::detail::BoundedSequence<
                     rcl_interfaces::msg::IntegerRange_<ContainerAllocator>, 1, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ParameterDescriptor_ & other) const
  {
    return name == other.name && type == other.type && description == other.description &&
           additional_constraints == other.additional_constraints && read_only == other.read_only &&
           dynamic_typing == other.dynamic_typing &&
           floating_point_range == other.floating_point_range &&
           integer_range == other.integer_range;
  }
  bool operator!=(const ParameterDescriptor_ & other) const { return !this->operator==(other); }
};

using ParameterDescriptor = ParameterDescriptor_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, ParameterDescriptor)

#endif  // RCL_INTERFACES__MSG__PARAMETER_DESCRIPTOR_HPP_
