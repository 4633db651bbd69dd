#ifndef RCLCPP__DETAIL__CONTEXT_REGISTRY_HPP_
#define RCLCPP__DETAIL__CONTEXT_REGISTRY_HPP_

// The contexts that are currently initialized; the signal handler shuts them down.

#include <vector>

#include "rclcpp/context.hpp"

namespace rclcpp
{
namespace detail
{

void register_initialized_context(const rclcpp::Context::SharedPtr & context);

void unregister_context(const rclcpp::Context * context);

std::vector<rclcpp::Context::SharedPtr> get_initialized_contexts();

}  // namespace detail
}  // namespace rclcpp

#endif  // RCLCPP__DETAIL__CONTEXT_REGISTRY_HPP_
