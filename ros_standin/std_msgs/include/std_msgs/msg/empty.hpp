#ifndef STD_MSGS__MSG__EMPTY_HPP_
#define STD_MSGS__MSG__EMPTY_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace std_msgs
{
namespace msg
{

/// @brief std_msgs/msg/Empty.
template<class ContainerAllocator>
struct Empty_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Empty_)

  ROSIDL_STANDIN_FIELD(structure_needs_at_least_one_member, uint8_t)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Empty_ & other) const
  {
    return structure_needs_at_least_one_member == other.structure_needs_at_least_one_member;
  }
  bool operator!=(const Empty_ & other) const { return !this->operator==(other); }
};

using Empty = Empty_<std::allocator<void>>;

}  // namespace msg
}  // namespace std_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(std_msgs, Empty)

#endif  // STD_MSGS__MSG__EMPTY_HPP_
