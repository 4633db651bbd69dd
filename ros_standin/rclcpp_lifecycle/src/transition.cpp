#include "rclcpp_lifecycle/transition.hpp"

#include <string>
#include <utility>

namespace rclcpp_lifecycle
{

Transition::Transition(uint8_t id, const std::string & label, rcutils_allocator_t allocator)
: id_(id),
  label_(label),
  start_(allocator),
  goal_(allocator)
{
}

Transition::Transition(
  uint8_t id, const std::string & label, State && start, State && goal, rcutils_allocator_t)
: id_(id),
  label_(label),
  start_(std::move(start)),
  goal_(std::move(goal))
{
}

uint8_t Transition::id() const
{
  return id_;
}

std::string Transition::label() const
{
  return label_;
}

State Transition::start_state() const
{
  return start_;
}

State Transition::goal_state() const
{
  return goal_;
}

}  // namespace rclcpp_lifecycle
