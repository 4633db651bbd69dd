#ifndef RCL_INTERFACES__MSG__LOG_HPP_
#define RCL_INTERFACES__MSG__LOG_HPP_

#include <cstdint>
#include <memory>

#include "builtin_interfaces/msg/time.hpp"
#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/Log.
template<class ContainerAllocator>
struct Log_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(Log_)

  ROSIDL_STANDIN_FIELD(stamp, builtin_interfaces::msg::Time_<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(level, uint8_t)
  ROSIDL_STANDIN_FIELD(name, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(msg, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(file, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(function, rosidl_runtime_cpp::detail::String<ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(line, uint32_t)

  static constexpr uint8_t DEBUG = 10u;
  static constexpr uint8_t INFO = 20u;
  static constexpr uint8_t WARN = 30u;
  static constexpr uint8_t ERROR = 40u;
  static constexpr uint8_t FATAL = 50u;

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const Log_ & other) const
  {
    return stamp == other.stamp && level == other.level && name == other.name && msg == other.msg &&
           file == other.file && function == other.function && line == other.line;
  }
  bool operator!=(const Log_ & other) const { return !this->operator==(other); }
};

using Log = Log_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, Log)

#endif  // RCL_INTERFACES__MSG__LOG_HPP_
