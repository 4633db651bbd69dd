#ifndef NAV_MSGS__MSG__OCCUPANCY_GRID_HPP_
#define NAV_MSGS__MSG__OCCUPANCY_GRID_HPP_

#include <cstdint>
#include <memory>

#include "nav_msgs/msg/map_meta_data.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/header.hpp"

namespace nav_msgs
{
namespace msg
{

/// @brief nav_msgs/msg/OccupancyGrid.
template<class ContainerAllocator>
struct OccupancyGrid_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(OccupancyGrid_)

  ROSIDL_STANDIN_FIELD(header, std_msgs::msg::Header_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(info, nav_msgs::msg::MapMetaData_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(data, rosidl_runtime_cpp::detail::Sequence<int8_t, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const OccupancyGrid_ & other) const
  {
    return header == other.header && info == other.info && data == other.data;
  }
  bool operator!=(const OccupancyGrid_ & other) const { return !this->operator==(other); }
};

using OccupancyGrid = OccupancyGrid_<std::allocator<void>>;

}  // namespace msg
}  // namespace nav_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(nav_msgs, OccupancyGrid)

#endif  // NAV_MSGS__MSG__OCCUPANCY_GRID_HPP_
