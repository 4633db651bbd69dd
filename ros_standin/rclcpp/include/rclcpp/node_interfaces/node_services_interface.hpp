#ifndef RCLCPP__NODE_INTERFACES__NODE_SERVICES_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__NODE_SERVICES_INTERFACE_HPP_

#include <string>

#include "rclcpp/callback_group.hpp"
#include "rclcpp/client.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/service.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief Adds services and clients to a node.
class NodeServicesInterface
{
public:
  RCLCPP_SMART_PTR_ALIASES_ONLY(NodeServicesInterface)

  virtual ~NodeServicesInterface() = default;

  /// @brief Connects the client to its service name and puts it in the group (nullptr: the
  /// default group).
  virtual void add_client(
    rclcpp::ClientBase::SharedPtr client_base_ptr, rclcpp::CallbackGroup::SharedPtr group) = 0;

  /// @brief Offers the service and puts it in the group (nullptr: the default group).
  virtual void add_service(
    rclcpp::ServiceBase::SharedPtr service_base_ptr, rclcpp::CallbackGroup::SharedPtr group) = 0;

  /// @brief The service name expanded in the node's namespace.
  virtual std::string resolve_service_name(
    const std::string & name, bool only_expand = false) const = 0;
};

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__NODE_SERVICES_INTERFACE_HPP_
