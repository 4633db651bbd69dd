#include "rclcpp/timer.hpp"

#include <chrono>
#include <limits>
#include <memory>
#include <stdexcept>

namespace rclcpp
{

TimerBase::TimerBase(
  Clock::SharedPtr clock, std::chrono::nanoseconds period, rclcpp::Context::SharedPtr context)
: clock_(clock),
  graph_(rclcpp::detail::get_in_process_graph(*context)),
  period_ns_(period.count())
{
  if (!clock_) {
    throw std::invalid_argument("clock argument unexpectedly nullptr");
  }
  next_call_time_ns_ = clock_->now().nanoseconds() + period_ns_;
}

TimerBase::~TimerBase() {}

void TimerBase::cancel()
{
  std::lock_guard<std::mutex> lock(mutex_);
  canceled_ = true;
}

bool TimerBase::is_canceled()
{
  std::lock_guard<std::mutex> lock(mutex_);
  return canceled_;
}

void TimerBase::reset()
{
  {
    std::lock_guard<std::mutex> lock(mutex_);
    canceled_ = false;
    next_call_time_ns_ = clock_->now().nanoseconds() + period_ns_;
  }
  // rcl triggers the timer's guard condition on reset so that a waiting executor
  // recomputes its timeout.
  graph_->notify();
}

bool TimerBase::call()
{
  std::lock_guard<std::mutex> lock(mutex_);
  if (canceled_) {
    return false;
  }
  const int64_t now = clock_->now().nanoseconds();
  // Advance by exactly one period so that callback latency does not stretch the period;
  // skip whole periods that were missed, as rcl_timer_call does.
  int64_t next_call_time = next_call_time_ns_ + period_ns_;
  if (next_call_time < now) {
    if (period_ns_ == 0) {
      next_call_time = now;
    } else {
      const int64_t now_ahead = now - next_call_time;
      const int64_t periods_ahead = 1 + (now_ahead - 1) / period_ns_;
      next_call_time += periods_ahead * period_ns_;
    }
  }
  next_call_time_ns_ = next_call_time;
  return true;
}

std::chrono::nanoseconds TimerBase::time_until_trigger()
{
  std::lock_guard<std::mutex> lock(mutex_);
  if (canceled_) {
    return std::chrono::nanoseconds::max();
  }
  return std::chrono::nanoseconds(next_call_time_ns_ - clock_->now().nanoseconds());
}

bool TimerBase::is_steady()
{
  return clock_->get_clock_type() == RCL_STEADY_TIME;
}

bool TimerBase::is_ready()
{
  std::lock_guard<std::mutex> lock(mutex_);
  return !canceled_ && clock_->now().nanoseconds() >= next_call_time_ns_;
}

bool TimerBase::exchange_in_use_by_wait_set_state(bool in_use_state)
{
  return in_use_by_wait_set_.exchange(in_use_state);
}

}  // namespace rclcpp
