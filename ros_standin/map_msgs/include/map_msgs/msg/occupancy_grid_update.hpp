#ifndef MAP_MSGS__MSG__OCCUPANCY_GRID_UPDATE_HPP_
#define MAP_MSGS__MSG__OCCUPANCY_GRID_UPDATE_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/header.hpp"

namespace map_msgs
{
namespace msg
{

/// @brief map_msgs/msg/OccupancyGridUpdate.
template<class ContainerAllocator>
struct OccupancyGridUpdate_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(OccupancyGridUpdate_)

  ROSIDL_STANDIN_FIELD(header, std_msgs::msg::Header_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(x, int32_t)
  ROSIDL_STANDIN_FIELD(y, int32_t)
  ROSIDL_STANDIN_FIELD(width, uint32_t)
  ROSIDL_STANDIN_FIELD(height, uint32_t)
  ROSIDL_STANDIN_FIELD(data, rosidl_runtime_cpp::detail::Sequence<int8_t, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const OccupancyGridUpdate_ & other) const
  {
    return header == other.header && x == other.x && y == other.y && width == other.width &&
           height == other.height && data == other.data;
  }
  bool operator!=(const OccupancyGridUpdate_ & other) const { return !this->operator==(other); }
};

using OccupancyGridUpdate = OccupancyGridUpdate_<std::allocator<void>>;

}  // namespace msg
}  // namespace map_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(map_msgs, OccupancyGridUpdate)

#endif  // MAP_MSGS__MSG__OCCUPANCY_GRID_UPDATE_HPP_
