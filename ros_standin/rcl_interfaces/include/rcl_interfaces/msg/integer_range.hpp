#ifndef RCL_INTERFACES__MSG__INTEGER_RANGE_HPP_
#define RCL_INTERFACES__MSG__INTEGER_RANGE_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/IntegerRange.
template<class ContainerAllocator>
struct IntegerRange_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(IntegerRange_)

  ROSIDL_STANDIN_FIELD(from_value, int64_t)
  ROSIDL_STANDIN_FIELD(to_value, int64_t)
  ROSIDL_STANDIN_FIELD(step, uint64_t)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const IntegerRange_ & other) const
  {
    return from_value == other.from_value && to_value == other.to_value && step == other.step;
  }
  bool operator!=(const IntegerRange_ & other) const { return !this->operator==(other); }
};

using IntegerRange = IntegerRange_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, IntegerRange)

#endif  // RCL_INTERFACES__MSG__INTEGER_RANGE_HPP_
