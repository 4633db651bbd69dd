#ifndef RCLCPP__SIGNAL_HANDLER_HPP_
#define RCLCPP__SIGNAL_HANDLER_HPP_

#include <atomic>
#include <csignal>
#include <mutex>
#include <thread>

#include "rclcpp/utilities.hpp"

namespace rclcpp
{

/// The process-wide SIGINT/SIGTERM handler. As upstream, the handler itself only wakes a
/// deferred thread, which logs "signal_handler(signum=%d)" and shuts every initialized
/// context (with shutdown_on_signal) down with the reason "signal handler".
class SignalHandler final
{
public:
  static SignalHandler & get_global_signal_handler();

  bool install(SignalHandlerOptions signal_handler_options);

  bool uninstall();

  bool is_installed();

  SignalHandlerOptions get_current_signal_handler_options();

  ~SignalHandler();

private:
  SignalHandler() = default;
  SignalHandler(const SignalHandler &) = delete;
  SignalHandler & operator=(const SignalHandler &) = delete;

  static void signal_handler(int signum, siginfo_t * siginfo, void * context);

  void deferred_signal_handler(int read_fd);

  std::mutex install_mutex_;
  std::atomic_bool installed_{false};
  SignalHandlerOptions options_{SignalHandlerOptions::None};
  std::thread thread_;
  int pipe_fds_[2] = {-1, -1};
  struct sigaction old_sigint_action_
  {
  };
  struct sigaction old_sigterm_action_
  {
  };
};

}  // namespace rclcpp

#endif  // RCLCPP__SIGNAL_HANDLER_HPP_
