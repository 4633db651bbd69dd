#ifndef LIFECYCLE_MSGS__MSG__STATE_HPP_
#define LIFECYCLE_MSGS__MSG__STATE_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace lifecycle_msgs
{
namespace msg
{

/// @brief lifecycle_msgs/msg/State.
template<class ContainerAllocator>
struct State_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(State_)

  ROSIDL_STANDIN_FIELD(id, uint8_t)
  ROSIDL_STANDIN_FIELD(label, rosidl_runtime_cpp::detail::String<ContainerAllocator>)

  static constexpr uint8_t PRIMARY_STATE_UNKNOWN = 0u;
  static constexpr uint8_t PRIMARY_STATE_UNCONFIGURED = 1u;
  static constexpr uint8_t PRIMARY_STATE_INACTIVE = 2u;
  static constexpr uint8_t PRIMARY_STATE_ACTIVE = 3u;
  static constexpr uint8_t PRIMARY_STATE_FINALIZED = 4u;
  static constexpr uint8_t TRANSITION_STATE_CONFIGURING = 10u;
  static constexpr uint8_t TRANSITION_STATE_CLEANINGUP = 11u;
  static constexpr uint8_t TRANSITION_STATE_SHUTTINGDOWN = 12u;
  static constexpr uint8_t TRANSITION_STATE_ACTIVATING = 13u;
  static constexpr uint8_t TRANSITION_STATE_DEACTIVATING = 14u;
  static constexpr uint8_t TRANSITION_STATE_ERRORPROCESSING = 15u;

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const State_ & other) const { return id == other.id && label == other.label; }
  bool operator!=(const State_ & other) const { return !this->operator==(other); }
};

using State = State_<std::allocator<void>>;

}  // namespace msg
}  // namespace lifecycle_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(lifecycle_msgs, State)

#endif  // LIFECYCLE_MSGS__MSG__STATE_HPP_
