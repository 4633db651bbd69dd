#ifndef ROSIDL_RUNTIME_CPP__MESSAGE_INITIALIZATION_HPP_
#define ROSIDL_RUNTIME_CPP__MESSAGE_INITIALIZATION_HPP_

namespace rosidl_runtime_cpp
{

/// @brief How a generated message constructor initialises its fields.
enum class MessageInitialization
{
  ALL = 0,
  SKIP = 1,
  ZERO = 2,
  DEFAULTS_ONLY = 3
};

}  // namespace rosidl_runtime_cpp

#endif  // ROSIDL_RUNTIME_CPP__MESSAGE_INITIALIZATION_HPP_
