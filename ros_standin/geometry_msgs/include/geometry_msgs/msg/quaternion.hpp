#ifndef GEOMETRY_MSGS__MSG__QUATERNION_HPP_
#define GEOMETRY_MSGS__MSG__QUATERNION_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace geometry_msgs
{
namespace msg
{

/// @brief geometry_msgs/msg/Quaternion; w defaults to 1, so a default-constructed one is the identity.
template<class ContainerAllocator>
struct Quaternion_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Quaternion_)

  ROSIDL_STANDIN_FIELD(x, double)
  ROSIDL_STANDIN_FIELD(y, double)
  ROSIDL_STANDIN_FIELD(z, double)
  using _w_type = double;
  _w_type w{1.0};
  Type & set__w(const _w_type & _arg)
  {
    this->w = _arg;
    return *this;
  }

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Quaternion_ & other) const
  {
    return x == other.x && y == other.y && z == other.z && w == other.w;
  }
  bool operator!=(const Quaternion_ & other) const { return !this->operator==(other); }
};

using Quaternion = Quaternion_<std::allocator<void>>;

}  // namespace msg
}  // namespace geometry_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(geometry_msgs, Quaternion)

#endif  // GEOMETRY_MSGS__MSG__QUATERNION_HPP_
