#ifndef LIFECYCLE_MSGS__MSG__TRANSITION_EVENT_HPP_
#define LIFECYCLE_MSGS__MSG__TRANSITION_EVENT_HPP_

#include <cstdint>
#include <memory>

#include "lifecycle_msgs/msg/state.hpp"
#include "lifecycle_msgs/msg/transition.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace lifecycle_msgs
{
namespace msg
{

/// @brief lifecycle_msgs/msg/TransitionEvent.
template<class ContainerAllocator>
struct TransitionEvent_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(TransitionEvent_)

  ROSIDL_STANDIN_FIELD(timestamp, uint64_t)
  ROSIDL_STANDIN_FIELD(transition, lifecycle_msgs::msg::Transition_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(start_state, lifecycle_msgs::msg::State_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(goal_state, lifecycle_msgs::msg::State_<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const TransitionEvent_ & other) const
  {
    return timestamp == other.timestamp && transition == other.transition &&
           start_state == other.start_state && goal_state == other.goal_state;
  }
  bool operator!=(const TransitionEvent_ & other) const { return !this->operator==(other); }
};

using TransitionEvent = TransitionEvent_<std::allocator<void>>;

}  // namespace msg
}  // namespace lifecycle_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(lifecycle_msgs, TransitionEvent)

#endif  // LIFECYCLE_MSGS__MSG__TRANSITION_EVENT_HPP_
