#ifndef RCLCPP__TIMER_HPP_
#define RCLCPP__TIMER_HPP_

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

#include "rclcpp/clock.hpp"
#include "rclcpp/context.hpp"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/macros.hpp"

namespace rclcpp
{

/// @brief A periodic deadline on a clock; the executor serving the timer's callback group
/// runs the callback when it is due.
class TimerBase
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS_NOT_COPYABLE(TimerBase)

  /// @brief Starts the timer: first due one period from now.
  TimerBase(
    Clock::SharedPtr clock, std::chrono::nanoseconds period, rclcpp::Context::SharedPtr context);

  virtual ~TimerBase();

  /// @brief Stops the timer until reset().
  void cancel();

  /// @brief True after cancel() until reset().
  bool is_canceled();

  /// @brief Restarts the timer (also a canceled one): next due one period from now.
  void reset();

  /// @brief Marks the current period as served and schedules the next one (skipping missed
  /// periods). Executors call it when they take the timer.
  /// @return false if the timer is canceled.
  bool call();

  /// @brief Runs the user callback.
  virtual void execute_callback() = 0;

  /// @brief Time until the timer is due (negative when overdue, nanoseconds::max() when canceled).
  std::chrono::nanoseconds time_until_trigger();

  /// @brief True if the timer's clock is steady.
  bool is_steady();

  /// @brief True if the timer is due and not canceled.
  bool is_ready();

  /// @brief Marks the timer as used by a wait set; returns the previous state.
  bool exchange_in_use_by_wait_set_state(bool in_use_state);

protected:
  Clock::SharedPtr clock_;

private:
  std::shared_ptr<rclcpp::detail::InProcessGraph> graph_;
  mutable std::mutex mutex_;
  int64_t period_ns_;
  int64_t next_call_time_ns_;
  bool canceled_{false};
  std::atomic<bool> in_use_by_wait_set_{false};
};

using VoidCallbackType = std::function<void()>;
using TimerCallbackType = std::function<void(TimerBase &)>;

/// @brief A timer whose callback takes no argument or the timer (TimerBase &).
template<
  typename FunctorT, typename std::enable_if<
                       std::is_invocable_v<FunctorT &> ||
                       std::is_invocable_v<FunctorT &, TimerBase &> >::type * = nullptr>
class GenericTimer : public TimerBase
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(GenericTimer)

  explicit GenericTimer(
    Clock::SharedPtr clock, std::chrono::nanoseconds period, FunctorT && callback,
    rclcpp::Context::SharedPtr context)
  : TimerBase(clock, period, context),
    callback_(std::forward<FunctorT>(callback))
  {
  }

  virtual ~GenericTimer() { cancel(); }

  void execute_callback() override
  {
    if constexpr (std::is_invocable_v<FunctorT &>) {
      callback_();
    } else {
      callback_(*this);
    }
  }

protected:
  RCLCPP_DISABLE_COPY(GenericTimer)

  FunctorT callback_;
};

/// @brief A GenericTimer on the steady clock.
template<
  typename FunctorT, typename std::enable_if<
                       std::is_invocable_v<FunctorT &> ||
                       std::is_invocable_v<FunctorT &, TimerBase &> >::type * = nullptr>
class WallTimer : public GenericTimer<FunctorT>
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(WallTimer)

  WallTimer(
    std::chrono::nanoseconds period, FunctorT && callback, rclcpp::Context::SharedPtr context)
  : GenericTimer<FunctorT>(
      std::make_shared<Clock>(RCL_STEADY_TIME), period, std::move(callback), context)
  {
  }

protected:
  RCLCPP_DISABLE_COPY(WallTimer)
};

}  // namespace rclcpp

#endif  // RCLCPP__TIMER_HPP_
