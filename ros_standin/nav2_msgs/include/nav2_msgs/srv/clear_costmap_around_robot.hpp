#ifndef NAV2_MSGS__SRV__CLEAR_COSTMAP_AROUND_ROBOT_HPP_
#define NAV2_MSGS__SRV__CLEAR_COSTMAP_AROUND_ROBOT_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"
#include "std_msgs/msg/empty.hpp"

namespace nav2_msgs
{
namespace srv
{

/// @brief nav2_msgs/srv/ClearCostmapAroundRobot request.
template<class ContainerAllocator>
struct ClearCostmapAroundRobot_Request_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ClearCostmapAroundRobot_Request_)

  ROSIDL_STANDIN_FIELD(reset_distance, float)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ClearCostmapAroundRobot_Request_ & other) const
  {
    return reset_distance == other.reset_distance;
  }
  bool operator!=(const ClearCostmapAroundRobot_Request_ & other) const
  {
    return !this->operator==(other);
  }
};

using ClearCostmapAroundRobot_Request = ClearCostmapAroundRobot_Request_<std::allocator<void>>;

/// @brief nav2_msgs/srv/ClearCostmapAroundRobot response.
template<class ContainerAllocator>
struct ClearCostmapAroundRobot_Response_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ClearCostmapAroundRobot_Response_)

  ROSIDL_STANDIN_FIELD(response, std_msgs::msg::Empty_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ClearCostmapAroundRobot_Response_ & other) const
  {
    return response == other.response;
  }
  bool operator!=(const ClearCostmapAroundRobot_Response_ & other) const
  {
    return !this->operator==(other);
  }
};

using ClearCostmapAroundRobot_Response = ClearCostmapAroundRobot_Response_<std::allocator<void>>;

/// @brief nav2_msgs/srv/ClearCostmapAroundRobot: the request and response types.
struct ClearCostmapAroundRobot
{
  using Request = ClearCostmapAroundRobot_Request;
  using Response = ClearCostmapAroundRobot_Response;
};

}  // namespace srv
}  // namespace nav2_msgs

ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearCostmapAroundRobot_Request, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearCostmapAroundRobot_Response, is_message)
ROSIDL_STANDIN_INTERFACE_TRAITS(nav2_msgs, srv, ClearCostmapAroundRobot, is_service)

#endif  // NAV2_MSGS__SRV__CLEAR_COSTMAP_AROUND_ROBOT_HPP_
