#ifndef NAV2_MSGS__SRV__CLEAR_COSTMAP_EXCEPT_REGION_HPP_
#define NAV2_MSGS__SRV__CLEAR_COSTMAP_EXCEPT_REGION_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/empty.hpp"

namespace nav2_msgs
{
namespace srv
{

/// @brief nav2_msgs/srv/ClearCostmapExceptRegion request.
template<class ContainerAllocator>
struct ClearCostmapExceptRegion_Request_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ClearCostmapExceptRegion_Request_)

  ROSIDL_STANDIN_FIELD(reset_distance, float)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ClearCostmapExceptRegion_Request_ & other) const
  {
    return reset_distance == other.reset_distance;
  }
  bool operator!=(const ClearCostmapExceptRegion_Request_ & other) const
  {
    return !this->operator==(other);
  }
};

using ClearCostmapExceptRegion_Request = ClearCostmapExceptRegion_Request_<std::allocator<void>>;

/// @brief nav2_msgs/srv/ClearCostmapExceptRegion response.
template<class ContainerAllocator>
struct ClearCostmapExceptRegion_Response_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ClearCostmapExceptRegion_Response_)

  ROSIDL_STANDIN_FIELD(response, std_msgs::msg::Empty_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ClearCostmapExceptRegion_Response_ & other) const
  {
    return response == other.response;
  }
  bool operator!=(const ClearCostmapExceptRegion_Response_ & other) const
  {
    return !this->operator==(other);
  }
};

using ClearCostmapExceptRegion_Response = ClearCostmapExceptRegion_Response_<std::allocator<void>>;

/// @brief nav2_msgs/srv/ClearCostmapExceptRegion: the request and response types.
struct ClearCostmapExceptRegion
{
  using Request = ClearCostmapExceptRegion_Request;
  using Response = ClearCostmapExceptRegion_Response;
};

}  // namespace srv
}  // namespace nav2_msgs

ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearCostmapExceptRegion_Request, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearCostmapExceptRegion_Response, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearCostmapExceptRegion, is_service)

#endif  // NAV2_MSGS__SRV__CLEAR_COSTMAP_EXCEPT_REGION_HPP_
