#ifndef NAV2_MSGS__MSG__COSTMAP_META_DATA_HPP_
#define NAV2_MSGS__MSG__COSTMAP_META_DATA_HPP_

#include <cstdint>
#include <memory>

#include "builtin_interfaces/msg/time.hpp"
#include "geometry_msgs/msg/pose.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace nav2_msgs
{
namespace msg
{

/// @brief nav2_msgs/msg/CostmapMetaData.
template<class ContainerAllocator>
struct CostmapMetaData_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(CostmapMetaData_)

  ROSIDL_STANDIN_FIELD(map_load_time, builtin_interfaces::msg::Time_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(update_time, builtin_interfaces::msg::Time_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(layer, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(resolution, float)
  ROSIDL_STANDIN_FIELD(size_x, uint32_t)
  ROSIDL_STANDIN_FIELD(size_y, uint32_t)
  ROSIDL_STANDIN_FIELD(origin, geometry_msgs::msg::Pose_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const CostmapMetaData_ & other) const
  {
    return map_load_time == other.map_load_time && update_time == other.update_time &&
           layer == other.layer && resolution == other.resolution && size_x == other.size_x &&
           size_y == other.size_y && origin == other.origin;
  }
  bool operator!=(const CostmapMetaData_ & other) const { return !this->operator==(other); }
};

using CostmapMetaData = CostmapMetaData_<std::allocator<void>>;

}  // namespace msg
}  // namespace nav2_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(nav2_msgs, CostmapMetaData)

#endif  // NAV2_MSGS__MSG__COSTMAP_META_DATA_HPP_
