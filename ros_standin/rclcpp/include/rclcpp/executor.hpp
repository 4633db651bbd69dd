#ifndef RCLCPP__EXECUTOR_HPP_
#define RCLCPP__EXECUTOR_HPP_

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "rclcpp/any_executable.hpp"
#include "rclcpp/callback_group.hpp"
#include "rclcpp/context.hpp"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/detail/scope_exit.hpp"
#include "rclcpp/executor_options.hpp"
#include "rclcpp/future_return_code.hpp"
#include "rclcpp/guard_condition.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/memory_strategy.hpp"
#include "rclcpp/node_interfaces/node_base_interface.hpp"
#include "rclcpp/utilities.hpp"

namespace rclcpp
{

class Node;

/// @brief Coordinates the order and timing of available communication tasks: waits for
/// ready timers, messages, requests and responses of the callback groups it serves and runs
/// their callbacks.
///
/// Reproduces upstream's threading behaviour, pitfalls included: a cancel() issued before
/// spin() is overwritten by spin(), a callback's exception leaves spin(), and shutting the
/// context down makes spin() return normally.
class Executor
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS_NOT_COPYABLE(Executor)

  /// @throws rclcpp::exceptions::RCLInvalidArgument before rclcpp::init,
  ///   rclcpp::exceptions::RCLError after shutdown (from the guard conditions).
  explicit Executor(const rclcpp::ExecutorOptions & options = rclcpp::ExecutorOptions());

  /// @brief Releases every group and node it served, so they can be added elsewhere.
  virtual ~Executor();

  /// @brief Does work until cancel() or shutdown.
  virtual void spin() = 0;

  /// @brief Serves the group (auto-add or not); does not associate the node.
  /// @throws std::runtime_error "Callback group has already been added to an executor."
  virtual void add_callback_group(
    rclcpp::CallbackGroup::SharedPtr group_ptr,
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_ptr, bool notify = true);

  virtual std::vector<rclcpp::CallbackGroup::WeakPtr> get_all_callback_groups();

  virtual std::vector<rclcpp::CallbackGroup::WeakPtr> get_manually_added_callback_groups();

  virtual std::vector<rclcpp::CallbackGroup::WeakPtr>
  get_automatically_added_callback_groups_from_nodes();

  /// @brief Stops serving a group added with add_callback_group.
  /// @throws std::runtime_error "Callback group needs to be associated with executor."
  virtual void remove_callback_group(
    rclcpp::CallbackGroup::SharedPtr group_ptr, bool notify = true);

  /// @brief Serves the node's free groups that are added automatically, now and later.
  /// @throws std::runtime_error "Node '<fqn>' has already been added to an executor."
  virtual void add_node(
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_ptr, bool notify = true);

  virtual void add_node(std::shared_ptr<rclcpp::Node> node_ptr, bool notify = true);

  /// @brief Stops serving the node's automatically added groups.
  /// @throws std::runtime_error "Node needs to be associated with an executor." /
  ///   "Node needs to be associated with this executor."
  virtual void remove_node(
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_ptr, bool notify = true);

  virtual void remove_node(std::shared_ptr<rclcpp::Node> node_ptr, bool notify = true);

  /// @brief add_node, spin_once(timeout), remove_node.
  template<typename RepT = int64_t, typename T = std::milli>
  void spin_node_once(
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node,
    std::chrono::duration<RepT, T> timeout = std::chrono::duration<RepT, T>(-1))
  {
    return spin_node_once_nanoseconds(
      node, std::chrono::duration_cast<std::chrono::nanoseconds>(timeout));
  }

  template<typename NodeT = rclcpp::Node, typename RepT = int64_t, typename T = std::milli>
  void spin_node_once(
    std::shared_ptr<NodeT> node,
    std::chrono::duration<RepT, T> timeout = std::chrono::duration<RepT, T>(-1))
  {
    return spin_node_once_nanoseconds(
      node->get_node_base_interface(),
      std::chrono::duration_cast<std::chrono::nanoseconds>(timeout));
  }

  /// @brief add_node, spin_some, remove_node.
  void spin_node_some(rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node);

  void spin_node_some(std::shared_ptr<rclcpp::Node> node);

  /// @brief Runs the work that is ready now (0: no time limit), without waiting for more.
  /// @throws std::runtime_error "spin_some() called while already spinning"
  virtual void spin_some(std::chrono::nanoseconds max_duration = std::chrono::nanoseconds(0));

  /// @brief Runs ready work, also work that becomes ready meanwhile, for up to max_duration
  /// (0: until no work is left).
  /// @throws std::invalid_argument for a negative duration; std::runtime_error
  ///   "spin_some() called while already spinning"
  virtual void spin_all(std::chrono::nanoseconds max_duration);

  /// @brief Waits up to timeout (negative: forever) for one piece of work and runs it.
  /// @throws std::runtime_error "spin_once() called while already spinning"
  virtual void spin_once(std::chrono::nanoseconds timeout = std::chrono::nanoseconds(-1));

  /// @brief Spins until the future is ready, the timeout passes (negative: none), the
  /// executor is canceled or the context is shut down (INTERRUPTED).
  template<typename FutureT, typename TimeRepT = int64_t, typename TimeT = std::milli>
  FutureReturnCode spin_until_future_complete(
    const FutureT & future,
    std::chrono::duration<TimeRepT, TimeT> timeout = std::chrono::duration<TimeRepT, TimeT>(-1))
  {
    std::future_status status = future.wait_for(std::chrono::seconds(0));
    if (status == std::future_status::ready) {
      return FutureReturnCode::SUCCESS;
    }

    auto end_time = std::chrono::steady_clock::now();
    std::chrono::nanoseconds timeout_ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(timeout);
    if (timeout_ns > std::chrono::nanoseconds::zero()) {
      end_time += timeout_ns;
    }
    std::chrono::nanoseconds timeout_left = timeout_ns;

    if (spinning.exchange(true)) {
      throw std::runtime_error("spin_until_future_complete() called while already spinning");
    }
    RCLCPP_STANDIN_SCOPE_EXIT(this->spinning.store(false));
    while (rclcpp::ok(this->context_) && spinning.load()) {
      spin_once_impl(timeout_left);

      status = future.wait_for(std::chrono::seconds(0));
      if (status == std::future_status::ready) {
        return FutureReturnCode::SUCCESS;
      }
      // A negative timeout blocks: never TIMEOUT.
      if (timeout_ns < std::chrono::nanoseconds::zero()) {
        continue;
      }
      auto now = std::chrono::steady_clock::now();
      if (now >= end_time) {
        return FutureReturnCode::TIMEOUT;
      }
      timeout_left = std::chrono::duration_cast<std::chrono::nanoseconds>(end_time - now);
    }
    return FutureReturnCode::INTERRUPTED;
  }

  /// @brief Makes spin() return: clears the spinning flag and wakes the wait. Can be called
  /// from any thread; a cancel before spin() starts is lost, as upstream.
  /// @throws std::runtime_error if the wake-up fails.
  void cancel();

  /// @throws std::runtime_error "Received NULL memory strategy in executor." for nullptr.
  void set_memory_strategy(memory_strategy::MemoryStrategy::SharedPtr memory_strategy);

  /// @brief True while a spin function runs.
  bool is_spinning();

protected:
  using WeakCallbackGroupsToNodesMap =
    memory_strategy::MemoryStrategy::WeakCallbackGroupsToNodesMap;

  void spin_node_once_nanoseconds(
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node, std::chrono::nanoseconds timeout);

  void spin_some_impl(std::chrono::nanoseconds max_duration, bool exhaustive);

  /// Runs the taken work, unless the executor stopped spinning meanwhile, then frees its
  /// group and wakes the wait (work of that group may be ready again).
  void execute_any_executable(AnyExecutable & any_exec);

  static void execute_subscription(rclcpp::SubscriptionBase::SharedPtr subscription);

  static void execute_timer(rclcpp::TimerBase::SharedPtr timer);

  static void execute_service(rclcpp::ServiceBase::SharedPtr service);

  static void execute_client(rclcpp::ClientBase::SharedPtr client);

  /// Blocks until a timer is due, an entity of a takeable served group has work, or a
  /// guard condition (interrupt, shutdown, node or group notify) is triggered, or until
  /// the timeout (negative: none) passes. Records what is ready.
  void wait_for_work(std::chrono::nanoseconds timeout = std::chrono::nanoseconds(-1));

  /// Takes the first recorded ready work whose group can be taken from.
  bool get_next_ready_executable(AnyExecutable & any_executable);

  /// get_next_ready_executable; if nothing, wait_for_work(timeout) and try again (unless
  /// the executor was canceled meanwhile).
  bool get_next_executable(
    AnyExecutable & any_executable,
    std::chrono::nanoseconds timeout = std::chrono::nanoseconds(-1));

  /// Picks up auto-add groups created on added nodes since the last wait.
  virtual void add_callback_groups_from_nodes_associated_to_executor();

  virtual void add_callback_group_to_map(
    rclcpp::CallbackGroup::SharedPtr group_ptr,
    rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_ptr,
    WeakCallbackGroupsToNodesMap & weak_groups_to_nodes, bool notify = true);

  virtual void remove_callback_group_from_map(
    rclcpp::CallbackGroup::SharedPtr group_ptr, WeakCallbackGroupsToNodesMap & weak_groups_to_nodes,
    bool notify = true);

  bool has_node(
    const rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_ptr,
    const WeakCallbackGroupsToNodesMap & weak_groups_to_nodes) const;

  void spin_once_impl(std::chrono::nanoseconds timeout);

  /// Spinning state, used to prevent multi threaded calls to spin and to cancel blocking spins.
  std::atomic_bool spinning;

  /// Guard condition for signaling the rmw layer to wake up for special events.
  rclcpp::GuardCondition interrupt_guard_condition_;

  std::shared_ptr<rclcpp::GuardCondition> shutdown_guard_condition_;

  // Protects the maps below.
  mutable std::mutex mutex_;

  memory_strategy::MemoryStrategy::SharedPtr memory_strategy_;

  std::shared_ptr<rclcpp::Context> context_;

  // Every served group, both maps below together.
  WeakCallbackGroupsToNodesMap weak_groups_to_nodes_;
  // Groups picked up from added nodes.
  WeakCallbackGroupsToNodesMap weak_groups_to_nodes_associated_with_executor_;
  // Groups added with add_callback_group.
  WeakCallbackGroupsToNodesMap weak_groups_associated_with_executor_to_nodes_;
  std::vector<rclcpp::node_interfaces::NodeBaseInterface::WeakPtr> weak_nodes_;

  rclcpp::OnShutdownCallbackHandle shutdown_callback_handle_;

private:
  RCLCPP_DISABLE_COPY(Executor)

  // The work found ready by the last wait and the notify guard conditions of the served
  // groups (what upstream keeps in the memory strategy and the rcl wait set).
  struct WaitState;

  // Drops groups and nodes that no longer exist. Caller holds mutex_.
  void prune_expired_groups_and_nodes();

  // Records the ready work of the served groups and consumes triggered guard conditions;
  // returns true if anything was ready or triggered, and otherwise the earliest timer
  // deadline (time_point::max() if none). Caller holds mutex_.
  bool collect_ready_work(std::chrono::steady_clock::time_point & next_timer_deadline);

  std::shared_ptr<rclcpp::detail::InProcessGraph> graph_;
  std::unique_ptr<WaitState> wait_state_;
};

}  // namespace rclcpp

#endif  // RCLCPP__EXECUTOR_HPP_
