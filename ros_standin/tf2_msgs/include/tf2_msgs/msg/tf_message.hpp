#ifndef TF2_MSGS__MSG__TF_MESSAGE_HPP_
#define TF2_MSGS__MSG__TF_MESSAGE_HPP_

#include <memory>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace tf2_msgs
{
namespace msg
{

/// @brief tf2_msgs/msg/TFMessage.
template<class ContainerAllocator>
struct TFMessage_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(TFMessage_)

  ROSIDL_STANDIN_FIELD(
    transforms, rosidl_runtime_cpp::detail::Sequence<
                  geometry_msgs::msg::TransformStamped_<ContainerAllocator>, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const TFMessage_ & other) const { return transforms == other.transforms; }
  bool operator!=(const TFMessage_ & other) const { return !this->operator==(other); }
};

using TFMessage = TFMessage_<std::allocator<void>>;

}  // namespace msg
}  // namespace tf2_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(tf2_msgs, TFMessage)

#endif  // TF2_MSGS__MSG__TF_MESSAGE_HPP_
