#ifndef LIFECYCLE_MSGS__MSG__TRANSITION_HPP_
#define LIFECYCLE_MSGS__MSG__TRANSITION_HPP_

#include <cstdint>
#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace lifecycle_msgs
{
namespace msg
{

/// @brief lifecycle_msgs/msg/Transition.
template<class ContainerAllocator>
struct Transition_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Transition_)

  ROSIDL_STANDIN_FIELD(id, uint8_t)
  ROSIDL_STANDIN_FIELD(label, rosidl_runtime_cpp::detail::String<ContainerAllocator>)

  static constexpr uint8_t TRANSITION_CREATE = 0u;
  static constexpr uint8_t TRANSITION_CONFIGURE = 1u;
  static constexpr uint8_t TRANSITION_CLEANUP = 2u;
  static constexpr uint8_t TRANSITION_ACTIVATE = 3u;
  static constexpr uint8_t TRANSITION_DEACTIVATE = 4u;
  static constexpr uint8_t TRANSITION_UNCONFIGURED_SHUTDOWN = 5u;
  static constexpr uint8_t TRANSITION_INACTIVE_SHUTDOWN = 6u;
  static constexpr uint8_t TRANSITION_ACTIVE_SHUTDOWN = 7u;
  static constexpr uint8_t TRANSITION_DESTROY = 8u;
  static constexpr uint8_t TRANSITION_ON_CONFIGURE_SUCCESS = 10u;
  static constexpr uint8_t TRANSITION_ON_CONFIGURE_FAILURE = 11u;
  static constexpr uint8_t TRANSITION_ON_CONFIGURE_ERROR = 12u;
  static constexpr uint8_t TRANSITION_ON_CLEANUP_SUCCESS = 20u;
  static constexpr uint8_t TRANSITION_ON_CLEANUP_FAILURE = 21u;
  static constexpr uint8_t TRANSITION_ON_CLEANUP_ERROR = 22u;
  static constexpr uint8_t TRANSITION_ON_ACTIVATE_SUCCESS = 30u;
  static constexpr uint8_t TRANSITION_ON_ACTIVATE_FAILURE = 31u;
  static constexpr uint8_t TRANSITION_ON_ACTIVATE_ERROR = 32u;
  static constexpr uint8_t TRANSITION_ON_DEACTIVATE_SUCCESS = 40u;
  static constexpr uint8_t TRANSITION_ON_DEACTIVATE_FAILURE = 41u;
  static constexpr uint8_t TRANSITION_ON_DEACTIVATE_ERROR = 42u;
  static constexpr uint8_t TRANSITION_ON_SHUTDOWN_SUCCESS = 50u;
  static constexpr uint8_t TRANSITION_ON_SHUTDOWN_FAILURE = 51u;
  static constexpr uint8_t TRANSITION_ON_SHUTDOWN_ERROR = 52u;
  static constexpr uint8_t TRANSITION_ON_ERROR_SUCCESS = 60u;
  static constexpr uint8_t TRANSITION_ON_ERROR_FAILURE = 61u;
  static constexpr uint8_t TRANSITION_ON_ERROR_ERROR = 62u;
  static constexpr uint8_t TRANSITION_CALLBACK_SUCCESS = 97u;
  static constexpr uint8_t TRANSITION_CALLBACK_FAILURE = 98u;
  static constexpr uint8_t TRANSITION_CALLBACK_ERROR = 99u;

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Transition_ & other) const
  {
    return id == other.id && label == other.label;
  }
  bool operator!=(const Transition_ & other) const { return !this->operator==(other); }
};

using Transition = Transition_<std::allocator<void>>;

}  // namespace msg
}  // namespace lifecycle_msgs

ROSIDL_STANDIN_MESSAGE_TRAITS(lifecycle_msgs, Transition)

#endif  // LIFECYCLE_MSGS__MSG__TRANSITION_HPP_
