#ifndef RCLCPP__QOS_OVERRIDING_OPTIONS_HPP_
#define RCLCPP__QOS_OVERRIDING_OPTIONS_HPP_

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "rcl_interfaces/msg/set_parameters_result.hpp"
#include "rclcpp/qos.hpp"

namespace rclcpp
{

enum class QosPolicyKind
{
  AvoidRosNamespaceConventions = 0,
  Deadline,
  Depth,
  Durability,
  History,
  Lifespan,
  Liveliness,
  LivelinessLeaseDuration,
  Reliability,
  Invalid,
};

/// @brief The parameter spelling of a policy kind ("depth", "durability", ...).
const char * qos_policy_kind_to_cstr(const QosPolicyKind & qpk);

std::ostream & operator<<(std::ostream & os, const QosPolicyKind & qpk);

using QosCallbackResult = rcl_interfaces::msg::SetParametersResult;
using QosCallback = std::function<QosCallbackResult(const rclcpp::QoS &)>;

/// @brief Which QoS policies of a publisher or subscription may be overridden through
/// "qos_overrides.<topic>.<publisher|subscription>[_<id>].<policy>" parameters.
class QosOverridingOptions
{
public:
  /// @brief No policy is overridable.
  QosOverridingOptions() = default;

  QosOverridingOptions(
    std::initializer_list<QosPolicyKind> policy_kinds, QosCallback validation_callback = nullptr,
    std::string id = {});

  const std::string & get_id() const;

  const std::vector<QosPolicyKind> & get_policy_kinds() const;

  const QosCallback & get_validation_callback() const;

  /// @brief History, depth and reliability are overridable.
  static QosOverridingOptions with_default_policies(
    QosCallback validation_callback = nullptr, std::string id = {});

private:
  std::string id_;
  std::vector<QosPolicyKind> policy_kinds_;
  QosCallback validation_callback_;
};

}  // namespace rclcpp

#endif  // RCLCPP__QOS_OVERRIDING_OPTIONS_HPP_
