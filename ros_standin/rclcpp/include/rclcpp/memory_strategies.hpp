#ifndef RCLCPP__MEMORY_STRATEGIES_HPP_
#define RCLCPP__MEMORY_STRATEGIES_HPP_

#include "rclcpp/memory_strategy.hpp"

namespace rclcpp
{
namespace memory_strategies
{

/// @brief The strategy executors use unless told otherwise.
memory_strategy::MemoryStrategy::SharedPtr create_default_strategy();

}  // namespace memory_strategies
}  // namespace rclcpp

#endif  // RCLCPP__MEMORY_STRATEGIES_HPP_
