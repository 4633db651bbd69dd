#ifndef NAV2_UTIL__NODE_UTILS_HPP_
#define NAV2_UTIL__NODE_UTILS_HPP_

#include <cstddef>
#include <stdexcept>
#include <string>

#include "rcl_interfaces/msg/parameter_descriptor.hpp"
#include "rclcpp/rclcpp.hpp"

namespace nav2_util
{

/// @brief @p potential_node_name with every character that is not alphanumeric replaced by '_'.
std::string sanitize_node_name(const std::string & potential_node_name);

/// @brief Joins two namespaces with exactly one '/' between them, and a leading '/'
/// when @p top_ns ends with one.
std::string add_namespaces(const std::string & top_ns, const std::string & sub_ns = "");

/// @brief The last @p len digits of the current system time in nanoseconds,
/// left-padded with zeros.
std::string time_to_string(size_t len);

/// @brief The sanitized @p prefix followed by '_' and eight digits of the current time.
std::string generate_internal_node_name(const std::string & prefix = "");

/// @brief Declares @p param_name with @p default_value unless it is already declared.
template<typename NodeT>
void declare_parameter_if_not_declared(
  NodeT node, const std::string & param_name, const rclcpp::ParameterValue & default_value,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
    rcl_interfaces::msg::ParameterDescriptor())
{
  if (!node->has_parameter(param_name)) {
    node->declare_parameter(param_name, default_value, parameter_descriptor);
  }
}

/// @brief Declares @p param_name as statically typed @p param_type unless it is already declared.
template<typename NodeT>
void declare_parameter_if_not_declared(
  NodeT node, const std::string & param_name, const rclcpp::ParameterType & param_type,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
    rcl_interfaces::msg::ParameterDescriptor())
{
  if (!node->has_parameter(param_name)) {
    node->declare_parameter(param_name, param_type, parameter_descriptor);
  }
}

/// @brief The string parameter "<plugin_name>.plugin", declared if needed.
///
/// Upstream logs at FATAL and calls exit(-1) when the value is missing; a test
/// process has to survive that, so this logs the same line and throws
/// std::runtime_error with it instead.
template<typename NodeT>
std::string get_plugin_type_param(NodeT node, const std::string & plugin_name)
{
  declare_parameter_if_not_declared(node, plugin_name + ".plugin", rclcpp::PARAMETER_STRING);
  std::string plugin_type;
  try {
    if (!node->get_parameter(plugin_name + ".plugin", plugin_type)) {
      RCLCPP_FATAL(
        node->get_logger(), "Can not get 'plugin' param value for %s", plugin_name.c_str());
      throw std::runtime_error("Can not get 'plugin' param value for " + plugin_name);
    }
  } catch (rclcpp::exceptions::ParameterUninitializedException & ex) {
    RCLCPP_FATAL(node->get_logger(), "'plugin' param not defined for %s", plugin_name.c_str());
    throw std::runtime_error("'plugin' param not defined for " + plugin_name);
  }

  return plugin_type;
}

}  // namespace nav2_util

#endif  // NAV2_UTIL__NODE_UTILS_HPP_
