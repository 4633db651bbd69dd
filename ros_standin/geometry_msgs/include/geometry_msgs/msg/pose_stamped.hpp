#ifndef GEOMETRY_MSGS__MSG__POSE_STAMPED_HPP_
#define GEOMETRY_MSGS__MSG__POSE_STAMPED_HPP_

#include <memory>

#include "geometry_msgs/msg/pose.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/header.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/PoseStamped.
template<class ContainerAllocator>
struct PoseStamped_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(PoseStamped_)

  ROSIDL_STANDIN_FIELD(header, std_msgs::msg::Header_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(pose, geometry_msgs::msg::Pose_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const PoseStamped_ & other) const
  {
    return header == other.header && pose == other.pose;
  }
  bool operator!=(const PoseStamped_ & other) const { return !this->operator==(other); }
};

using PoseStamped = PoseStamped_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, PoseStamped)

#endif  // GEOMETRY_MSGS__MSG__POSE_STAMPED_HPP_
