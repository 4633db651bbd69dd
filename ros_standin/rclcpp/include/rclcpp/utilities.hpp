#ifndef RCLCPP__UTILITIES_HPP_
#define RCLCPP__UTILITIES_HPP_

#include <chrono>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "rclcpp/context.hpp"
#include "rclcpp/init_options.hpp"

namespace rclcpp
{

/// @brief Which signals rclcpp::init installs a handler for.
enum class SignalHandlerOptions
{
  All,
  SigInt,
  SigTerm,
  None,
};

/// @brief Initializes the global default context and installs the signal handlers.
/// @throws rclcpp::ContextAlreadyInitialized if the default context is valid already.
void init(
  int argc, char const * const * argv, const InitOptions & init_options = InitOptions(),
  SignalHandlerOptions signal_handler_options = SignalHandlerOptions::All);

/// @brief Installs the SIGINT/SIGTERM handlers; false if they were installed already.
bool install_signal_handlers(
  SignalHandlerOptions signal_handler_options = SignalHandlerOptions::All);

/// @brief True while the signal handlers are installed.
bool signal_handlers_installed();

/// @brief The options the installed handlers were installed with (None if not installed).
SignalHandlerOptions get_current_signal_handler_options();

/// @brief Restores the previous handlers; false if none were installed.
bool uninstall_signal_handlers();

/// @brief init(), then the command line without its ROS arguments.
std::vector<std::string> init_and_remove_ros_arguments(
  int argc, char const * const * argv, const InitOptions & init_options = InitOptions());

/// @brief The command line without its --ros-args sections (argv[0] kept).
std::vector<std::string> remove_ros_arguments(int argc, char const * const * argv);

/// @brief True while the context (default: the global default context) is valid.
bool ok(rclcpp::Context::SharedPtr context = nullptr);

/// @brief Shuts the context (default: the global default context) down.
/// @return false if it was not valid.
bool shutdown(
  rclcpp::Context::SharedPtr context = nullptr,
  const std::string & reason = "user called rclcpp::shutdown()");

/// @brief Registers a callback run when the context is shut down.
void on_shutdown(std::function<void()> callback, rclcpp::Context::SharedPtr context = nullptr);

/// @brief Sleeps for the given time or until the context is shut down.
/// @return true if the full time was slept and the context is still valid.
bool sleep_for(
  const std::chrono::nanoseconds & nanoseconds, rclcpp::Context::SharedPtr context = nullptr);

/// @brief True if x + y overflows T.
template<typename T>
bool add_will_overflow(const T x, const T y)
{
  return (y > 0) && (x > (std::numeric_limits<T>::max() - y));
}

/// @brief True if x + y underflows T.
template<typename T>
bool add_will_underflow(const T x, const T y)
{
  return (y < 0) && (x < (std::numeric_limits<T>::min() - y));
}

/// @brief True if x - y overflows T.
template<typename T>
bool sub_will_overflow(const T x, const T y)
{
  return (y < 0) && (x > (std::numeric_limits<T>::max() + y));
}

/// @brief True if x - y underflows T.
template<typename T>
bool sub_will_underflow(const T x, const T y)
{
  return (y > 0) && (x < (std::numeric_limits<T>::min() + y));
}

}  // namespace rclcpp

#endif  // RCLCPP__UTILITIES_HPP_
