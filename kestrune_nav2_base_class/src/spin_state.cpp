// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "spin_state.hpp"

#include <algorithm>
#include <chrono>
#include <utility>

namespace nav2_util
{
namespace detail
{

void SpinState::Spin(rclcpp::Executor & executor)
{
  {
    std::lock_guard<std::mutex> lock(mutex_);
    spin_entered_ = true;
  }
  changed_.notify_all();
  executor.spin();
}

void SpinState::MarkFinished()
{
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
  }
  changed_.notify_all();
}

bool SpinState::IsFinished()
{
  std::lock_guard<std::mutex> lock(mutex_);
  return finished_;
}

void SpinState::Stop(rclcpp::Executor & executor)
{
  std::unique_lock<std::mutex> lock(mutex_);
  // Cancelling before the thread reaches spin() would be lost for certain.
  changed_.wait(lock, [this] { return spin_entered_ || finished_; });

  // spin() raises the executor's spinning flag a moment after "entered", and
  // a cancel that comes once the flag is up cannot be lost. Yielding for that
  // moment is far cheaper than a lost cancel's retry below.
  lock.unlock();
  constexpr int kYieldsForTheFlag = 10000;
  for (int i = 0; i < kYieldsForTheFlag && !executor.is_spinning(); ++i) {
    if (IsFinished()) {
      return;
    }
    std::this_thread::yield();
  }
  lock.lock();

  // Should a cancel still be lost (the flag can stay down when the spin ends
  // at once, or on a starved machine), the next one, a moment later, lands.
  // The wait is cut short as soon as the body finishes, so a cancel that lands
  // costs no waiting at all.
  std::chrono::microseconds retry{50};
  constexpr std::chrono::microseconds kMaxRetry{10000};
  while (!finished_) {
    lock.unlock();
    executor.cancel();
    lock.lock();
    if (changed_.wait_for(lock, retry, [this] { return finished_; })) {
      break;
    }
    retry = std::min(retry * 2, kMaxRetry);
  }
}

std::unique_ptr<std::thread> StartNodeSpin(
  SpinState & state, rclcpp::Executor & executor,
  const rclcpp::node_interfaces::NodeBaseInterface::SharedPtr & node,
  InvalidTimerHandler on_invalid_timer)
{
  // The references stay valid: the owning node thread is neither copyable nor
  // movable, and joins this thread before releasing them.
  return std::make_unique<std::thread>(
    [&state, &executor, &node, on_invalid_timer = std::move(on_invalid_timer)]() {
      FinishedOnExit finished(state);
      executor.add_node(node, true);
      try {
        state.Spin(executor);
      } catch (const tf2_ros::InvalidTimerHandleException & ex) {
        on_invalid_timer(ex);
      }
      executor.remove_node(node, true);
    });
}

std::unique_ptr<std::thread> StartExecutorSpin(SpinState & state, rclcpp::Executor & executor)
{
  return std::make_unique<std::thread>([&state, &executor]() {
    FinishedOnExit finished(state);
    state.Spin(executor);
  });
}

}  // namespace detail
}  // namespace nav2_util
