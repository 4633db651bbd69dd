// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_SERVER_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_SERVER_HPP_

#include <memory>
#include <mutex>

#include "rclcpp/rclcpp.hpp"

namespace nav2_util
{
namespace detail
{

class CallbackGroupHold;

/**
 * @brief Serves one callback group of a node on an executor and a thread of its
 * own, from start() to stop(), running each callback under a mutex that a
 * CallbackGroupHold takes. The group is the server's from construction on.
 *
 * What it relies on in rclcpp (a test of the project checks each):
 * - a callback group is served by at most one executor: once it is added here,
 *   an executor that a host adds the node to leaves it alone;
 * - an rclcpp executor runs callbacks only in execute_any_executable(), which
 *   this server's own spin loop calls under the mutex, one at a time.
 */
class CallbackGroupServer
{
public:
  /// @brief Serves @p group of @p node_base once start() is called.
  CallbackGroupServer(
    const rclcpp::CallbackGroup::SharedPtr & group,
    const rclcpp::node_interfaces::NodeBaseInterface::SharedPtr & node_base);
  CallbackGroupServer(const CallbackGroupServer &) = delete;
  CallbackGroupServer & operator=(const CallbackGroupServer &) = delete;

  /// @brief stop().
  ~CallbackGroupServer();

  /**
   * @brief Starts serving the group, if it has not begun. Until then the thread
   * waits, so that no callback runs before the owner is whole and owned: the
   * owner calls this once something outside it shows that it is (a host's
   * executor ran one of its callbacks, or a transition was called).
   */
  void start();

  /**
   * @brief From now on, no callback of the group starts: one the thread already
   * took is dropped, one under way runs to its end (a hold made after this
   * waits for it).
   */
  void stopServing();

  /**
   * @brief Ends the thread. Called on the server's own thread (from one of the
   * group's callbacks), the thread is let go instead, and ends once that
   * callback returns.
   */
  void stop();

  /**
   * @brief Called from one of the group's callbacks: keeps @p owner until that
   * callback has returned, so that an owner let go meanwhile goes between two
   * callbacks, not inside one.
   */
  void keepUntilCallbackReturns(std::shared_ptr<const void> owner);

  /// @brief Whether the calling thread is the server's: then it is running one of
  /// the group's callbacks, and no other callback of the group runs.
  bool onServingThread() const;

private:
  friend class CallbackGroupHold;
  struct Shared;

  /// @brief The mutex each callback of the group runs under.
  std::mutex & callbacks();

  /// @brief Called holding callbacks() as a hold begins and as it ends: a callback
  /// taken before either is dropped.
  void countHold();

  std::shared_ptr<Shared> shared_;
};

}  // namespace detail
}  // namespace nav2_util

#endif  // KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_SERVER_HPP_
