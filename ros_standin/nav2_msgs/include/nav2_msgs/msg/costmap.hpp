#ifndef NAV2_MSGS__MSG__COSTMAP_HPP_
#define NAV2_MSGS__MSG__COSTMAP_HPP_

#include <cstdint>
#include <memory>

#include "nav2_msgs/msg/costmap_meta_data.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/header.hpp"

namespace nav2_msgs
{
namespace msg
{

/// @brief nav2_msgs/msg/Costmap.
template<class ContainerAllocator>
struct Costmap_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Costmap_)

  ROSIDL_STANDIN_FIELD(header, std_msgs::msg::Header_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(metadata, nav2_msgs::msg::CostmapMetaData_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(data, rosidl_runtime_cpp::detail::Sequence<uint8_t, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Costmap_ & other) const
  {
    return header == other.header && metadata == other.metadata && data == other.data;
  }
  bool operator!=(const Costmap_ & other) const { return !this->operator==(other); }
};

using Costmap = Costmap_<std::allocator<void>>;

}  // namespace msg
}  // namespace nav2_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(nav2_msgs, Costmap)

#endif  // NAV2_MSGS__MSG__COSTMAP_HPP_
