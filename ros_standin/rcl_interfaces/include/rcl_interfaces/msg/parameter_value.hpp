#ifndef RCL_INTERFACES__MSG__PARAMETER_VALUE_HPP_
#define RCL_INTERFACES__MSG__PARAMETER_VALUE_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/ParameterValue.
template<class ContainerAllocator>
struct ParameterValue_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ParameterValue_)

  ROSIDL_STANDIN_FIELD(type, uint8_t)
  ROSIDL_STANDIN_FIELD(bool_value, bool)
  ROSIDL_STANDIN_FIELD(integer_value, int64_t)
  ROSIDL_STANDIN_FIELD(double_value, double)
  ROSIDL_STANDIN_FIELD(string_value, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    byte_array_value, rosidl_runtime_cpp::detail::Sequence<unsigned char, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    bool_array_value, rosidl_runtime_cpp::detail::Sequence<bool, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    integer_array_value, rosidl_runtime_cpp::detail::Sequence<int64_t, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    double_array_value, rosidl_runtime_cpp::detail::Sequence<double, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    string_array_value,
    rosidl_runtime_cpp::detail::Sequence<
      rosidl_runtime_cpp::detail::String<ContainerAllocator>, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ParameterValue_ & other) const
  {
    return type == other.type && bool_value == other.bool_value &&
           integer_value == other.integer_value && double_value == other.double_value &&
           string_value == other.string_value && byte_array_value == other.byte_array_value &&
           bool_array_value == other.bool_array_value &&
           integer_array_value == other.integer_array_value &&
           double_array_value == other.double_array_value &&
           string_array_value == other.string_array_value;
  }
  bool operator!=(const ParameterValue_ & other) const { return !this->operator==(other); }
};

using ParameterValue = ParameterValue_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, ParameterValue)

#endif  // RCL_INTERFACES__MSG__PARAMETER_VALUE_HPP_
