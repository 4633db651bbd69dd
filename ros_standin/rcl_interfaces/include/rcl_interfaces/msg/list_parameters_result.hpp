#ifndef RCL_INTERFACES__MSG__LIST_PARAMETERS_RESULT_HPP_
#define RCL_INTERFACES__MSG__LIST_PARAMETERS_RESULT_HPP_

#include <memory>

#include "rosidl_runtime_cpp/detail/standin_message.hpp"

namespace rcl_interfaces
{
namespace msg
{

/// @brief rcl_interfaces/msg/ListParametersResult.
template<class ContainerAllocator>
struct ListParametersResult_
{
  ROSIDL_STANDIN_MESSAGE_CTORS(ListParametersResult_)

  ROSIDL_STANDIN_FIELD(
    names, rosidl_runtime_cpp::detail::Sequence<
             rosidl_runtime_cpp::detail::String<ContainerAllocator>, ContainerAllocator>)
  ROSIDL_STANDIN_FIELD(
    prefixes, rosidl_runtime_cpp::detail::Sequence<
                rosidl_runtime_cpp::detail::String<ContainerAllocator>, ContainerAllocator>)

  ROSIDL_STANDIN_MESSAGE_POINTERS()

  bool operator==(const ListParametersResult_ & other) const
  {
    return names == other.names && prefixes == other.prefixes;
  }
  bool operator!=(const ListParametersResult_ & other) const { return !this->operator==(other); }
};

using ListParametersResult = ListParametersResult_<std::allocator<void>>;

}  // namespace msg
}  // namespace rcl_interfaces

ROSIDL_STANDIN_MESSAGE_TRAITS(rcl_interfaces, ListParametersResult)

#endif  // RCL_INTERFACES__MSG__LIST_PARAMETERS_RESULT_HPP_
