#ifndef GEOMETRY_MSGS__MSG__VECTOR3_HPP_
#define GEOMETRY_MSGS__MSG__VECTOR3_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Vector3.
template<class ContainerAllocator>
struct Vector3_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Vector3_)

  ROSIDL_STANDIN_FIELD(x, double)
  ROSIDL_STANDIN_FIELD(y, double)
  ROSIDL_STANDIN_FIELD(z, double)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Vector3_ & other) const
  {
    return x == other.x && y == other.y && z == other.z;
  }
  bool operator!=(const Vector3_ & other) const { return !this->operator==(other); }
};

using Vector3 = Vector3_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Vector3)

#endif  // GEOMETRY_MSGS__MSG__VECTOR3_HPP_
