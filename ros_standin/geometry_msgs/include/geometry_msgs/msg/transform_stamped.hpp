#ifndef GEOMETRY_MSGS__MSG__TRANSFORM_STAMPED_HPP_
#define GEOMETRY_MSGS__MSG__TRANSFORM_STAMPED_HPP_

#include <memory>

#include "geometry_msgs/msg/transform.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/header.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/TransformStamped.
template<class ContainerAllocator>
struct TransformStamped_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(TransformStamped_)

  ROSIDL_STANDIN_FIELD(header, std_msgs::msg::Header_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(child_frame_id, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(transform, geometry_msgs::msg::Transform_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const TransformStamped_ & other) const
  {
    return header == other.header && child_frame_id == other.child_frame_id &&
           transform == other.transform;
  }
  bool operator!=(const TransformStamped_ & other) const { return !this->operator==(other); }
};

using TransformStamped = TransformStamped_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, TransformStamped)

#endif  // GEOMETRY_MSGS__MSG__TRANSFORM_STAMPED_HPP_
