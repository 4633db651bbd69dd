#include "signal_handler.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "rclcpp/detail/context_registry.hpp"
#include "rclcpp/logging.hpp"

namespace rclcpp
{

namespace
{

// Written only while handlers are installed; read by the async signal handler.
std::atomic<int> g_wake_fd{-1};
struct sigaction * g_old_sigint_action = nullptr;
struct sigaction * g_old_sigterm_action = nullptr;

constexpr int kStopThread = -1;

void call_old_signal_handler(
  int signum, siginfo_t * siginfo, void * context, struct sigaction * old)
{
  if (old == nullptr) {
    return;
  }
  if (old->sa_flags & SA_SIGINFO) {
    if (old->sa_sigaction != nullptr) {
      old->sa_sigaction(signum, siginfo, context);
    }
  } else if (
    old->sa_handler != nullptr && old->sa_handler != SIG_DFL && old->sa_handler != SIG_IGN) {
    old->sa_handler(signum);
  }
}

void write_all(int fd, int value)
{
  // write() is async-signal-safe; a full pipe only loses a duplicate wake-up.
  ssize_t ret;
  do {
    ret = ::write(fd, &value, sizeof(value));
  } while (ret < 0 && errno == EINTR);
}

}  // namespace

SignalHandler & SignalHandler::get_global_signal_handler()
{
  static SignalHandler signal_handler;
  return signal_handler;
}

SignalHandler::~SignalHandler()
{
  uninstall();
}

void SignalHandler::signal_handler(int signum, siginfo_t * siginfo, void * context)
{
  const int fd = g_wake_fd.load();
  if (fd >= 0) {
    write_all(fd, signum);
  }
  call_old_signal_handler(
    signum, siginfo, context, signum == SIGINT ? g_old_sigint_action : g_old_sigterm_action);
}

void SignalHandler::deferred_signal_handler(int read_fd)
{
  while (true) {
    int signum = 0;
    ssize_t ret = ::read(read_fd, &signum, sizeof(signum));
    if (ret < 0 && errno == EINTR) {
      continue;
    }
    if (ret != static_cast<ssize_t>(sizeof(signum)) || signum == kStopThread) {
      ::close(read_fd);
      return;
    }
    RCLCPP_INFO(rclcpp::get_logger("rclcpp"), "signal_handler(signum=%d)", signum);
    for (const auto & context : detail::get_initialized_contexts()) {
      if (context->get_init_options().shutdown_on_signal) {
        context->shutdown("signal handler");
      }
    }
  }
}

bool SignalHandler::install(SignalHandlerOptions signal_handler_options)
{
  std::lock_guard<std::mutex> lock(install_mutex_);
  if (installed_.exchange(true)) {
    return false;
  }
  options_ = signal_handler_options;
  if (signal_handler_options == SignalHandlerOptions::None) {
    return true;
  }
  if (::pipe(pipe_fds_) != 0) {
    installed_.store(false);
    throw std::runtime_error(std::string("failed to create signal pipe: ") + std::strerror(errno));
  }
  g_wake_fd.store(pipe_fds_[1]);
  thread_ = std::thread(&SignalHandler::deferred_signal_handler, this, pipe_fds_[0]);

  struct sigaction action
  {
  };
  action.sa_sigaction = &SignalHandler::signal_handler;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  if (
    signal_handler_options == SignalHandlerOptions::SigInt ||
    signal_handler_options == SignalHandlerOptions::All) {
    ::sigaction(SIGINT, &action, &old_sigint_action_);
    g_old_sigint_action = &old_sigint_action_;
  }
  if (
    signal_handler_options == SignalHandlerOptions::SigTerm ||
    signal_handler_options == SignalHandlerOptions::All) {
    ::sigaction(SIGTERM, &action, &old_sigterm_action_);
    g_old_sigterm_action = &old_sigterm_action_;
  }
  return true;
}

bool SignalHandler::uninstall()
{
  std::lock_guard<std::mutex> lock(install_mutex_);
  if (!installed_.exchange(false)) {
    return false;
  }
  if (options_ == SignalHandlerOptions::SigInt || options_ == SignalHandlerOptions::All) {
    ::sigaction(SIGINT, &old_sigint_action_, nullptr);
  }
  if (options_ == SignalHandlerOptions::SigTerm || options_ == SignalHandlerOptions::All) {
    ::sigaction(SIGTERM, &old_sigterm_action_, nullptr);
  }
  if (thread_.joinable()) {
    write_all(pipe_fds_[1], kStopThread);
    // Uninstalling from a shutdown that the deferred thread itself started cannot join it.
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();
    } else {
      thread_.join();
    }
  }
  g_wake_fd.store(-1);
  g_old_sigint_action = nullptr;
  g_old_sigterm_action = nullptr;
  // The deferred thread closes the read end when it stops.
  if (pipe_fds_[1] >= 0) {
    ::close(pipe_fds_[1]);
  }
  pipe_fds_[0] = pipe_fds_[1] = -1;
  options_ = SignalHandlerOptions::None;
  return true;
}

bool SignalHandler::is_installed()
{
  return installed_.load();
}

SignalHandlerOptions SignalHandler::get_current_signal_handler_options()
{
  std::lock_guard<std::mutex> lock(install_mutex_);
  return options_;
}

}  // namespace rclcpp
