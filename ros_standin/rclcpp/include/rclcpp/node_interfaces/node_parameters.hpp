#ifndef RCLCPP__NODE_INTERFACES__NODE_PARAMETERS_HPP_
#define RCLCPP__NODE_INTERFACES__NODE_PARAMETERS_HPP_

#include <cstdint>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "rcl_interfaces/msg/list_parameters_result.hpp"
#include "rcl_interfaces/msg/parameter_descriptor.hpp"
#include "rcl_interfaces/msg/set_parameters_result.hpp"
#include "rclcpp/exceptions/exceptions.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/node_interfaces/node_base_interface.hpp"
#include "rclcpp/node_interfaces/node_parameters_interface.hpp"
#include "rclcpp/node_options.hpp"
#include "rclcpp/parameter.hpp"
#include "rclcpp/parameter_value.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief What the node stores for one declared parameter.
struct ParameterInfo
{
  rclcpp::ParameterValue value;
  rcl_interfaces::msg::ParameterDescriptor descriptor;
};

/// @brief Refuses a parameter change made from inside an on-set callback, as upstream does.
class ParameterMutationRecursionGuard
{
public:
  explicit ParameterMutationRecursionGuard(bool & allow_mod)
  : allow_modification_(allow_mod)
  {
    if (!allow_modification_) {
      throw rclcpp::exceptions::ParameterModifiedInCallbackException(
        "cannot set or declare a parameter, or change the callback from within set callback");
    }
    allow_modification_ = false;
  }

  ~ParameterMutationRecursionGuard() { allow_modification_ = true; }

private:
  bool & allow_modification_;
};

/// @brief The node's parameter store: declared parameters, resolved overrides and the
/// on-set callbacks.
///
/// Upstream's constructor also takes the logging, topics, services and clock interfaces
/// to run the parameter services and the /parameter_events publisher; the stand-in has
/// neither, so it takes only the node base and the options the node was made with.
class NodeParameters : public NodeParametersInterface
{
public:
  RCLCPP_SMART_PTR_ALIASES_ONLY(NodeParameters)

  /// @brief Resolves the overrides for node_base's fully qualified name (global arguments,
  /// then options.arguments(), then options.parameter_overrides()) and, if the options ask
  /// for it, declares every override.
  NodeParameters(
    const NodeBaseInterface::SharedPtr & node_base, const rclcpp::NodeOptions & options);

  NodeParameters(const NodeParameters &) = delete;
  NodeParameters & operator=(const NodeParameters &) = delete;

  virtual ~NodeParameters();

  const rclcpp::ParameterValue & declare_parameter(
    const std::string & name, const rclcpp::ParameterValue & default_value,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor{},
    bool ignore_override = false) override;

  const rclcpp::ParameterValue & declare_parameter(
    const std::string & name, rclcpp::ParameterType type,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor(),
    bool ignore_override = false) override;

  void undeclare_parameter(const std::string & name) override;

  bool has_parameter(const std::string & name) const override;

  std::vector<rcl_interfaces::msg::SetParametersResult> set_parameters(
    const std::vector<rclcpp::Parameter> & parameters) override;

  rcl_interfaces::msg::SetParametersResult set_parameters_atomically(
    const std::vector<rclcpp::Parameter> & parameters) override;

  std::vector<rclcpp::Parameter> get_parameters(
    const std::vector<std::string> & names) const override;

  rclcpp::Parameter get_parameter(const std::string & name) const override;

  bool get_parameter(const std::string & name, rclcpp::Parameter & parameter) const override;

  bool get_parameters_by_prefix(
    const std::string & prefix,
    std::map<std::string, rclcpp::Parameter> & parameters) const override;

  std::vector<rcl_interfaces::msg::ParameterDescriptor> describe_parameters(
    const std::vector<std::string> & names) const override;

  std::vector<uint8_t> get_parameter_types(const std::vector<std::string> & names) const override;

  rcl_interfaces::msg::ListParametersResult list_parameters(
    const std::vector<std::string> & prefixes, uint64_t depth) const override;

  [[nodiscard]] OnSetParametersCallbackHandle::SharedPtr add_on_set_parameters_callback(
    OnParametersSetCallbackType callback) override;

  void remove_on_set_parameters_callback(
    const OnSetParametersCallbackHandle * const handler) override;

  const std::map<std::string, rclcpp::ParameterValue> & get_parameter_overrides() const override;

  using CallbacksContainerType = std::list<OnSetParametersCallbackHandle::WeakPtr>;

private:
  // Recursive so that an on-set callback may read parameters on its own thread; writes
  // from there are refused by the recursion guard instead.
  mutable std::recursive_mutex mutex_;

  bool parameter_modification_enabled_{true};

  CallbacksContainerType on_parameters_set_callback_container_;

  std::map<std::string, ParameterInfo> parameters_;

  std::map<std::string, rclcpp::ParameterValue> parameter_overrides_;

  bool allow_undeclared_ = false;

  std::string combined_name_;
};

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__NODE_PARAMETERS_HPP_
