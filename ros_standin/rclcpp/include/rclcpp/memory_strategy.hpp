#ifndef RCLCPP__MEMORY_STRATEGY_HPP_
#define RCLCPP__MEMORY_STRATEGY_HPP_

#include <map>
#include <memory>

#include "rclcpp/callback_group.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/node_interfaces/node_base_interface.hpp"

namespace rclcpp
{
namespace memory_strategy
{

/// @brief Where an executor keeps its wait-set handles.
///
/// Upstream's strategies manage rcl wait-set storage; the stand-in executor keeps its own
/// bookkeeping, so a strategy is only carried along for API compatibility.
class MemoryStrategy
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS_NOT_COPYABLE(MemoryStrategy)

  using WeakCallbackGroupsToNodesMap = std::map<
    rclcpp::CallbackGroup::WeakPtr, rclcpp::node_interfaces::NodeBaseInterface::WeakPtr,
    std::owner_less<rclcpp::CallbackGroup::WeakPtr>>;

  MemoryStrategy() = default;

  virtual ~MemoryStrategy() = default;
};

}  // namespace memory_strategy
}  // namespace rclcpp

#endif  // RCLCPP__MEMORY_STRATEGY_HPP_
