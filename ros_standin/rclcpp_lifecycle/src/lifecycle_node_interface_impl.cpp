#include "lifecycle_node_interface_impl.hpp"

#include <exception>
#include <memory>
#include <mutex>
#include <vector>

#include "lifecycle_msgs/msg/transition.hpp"
#include "rclcpp/logging.hpp"

namespace rclcpp_lifecycle
{

namespace
{

// rcl_lifecycle's labels for the three callback outcomes.
const char kSuccessLabel[] = "transition_success";
const char kFailureLabel[] = "transition_failure";
const char kErrorLabel[] = "transition_error";

const char * label_for_return_code(
  node_interfaces::LifecycleNodeInterface::CallbackReturn cb_return_code)
{
  const auto cb_id = static_cast<uint8_t>(cb_return_code);
  if (cb_id == lifecycle_msgs::msg::Transition::TRANSITION_CALLBACK_SUCCESS) {
    return kSuccessLabel;
  } else if (cb_id == lifecycle_msgs::msg::Transition::TRANSITION_CALLBACK_FAILURE) {
    return kFailureLabel;
  }
  return kErrorLabel;
}

// rcl_lifecycle logs a missing transition under its own package name.
rclcpp::Logger rcl_lifecycle_logger()
{
  return rclcpp::get_logger("rcl_lifecycle");
}

Transition make_transition(const detail::TransitionHandle & handle)
{
  return Transition(handle.id, handle.label, State(handle.start), State(handle.goal));
}

}  // namespace

LifecycleNode::LifecycleNodeInterfaceImpl::LifecycleNodeInterfaceImpl(
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base_interface,
  rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr node_logging_interface)
: node_base_interface_(node_base_interface),
  node_logging_interface_(node_logging_interface),
  state_machine_(detail::DefaultStateMachine::instance()),
  current_state_handle_(state_machine_.initial_state()),
  current_state_(current_state_handle_)
{
}

bool LifecycleNode::LifecycleNodeInterfaceImpl::register_callback(
  std::uint8_t lifecycle_transition, const TransitionCallback & cb)
{
  std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
  cb_map_[lifecycle_transition] = cb;
  return true;
}

const State & LifecycleNode::LifecycleNodeInterfaceImpl::get_current_state()
{
  std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
  current_state_ = State(current_state_handle_);
  return current_state_;
}

std::vector<State> LifecycleNode::LifecycleNodeInterfaceImpl::get_available_states() const
{
  std::vector<State> states;
  for (const auto * handle : state_machine_.states()) {
    states.emplace_back(handle);
  }
  return states;
}

std::vector<Transition> LifecycleNode::LifecycleNodeInterfaceImpl::get_available_transitions() const
{
  std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
  std::vector<Transition> transitions;
  for (const auto & handle : state_machine_.transitions()) {
    if (handle.start == current_state_handle_) {
      transitions.push_back(make_transition(handle));
    }
  }
  return transitions;
}

std::vector<Transition> LifecycleNode::LifecycleNodeInterfaceImpl::get_transition_graph() const
{
  std::vector<Transition> transitions;
  for (const auto & handle : state_machine_.transitions()) {
    transitions.push_back(make_transition(handle));
  }
  return transitions;
}

const State & LifecycleNode::LifecycleNodeInterfaceImpl::trigger_transition(uint8_t transition_id)
{
  CallbackReturn error;
  change_state(transition_id, error);
  (void)error;
  return get_current_state();
}

const State & LifecycleNode::LifecycleNodeInterfaceImpl::trigger_transition(
  uint8_t transition_id, CallbackReturn & cb_return_code)
{
  change_state(transition_id, cb_return_code);
  return get_current_state();
}

const State & LifecycleNode::LifecycleNodeInterfaceImpl::trigger_transition(
  const char * transition_label)
{
  CallbackReturn error;
  return trigger_transition(transition_label, error);
}

const State & LifecycleNode::LifecycleNodeInterfaceImpl::trigger_transition(
  const char * transition_label, CallbackReturn & cb_return_code)
{
  const detail::TransitionHandle * transition;
  {
    std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
    transition = state_machine_.transition_by_label(current_state_handle_, transition_label);
    if (!transition) {
      RCLCPP_WARN(
        rcl_lifecycle_logger(), "No transition matching %s found for current state %s",
        transition_label, current_state_handle_->label.c_str());
    }
  }
  if (transition) {
    change_state(transition->id, cb_return_code);
  }
  return get_current_state();
}

bool LifecycleNode::LifecycleNodeInterfaceImpl::change_state(
  uint8_t transition_id, CallbackReturn & cb_return_code)
{
  State initial_state;
  uint8_t current_state_id;
  {
    std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
    // The callbacks get the primary state the node was in.
    initial_state = State(current_state_handle_);

    const auto * transition = state_machine_.transition_by_id(current_state_handle_, transition_id);
    if (!transition) {
      RCLCPP_WARN(
        rcl_lifecycle_logger(), "No transition matching %d found for current state %s",
        transition_id, current_state_handle_->label.c_str());
      // UNVERIFIED: rcl's error string also carries ", at <file>:<line>" of
      // rcl_lifecycle.c; only the message itself is reproduced.
      RCLCPP_ERROR(
        node_logging_interface_->get_logger(),
        "Unable to start transition %u from current state %s: %s",
        static_cast<unsigned int>(transition_id), current_state_handle_->label.c_str(),
        "Transition is not registered.");
      return false;
    }
    current_state_handle_ = transition->goal;
    current_state_id = current_state_handle_->id;
  }

  // Outside the lock, as upstream: a callback may query the node's state, and
  // a transition triggered from inside a callback is refused by the machine,
  // not by a deadlock.
  cb_return_code = execute_callback(current_state_id, initial_state);
  // Only fails when another thread moved the machine while the callback ran.
  if (!finish_transition(label_for_return_code(cb_return_code))) {
    RCLCPP_ERROR(
      node_logging_interface_->get_logger(),
      "Failed to finish transition %u. Current state is now: %s (%s)",
      static_cast<unsigned int>(transition_id), get_current_state().label().c_str(),
      "Transition is not registered.");
    return false;
  }

  if (cb_return_code == CallbackReturn::ERROR) {
    // Upstream's wording; it is printed whenever a callback returned or threw ERROR.
    RCLCPP_WARN(
      node_logging_interface_->get_logger(), "Error occurred while doing error handling.");
    {
      std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
      current_state_id = current_state_handle_->id;
    }
    const auto error_cb_code = execute_callback(current_state_id, initial_state);
    if (!finish_transition(label_for_return_code(error_cb_code))) {
      RCLCPP_ERROR(
        node_logging_interface_->get_logger(), "Failed to call cleanup on error state: %s",
        "Transition is not registered.");
      return false;
    }
  }
  return true;
}

LifecycleNode::LifecycleNodeInterfaceImpl::CallbackReturn
LifecycleNode::LifecycleNodeInterfaceImpl::execute_callback(
  uint8_t cb_id, const State & previous_state)
{
  // A state without a callback passes straight through.
  auto cb_success = CallbackReturn::SUCCESS;

  TransitionCallback callback;
  {
    std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
    auto it = cb_map_.find(cb_id);
    if (it == cb_map_.end()) {
      return cb_success;
    }
    callback = it->second;
  }
  // Only std::exception is caught; anything else leaves the node in the transition state.
  try {
    cb_success = callback(State(previous_state));
  } catch (const std::exception & e) {
    RCLCPP_ERROR(
      node_logging_interface_->get_logger(), "Caught exception in callback for transition %d",
      static_cast<int>(cb_id));
    RCLCPP_ERROR(node_logging_interface_->get_logger(), "Original error: %s", e.what());
    cb_success = CallbackReturn::ERROR;
  }
  return cb_success;
}

bool LifecycleNode::LifecycleNodeInterfaceImpl::finish_transition(const char * label)
{
  std::lock_guard<std::recursive_mutex> lock(state_machine_mutex_);
  const auto * transition = state_machine_.transition_by_label(current_state_handle_, label);
  if (!transition) {
    RCLCPP_WARN(
      rcl_lifecycle_logger(), "No transition matching %s found for current state %s", label,
      current_state_handle_->label.c_str());
    return false;
  }
  current_state_handle_ = transition->goal;
  return true;
}

void LifecycleNode::LifecycleNodeInterfaceImpl::on_activate()
{
  std::vector<std::weak_ptr<rclcpp_lifecycle::ManagedEntityInterface>> entities;
  {
    std::lock_guard<std::mutex> lock(managed_entities_mutex_);
    entities = weak_managed_entities_;
  }
  for (const auto & weak_entity : entities) {
    auto entity = weak_entity.lock();
    if (entity) {
      entity->on_activate();
    }
  }
}

void LifecycleNode::LifecycleNodeInterfaceImpl::on_deactivate()
{
  std::vector<std::weak_ptr<rclcpp_lifecycle::ManagedEntityInterface>> entities;
  {
    std::lock_guard<std::mutex> lock(managed_entities_mutex_);
    entities = weak_managed_entities_;
  }
  for (const auto & weak_entity : entities) {
    auto entity = weak_entity.lock();
    if (entity) {
      entity->on_deactivate();
    }
  }
}

void LifecycleNode::LifecycleNodeInterfaceImpl::add_managed_entity(
  std::weak_ptr<rclcpp_lifecycle::ManagedEntityInterface> managed_entity)
{
  std::lock_guard<std::mutex> lock(managed_entities_mutex_);
  weak_managed_entities_.push_back(managed_entity);
}

void LifecycleNode::LifecycleNodeInterfaceImpl::add_timer_handle(
  std::shared_ptr<rclcpp::TimerBase> timer)
{
  // Recorded as upstream does; Humble never acts on timers in a transition.
  std::lock_guard<std::mutex> lock(managed_entities_mutex_);
  weak_timers_.push_back(timer);
}

}  // namespace rclcpp_lifecycle
