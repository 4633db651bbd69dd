#ifndef RCLCPP__NODE_INTERFACES__PARAMETER_RULES_HPP_
#define RCLCPP__NODE_INTERFACES__PARAMETER_RULES_HPP_

// The checks that declaring and setting share, kept apart from NodeParameters' own
// bookkeeping: descriptor type and range checks, the on-set callback chain, and the
// declaration of one parameter from its default or its override.

#include <map>
#include <string>
#include <vector>

#include "rcl_interfaces/msg/parameter_descriptor.hpp"
#include "rcl_interfaces/msg/set_parameters_result.hpp"
#include "rclcpp/node_interfaces/node_parameters.hpp"
#include "rclcpp/parameter.hpp"
#include "rclcpp/parameter_value.hpp"

namespace rclcpp
{
namespace node_interfaces
{
namespace detail
{

using ParameterInfos = std::map<std::string, ParameterInfo>;
using CallbacksContainerType = NodeParameters::CallbacksContainerType;

rcl_interfaces::msg::SetParametersResult success();

rcl_interfaces::msg::SetParametersResult failure(const std::string & reason);

/// Checks types and ranges, asks the callbacks (newest first), and only when all agree
/// stores the values in `parameter_infos`.
rcl_interfaces::msg::SetParametersResult set_parameters_atomically_common(
  const std::vector<rclcpp::Parameter> & parameters, ParameterInfos & parameter_infos,
  CallbacksContainerType & callback_container, bool allow_undeclared = false);

/// Adds `name` to `parameters_out` with its override (unless ignored) or its default,
/// after the callbacks accepted that value. A parameter without any value is stored
/// without asking them.
rcl_interfaces::msg::SetParametersResult declare_parameter_common(
  const std::string & name, const rclcpp::ParameterValue & default_value,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor,
  ParameterInfos & parameters_out, const std::map<std::string, rclcpp::ParameterValue> & overrides,
  CallbacksContainerType & callback_container, bool ignore_override);

/// declare_parameter's checks and exceptions around declare_parameter_common; `type`
/// PARAMETER_NOT_SET means "the default value's type".
const rclcpp::ParameterValue & declare_parameter_helper(
  const std::string & name, rclcpp::ParameterType type,
  const rclcpp::ParameterValue & default_value,
  rcl_interfaces::msg::ParameterDescriptor parameter_descriptor, bool ignore_override,
  ParameterInfos & parameters, const std::map<std::string, rclcpp::ParameterValue> & overrides,
  CallbacksContainerType & callback_container);

}  // namespace detail
}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__PARAMETER_RULES_HPP_
