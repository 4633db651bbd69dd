// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "callback_group_server.hpp"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "kestrune_nav2_base_class/logger.hpp"
#include "spin_state.hpp"

namespace nav2_util
{
namespace detail
{

namespace
{

/// A single-threaded executor that runs each callback under @p callbacks,
/// drops a callback it took before a hold began or ended (the hold may have
/// destroyed what it calls), and takes no callback once @p stopping is raised.
class ServingExecutor : public rclcpp::executors::SingleThreadedExecutor
{
public:
  ServingExecutor(
    std::mutex & callbacks, const std::atomic<std::uint64_t> & holds,
    const std::atomic<bool> & stopping, std::shared_ptr<const void> & kept, std::string node_name)
  : rclcpp::executors::SingleThreadedExecutor(rclcpp::ExecutorOptions()),
    callbacks_(callbacks),
    holds_(holds),
    stopping_(stopping),
    kept_(kept),
    node_name_(std::move(node_name))
  {
  }

  // SingleThreadedExecutor::spin(), with the callback run under the mutex.
  void spin() override
  {
    if (spinning.exchange(true)) {
      throw std::runtime_error("spin() called while already spinning");
    }
    struct LowerOnExit
    {
      std::atomic_bool & flag;
      ~LowerOnExit() { flag.store(false); }
    } lower{spinning};
    while (rclcpp::ok(context_) && spinning.load() && !stopping_.load()) {
      const auto holds_before = holds_.load();
      rclcpp::AnyExecutable executable;
      if (!get_next_executable(executable)) {
        continue;
      }
      std::lock_guard<std::mutex> lock(callbacks_);
      if (stopping_.load()) {
        break;  // taken while the node was being stopped: dropped
      }
      if (holds_.load() != holds_before) {
        // A message or request is still waiting in the middleware and comes
        // again; a timer's tick or a waitable's event taken here is lost.
        continue;
      }
      try {
        execute_any_executable(executable);
      } catch (const std::exception & error) {
        // The node's own services go on being served.
        KESTRUNE_LOG_ERROR("A callback of node '{}' threw: {}", node_name_, error.what());
      }
      // Should this be the owner's last share, the owner goes here, between two
      // callbacks, and stops this loop.
      kept_.reset();
    }
  }

private:
  std::mutex & callbacks_;
  const std::atomic<std::uint64_t> & holds_;
  const std::atomic<bool> & stopping_;
  std::shared_ptr<const void> & kept_;  // used on the serving thread only
  std::string node_name_;
};

}  // namespace

/// What the serving thread shares with the server; the thread owns a share,
/// so it can be let go while a callback of its own destroys the server.
struct CallbackGroupServer::Shared
{
  std::mutex callbacks;
  std::atomic<std::uint64_t> holds{0};  // raised as each hold begins and ends
  std::atomic<std::thread::id> thread_id{};
  std::atomic<bool> stopping{false};
  std::shared_ptr<const void> kept;
  std::mutex start_mutex;
  std::condition_variable start_changed;
  bool started{false};
  SpinState spin;
  std::shared_ptr<ServingExecutor> executor;
  std::thread thread;
};

CallbackGroupServer::CallbackGroupServer(
  const rclcpp::CallbackGroup::SharedPtr & group,
  const rclcpp::node_interfaces::NodeBaseInterface::SharedPtr & node_base)
: shared_(std::make_shared<Shared>())
{
  shared_->executor = std::make_shared<ServingExecutor>(
    shared_->callbacks, shared_->holds, shared_->stopping, shared_->kept,
    node_base->get_fully_qualified_name());
  shared_->executor->add_callback_group(group, node_base, false);
  shared_->thread = std::thread([shared = shared_]() {
    shared->thread_id.store(std::this_thread::get_id());
    FinishedOnExit finished(shared->spin);
    {
      std::unique_lock<std::mutex> lock(shared->start_mutex);
      shared->start_changed.wait(
        lock, [&shared]() { return shared->started || shared->stopping.load(); });
      if (!shared->started) {
        return;
      }
    }
    shared->spin.Spin(*shared->executor);
  });
}

CallbackGroupServer::~CallbackGroupServer()
{
  stop();
}

void CallbackGroupServer::start()
{
  {
    std::lock_guard<std::mutex> lock(shared_->start_mutex);
    if (shared_->started || shared_->stopping.load()) {
      return;
    }
    shared_->started = true;
  }
  shared_->start_changed.notify_all();
}

void CallbackGroupServer::stopServing()
{
  {
    std::lock_guard<std::mutex> lock(shared_->start_mutex);
    shared_->stopping.store(true);
  }
  shared_->start_changed.notify_all();
}

void CallbackGroupServer::stop()
{
  if (!shared_->thread.joinable()) {
    return;
  }
  stopServing();
  if (onServingThread()) {
    shared_->executor->cancel();
    shared_->thread.detach();
    return;
  }
  shared_->spin.Stop(*shared_->executor);
  shared_->thread.join();
}

std::mutex & CallbackGroupServer::callbacks()
{
  return shared_->callbacks;
}

void CallbackGroupServer::countHold()
{
  ++shared_->holds;
}

void CallbackGroupServer::keepUntilCallbackReturns(std::shared_ptr<const void> owner)
{
  shared_->kept = std::move(owner);
}

bool CallbackGroupServer::onServingThread() const
{
  return shared_->thread_id.load() == std::this_thread::get_id();
}

}  // namespace detail
}  // namespace nav2_util
