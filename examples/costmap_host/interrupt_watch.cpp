// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "interrupt_watch.hpp"

#include <pthread.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "rclcpp/rclcpp.hpp"

namespace kestrune_costmap_host
{

InterruptWatch::InterruptWatch()
{
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  // SIGUSR1 only wakes the watch thread when the object goes.
  sigaddset(&signals_, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
  thread_ = std::thread([this]() { watch(); });
}

InterruptWatch::~InterruptWatch()
{
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  pthread_kill(thread_.native_handle(), SIGUSR1);
  thread_.join();
}

bool InterruptWatch::interrupted() const
{
  std::lock_guard<std::mutex> lock(mutex_);
  return interrupted_;
}

bool InterruptWatch::waitFor(std::chrono::milliseconds timeout)
{
  std::unique_lock<std::mutex> lock(mutex_);
  return interrupt_cv_.wait_for(lock, timeout, [this]() { return interrupted_; });
}

void InterruptWatch::watch()
{
  for (;;) {
    int signal_number = 0;
    if (sigwait(&signals_, &signal_number) != 0) {
      continue;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (stopping_) {
      return;
    }
    if (signal_number == SIGUSR1) {
      continue;
    }
    if (interrupted_) {
      static const char message[] = "\ncostmap_host: interrupted again, quitting at once\n";
      const ssize_t ignored = ::write(STDERR_FILENO, message, sizeof(message) - 1);
      (void)ignored;
      std::_Exit(130);
    }
    interrupted_ = true;
    lock.unlock();
    interrupt_cv_.notify_all();
    std::fprintf(
      stderr, "\ncostmap_host: interrupted, stopping the costmap (again to quit at once)\n");
    if (shutdown_on_interrupt_) {
      rclcpp::shutdown(nullptr, "costmap_host interrupted");
    }
  }
}

}  // namespace kestrune_costmap_host
