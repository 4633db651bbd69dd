#ifndef BUILTIN_INTERFACES__MSG__DURATION_HPP_
#define BUILTIN_INTERFACES__MSG__DURATION_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace builtin_interfaces
{
namespace msg
{

/// @brief builtin_interfaces/msg/Duration.
template<class ContainerAllocator>
struct Duration_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Duration_)

  ROSIDL_STANDIN_FIELD(sec, int32_t)
  ROSIDL_STANDIN_FIELD(nanosec, uint32_t)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Duration_ & other) const
  {
    return sec == other.sec && nanosec == other.nanosec;
  }
  bool operator!=(const Duration_ & other) const { return !this->operator==(other); }
};

using Duration = Duration_<std::allocator<void>>;

}  // namespace msg
}  // namespace builtin_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(builtin_interfaces, Duration)

#endif  // BUILTIN_INTERFACES__MSG__DURATION_HPP_
