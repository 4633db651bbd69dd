#ifndef RCLCPP__DETAIL__QOS_PARAMETERS_HPP_
#define RCLCPP__DETAIL__QOS_PARAMETERS_HPP_

#include <string>

#include "rclcpp/node_interfaces/node_parameters_interface.hpp"
#include "rclcpp/parameter_value.hpp"
#include "rclcpp/qos.hpp"
#include "rclcpp/qos_overriding_options.hpp"

namespace rclcpp
{
namespace detail
{

struct PublisherQosParametersTraits
{
  static constexpr const char * entity_type() { return "publisher"; }
};

struct SubscriptionQosParametersTraits
{
  static constexpr const char * entity_type() { return "subscription"; }
};

/// The parameter value that stands for the policy's current setting in `qos`.
rclcpp::ParameterValue get_default_qos_param_value(
  rclcpp::QosPolicyKind kind, const rclcpp::QoS & qos);

/// Writes a policy value read back from a parameter into `qos`.
/// @throws std::invalid_argument for a value that names no policy setting.
void apply_qos_override(
  rclcpp::QosPolicyKind kind, const rclcpp::ParameterValue & value, rclcpp::QoS & qos);

/// Declares the read-only "qos_overrides.<topic>.<entity>[_<id>].<policy>" parameter of
/// every overridable policy and returns the QoS with their (possibly overridden) values, as
/// upstream does. Declaring the same parameters twice on one node throws, as upstream.
rclcpp::QoS declare_qos_parameters(
  const rclcpp::QosOverridingOptions & options,
  rclcpp::node_interfaces::NodeParametersInterface & parameters_interface,
  const std::string & topic_name, const rclcpp::QoS & default_qos, const char * entity_type);

template<typename EntityQosParametersTraits>
rclcpp::QoS declare_qos_parameters(
  const rclcpp::QosOverridingOptions & options,
  rclcpp::node_interfaces::NodeParametersInterface & parameters_interface,
  const std::string & topic_name, const rclcpp::QoS & default_qos, EntityQosParametersTraits)
{
  return declare_qos_parameters(
    options, parameters_interface, topic_name, default_qos,
    EntityQosParametersTraits::entity_type());
}

}  // namespace detail
}  // namespace rclcpp

#endif  // RCLCPP__DETAIL__QOS_PARAMETERS_HPP_
