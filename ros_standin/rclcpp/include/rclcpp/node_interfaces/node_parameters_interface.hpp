#ifndef RCLCPP__NODE_INTERFACES__NODE_PARAMETERS_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__NODE_PARAMETERS_INTERFACE_HPP_

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "rcl_interfaces/msg/list_parameters_result.hpp"
#include "rcl_interfaces/msg/parameter_descriptor.hpp"
#include "rcl_interfaces/msg/set_parameters_result.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/parameter.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief What add_on_set_parameters_callback hands back; the node only keeps a weak
/// reference, so dropping the last SharedPtr unregisters the callback.
struct OnSetParametersCallbackHandle
{
  RCLCPP_SMART_PTR_DEFINITIONS(OnSetParametersCallbackHandle)

  using OnParametersSetCallbackType =
    std::function<rcl_interfaces::msg::SetParametersResult(const std::vector<rclcpp::Parameter> &)>;

  OnParametersSetCallbackType callback;
};

/// @brief The parameter part of a node.
class NodeParametersInterface
{
public:
  RCLCPP_SMART_PTR_ALIASES_ONLY(NodeParametersInterface)

  virtual ~NodeParametersInterface() = default;

  /// @brief Declares a parameter; an override (unless ignored) replaces the default.
  virtual const rclcpp::ParameterValue & declare_parameter(
    const std::string & name, const rclcpp::ParameterValue & default_value,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor(),
    bool ignore_override = false) = 0;

  /// @brief Declares a statically typed parameter whose value only an override can give.
  virtual const rclcpp::ParameterValue & declare_parameter(
    const std::string & name, rclcpp::ParameterType type,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor(),
    bool ignore_override = false) = 0;

  /// @brief Removes a declared, dynamically typed, writable parameter.
  virtual void undeclare_parameter(const std::string & name) = 0;

  /// @brief True when the parameter is declared.
  virtual bool has_parameter(const std::string & name) const = 0;

  /// @brief Sets each parameter on its own; one result per parameter.
  virtual std::vector<rcl_interfaces::msg::SetParametersResult> set_parameters(
    const std::vector<rclcpp::Parameter> & parameters) = 0;

  /// @brief Sets all parameters or none.
  virtual rcl_interfaces::msg::SetParametersResult set_parameters_atomically(
    const std::vector<rclcpp::Parameter> & parameters) = 0;

  /// @brief The named parameters; throws for an undeclared one unless undeclared ones are allowed.
  virtual std::vector<rclcpp::Parameter> get_parameters(
    const std::vector<std::string> & names) const = 0;

  /// @brief The named parameter; throws if it is undeclared (or declared without a value).
  virtual rclcpp::Parameter get_parameter(const std::string & name) const = 0;

  /// @brief False when the parameter is undeclared or has no value.
  virtual bool get_parameter(const std::string & name, rclcpp::Parameter & parameter) const = 0;

  /// @brief Every parameter named "<prefix>.<rest>", keyed by <rest>.
  virtual bool get_parameters_by_prefix(
    const std::string & prefix, std::map<std::string, rclcpp::Parameter> & parameters) const = 0;

  /// @brief The descriptors of the named parameters.
  virtual std::vector<rcl_interfaces::msg::ParameterDescriptor> describe_parameters(
    const std::vector<std::string> & names) const = 0;

  /// @brief The types of the named parameters.
  virtual std::vector<uint8_t> get_parameter_types(
    const std::vector<std::string> & names) const = 0;

  /// @brief Names and '.'-prefixes of the declared parameters.
  virtual rcl_interfaces::msg::ListParametersResult list_parameters(
    const std::vector<std::string> & prefixes, uint64_t depth) const = 0;

  using OnParametersSetCallbackType = OnSetParametersCallbackHandle::OnParametersSetCallbackType;

  /// @brief Adds a callback that may refuse a set; the most recently added runs first.
  [[nodiscard]] virtual OnSetParametersCallbackHandle::SharedPtr add_on_set_parameters_callback(
    OnParametersSetCallbackType callback) = 0;

  /// @brief Removes a callback; throws if it is not registered.
  virtual void remove_on_set_parameters_callback(
    const OnSetParametersCallbackHandle * const handler) = 0;

  /// @brief The overrides resolved for this node at construction.
  virtual const std::map<std::string, rclcpp::ParameterValue> & get_parameter_overrides() const = 0;
};

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__NODE_PARAMETERS_INTERFACE_HPP_
