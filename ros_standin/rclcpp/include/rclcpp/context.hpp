#ifndef RCLCPP__CONTEXT_HPP_
#define RCLCPP__CONTEXT_HPP_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "rclcpp/init_options.hpp"
#include "rclcpp/macros.hpp"

namespace rclcpp
{

class Context;

namespace detail
{
struct RosArguments;
class InProcessGraph;

/// The arguments that rclcpp::init stored in the context; empty before init.
std::shared_ptr<const RosArguments> get_global_ros_arguments(const rclcpp::Context & context);

/// The registry and wake-up signal shared by everything created on this context.
std::shared_ptr<InProcessGraph> get_in_process_graph(const rclcpp::Context & context);
}  // namespace detail

/// @brief Thrown when init is called on a context that is already initialized.
class ContextAlreadyInitialized : public std::runtime_error
{
public:
  ContextAlreadyInitialized()
  : std::runtime_error("context is already initialized")
  {
  }
};

/// @brief A handle to a registered shutdown callback; removal goes through it.
class ShutdownCallbackHandle
{
  friend class Context;

public:
  using ShutdownCallbackType = std::function<void()>;

private:
  std::weak_ptr<ShutdownCallbackType> callback;
};

using OnShutdownCallbackHandle = ShutdownCallbackHandle;
using PreShutdownCallbackHandle = ShutdownCallbackHandle;

/// @brief The state shared by everything created between init and shutdown: validity,
/// shutdown callbacks, the command line's ROS arguments and the in-process graph.
///
/// A context can be initialized again after it was shut down, as upstream allows.
class Context : public std::enable_shared_from_this<Context>
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(Context)

  Context();

  virtual ~Context();

  /// @brief Parses the ROS arguments and marks the context valid.
  /// @throws rclcpp::ContextAlreadyInitialized if the context is valid already.
  virtual void init(
    int argc, char const * const * argv,
    const rclcpp::InitOptions & init_options = rclcpp::InitOptions());

  /// @brief True between a successful init and the next shutdown.
  bool is_valid() const;

  /// @brief The options given to the last init.
  const rclcpp::InitOptions & get_init_options() const;

  /// @brief The reason given to the last shutdown; empty while never shut down.
  std::string shutdown_reason() const;

  /// @brief Runs the pre-shutdown callbacks, invalidates the context, runs the on-shutdown
  /// callbacks and interrupts sleep_for.
  /// @return false if the context was not valid.
  virtual bool shutdown(const std::string & reason);

  using OnShutdownCallback = OnShutdownCallbackHandle::ShutdownCallbackType;

  /// @brief Adds an on-shutdown callback and returns it.
  virtual OnShutdownCallback on_shutdown(OnShutdownCallback callback);

  /// @brief Adds a callback run by shutdown after the context became invalid.
  virtual OnShutdownCallbackHandle add_on_shutdown_callback(OnShutdownCallback callback);

  /// @brief Removes an on-shutdown callback; false if it was not registered.
  virtual bool remove_on_shutdown_callback(const OnShutdownCallbackHandle & callback_handle);

  using PreShutdownCallback = PreShutdownCallbackHandle::ShutdownCallbackType;

  /// @brief Adds a callback run by shutdown while the context is still valid.
  virtual PreShutdownCallbackHandle add_pre_shutdown_callback(PreShutdownCallback callback);

  /// @brief Removes a pre-shutdown callback; false if it was not registered.
  virtual bool remove_pre_shutdown_callback(const PreShutdownCallbackHandle & callback_handle);

  /// @brief Copies of the registered on-shutdown callbacks.
  virtual std::vector<OnShutdownCallback> get_on_shutdown_callbacks() const;

  /// @brief Copies of the registered pre-shutdown callbacks.
  virtual std::vector<PreShutdownCallback> get_pre_shutdown_callbacks() const;

  /// @brief Sleeps for the given time or until shutdown.
  /// @return true if the full time was slept and the context is still valid.
  bool sleep_for(const std::chrono::nanoseconds & nanoseconds);

  /// @brief Wakes every thread blocked in sleep_for.
  virtual void interrupt_all_sleep_for();

protected:
  /// @brief Forgets the state of the previous init (reason, arguments).
  void clean_up();

private:
  RCLCPP_DISABLE_COPY(Context)

  friend std::shared_ptr<const detail::RosArguments> detail::get_global_ros_arguments(
    const rclcpp::Context & context);
  friend std::shared_ptr<detail::InProcessGraph> detail::get_in_process_graph(
    const rclcpp::Context & context);

  using CallbackList = std::vector<std::shared_ptr<ShutdownCallbackHandle::ShutdownCallbackType>>;

  static ShutdownCallbackHandle add_callback(
    CallbackList & list, std::mutex & mutex, ShutdownCallbackHandle::ShutdownCallbackType callback);
  static bool remove_callback(
    CallbackList & list, std::mutex & mutex, const ShutdownCallbackHandle & handle);
  static std::vector<ShutdownCallbackHandle::ShutdownCallbackType> copy_callbacks(
    const CallbackList & list, std::mutex & mutex);

  // Stands in for the rcl context: set by init, cleared by shutdown.
  std::atomic_bool valid_{false};
  rclcpp::InitOptions init_options_;
  std::string shutdown_reason_;
  std::shared_ptr<const detail::RosArguments> global_arguments_;
  mutable std::recursive_mutex init_mutex_;

  CallbackList on_shutdown_callbacks_;
  mutable std::mutex on_shutdown_callbacks_mutex_;
  CallbackList pre_shutdown_callbacks_;
  mutable std::mutex pre_shutdown_callbacks_mutex_;

  std::condition_variable interrupt_condition_variable_;
  std::mutex interrupt_mutex_;

  // Lives as long as the context object, across re-initialisation.
  std::shared_ptr<detail::InProcessGraph> graph_;
};

}  // namespace rclcpp

#endif  // RCLCPP__CONTEXT_HPP_
