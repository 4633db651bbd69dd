#ifndef RCLCPP__DETAIL__SCOPE_EXIT_HPP_
#define RCLCPP__DETAIL__SCOPE_EXIT_HPP_

#include <utility>

#include "rclcpp/macros.hpp"

namespace rclcpp
{
namespace detail
{

/// Runs a callable when leaving the scope, also by exception (what rcpputils::scope_exit
/// gives upstream).
template<typename CallableT>
class ScopeExit
{
public:
  explicit ScopeExit(CallableT && callable)
  : callable_(std::forward<CallableT>(callable))
  {
  }

  ScopeExit(const ScopeExit &) = delete;
  ScopeExit & operator=(const ScopeExit &) = delete;

  ~ScopeExit() { callable_(); }

private:
  CallableT callable_;
};

template<typename CallableT>
ScopeExit<CallableT> make_scope_exit(CallableT && callable)
{
  return ScopeExit<CallableT>(std::forward<CallableT>(callable));
}

}  // namespace detail
}  // namespace rclcpp

#define RCLCPP_STANDIN_SCOPE_EXIT(code)                   \
  auto RCLCPP_STRING_JOIN(rclcpp_scope_exit_, __LINE__) = \
    ::rclcpp::detail::make_scope_exit([&]() { code; })

#endif  // RCLCPP__DETAIL__SCOPE_EXIT_HPP_
