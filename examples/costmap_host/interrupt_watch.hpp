// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__INTERRUPT_WATCH_HPP_
#define COSTMAP_HOST__INTERRUPT_WATCH_HPP_

#include <signal.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kestrune_costmap_host
{

/**
 * @brief Turns SIGINT and SIGTERM into a flag the host checks between steps, so an
 * interrupted run still deactivates and cleans up the costmap while ROS is up.
 *
 * ROS's own handler would shut ROS down at once, and a lifecycle transition after that
 * cannot be relied on. Construct it first thing in main: it blocks the two signals in
 * the calling thread, and so in every thread started afterwards, and waits for them on
 * a thread of its own. A second interrupt ends the process at once.
 */
class InterruptWatch
{
public:
  InterruptWatch();
  InterruptWatch(const InterruptWatch &) = delete;
  InterruptWatch & operator=(const InterruptWatch &) = delete;
  ~InterruptWatch();

  /// @brief Whether an interrupt came.
  bool interrupted() const;

  /// @brief Waits up to @p timeout; true as soon as an interrupt comes.
  bool waitFor(std::chrono::milliseconds timeout);

  /// @brief While set, an interrupt also shuts ROS down: the way to end a transition that
  /// waits for as long as ROS runs (activate waiting for the robot's transform).
  void setShutdownOnInterrupt(bool value) { shutdown_on_interrupt_ = value; }

private:
  void watch();

  sigset_t signals_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable interrupt_cv_;
  bool interrupted_{false};
  bool stopping_{false};
  std::atomic<bool> shutdown_on_interrupt_{false};
};

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__INTERRUPT_WATCH_HPP_
