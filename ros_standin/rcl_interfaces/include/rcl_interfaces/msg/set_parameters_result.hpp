#ifndef RCL_INTERFACES__MSG__SET_PARAMETERS_RESULT_HPP_
#define RCL_INTERFACES__MSG__SET_PARAMETERS_RESULT_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/SetParametersResult.
template<class ContainerAllocator>
struct SetParametersResult_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(SetParametersResult_)

  ROSIDL_STANDIN_FIELD(successful, bool)
  ROSIDL_STANDIN_FIELD(reason, rosidl_runtime_cpp::detail::String<ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const SetParametersResult_ & other) const
  {
    return successful == other.successful && reason == other.reason;
  }
  bool operator!=(const SetParametersResult_ & other) const { return !this->operator==(other); }
};

using SetParametersResult = SetParametersResult_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, SetParametersResult)

#endif  // RCL_INTERFACES__MSG__SET_PARAMETERS_RESULT_HPP_
