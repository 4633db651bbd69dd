#ifndef GEOMETRY_MSGS__MSG__TWIST_HPP_
#define GEOMETRY_MSGS__MSG__TWIST_HPP_

#include <memory>

#include "geometry_msgs/msg/vector3.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Twist.
template<class ContainerAllocator>
struct Twist_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Twist_)

  ROSIDL_STANDIN_FIELD(linear, geometry_msgs::msg::Vector3_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(angular, geometry_msgs::msg::Vector3_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Twist_ & other) const
  {
    return linear == other.linear && angular == other.angular;
  }
  bool operator!=(const Twist_ & other) const { return !this->operator==(other); }
};

using Twist = Twist_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Twist)

#endif  // GEOMETRY_MSGS__MSG__TWIST_HPP_
