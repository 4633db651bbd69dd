#include "rclcpp/guard_condition.hpp"

#include <stdexcept>

#include "rcl/types.h"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/detail/ros_arguments.hpp"
#include "rclcpp/exceptions.hpp"

namespace rclcpp
{

GuardCondition::GuardCondition(rclcpp::Context::SharedPtr context)
: context_(context)
{
  if (!context_) {
    throw std::invalid_argument("context argument unexpectedly nullptr");
  }
  if (!context_->is_valid()) {
    // rcl tells a context that never saw init (no rcl context at all) from one that was
    // shut down; the stored init arguments mark the former here.
    if (!rclcpp::detail::get_global_ros_arguments(*context_)) {
      throw rclcpp::exceptions::RCLInvalidArgument(
        RCL_RET_INVALID_ARGUMENT, "failed to create guard condition: ", "context argument is null");
    }
    // UNVERIFIED: rcl's formatted message may end in ", at <file>:<line>"; left out.
    throw rclcpp::exceptions::RCLError(
      RCL_RET_NOT_INIT, "failed to create guard condition: ",
      "the given context is not valid, either rcl_init() was not called or "
      "rcl_shutdown() was called.");
  }
}

GuardCondition::~GuardCondition() {}

rclcpp::Context::SharedPtr GuardCondition::get_context() const
{
  return context_;
}

void GuardCondition::trigger()
{
  triggered_.store(true);
  rclcpp::detail::get_in_process_graph(*context_)->notify();
}

bool GuardCondition::exchange_in_use_by_wait_set_state(bool in_use_state)
{
  return in_use_by_wait_set_.exchange(in_use_state);
}

bool GuardCondition::take_trigger()
{
  return triggered_.exchange(false);
}

}  // namespace rclcpp
