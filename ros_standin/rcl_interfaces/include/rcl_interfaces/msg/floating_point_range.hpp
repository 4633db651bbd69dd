#ifndef RCL_INTERFACES__MSG__FLOATING_POINT_RANGE_HPP_
#define RCL_INTERFACES__MSG__FLOATING_POINT_RANGE_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/FloatingPointRange.
template<class ContainerAllocator>
struct FloatingPointRange_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(FloatingPointRange_)

  ROSIDL_STANDIN_FIELD(from_value, double)
  ROSIDL_STANDIN_FIELD(to_value, double)
  ROSIDL_STANDIN_FIELD(step, double)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const FloatingPointRange_ & other) const
  {
    return from_value == other.from_value && to_value == other.to_value && step == other.step;
  }
  bool operator!=(const FloatingPointRange_ & other) const { return !this->operator==(other); }
};

using FloatingPointRange = FloatingPointRange_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, FloatingPointRange)

#endif  // RCL_INTERFACES__MSG__FLOATING_POINT_RANGE_HPP_
