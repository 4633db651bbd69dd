#ifndef NAV2_MSGS__SRV__CLEAR_ENTIRE_COSTMAP_HPP_
#define NAV2_MSGS__SRV__CLEAR_ENTIRE_COSTMAP_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/empty.hpp"

namespace nav2_msgs
{
namespace srv
{

/// @brief nav2_msgs/srv/ClearEntireCostmap request.
template<class ContainerAllocator>
struct ClearEntireCostmap_Request_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ClearEntireCostmap_Request_)

  ROSIDL_STANDIN_FIELD(request, std_msgs::msg::Empty_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ClearEntireCostmap_Request_ & other) const
  {
    return request == other.request;
  }
  bool operator!=(const ClearEntireCostmap_Request_ & other) const
  {
    return !this->operator==(other);
  }
};

using ClearEntireCostmap_Request = ClearEntireCostmap_Request_<std::allocator<void>>;

/// @brief nav2_msgs/srv/ClearEntireCostmap response.
template<class ContainerAllocator>
struct ClearEntireCostmap_Response_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ClearEntireCostmap_Response_)

  ROSIDL_STANDIN_FIELD(response, std_msgs::msg::Empty_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ClearEntireCostmap_Response_ & other) const
  {
    return response == other.response;
  }
  bool operator!=(const ClearEntireCostmap_Response_ & other) const
  {
    return !this->operator==(other);
  }
};

using ClearEntireCostmap_Response = ClearEntireCostmap_Response_<std::allocator<void>>;

/// @brief nav2_msgs/srv/ClearEntireCostmap: the request and response types.
struct ClearEntireCostmap
{
  using Request = ClearEntireCostmap_Request;
  using Response = ClearEntireCostmap_Response;
};

}  // namespace srv
}  // namespace nav2_msgs

ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearEntireCostmap_Request, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearEntireCostmap_Response, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearEntireCostmap, is_service)

#endif  // NAV2_MSGS__SRV__CLEAR_ENTIRE_COSTMAP_HPP_
