#ifndef RCL_INTERFACES__MSG__PARAMETER_TYPE_HPP_
#define RCL_INTERFACES__MSG__PARAMETER_TYPE_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/ParameterType: the type constants only.
template<class ContainerAllocator>
struct ParameterType_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ParameterType_)

  ROSIDL_STANDIN_FIELD(structure_needs_at_least_one_member, uint8_t)

  static constexpr uint8_t PARAMETER_NOT_SET = 0u;
  static constexpr uint8_t PARAMETER_BOOL = 1u;
  static constexpr uint8_t PARAMETER_INTEGER = 2u;
  static constexpr uint8_t PARAMETER_DOUBLE = 3u;
  static constexpr uint8_t PARAMETER_STRING = 4u;
  static constexpr uint8_t PARAMETER_BYTE_ARRAY = 5u;
  static constexpr uint8_t PARAMETER_BOOL_ARRAY = 6u;
  static constexpr uint8_t PARAMETER_INTEGER_ARRAY = 7u;
  static constexpr uint8_t PARAMETER_DOUBLE_ARRAY = 8u;
  static constexpr uint8_t PARAMETER_STRING_ARRAY = 9u;

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ParameterType_ & other) const
  {
    return structure_needs_at_least_one_member == other.structure_needs_at_least_one_member;
  }
  bool operator!=(const ParameterType_ & other) const { return !this->operator==(other); }
};

using ParameterType = ParameterType_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, ParameterType)

#endif  // RCL_INTERFACES__MSG__PARAMETER_TYPE_HPP_
