#include "rclcpp/node_interfaces/node_logging.hpp"

#include <algorithm>
#include <string>

namespace rclcpp
{
namespace node_interfaces
{

NodeLogging::NodeLogging(rclcpp::node_interfaces::NodeBaseInterface * node_base)
{
  // rcl names a node's logger after its namespace and name with '.' for '/':
  // "/local_costmap" + "local_costmap" -> "local_costmap.local_costmap".
  std::string logger_name = node_base->get_namespace();
  logger_name.erase(0, logger_name.find_first_not_of('/'));
  std::replace(logger_name.begin(), logger_name.end(), '/', '.');
  if (!logger_name.empty()) {
    logger_name += ".";
  }
  logger_name += node_base->get_name();
  logger_ = rclcpp::Logger(logger_name);
}

NodeLogging::~NodeLogging() {}

rclcpp::Logger NodeLogging::get_logger() const
{
  return logger_;
}

const char * NodeLogging::get_logger_name() const
{
  return logger_.get_name();
}

}  // namespace node_interfaces
}  // namespace rclcpp
