#ifndef RCLCPP__ALLOCATOR__ALLOCATOR_DELETER_HPP_
#define RCLCPP__ALLOCATOR__ALLOCATOR_DELETER_HPP_

#include <memory>

namespace rclcpp
{
namespace allocator
{

// The stand-in allocates messages with new/delete only (nothing in the project uses
// a custom allocator), so the deleter is always std::default_delete, which is also
// what upstream picks for std::allocator.
template<typename Allocator, typename T>
using Deleter = std::default_delete<T>;

}  // namespace allocator
}  // namespace rclcpp

#endif  // RCLCPP__ALLOCATOR__ALLOCATOR_DELETER_HPP_
