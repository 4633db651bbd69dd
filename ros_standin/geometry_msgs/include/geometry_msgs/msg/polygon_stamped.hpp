#ifndef GEOMETRY_MSGS__MSG__POLYGON_STAMPED_HPP_
#define GEOMETRY_MSGS__MSG__POLYGON_STAMPED_HPP_

#include <memory>

#include "geometry_msgs/msg/polygon.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/header.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/PolygonStamped.
template<class ContainerAllocator>
struct PolygonStamped_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(PolygonStamped_)

  ROSIDL_STANDIN_FIELD(header, std_msgs::msg::Header_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(polygon, geometry_msgs::msg::Polygon_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const PolygonStamped_ & other) const
  {
    return header == other.header && polygon == other.polygon;
  }
  bool operator!=(const PolygonStamped_ & other) const { return !this->operator==(other); }
};

using PolygonStamped = PolygonStamped_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, PolygonStamped)

#endif  // GEOMETRY_MSGS__MSG__POLYGON_STAMPED_HPP_
