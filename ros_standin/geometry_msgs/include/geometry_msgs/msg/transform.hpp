#ifndef GEOMETRY_MSGS__MSG__TRANSFORM_HPP_
#define GEOMETRY_MSGS__MSG__TRANSFORM_HPP_

#include <memory>

#include "geometry_msgs/msg/quaternion.hpp"
#include "geometry_msgs/msg/vector3.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Transform.
template<class ContainerAllocator>
struct Transform_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Transform_)

  ROSIDL_STANDIN_FIELD(translation, geometry_msgs::msg::Vector3_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(rotation, geometry_msgs::msg::Quaternion_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Transform_ & other) const
  {
    return translation == other.translation && rotation == other.rotation;
  }
  bool operator!=(const Transform_ & other) const { return !this->operator==(other); }
};

using Transform = Transform_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Transform)

#endif  // GEOMETRY_MSGS__MSG__TRANSFORM_HPP_
