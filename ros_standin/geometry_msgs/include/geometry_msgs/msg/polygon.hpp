#ifndef GEOMETRY_MSGS__MSG__POLYGON_HPP_
#define GEOMETRY_MSGS__MSG__POLYGON_HPP_

#include <memory>

#include "geometry_msgs/msg/point32.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Polygon.
template<class ContainerAllocator>
struct Polygon_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Polygon_)

  ROSIDL_STANDIN_FIELD(
    points, rosidl_runtime_cpp::detail::Sequence<
              geometry_msgs::msg::Point32_<ContainerAllocator>, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Polygon_ & other) const { return points == other.points; }
  bool operator!=(const Polygon_ & other) const { return !this->operator==(other); }
};

using Polygon = Polygon_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Polygon)

#endif  // GEOMETRY_MSGS__MSG__POLYGON_HPP_
