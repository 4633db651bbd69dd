#ifndef NAV2_UTIL__LIFECYCLE_NODE_HPP_
#define NAV2_UTIL__LIFECYCLE_NODE_HPP_

#include <memory>
#include <string>

#include "nav2_util/node_thread.hpp"
#include "rcl_interfaces/msg/parameter_descriptor.hpp"
#include "rclcpp/rclcpp.hpp"
#include "rclcpp_lifecycle/lifecycle_node.hpp"

namespace nav2_util
{

using CallbackReturn = rclcpp_lifecycle::node_interfaces::LifecycleNodeInterface::CallbackReturn;

/// @brief The base of Nav2's lifecycle nodes.
///
/// Adds parameter helpers, an error state that only logs, and a pre-shutdown
/// hook: when the context shuts down, an active node is deactivated and an
/// inactive one cleaned up. Bonds to a lifecycle manager need bondcpp, which
/// the stand-in does not have, so createBond/destroyBond only log.
///
/// SharedPtr and WeakPtr are deliberately not redefined: they are the
/// rclcpp_lifecycle::LifecycleNode ones, as upstream.
class LifecycleNode : public rclcpp_lifecycle::LifecycleNode
{
public:
  /// @brief Declares bond_heartbeat_period (0.1), prints the launch notice and
  /// registers the pre-shutdown callback on the node's context.
  LifecycleNode(
    const std::string & node_name, const std::string & ns = "",
    const rclcpp::NodeOptions & options = rclcpp::NodeOptions());

  /// @brief Logs "Destroying" and removes the pre-shutdown callback; runs no transition.
  virtual ~LifecycleNode();

  typedef struct
  {
    double from_value;
    double to_value;
    double step;
  } floating_point_range;

  typedef struct
  {
    int from_value;
    int to_value;
    int step;
  } integer_range;

  /// @brief Declares a parameter with a description.
  void add_parameter(
    const std::string & name, const rclcpp::ParameterValue & default_value,
    const std::string & description = "", const std::string & additional_constraints = "",
    bool read_only = false)
  {
    auto descriptor = rcl_interfaces::msg::ParameterDescriptor();

    descriptor.name = name;
    descriptor.description = description;
    descriptor.additional_constraints = additional_constraints;
    descriptor.read_only = read_only;

    declare_parameter(descriptor.name, default_value, descriptor);
  }

  /// @brief Declares a floating point parameter with a description and a range.
  void add_parameter(
    const std::string & name, const rclcpp::ParameterValue & default_value,
    const floating_point_range fp_range, const std::string & description = "",
    const std::string & additional_constraints = "", bool read_only = false)
  {
    auto descriptor = rcl_interfaces::msg::ParameterDescriptor();

    descriptor.name = name;
    descriptor.description = description;
    descriptor.additional_constraints = additional_constraints;
    descriptor.read_only = read_only;
    descriptor.floating_point_range.resize(1);
    descriptor.floating_point_range[0].from_value = fp_range.from_value;
    descriptor.floating_point_range[0].to_value = fp_range.to_value;
    descriptor.floating_point_range[0].step = fp_range.step;

    declare_parameter(descriptor.name, default_value, descriptor);
  }

  /// @brief Declares an integer parameter with a description and a range.
  void add_parameter(
    const std::string & name, const rclcpp::ParameterValue & default_value,
    const integer_range int_range, const std::string & description = "",
    const std::string & additional_constraints = "", bool read_only = false)
  {
    auto descriptor = rcl_interfaces::msg::ParameterDescriptor();

    descriptor.name = name;
    descriptor.description = description;
    descriptor.additional_constraints = additional_constraints;
    descriptor.read_only = read_only;
    descriptor.integer_range.resize(1);
    descriptor.integer_range[0].from_value = int_range.from_value;
    descriptor.integer_range[0].to_value = int_range.to_value;
    descriptor.integer_range[0].step = int_range.step;

    declare_parameter(descriptor.name, default_value, descriptor);
  }

  /// @brief This node as a nav2_util::LifecycleNode.
  std::shared_ptr<nav2_util::LifecycleNode> shared_from_this()
  {
    return std::static_pointer_cast<nav2_util::LifecycleNode>(
      rclcpp_lifecycle::LifecycleNode::shared_from_this());
  }

  /// @brief Logs at FATAL and returns SUCCESS, so a failed transition ends in unconfigured.
  nav2_util::CallbackReturn on_error(const rclcpp_lifecycle::State & /*state*/)
  {
    RCLCPP_FATAL(
      get_logger(), "Lifecycle node %s does not have error state implemented", get_name());
    return nav2_util::CallbackReturn::SUCCESS;
  }

  /// @brief Run by the context's shutdown: runCleanups(), then destroyBond().
  virtual void on_rcl_preshutdown();

  /// @brief Logs only: the stand-in has no bonds.
  void createBond();

  /// @brief Logs only: the stand-in has no bonds.
  void destroyBond();

protected:
  /// @brief The one-time notice that the node waits for external transitions.
  void printLifecycleNodeNotification();

  /// @brief Makes the context's shutdown call on_rcl_preshutdown().
  void register_rcl_preshutdown_callback();

  std::unique_ptr<rclcpp::PreShutdownCallbackHandle> rcl_preshutdown_cb_handle_{nullptr};

  /// @brief Deactivates an active node, then cleans up an inactive one.
  void runCleanups();
};

}  // namespace nav2_util

#endif  // NAV2_UTIL__LIFECYCLE_NODE_HPP_
