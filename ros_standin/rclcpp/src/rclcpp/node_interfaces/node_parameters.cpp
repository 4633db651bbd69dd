#include "rclcpp/node_interfaces/node_parameters.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "rclcpp/detail/resolve_parameter_overrides.hpp"
#include "rclcpp/detail/ros_arguments.hpp"
#include "rclcpp/node_interfaces/parameter_rules.hpp"

namespace rclcpp
{
namespace node_interfaces
{

namespace
{

using detail::failure;
using detail::ParameterInfos;

// rcl_interfaces/srv/ListParameters: Request::DEPTH_RECURSIVE.
constexpr uint64_t kDepthRecursive = 0;

std::vector<rclcpp::Parameter>::const_iterator find_parameter_by_name(
  const std::vector<rclcpp::Parameter> & parameters, const std::string & name)
{
  return std::find_if(
    parameters.cbegin(), parameters.cend(),
    [&name](const rclcpp::Parameter & parameter) { return parameter.get_name() == name; });
}

}  // namespace

NodeParameters::NodeParameters(
  const NodeBaseInterface::SharedPtr & node_base, const rclcpp::NodeOptions & options)
: allow_undeclared_(options.allow_undeclared_parameters()),
  combined_name_(node_base->get_fully_qualified_name())
{
  std::shared_ptr<const rclcpp::detail::RosArguments> global_args;
  const auto context = node_base->get_context();
  if (options.use_global_arguments() && context) {
    global_args = rclcpp::detail::get_global_ros_arguments(*context);
  }
  const rclcpp::detail::RosArguments local_args =
    rclcpp::detail::parse_ros_arguments(options.arguments());

  parameter_overrides_ = rclcpp::detail::resolve_parameter_overrides(
    combined_name_, options.parameter_overrides(), &local_args, global_args.get());

  if (options.automatically_declare_parameters_from_overrides()) {
    rcl_interfaces::msg::ParameterDescriptor descriptor;
    descriptor.dynamic_typing = true;
    for (const auto & pair : parameter_overrides_) {
      if (!has_parameter(pair.first)) {
        declare_parameter(pair.first, pair.second, descriptor, true);
      }
    }
  }
}

NodeParameters::~NodeParameters() {}

const rclcpp::ParameterValue & NodeParameters::declare_parameter(
  const std::string & name, const rclcpp::ParameterValue & default_value,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor, bool ignore_override)
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ParameterMutationRecursionGuard guard(parameter_modification_enabled_);

  return detail::declare_parameter_helper(
    name, rclcpp::PARAMETER_NOT_SET, default_value, parameter_descriptor, ignore_override,
    parameters_, parameter_overrides_, on_parameters_set_callback_container_);
}

const rclcpp::ParameterValue & NodeParameters::declare_parameter(
  const std::string & name, rclcpp::ParameterType type,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor, bool ignore_override)
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ParameterMutationRecursionGuard guard(parameter_modification_enabled_);

  if (rclcpp::PARAMETER_NOT_SET == type) {
    throw std::invalid_argument{
      "declare_parameter(): the provided parameter type cannot be rclcpp::PARAMETER_NOT_SET"};
  }
  if (parameter_descriptor.dynamic_typing) {
    throw std::invalid_argument{
      "declare_parameter(): cannot declare parameter of specific type and pass descriptor"
      "with `dynamic_typing=true`"};
  }

  return detail::declare_parameter_helper(
    name, type, rclcpp::ParameterValue{}, parameter_descriptor, ignore_override, parameters_,
    parameter_overrides_, on_parameters_set_callback_container_);
}

void NodeParameters::undeclare_parameter(const std::string & name)
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ParameterMutationRecursionGuard guard(parameter_modification_enabled_);

  auto parameter_info = parameters_.find(name);
  if (parameter_info == parameters_.end()) {
    throw rclcpp::exceptions::ParameterNotDeclaredException(
      "cannot undeclare parameter '" + name + "' which has not yet been declared");
  }
  if (parameter_info->second.descriptor.read_only) {
    throw rclcpp::exceptions::ParameterImmutableException(
      "cannot undeclare parameter '" + name + "' because it is read-only");
  }
  if (!parameter_info->second.descriptor.dynamic_typing) {
    throw rclcpp::exceptions::InvalidParameterTypeException{
      name, "cannot undeclare a statically typed parameter"};
  }
  parameters_.erase(parameter_info);
}

bool NodeParameters::has_parameter(const std::string & name) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return parameters_.find(name) != parameters_.end();
}

std::vector<rcl_interfaces::msg::SetParametersResult> NodeParameters::set_parameters(
  const std::vector<rclcpp::Parameter> & parameters)
{
  std::vector<rcl_interfaces::msg::SetParametersResult> results;
  results.reserve(parameters.size());
  for (const auto & p : parameters) {
    results.push_back(set_parameters_atomically({{p}}));
  }
  return results;
}

rcl_interfaces::msg::SetParametersResult NodeParameters::set_parameters_atomically(
  const std::vector<rclcpp::Parameter> & parameters)
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ParameterMutationRecursionGuard guard(parameter_modification_enabled_);

  rcl_interfaces::msg::SetParametersResult result;

  // Undeclared names are either declared on the fly (when allowed) or an error;
  // read-only ones refuse the whole set.
  std::vector<const rclcpp::Parameter *> parameters_to_be_declared;
  for (const auto & parameter : parameters) {
    const std::string & name = parameter.get_name();
    if (name.empty()) {
      throw rclcpp::exceptions::InvalidParametersException("parameter name must not be empty");
    }
    auto parameter_info = parameters_.find(name);
    if (parameter_info == parameters_.end()) {
      if (allow_undeclared_) {
        parameters_to_be_declared.push_back(&parameter);
        continue;
      }
      throw rclcpp::exceptions::ParameterNotDeclaredException(
        "parameter '" + name + "' cannot be set because it was not declared");
    }
    if (parameter_info->second.descriptor.read_only) {
      return failure("parameter '" + name + "' cannot be set because it is read-only");
    }
  }

  // Implicit declarations go to a staging area first, without callbacks, so that the
  // callbacks later see every parameter of this set exactly once.
  ParameterInfos staged_parameter_changes;
  CallbacksContainerType empty_callback_container;
  rcl_interfaces::msg::ParameterDescriptor descriptor;
  descriptor.dynamic_typing = true;
  for (auto parameter_to_be_declared : parameters_to_be_declared) {
    result = detail::declare_parameter_common(
      parameter_to_be_declared->get_name(), parameter_to_be_declared->get_parameter_value(),
      descriptor, staged_parameter_changes, parameter_overrides_, empty_callback_container, true);
    if (!result.successful) {
      return result;
    }
  }

  const std::vector<rclcpp::Parameter> * parameters_to_be_set = &parameters;
  std::vector<rclcpp::Parameter> parameters_copy;
  if (!staged_parameter_changes.empty()) {
    bool any_initial_values_used = false;
    for (const auto & staged : staged_parameter_changes) {
      auto it = find_parameter_by_name(parameters, staged.first);
      if (it->get_parameter_value() != staged.second.value) {
        any_initial_values_used = true;
        break;
      }
    }
    if (any_initial_values_used) {
      parameters_copy = parameters;
      for (const auto & staged : staged_parameter_changes) {
        for (auto & parameter : parameters_copy) {
          if (parameter.get_name() == staged.first) {
            parameter = rclcpp::Parameter(staged.first, staged.second.value);
          }
        }
      }
      parameters_to_be_set = &parameters_copy;
    }
  }

  // Setting a dynamically typed parameter to "not set" undeclares it.
  std::vector<const rclcpp::Parameter *> parameters_to_be_undeclared;
  for (const auto & parameter : *parameters_to_be_set) {
    if (rclcpp::PARAMETER_NOT_SET == parameter.get_type()) {
      auto it = parameters_.find(parameter.get_name());
      if (it != parameters_.end() && rclcpp::PARAMETER_NOT_SET != it->second.value.get_type()) {
        if (!it->second.descriptor.dynamic_typing) {
          return failure("cannot undeclare a statically typed parameter");
        }
        parameters_to_be_undeclared.push_back(&parameter);
      }
    }
  }

  result = detail::set_parameters_atomically_common(
    *parameters_to_be_set, parameters_, on_parameters_set_callback_container_, allow_undeclared_);
  if (!result.successful) {
    return result;
  }

  for (const auto & kv_pair : staged_parameter_changes) {
    parameters_[kv_pair.first] = kv_pair.second;
  }
  for (auto parameter_to_undeclare : parameters_to_be_undeclared) {
    parameters_.erase(parameter_to_undeclare->get_name());
  }
  return result;
}

std::vector<rclcpp::Parameter> NodeParameters::get_parameters(
  const std::vector<std::string> & names) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<rclcpp::Parameter> results;
  results.reserve(names.size());
  for (const auto & name : names) {
    auto found_parameter = parameters_.find(name);
    if (found_parameter != parameters_.cend()) {
      results.emplace_back(name, found_parameter->second.value);
    } else if (allow_undeclared_) {
      results.emplace_back(name, rclcpp::ParameterValue());
    } else {
      throw rclcpp::exceptions::ParameterNotDeclaredException(name);
    }
  }
  return results;
}

rclcpp::Parameter NodeParameters::get_parameter(const std::string & name) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);

  auto param_iter = parameters_.find(name);
  if (
    parameters_.end() != param_iter &&
    (param_iter->second.value.get_type() != rclcpp::ParameterType::PARAMETER_NOT_SET ||
     param_iter->second.descriptor.dynamic_typing)) {
    return rclcpp::Parameter{name, param_iter->second.value};
  } else if (allow_undeclared_) {
    return rclcpp::Parameter{};
  } else if (parameters_.end() == param_iter) {
    throw rclcpp::exceptions::ParameterNotDeclaredException(name);
  } else {
    throw rclcpp::exceptions::ParameterUninitializedException(name);
  }
}

bool NodeParameters::get_parameter(const std::string & name, rclcpp::Parameter & parameter) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);

  // UNVERIFIED whether Humble's boolean overload throws ParameterUninitializedException for
  // a declared parameter without a value; Nav2's "Can not get 'plugin' param value" path
  // implies it answers false, so it does here.
  auto param_iter = parameters_.find(name);
  if (
    parameters_.end() != param_iter &&
    param_iter->second.value.get_type() != rclcpp::ParameterType::PARAMETER_NOT_SET) {
    parameter = {name, param_iter->second.value};
    return true;
  }
  return false;
}

bool NodeParameters::get_parameters_by_prefix(
  const std::string & prefix, std::map<std::string, rclcpp::Parameter> & parameters) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);

  const std::string prefix_with_dot = prefix.empty() ? prefix : prefix + ".";
  bool ret = false;
  for (const auto & param : parameters_) {
    if (param.first.find(prefix_with_dot) == 0 && param.first.length() > prefix_with_dot.length()) {
      parameters[param.first.substr(prefix_with_dot.length())] = rclcpp::Parameter(param.second);
      ret = true;
    }
  }
  return ret;
}

std::vector<rcl_interfaces::msg::ParameterDescriptor> NodeParameters::describe_parameters(
  const std::vector<std::string> & names) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<rcl_interfaces::msg::ParameterDescriptor> results;
  results.reserve(names.size());
  for (const auto & name : names) {
    auto it = parameters_.find(name);
    if (it != parameters_.cend()) {
      results.push_back(it->second.descriptor);
    } else if (allow_undeclared_) {
      rcl_interfaces::msg::ParameterDescriptor default_description;
      default_description.name = name;
      results.push_back(default_description);
    } else {
      throw rclcpp::exceptions::ParameterNotDeclaredException(name);
    }
  }
  return results;
}

std::vector<uint8_t> NodeParameters::get_parameter_types(
  const std::vector<std::string> & names) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<uint8_t> results;
  results.reserve(names.size());
  for (const auto & name : names) {
    auto it = parameters_.find(name);
    if (it != parameters_.cend()) {
      results.push_back(it->second.value.get_type());
    } else if (allow_undeclared_) {
      results.push_back(rcl_interfaces::msg::ParameterType::PARAMETER_NOT_SET);
    } else {
      throw rclcpp::exceptions::ParameterNotDeclaredException(name);
    }
  }
  return results;
}

rcl_interfaces::msg::ListParametersResult NodeParameters::list_parameters(
  const std::vector<std::string> & prefixes, uint64_t depth) const
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  rcl_interfaces::msg::ListParametersResult result;

  const char separator = '.';
  auto within_depth = [depth, separator](const std::string & name) {
    return depth == kDepthRecursive ||
           static_cast<uint64_t>(std::count(name.begin(), name.end(), separator)) < depth;
  };
  for (const auto & kv : parameters_) {
    const bool get_all = prefixes.empty() && within_depth(kv.first);
    const bool prefix_matches = std::any_of(
      prefixes.cbegin(), prefixes.cend(),
      [&kv, &within_depth, separator](const std::string & prefix) {
        if (kv.first == prefix) {
          return true;
        }
        if (kv.first.find(prefix + separator) == 0) {
          return within_depth(kv.first.substr(prefix.length()));
        }
        return false;
      });
    if (get_all || prefix_matches) {
      result.names.push_back(kv.first);
      const size_t last_separator = kv.first.find_last_of(separator);
      if (std::string::npos != last_separator) {
        const std::string prefix = kv.first.substr(0, last_separator);
        if (
          std::find(result.prefixes.cbegin(), result.prefixes.cend(), prefix) ==
          result.prefixes.cend()) {
          result.prefixes.push_back(prefix);
        }
      }
    }
  }
  return result;
}

OnSetParametersCallbackHandle::SharedPtr NodeParameters::add_on_set_parameters_callback(
  OnParametersSetCallbackType callback)
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ParameterMutationRecursionGuard guard(parameter_modification_enabled_);

  auto handle = std::make_shared<OnSetParametersCallbackHandle>();
  handle->callback = callback;
  // The last callback registered runs first.
  on_parameters_set_callback_container_.emplace_front(handle);
  return handle;
}

void NodeParameters::remove_on_set_parameters_callback(
  const OnSetParametersCallbackHandle * const handle)
{
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ParameterMutationRecursionGuard guard(parameter_modification_enabled_);

  auto it = std::find_if(
    on_parameters_set_callback_container_.begin(), on_parameters_set_callback_container_.end(),
    [handle](const auto & weak_handle) { return handle == weak_handle.lock().get(); });
  if (it != on_parameters_set_callback_container_.end()) {
    on_parameters_set_callback_container_.erase(it);
  } else {
    throw std::runtime_error("Callback doesn't exist");
  }
}

const std::map<std::string, rclcpp::ParameterValue> & NodeParameters::get_parameter_overrides()
  const
{
  return parameter_overrides_;
}

}  // namespace node_interfaces
}  // namespace rclcpp
