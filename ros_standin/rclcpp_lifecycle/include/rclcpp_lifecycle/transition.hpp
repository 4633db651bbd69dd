#ifndef RCLCPP_LIFECYCLE__TRANSITION_HPP_
#define RCLCPP_LIFECYCLE__TRANSITION_HPP_

#include <cstdint>
#include <string>

#include "rclcpp_lifecycle/state.hpp"
#include "rcutils/allocator.h"

namespace rclcpp_lifecycle
{

/// @brief A lifecycle transition: an id from lifecycle_msgs::msg::Transition, its label
/// and, when known, the states it starts from and leads to.
class Transition
{
public:
  Transition() = delete;

  /// @brief A transition known only by id (and label); its start and goal states are "unknown".
  explicit Transition(
    uint8_t id, const std::string & label = "",
    rcutils_allocator_t allocator = rcutils_get_default_allocator());

  Transition(
    uint8_t id, const std::string & label, State && start, State && goal,
    rcutils_allocator_t allocator = rcutils_get_default_allocator());

  Transition(const Transition & rhs) = default;

  virtual ~Transition() = default;

  Transition & operator=(const Transition & rhs) = default;

  uint8_t id() const;

  std::string label() const;

  State start_state() const;

  State goal_state() const;

private:
  uint8_t id_;
  std::string label_;
  State start_;
  State goal_;
};

}  // namespace rclcpp_lifecycle

#endif  // RCLCPP_LIFECYCLE__TRANSITION_HPP_
