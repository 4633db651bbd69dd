#ifndef STD_MSGS__MSG__STRING_HPP_
#define STD_MSGS__MSG__STRING_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace std_msgs
{
namespace msg
{

/// @brief std_msgs/msg/String.
template<class ContainerAllocator>
struct String_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(String_)

  ROSIDL_STANDIN_FIELD(data, rosidl_runtime_cpp::detail::String<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const String_ & other) const { return data == other.data; }
  bool operator!=(const String_ & other) const { return !this->operator==(other); }
};

using String = String_<std::allocator<void>>;

}  // namespace msg
}  // namespace std_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(std_msgs, String)

#endif  // STD_MSGS__MSG__STRING_HPP_
