#ifndef GEOMETRY_MSGS__MSG__POSE_HPP_
#define GEOMETRY_MSGS__MSG__POSE_HPP_

#include <memory>

#include "geometry_msgs/msg/point.hpp"
#include "geometry_msgs/msg/quaternion.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Pose.
template<class ContainerAllocator>
struct Pose_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Pose_)

  ROSIDL_STANDIN_FIELD(position, geometry_msgs::msg::Point_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(orientation, geometry_msgs::msg::Quaternion_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Pose_ & other) const
  {
    return position == other.position && orientation == other.orientation;
  }
  bool operator!=(const Pose_ & other) const { return !this->operator==(other); }
};

using Pose = Pose_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Pose)

#endif  // GEOMETRY_MSGS__MSG__POSE_HPP_
