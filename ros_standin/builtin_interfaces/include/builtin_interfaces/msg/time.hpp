#ifndef BUILTIN_INTERFACES__MSG__TIME_HPP_
#define BUILTIN_INTERFACES__MSG__TIME_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace builtin_interfaces
{
namespace msg
{

/// @brief builtin_interfaces/msg/Time.
template<class ContainerAllocator>
struct Time_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Time_)

  ROSIDL_STANDIN_FIELD(sec, int32_t)
  ROSIDL_STANDIN_FIELD(nanosec, uint32_t)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Time_ & other) const
  {
    return sec == other.sec && nanosec == other.nanosec;
  }
  bool operator!=(const Time_ & other) const { return !this->operator==(other); }
};

using Time = Time_<std::allocator<void>>;

}  // namespace msg
}  // namespace builtin_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(builtin_interfaces, Time)

#endif  // BUILTIN_INTERFACES__MSG__TIME_HPP_
