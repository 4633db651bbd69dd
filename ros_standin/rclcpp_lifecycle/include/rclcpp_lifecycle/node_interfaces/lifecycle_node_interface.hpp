#ifndef RCLCPP_LIFECYCLE__NODE_INTERFACES__LIFECYCLE_NODE_INTERFACE_HPP_
#define RCLCPP_LIFECYCLE__NODE_INTERFACES__LIFECYCLE_NODE_INTERFACE_HPP_

#include <cstdint>

#include "lifecycle_msgs/msg/transition.hpp"
#include "rclcpp_lifecycle/state.hpp"

namespace rclcpp_lifecycle
{
namespace node_interfaces
{

/// @brief The transition callbacks of a lifecycle node.
///
/// Every callback gets the primary state the node was in before the transition
/// started, and its return code picks the state the node ends in.
class LifecycleNodeInterface
{
protected:
  LifecycleNodeInterface() {}

public:
  enum class CallbackReturn : uint8_t
  {
    SUCCESS = lifecycle_msgs::msg::Transition::TRANSITION_CALLBACK_SUCCESS,
    FAILURE = lifecycle_msgs::msg::Transition::TRANSITION_CALLBACK_FAILURE,
    ERROR = lifecycle_msgs::msg::Transition::TRANSITION_CALLBACK_ERROR
  };

  /// @brief Called while configuring; SUCCESS by default.
  virtual CallbackReturn on_configure(const State & previous_state);

  /// @brief Called while cleaning up; SUCCESS by default.
  virtual CallbackReturn on_cleanup(const State & previous_state);

  /// @brief Called while shutting down; SUCCESS by default.
  virtual CallbackReturn on_shutdown(const State & previous_state);

  /// @brief Called while activating; SUCCESS by default.
  virtual CallbackReturn on_activate(const State & previous_state);

  /// @brief Called while deactivating; SUCCESS by default.
  virtual CallbackReturn on_deactivate(const State & previous_state);

  /// @brief Called after a callback returned or threw ERROR; SUCCESS by default
  /// (upstream's header comment says otherwise, its code returns SUCCESS).
  virtual CallbackReturn on_error(const State & previous_state);

  virtual ~LifecycleNodeInterface() {}
};

}  // namespace node_interfaces
}  // namespace rclcpp_lifecycle

#endif  // RCLCPP_LIFECYCLE__NODE_INTERFACES__LIFECYCLE_NODE_INTERFACE_HPP_
