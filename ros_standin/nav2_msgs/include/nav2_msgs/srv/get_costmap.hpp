#ifndef NAV2_MSGS__SRV__GET_COSTMAP_HPP_
#define NAV2_MSGS__SRV__GET_COSTMAP_HPP_

#include <memory>

#include "nav2_msgs/msg/costmap.hpp"
#include "nav2_msgs/msg/costmap_meta_data.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace nav2_msgs
{
namespace srv
{

/// @brief nav2_msgs/srv/GetCostmap request.
template<class ContainerAllocator>
struct GetCostmap_Request_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(GetCostmap_Request_)

  ROSIDL_STANDIN_FIELD(specs, nav2_msgs::msg::CostmapMetaData_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const GetCostmap_Request_ & other) const { return specs == other.specs; }
  bool operator!=(const GetCostmap_Request_ & other) const { return !this->operator==(other); }
};

using GetCostmap_Request = GetCostmap_Request_<std::allocator<void>>;

/// @brief nav2_msgs/srv/GetCostmap response.
template<class ContainerAllocator>
struct GetCostmap_Response_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(GetCostmap_Response_)

  ROSIDL_STANDIN_FIELD(map, nav2_msgs::msg::Costmap_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const GetCostmap_Response_ & other) const { return map == other.map; }
  bool operator!=(const GetCostmap_Response_ & other) const { return !this->operator==(other); }
};

using GetCostmap_Response = GetCostmap_Response_<std::allocator<void>>;

/// @brief nav2_msgs/srv/GetCostmap: the request and response types.
struct GetCostmap
{
  using Request = GetCostmap_Request;
  using Response = GetCostmap_Response;
};

}  // namespace srv
}  // namespace nav2_msgs

ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, GetCostmap_Request, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, GetCostmap_Response, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, GetCostmap, is_service)

#endif  // NAV2_MSGS__SRV__GET_COSTMAP_HPP_
