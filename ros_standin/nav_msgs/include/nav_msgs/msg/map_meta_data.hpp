#ifndef NAV_MSGS__MSG__MAP_META_DATA_HPP_
#define NAV_MSGS__MSG__MAP_META_DATA_HPP_

#include <cstdint>
#include <memory>

#include "builtin_interfaces/msg/time.hpp"
#include "geometry_msgs/msg/pose.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace nav_msgs
{
namespace msg
{

/// @brief nav_msgs/msg/MapMetaData.
template<class ContainerAllocator>
struct MapMetaData_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(MapMetaData_)

  ROSIDL_STANDIN_FIELD(map_load_time, builtin_interfaces::msg::Time_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(resolution, float)
  ROSIDL_STANDIN_FIELD(width, uint32_t)
  ROSIDL_STANDIN_FIELD(height, uint32_t)
  ROSIDL_STANDIN_FIELD(origin, geometry_msgs::msg::Pose_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const MapMetaData_ & other) const
  {
    return map_load_time == other.map_load_time && resolution == other.resolution &&
           width == other.width && height == other.height && origin == other.origin;
  }
  bool operator!=(const MapMetaData_ & other) const { return !this->operator==(other); }
};

using MapMetaData = MapMetaData_<std::allocator<void>>;

}  // namespace msg
}  // namespace nav_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(nav_msgs, MapMetaData)

#endif  // NAV_MSGS__MSG__MAP_META_DATA_HPP_
