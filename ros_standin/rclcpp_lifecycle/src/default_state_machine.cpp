#include "default_state_machine.hpp"

#include "lifecycle_msgs/msg/state.hpp"
#include "lifecycle_msgs/msg/transition.hpp"

namespace rclcpp_lifecycle
{
namespace detail
{

namespace
{

using S = lifecycle_msgs::msg::State;
using T = lifecycle_msgs::msg::Transition;

// Labels as rcl_lifecycle's default_state_machine.c spells them.
const StateHandle kUnconfigured{S::PRIMARY_STATE_UNCONFIGURED, "unconfigured"};
const StateHandle kInactive{S::PRIMARY_STATE_INACTIVE, "inactive"};
const StateHandle kActive{S::PRIMARY_STATE_ACTIVE, "active"};
const StateHandle kFinalized{S::PRIMARY_STATE_FINALIZED, "finalized"};
const StateHandle kConfiguring{S::TRANSITION_STATE_CONFIGURING, "configuring"};
const StateHandle kCleaningUp{S::TRANSITION_STATE_CLEANINGUP, "cleaningup"};
const StateHandle kShuttingDown{S::TRANSITION_STATE_SHUTTINGDOWN, "shuttingdown"};
const StateHandle kActivating{S::TRANSITION_STATE_ACTIVATING, "activating"};
const StateHandle kDeactivating{S::TRANSITION_STATE_DEACTIVATING, "deactivating"};
const StateHandle kErrorProcessing{S::TRANSITION_STATE_ERRORPROCESSING, "errorprocessing"};

const char kSuccess[] = "transition_success";
const char kFailure[] = "transition_failure";
const char kError[] = "transition_error";

}  // namespace

const DefaultStateMachine & DefaultStateMachine::instance()
{
  static const DefaultStateMachine machine;
  return machine;
}

DefaultStateMachine::DefaultStateMachine()
: states_{&kUnconfigured, &kInactive,     &kActive,     &kFinalized,    &kConfiguring,
          &kCleaningUp,   &kShuttingDown, &kActivating, &kDeactivating, &kErrorProcessing},
  transitions_{
    {T::TRANSITION_CONFIGURE, "configure", &kUnconfigured, &kConfiguring},
    {T::TRANSITION_ON_CONFIGURE_SUCCESS, kSuccess, &kConfiguring, &kInactive},
    {T::TRANSITION_ON_CONFIGURE_FAILURE, kFailure, &kConfiguring, &kUnconfigured},
    {T::TRANSITION_ON_CONFIGURE_ERROR, kError, &kConfiguring, &kErrorProcessing},

    {T::TRANSITION_CLEANUP, "cleanup", &kInactive, &kCleaningUp},
    {T::TRANSITION_ON_CLEANUP_SUCCESS, kSuccess, &kCleaningUp, &kUnconfigured},
    {T::TRANSITION_ON_CLEANUP_FAILURE, kFailure, &kCleaningUp, &kInactive},
    {T::TRANSITION_ON_CLEANUP_ERROR, kError, &kCleaningUp, &kErrorProcessing},

    {T::TRANSITION_ACTIVATE, "activate", &kInactive, &kActivating},
    {T::TRANSITION_ON_ACTIVATE_SUCCESS, kSuccess, &kActivating, &kActive},
    {T::TRANSITION_ON_ACTIVATE_FAILURE, kFailure, &kActivating, &kInactive},
    {T::TRANSITION_ON_ACTIVATE_ERROR, kError, &kActivating, &kErrorProcessing},

    {T::TRANSITION_DEACTIVATE, "deactivate", &kActive, &kDeactivating},
    {T::TRANSITION_ON_DEACTIVATE_SUCCESS, kSuccess, &kDeactivating, &kInactive},
    {T::TRANSITION_ON_DEACTIVATE_FAILURE, kFailure, &kDeactivating, &kActive},
    {T::TRANSITION_ON_DEACTIVATE_ERROR, kError, &kDeactivating, &kErrorProcessing},

    // Every primary state but finalized can shut down, all under the one label.
    {T::TRANSITION_UNCONFIGURED_SHUTDOWN, "shutdown", &kUnconfigured, &kShuttingDown},
    {T::TRANSITION_INACTIVE_SHUTDOWN, "shutdown", &kInactive, &kShuttingDown},
    {T::TRANSITION_ACTIVE_SHUTDOWN, "shutdown", &kActive, &kShuttingDown},
    {T::TRANSITION_ON_SHUTDOWN_SUCCESS, kSuccess, &kShuttingDown, &kFinalized},
    {T::TRANSITION_ON_SHUTDOWN_FAILURE, kFailure, &kShuttingDown, &kFinalized},
    {T::TRANSITION_ON_SHUTDOWN_ERROR, kError, &kShuttingDown, &kErrorProcessing},

    {T::TRANSITION_ON_ERROR_SUCCESS, kSuccess, &kErrorProcessing, &kUnconfigured},
    {T::TRANSITION_ON_ERROR_FAILURE, kFailure, &kErrorProcessing, &kFinalized},
    {T::TRANSITION_ON_ERROR_ERROR, kError, &kErrorProcessing, &kFinalized}}
{
}

const StateHandle * DefaultStateMachine::initial_state() const
{
  return &kUnconfigured;
}

const std::vector<const StateHandle *> & DefaultStateMachine::states() const
{
  return states_;
}

const std::vector<TransitionHandle> & DefaultStateMachine::transitions() const
{
  return transitions_;
}

const TransitionHandle * DefaultStateMachine::transition_by_id(
  const StateHandle * from, uint8_t id) const
{
  for (const auto & transition : transitions_) {
    if (transition.start == from && transition.id == id) {
      return &transition;
    }
  }
  return nullptr;
}

const TransitionHandle * DefaultStateMachine::transition_by_label(
  const StateHandle * from, const std::string & label) const
{
  for (const auto & transition : transitions_) {
    if (transition.start == from && transition.label == label) {
      return &transition;
    }
  }
  return nullptr;
}

}  // namespace detail
}  // namespace rclcpp_lifecycle
