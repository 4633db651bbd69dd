#ifndef RCLCPP__EXECUTORS__MULTI_THREADED_EXECUTOR_HPP_
#define RCLCPP__EXECUTORS__MULTI_THREADED_EXECUTOR_HPP_

#include <chrono>
#include <mutex>

#include "rclcpp/executor.hpp"
#include "rclcpp/executor_options.hpp"
#include "rclcpp/macros.hpp"

namespace rclcpp
{
namespace executors
{

/// @brief Runs callbacks on a pool of threads: one thread waits and picks work at a time;
/// reentrant groups run callbacks concurrently, mutually exclusive groups one at a time.
class MultiThreadedExecutor : public rclcpp::Executor
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(MultiThreadedExecutor)

  /// @param number_of_threads 0: the number of CPU cores (at least 1).
  /// @param yield_before_execute Yield between taking and running work.
  /// @param timeout How long one wait may block (negative: forever).
  explicit MultiThreadedExecutor(
    const rclcpp::ExecutorOptions & options = rclcpp::ExecutorOptions(),
    size_t number_of_threads = 0, bool yield_before_execute = false,
    std::chrono::nanoseconds timeout = std::chrono::nanoseconds(-1));

  virtual ~MultiThreadedExecutor();

  /// @brief Runs number_of_threads - 1 extra threads plus the calling one until cancel() or
  /// shutdown. A callback's exception terminates the process when there is more than one
  /// thread, as upstream.
  void spin() override;

  size_t get_number_of_threads();

protected:
  void run(size_t this_thread_number);

private:
  RCLCPP_DISABLE_COPY(MultiThreadedExecutor)

  std::mutex wait_mutex_;
  size_t number_of_threads_;
  bool yield_before_execute_;
  std::chrono::nanoseconds next_exec_timeout_;
};

}  // namespace executors
}  // namespace rclcpp

#endif  // RCLCPP__EXECUTORS__MULTI_THREADED_EXECUTOR_HPP_
