#ifndef LIFECYCLE_NODE_INTERFACE_IMPL_HPP_
#define LIFECYCLE_NODE_INTERFACE_IMPL_HPP_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "default_state_machine.hpp"
#include "rclcpp/node_interfaces/node_base_interface.hpp"
#include "rclcpp/node_interfaces/node_logging_interface.hpp"
#include "rclcpp/timer.hpp"
#include "rclcpp_lifecycle/lifecycle_node.hpp"
#include "rclcpp_lifecycle/managed_entity.hpp"
#include "rclcpp_lifecycle/node_interfaces/lifecycle_node_interface.hpp"
#include "rclcpp_lifecycle/state.hpp"
#include "rclcpp_lifecycle/transition.hpp"

namespace rclcpp_lifecycle
{

/// @brief The state machine of one lifecycle node and the callbacks bound to it.
///
/// Mirrors upstream's LifecycleNodeInterfaceImpl over rcl_lifecycle's default
/// state machine: a transition is started under the lock, its callback runs
/// outside it, and the callback's return code picks the transition that ends it.
class LifecycleNode::LifecycleNodeInterfaceImpl
{
  using CallbackReturn = node_interfaces::LifecycleNodeInterface::CallbackReturn;
  using TransitionCallback = std::function<CallbackReturn(const State &)>;

public:
  LifecycleNodeInterfaceImpl(
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base_interface,
    rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr node_logging_interface);

  LifecycleNodeInterfaceImpl(const LifecycleNodeInterfaceImpl &) = delete;
  LifecycleNodeInterfaceImpl & operator=(const LifecycleNodeInterfaceImpl &) = delete;

  /// @brief Binds @p cb to the transition state @p lifecycle_transition (10 for configuring, ...).
  bool register_callback(std::uint8_t lifecycle_transition, const TransitionCallback & cb);

  /// @brief Refreshes the current-state member from the machine and returns it.
  const State & get_current_state();

  std::vector<State> get_available_states() const;

  std::vector<Transition> get_available_transitions() const;

  std::vector<Transition> get_transition_graph() const;

  const State & trigger_transition(uint8_t transition_id);

  const State & trigger_transition(uint8_t transition_id, CallbackReturn & cb_return_code);

  const State & trigger_transition(const char * transition_label);

  const State & trigger_transition(const char * transition_label, CallbackReturn & cb_return_code);

  void on_activate();

  void on_deactivate();

  void add_managed_entity(std::weak_ptr<rclcpp_lifecycle::ManagedEntityInterface> managed_entity);

  void add_timer_handle(std::shared_ptr<rclcpp::TimerBase> timer);

private:
  /// @brief False when @p transition_id does not leave the current state; the
  /// state and @p cb_return_code are then untouched.
  bool change_state(uint8_t transition_id, CallbackReturn & cb_return_code);

  CallbackReturn execute_callback(uint8_t cb_id, const State & previous_state);

  /// @brief Takes the transition labelled @p label from the current state; false
  /// (with rcl_lifecycle's warning) when there is none.
  bool finish_transition(const char * label);

  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base_interface_;
  rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr node_logging_interface_;

  const detail::DefaultStateMachine & state_machine_;
  mutable std::recursive_mutex state_machine_mutex_;
  const detail::StateHandle * current_state_handle_;
  State current_state_;

  std::map<std::uint8_t, TransitionCallback> cb_map_;

  std::mutex managed_entities_mutex_;
  std::vector<std::weak_ptr<rclcpp_lifecycle::ManagedEntityInterface>> weak_managed_entities_;
  std::vector<std::weak_ptr<rclcpp::TimerBase>> weak_timers_;
};

}  // namespace rclcpp_lifecycle

#endif  // LIFECYCLE_NODE_INTERFACE_IMPL_HPP_
