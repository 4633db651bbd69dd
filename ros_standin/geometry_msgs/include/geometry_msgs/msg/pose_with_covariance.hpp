#ifndef GEOMETRY_MSGS__MSG__POSE_WITH_COVARIANCE_HPP_
#define GEOMETRY_MSGS__MSG__POSE_WITH_COVARIANCE_HPP_

#include <array>
#include <memory>

#include "geometry_msgs/msg/pose.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/PoseWithCovariance.
template<class ContainerAllocator>
struct PoseWithCovariance_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(PoseWithCovariance_)

  ROSIDL_STANDIN_FIELD(pose, geometry_msgs::msg::Pose_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(covariance, std::array<double, 36>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const PoseWithCovariance_ & other) const
  {
    return pose == other.pose && covariance == other.covariance;
  }
  bool operator!=(const PoseWithCovariance_ & other) const { return !this->operator==(other); }
};

using PoseWithCovariance = PoseWithCovariance_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, PoseWithCovariance)

#endif  // GEOMETRY_MSGS__MSG__POSE_WITH_COVARIANCE_HPP_
