#include "rclcpp/node_interfaces/parameter_rules.hpp"

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "rclcpp/exceptions/exceptions.hpp"

namespace rclcpp
{
namespace node_interfaces
{
namespace detail
{

rcl_interfaces::msg::SetParametersResult success()
{
  rcl_interfaces::msg::SetParametersResult result;
  result.successful = true;
  return result;
}

rcl_interfaces::msg::SetParametersResult failure(const std::string & reason)
{
  rcl_interfaces::msg::SetParametersResult result;
  result.successful = false;
  result.reason = reason;
  return result;
}

namespace
{

// declare_parameter tells a type refusal from any other refusal by this prefix, as upstream.
constexpr char kTypeErrorStart[] = "Wrong parameter type";

std::string format_type_reason(
  const std::string & name, const std::string & old_type, const std::string & new_type)
{
  std::ostringstream ss;
  ss << kTypeErrorStart << ", parameter {" << name << "} is of type {" << old_type
     << "}, setting it to {" << new_type << "} is not allowed.";
  return ss.str();
}

std::string format_range_reason(const std::string & name, const char * range_type)
{
  std::ostringstream ss;
  ss << "Parameter {" << name << "} doesn't comply with " << range_type << " range.";
  return ss.str();
}

bool are_doubles_equal(double x, double y, double ulp = 100.0)
{
  return std::abs(x - y) <= std::numeric_limits<double>::epsilon() * std::abs(x + y) * ulp;
}

rcl_interfaces::msg::SetParametersResult check_parameter_value_in_range(
  const rcl_interfaces::msg::ParameterDescriptor & descriptor, const rclcpp::ParameterValue & value)
{
  if (!descriptor.integer_range.empty() && value.get_type() == rclcpp::PARAMETER_INTEGER) {
    const int64_t v = value.get<int64_t>();
    const auto & range = descriptor.integer_range.at(0);
    if (v == range.from_value || v == range.to_value) {
      return success();
    }
    if (v < range.from_value || v > range.to_value) {
      return failure(format_range_reason(descriptor.name, "integer"));
    }
    if (range.step == 0 || ((v - range.from_value) % range.step) == 0) {
      return success();
    }
    return failure(format_range_reason(descriptor.name, "integer"));
  }

  if (!descriptor.floating_point_range.empty() && value.get_type() == rclcpp::PARAMETER_DOUBLE) {
    const double v = value.get<double>();
    const auto & range = descriptor.floating_point_range.at(0);
    if (are_doubles_equal(v, range.from_value) || are_doubles_equal(v, range.to_value)) {
      return success();
    }
    if (v < range.from_value || v > range.to_value) {
      return failure(format_range_reason(descriptor.name, "floating point"));
    }
    if (range.step == 0.0) {
      return success();
    }
    const double rounded_div = std::round((v - range.from_value) / range.step);
    if (are_doubles_equal(v, range.from_value + rounded_div * range.step)) {
      return success();
    }
    return failure(format_range_reason(descriptor.name, "floating point"));
  }
  return success();
}

// Type and range check against the stored descriptors.
rcl_interfaces::msg::SetParametersResult check_parameters(
  ParameterInfos & parameter_infos, const std::vector<rclcpp::Parameter> & parameters,
  bool allow_undeclared)
{
  for (const rclcpp::Parameter & parameter : parameters) {
    const std::string & name = parameter.get_name();
    rcl_interfaces::msg::ParameterDescriptor descriptor;
    if (allow_undeclared) {
      auto it = parameter_infos.find(name);
      if (it != parameter_infos.cend()) {
        descriptor = it->second.descriptor;
      } else {
        // Implicitly declared parameters are dynamically typed.
        descriptor.dynamic_typing = true;
      }
    } else {
      descriptor = parameter_infos[name].descriptor;
    }
    if (descriptor.name.empty()) {
      descriptor.name = name;
    }
    const auto new_type = parameter.get_type();
    const auto specified_type = static_cast<rclcpp::ParameterType>(descriptor.type);
    if (!descriptor.dynamic_typing && specified_type != new_type) {
      return failure(
        format_type_reason(name, rclcpp::to_string(specified_type), rclcpp::to_string(new_type)));
    }
    auto result = check_parameter_value_in_range(descriptor, parameter.get_parameter_value());
    if (!result.successful) {
      return result;
    }
  }
  return success();
}

// Most recently added first; the first refusal stops the chain. Expired handles are
// dropped on the way, which is how releasing a handle unregisters its callback.
rcl_interfaces::msg::SetParametersResult call_on_parameters_set_callbacks(
  const std::vector<rclcpp::Parameter> & parameters, CallbacksContainerType & callback_container)
{
  rcl_interfaces::msg::SetParametersResult result = success();
  auto it = callback_container.begin();
  while (it != callback_container.end()) {
    auto shared_handle = it->lock();
    if (shared_handle != nullptr) {
      result = shared_handle->callback(parameters);
      if (!result.successful) {
        return result;
      }
      ++it;
    } else {
      it = callback_container.erase(it);
    }
  }
  return result;
}

}  // namespace

rcl_interfaces::msg::SetParametersResult set_parameters_atomically_common(
  const std::vector<rclcpp::Parameter> & parameters, ParameterInfos & parameter_infos,
  CallbacksContainerType & callback_container, bool allow_undeclared)
{
  auto result = check_parameters(parameter_infos, parameters, allow_undeclared);
  if (!result.successful) {
    return result;
  }
  result = call_on_parameters_set_callbacks(parameters, callback_container);
  if (!result.successful) {
    return result;
  }
  for (const auto & parameter : parameters) {
    const std::string & name = parameter.get_name();
    parameter_infos[name].descriptor.name = name;
    parameter_infos[name].descriptor.type = parameter.get_type();
    parameter_infos[name].value = parameter.get_parameter_value();
  }
  return result;
}

rcl_interfaces::msg::SetParametersResult declare_parameter_common(
  const std::string & name, const rclcpp::ParameterValue & default_value,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor,
  ParameterInfos & parameters_out, const std::map<std::string, rclcpp::ParameterValue> & overrides,
  CallbacksContainerType & callback_container, bool ignore_override)
{
  ParameterInfos parameter_infos{{name, ParameterInfo()}};
  parameter_infos.at(name).descriptor = parameter_descriptor;

  const rclcpp::ParameterValue * initial_value = &default_value;
  auto overrides_it = overrides.find(name);
  if (!ignore_override && overrides_it != overrides.end()) {
    initial_value = &overrides_it->second;
  }

  // Declared without a value: stored as such, no callback sees it.
  if (initial_value->get_type() == rclcpp::PARAMETER_NOT_SET) {
    parameter_infos[name].descriptor.name = name;
    if (parameter_descriptor.dynamic_typing) {
      parameter_infos[name].descriptor.type = rclcpp::PARAMETER_NOT_SET;
    } else {
      parameter_infos[name].descriptor.type = parameter_descriptor.type;
    }
    parameters_out[name] = parameter_infos.at(name);
    return success();
  }

  // The on-set callbacks also vet the initial value.
  const std::vector<rclcpp::Parameter> parameter_wrappers{rclcpp::Parameter(name, *initial_value)};
  auto result =
    set_parameters_atomically_common(parameter_wrappers, parameter_infos, callback_container);
  if (!result.successful) {
    return result;
  }
  parameters_out[name] = parameter_infos.at(name);
  return result;
}

const rclcpp::ParameterValue & declare_parameter_helper(
  const std::string & name, rclcpp::ParameterType type,
  const rclcpp::ParameterValue & default_value,
  rcl_interfaces::msg::ParameterDescriptor parameter_descriptor, bool ignore_override,
  ParameterInfos & parameters, const std::map<std::string, rclcpp::ParameterValue> & overrides,
  CallbacksContainerType & callback_container)
{
  if (name.empty()) {
    throw rclcpp::exceptions::InvalidParametersException("parameter name must not be empty");
  }
  if (parameters.find(name) != parameters.end()) {
    throw rclcpp::exceptions::ParameterAlreadyDeclaredException(
      "parameter '" + name + "' has already been declared");
  }

  if (!parameter_descriptor.dynamic_typing) {
    if (rclcpp::PARAMETER_NOT_SET == type) {
      type = default_value.get_type();
    }
    if (rclcpp::PARAMETER_NOT_SET == type) {
      throw std::invalid_argument{
        "cannot declare a statically typed parameter with an uninitialized value"};
    }
    parameter_descriptor.type = static_cast<uint8_t>(type);
  }

  auto result = declare_parameter_common(
    name, default_value, parameter_descriptor, parameters, overrides, callback_container,
    ignore_override);

  if (!result.successful) {
    if (result.reason.compare(0, std::strlen(kTypeErrorStart), kTypeErrorStart) == 0) {
      throw rclcpp::exceptions::InvalidParameterTypeException(name, result.reason);
    }
    throw rclcpp::exceptions::InvalidParameterValueException(
      "parameter '" + name + "' could not be set: " + result.reason);
  }
  return parameters.at(name).value;
}

}  // namespace detail
}  // namespace node_interfaces
}  // namespace rclcpp
