#ifndef RCLCPP__GUARD_CONDITION_HPP_
#define RCLCPP__GUARD_CONDITION_HPP_

#include <atomic>
#include <memory>

#include "rclcpp/context.hpp"
#include "rclcpp/contexts/default_context.hpp"
#include "rclcpp/macros.hpp"

namespace rclcpp
{

class Executor;

/// @brief A condition that a wait set can wait on, triggered by hand.
///
/// As with rmw guard conditions, a trigger stays pending until an executor's wait
/// consumes it, so a trigger that nobody is waiting for is seen by the next wait.
class GuardCondition
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS_NOT_COPYABLE(GuardCondition)

  /// @brief Creates the guard condition on a context.
  /// @throws rclcpp::exceptions::RCLInvalidArgument if the context was never initialized,
  ///   rclcpp::exceptions::RCLError if it has been shut down.
  explicit GuardCondition(
    rclcpp::Context::SharedPtr context = rclcpp::contexts::get_global_default_context());

  virtual ~GuardCondition();

  /// @brief The context it was created on.
  rclcpp::Context::SharedPtr get_context() const;

  /// @brief Marks the condition triggered and wakes the waits of its context.
  void trigger();

  /// @brief Marks the condition as used by a wait set; returns the previous state.
  bool exchange_in_use_by_wait_set_state(bool in_use_state);

private:
  RCLCPP_DISABLE_COPY(GuardCondition)

  friend class rclcpp::Executor;

  // Consumes a pending trigger, as a wait returning on it does.
  bool take_trigger();

  rclcpp::Context::SharedPtr context_;
  std::atomic<bool> triggered_{false};
  std::atomic<bool> in_use_by_wait_set_{false};
};

}  // namespace rclcpp

#endif  // RCLCPP__GUARD_CONDITION_HPP_
