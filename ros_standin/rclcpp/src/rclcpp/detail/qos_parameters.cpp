#include "rclcpp/detail/qos_parameters.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "rcl_interfaces/msg/parameter_descriptor.hpp"

namespace rclcpp
{
namespace detail
{

namespace
{

// rmw_qos_*_policy_to_str / _from_str.
const char * history_to_str(rclcpp::HistoryPolicy value)
{
  switch (value) {
    case rclcpp::HistoryPolicy::KeepLast:
      return "keep_last";
    case rclcpp::HistoryPolicy::KeepAll:
      return "keep_all";
    case rclcpp::HistoryPolicy::SystemDefault:
      return "system_default";
    default:
      return "unknown";
  }
}

const char * reliability_to_str(rclcpp::ReliabilityPolicy value)
{
  switch (value) {
    case rclcpp::ReliabilityPolicy::Reliable:
      return "reliable";
    case rclcpp::ReliabilityPolicy::BestEffort:
      return "best_effort";
    case rclcpp::ReliabilityPolicy::SystemDefault:
      return "system_default";
    default:
      return "unknown";
  }
}

const char * durability_to_str(rclcpp::DurabilityPolicy value)
{
  switch (value) {
    case rclcpp::DurabilityPolicy::Volatile:
      return "volatile";
    case rclcpp::DurabilityPolicy::TransientLocal:
      return "transient_local";
    case rclcpp::DurabilityPolicy::SystemDefault:
      return "system_default";
    default:
      return "unknown";
  }
}

const char * liveliness_to_str(rclcpp::LivelinessPolicy value)
{
  switch (value) {
    case rclcpp::LivelinessPolicy::Automatic:
      return "automatic";
    case rclcpp::LivelinessPolicy::ManualByTopic:
      return "manual_by_topic";
    case rclcpp::LivelinessPolicy::SystemDefault:
      return "system_default";
    default:
      return "unknown";
  }
}

template<typename PolicyT>
PolicyT policy_from_str(
  const std::string & text, const char * (*to_str)(PolicyT), std::initializer_list<PolicyT> values,
  rclcpp::QosPolicyKind kind)
{
  for (PolicyT value : values) {
    if (text == to_str(value)) {
      return value;
    }
  }
  throw std::invalid_argument(
    std::string("unknown value '") + text + "' for QoS policy " +
    rclcpp::qos_policy_kind_to_cstr(kind));
}

}  // namespace

rclcpp::ParameterValue get_default_qos_param_value(
  rclcpp::QosPolicyKind kind, const rclcpp::QoS & qos)
{
  using rclcpp::QosPolicyKind;
  switch (kind) {
    case QosPolicyKind::AvoidRosNamespaceConventions:
      return rclcpp::ParameterValue(qos.avoid_ros_namespace_conventions());
    case QosPolicyKind::Deadline:
      return rclcpp::ParameterValue(static_cast<int64_t>(qos.deadline().nanoseconds()));
    case QosPolicyKind::Depth:
      return rclcpp::ParameterValue(static_cast<int64_t>(qos.depth()));
    case QosPolicyKind::Durability:
      return rclcpp::ParameterValue(durability_to_str(qos.durability()));
    case QosPolicyKind::History:
      return rclcpp::ParameterValue(history_to_str(qos.history()));
    case QosPolicyKind::Lifespan:
      return rclcpp::ParameterValue(static_cast<int64_t>(qos.lifespan().nanoseconds()));
    case QosPolicyKind::Liveliness:
      return rclcpp::ParameterValue(liveliness_to_str(qos.liveliness()));
    case QosPolicyKind::LivelinessLeaseDuration:
      return rclcpp::ParameterValue(
        static_cast<int64_t>(qos.liveliness_lease_duration().nanoseconds()));
    case QosPolicyKind::Reliability:
      return rclcpp::ParameterValue(reliability_to_str(qos.reliability()));
    default:
      throw std::invalid_argument("invalid QoS policy kind used");
  }
}

void apply_qos_override(
  rclcpp::QosPolicyKind kind, const rclcpp::ParameterValue & value, rclcpp::QoS & qos)
{
  using rclcpp::QosPolicyKind;
  switch (kind) {
    case QosPolicyKind::AvoidRosNamespaceConventions:
      qos.avoid_ros_namespace_conventions(value.get<bool>());
      break;
    case QosPolicyKind::Deadline:
      qos.deadline(rclcpp::Duration::from_nanoseconds(value.get<int64_t>()));
      break;
    case QosPolicyKind::Depth:
      qos.get_rmw_qos_profile().depth = static_cast<size_t>(value.get<int64_t>());
      break;
    case QosPolicyKind::Durability:
      qos.durability(policy_from_str<rclcpp::DurabilityPolicy>(
        value.get<std::string>(), &durability_to_str,
        {rclcpp::DurabilityPolicy::Volatile, rclcpp::DurabilityPolicy::TransientLocal,
         rclcpp::DurabilityPolicy::SystemDefault},
        kind));
      break;
    case QosPolicyKind::History:
      qos.history(policy_from_str<rclcpp::HistoryPolicy>(
        value.get<std::string>(), &history_to_str,
        {rclcpp::HistoryPolicy::KeepLast, rclcpp::HistoryPolicy::KeepAll,
         rclcpp::HistoryPolicy::SystemDefault},
        kind));
      break;
    case QosPolicyKind::Lifespan:
      qos.lifespan(rclcpp::Duration::from_nanoseconds(value.get<int64_t>()));
      break;
    case QosPolicyKind::Liveliness:
      qos.liveliness(policy_from_str<rclcpp::LivelinessPolicy>(
        value.get<std::string>(), &liveliness_to_str,
        {rclcpp::LivelinessPolicy::Automatic, rclcpp::LivelinessPolicy::ManualByTopic,
         rclcpp::LivelinessPolicy::SystemDefault},
        kind));
      break;
    case QosPolicyKind::LivelinessLeaseDuration:
      qos.liveliness_lease_duration(rclcpp::Duration::from_nanoseconds(value.get<int64_t>()));
      break;
    case QosPolicyKind::Reliability:
      qos.reliability(policy_from_str<rclcpp::ReliabilityPolicy>(
        value.get<std::string>(), &reliability_to_str,
        {rclcpp::ReliabilityPolicy::Reliable, rclcpp::ReliabilityPolicy::BestEffort,
         rclcpp::ReliabilityPolicy::SystemDefault},
        kind));
      break;
    default:
      throw std::invalid_argument("invalid QoS policy kind used");
  }
}

rclcpp::QoS declare_qos_parameters(
  const rclcpp::QosOverridingOptions & options,
  rclcpp::node_interfaces::NodeParametersInterface & parameters_interface,
  const std::string & topic_name, const rclcpp::QoS & default_qos, const char * entity_type)
{
  rclcpp::QoS qos = default_qos;
  const std::string & id = options.get_id();
  std::string param_prefix = "qos_overrides." + topic_name + "." + entity_type;
  std::string param_description_suffix =
    std::string("} for ") + entity_type + " {" + topic_name + "}";
  if (!id.empty()) {
    param_prefix += "_" + id;
    param_description_suffix += " with id {" + id + "}";
  }
  param_prefix += ".";
  for (auto policy : options.get_policy_kinds()) {
    const char * policy_name = rclcpp::qos_policy_kind_to_cstr(policy);
    if (policy_name == nullptr) {
      throw std::invalid_argument("invalid QoS policy kind used");
    }
    rcl_interfaces::msg::ParameterDescriptor descriptor{};
    descriptor.description = std::string("qos policy {") + policy_name + param_description_suffix;
    descriptor.read_only = true;
    auto value = parameters_interface.declare_parameter(
      param_prefix + policy_name, get_default_qos_param_value(policy, qos), descriptor);
    apply_qos_override(policy, value, qos);
  }
  const auto & validation_callback = options.get_validation_callback();
  if (validation_callback) {
    auto result = validation_callback(qos);
    if (!result.successful) {
      throw std::invalid_argument("validation callback failed: " + result.reason);
    }
  }
  return qos;
}

}  // namespace detail
}  // namespace rclcpp
