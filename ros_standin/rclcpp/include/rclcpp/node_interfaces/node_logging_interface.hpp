#ifndef RCLCPP__NODE_INTERFACES__NODE_LOGGING_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__NODE_LOGGING_INTERFACE_HPP_

#include "rclcpp/logger.hpp"
#include "rclcpp/macros.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief The node's logger.
class NodeLoggingInterface
{
public:
  RCLCPP_SMART_PTR_ALIASES_ONLY(NodeLoggingInterface)

  virtual ~NodeLoggingInterface() = default;

  /// @brief The logger named after the node ("<namespace>.<name>" with '.' for '/').
  virtual rclcpp::Logger get_logger() const = 0;

  /// @brief That logger's name.
  virtual const char * get_logger_name() const = 0;
};

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__NODE_LOGGING_INTERFACE_HPP_
