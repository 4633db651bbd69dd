#ifndef GEOMETRY_MSGS__MSG__POINT_HPP_
#define GEOMETRY_MSGS__MSG__POINT_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Point.
template<class ContainerAllocator>
struct Point_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Point_)

  ROSIDL_STANDIN_FIELD(x, double)
  ROSIDL_STANDIN_FIELD(y, double)
  ROSIDL_STANDIN_FIELD(z, double)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Point_ & other) const
  {
    return x == other.x && y == other.y && z == other.z;
  }
  bool operator!=(const Point_ & other) const { return !this->operator==(other); }
};

using Point = Point_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Point)

#endif  // GEOMETRY_MSGS__MSG__POINT_HPP_
