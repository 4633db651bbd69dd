// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__DEFAULT_GROUP_HPP_
#define KESTRUNE_TEST_SUPPORT__DEFAULT_GROUP_HPP_

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

#include "rclcpp_lifecycle/lifecycle_node.hpp"

namespace kestrune_test
{

/// Runs @p work once as a callback of @p node's default group, as a bringup
/// timer would, and returns its result. With a @p limit, throws when it has
/// not run within it; without, waits as long as the work takes.
template<typename Work>
auto RunInDefaultGroup(
  rclcpp_lifecycle::LifecycleNode & node, Work work,
  std::optional<std::chrono::seconds> limit = std::chrono::seconds(5))
{
  using Result = decltype(work());
  auto done = std::make_shared<std::promise<Result>>();
  auto once = std::make_shared<std::once_flag>();
  // The timer owns the work: a callback the executor took before the cancel
  // may still run after this returns.
  auto timer = node.create_wall_timer(std::chrono::milliseconds(0), [done, once, work]() {
    std::call_once(*once, [&]() { done->set_value(work()); });
  });
  auto result = done->get_future();
  bool ran = true;
  if (limit) {
    ran = result.wait_for(*limit) == std::future_status::ready;
  } else {
    result.wait();
  }
  timer->cancel();
  if (!ran) {
    throw std::runtime_error("the node's default group did not run a callback in time");
  }
  return result.get();
}

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__DEFAULT_GROUP_HPP_
