#ifndef STD_MSGS__MSG__HEADER_HPP_
#define STD_MSGS__MSG__HEADER_HPP_

#include <memory>

#include "builtin_interfaces/msg/time.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace std_msgs
{
namespace msg
{

/// @brief std_msgs/msg/Header.
template<class ContainerAllocator>
struct Header_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Header_)

  ROSIDL_STANDIN_FIELD(stamp, builtin_interfaces::msg::Time_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(frame_id, rosidl_runtime_cpp::detail::String<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Header_ & other) const
  {
    return stamp == other.stamp && frame_id == other.frame_id;
  }
  bool operator!=(const Header_ & other) const { return !this->operator==(other); }
};

using Header = Header_<std::allocator<void>>;

}  // namespace msg
}  // namespace std_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(std_msgs, Header)

#endif  // STD_MSGS__MSG__HEADER_HPP_
