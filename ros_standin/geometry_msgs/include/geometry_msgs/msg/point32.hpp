#ifndef GEOMETRY_MSGS__MSG__POINT32_HPP_
#define GEOMETRY_MSGS__MSG__POINT32_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Point32.
template<class ContainerAllocator>
struct Point32_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Point32_)

  ROSIDL_STANDIN_FIELD(x, float)
  ROSIDL_STANDIN_FIELD(y, float)
  ROSIDL_STANDIN_FIELD(z, float)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Point32_ & other) const
  {
    return x == other.x && y == other.y && z == other.z;
  }
  bool operator!=(const Point32_ & other) const { return !this->operator==(other); }
};

using Point32 = Point32_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Point32)

#endif  // GEOMETRY_MSGS__MSG__POINT32_HPP_
