#ifndef RCLCPP__NODE_INTERFACES__NODE_BASE_INTERFACE_HPP_
#define RCLCPP__NODE_INTERFACES__NODE_BASE_INTERFACE_HPP_

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "rclcpp/callback_group.hpp"
#include "rclcpp/context.hpp"
#include "rclcpp/guard_condition.hpp"
#include "rclcpp/macros.hpp"

namespace rclcpp
{
namespace node_interfaces
{

/// @brief The core of a node: names, context and callback groups.
///
/// The rcl node handle accessors of upstream are left out: the stand-in has no rcl node.
class NodeBaseInterface
{
public:
  RCLCPP_SMART_PTR_ALIASES_ONLY(NodeBaseInterface)

  virtual ~NodeBaseInterface() = default;

  /// @brief The node's name.
  virtual const char * get_name() const = 0;

  /// @brief The node's namespace ("/" when none was given).
  virtual const char * get_namespace() const = 0;

  /// @brief Namespace and name, e.g. "/local_costmap/local_costmap".
  virtual const char * get_fully_qualified_name() const = 0;

  /// @brief The context the node was created on.
  virtual rclcpp::Context::SharedPtr get_context() = 0;

  /// @brief Creates a callback group; the node only keeps a weak pointer to it.
  virtual rclcpp::CallbackGroup::SharedPtr create_callback_group(
    rclcpp::CallbackGroupType group_type, bool automatically_add_to_executor_with_node = true) = 0;

  /// @brief The mutually exclusive group that entities without a group join.
  virtual rclcpp::CallbackGroup::SharedPtr get_default_callback_group() = 0;

  /// @brief True if the group was created by this node and is still alive.
  virtual bool callback_group_in_node(rclcpp::CallbackGroup::SharedPtr group) = 0;

  using CallbackGroupFunction = std::function<void(rclcpp::CallbackGroup::SharedPtr)>;

  /// @brief Calls func for every live group of the node (holding the node's group lock).
  virtual void for_each_callback_group(const CallbackGroupFunction & func) = 0;

  /// @brief True while the node is added to an executor.
  virtual std::atomic_bool & get_associated_with_executor_atomic() = 0;

  /// @brief Triggered whenever an entity is added to the node.
  virtual rclcpp::GuardCondition & get_notify_guard_condition() = 0;

  virtual bool get_use_intra_process_default() const = 0;

  virtual bool get_enable_topic_statistics_default() const = 0;

  /// @brief Expands a relative ("name"), private ("~/name") or absolute ("/name") name.
  /// @throws rclcpp::exceptions::InvalidTopicNameError / InvalidServiceNameError.
  virtual std::string resolve_topic_or_service_name(
    const std::string & name, bool is_service, bool only_expand = false) const = 0;
};

}  // namespace node_interfaces
}  // namespace rclcpp

#endif  // RCLCPP__NODE_INTERFACES__NODE_BASE_INTERFACE_HPP_
