#include "rclcpp/executor.hpp"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "rclcpp/exceptions.hpp"
#include "rclcpp/logging.hpp"
#include "rclcpp/node.hpp"

namespace rclcpp
{

using node_interfaces::NodeBaseInterface;

struct Executor::WaitState
{
  template<typename EntityT>
  struct Ready
  {
    std::weak_ptr<EntityT> entity;
    rclcpp::CallbackGroup::WeakPtr group;
  };

  std::vector<Ready<rclcpp::TimerBase>> timers;
  std::vector<Ready<rclcpp::SubscriptionBase>> subscriptions;
  std::vector<Ready<rclcpp::ServiceBase>> services;
  std::vector<Ready<rclcpp::ClientBase>> clients;

  std::map<
    rclcpp::CallbackGroup::WeakPtr, rclcpp::GuardCondition::SharedPtr,
    std::owner_less<rclcpp::CallbackGroup::WeakPtr>>
    group_guard_conditions;

  void clear_ready()
  {
    timers.clear();
    subscriptions.clear();
    services.clear();
    clients.clear();
  }
};

Executor::Executor(const rclcpp::ExecutorOptions & options)
: spinning(false),
  interrupt_guard_condition_(options.context),
  shutdown_guard_condition_(std::make_shared<rclcpp::GuardCondition>(options.context)),
  memory_strategy_(options.memory_strategy),
  context_(options.context),
  graph_(rclcpp::detail::get_in_process_graph(*options.context)),
  wait_state_(std::make_unique<WaitState>())
{
  // Wakes a blocked wait when the context shuts down, so that spin() sees !ok() and returns.
  shutdown_callback_handle_ = context_->add_on_shutdown_callback(
    [weak_gc = std::weak_ptr<rclcpp::GuardCondition>{shutdown_guard_condition_}]() {
      auto strong_gc = weak_gc.lock();
      if (strong_gc) {
        strong_gc->trigger();
      }
    });
}

Executor::~Executor()
{
  // Let the groups and nodes be added to another executor.
  for (auto & pair : weak_groups_to_nodes_) {
    auto group = pair.first.lock();
    if (group) {
      group->get_associated_with_executor_atomic().store(false);
    }
  }
  for (auto & weak_node : weak_nodes_) {
    auto node = weak_node.lock();
    if (node) {
      node->get_associated_with_executor_atomic().store(false);
    }
  }
  weak_groups_to_nodes_.clear();
  weak_groups_to_nodes_associated_with_executor_.clear();
  weak_groups_associated_with_executor_to_nodes_.clear();
  weak_nodes_.clear();

  if (!context_->remove_on_shutdown_callback(shutdown_callback_handle_)) {
    RCLCPP_ERROR(rclcpp::get_logger("rclcpp"), "failed to remove registered on_shutdown callback");
  }
}

std::vector<rclcpp::CallbackGroup::WeakPtr> Executor::get_all_callback_groups()
{
  std::vector<rclcpp::CallbackGroup::WeakPtr> groups;
  std::lock_guard<std::mutex> guard{mutex_};
  for (const auto & group_node_ptr : weak_groups_associated_with_executor_to_nodes_) {
    groups.push_back(group_node_ptr.first);
  }
  for (const auto & group_node_ptr : weak_groups_to_nodes_associated_with_executor_) {
    groups.push_back(group_node_ptr.first);
  }
  return groups;
}

std::vector<rclcpp::CallbackGroup::WeakPtr> Executor::get_manually_added_callback_groups()
{
  std::vector<rclcpp::CallbackGroup::WeakPtr> groups;
  std::lock_guard<std::mutex> guard{mutex_};
  for (const auto & group_node_ptr : weak_groups_associated_with_executor_to_nodes_) {
    groups.push_back(group_node_ptr.first);
  }
  return groups;
}

std::vector<rclcpp::CallbackGroup::WeakPtr>
Executor::get_automatically_added_callback_groups_from_nodes()
{
  std::vector<rclcpp::CallbackGroup::WeakPtr> groups;
  std::lock_guard<std::mutex> guard{mutex_};
  for (const auto & group_node_ptr : weak_groups_to_nodes_associated_with_executor_) {
    groups.push_back(group_node_ptr.first);
  }
  return groups;
}

void Executor::add_callback_groups_from_nodes_associated_to_executor()
{
  for (auto & weak_node : weak_nodes_) {
    auto node = weak_node.lock();
    if (node) {
      node->for_each_callback_group(
        [this, node](rclcpp::CallbackGroup::SharedPtr shared_group_ptr) {
          if (
            shared_group_ptr->automatically_add_to_executor_with_node() &&
            !shared_group_ptr->get_associated_with_executor_atomic().load()) {
            this->add_callback_group_to_map(
              shared_group_ptr, node, weak_groups_to_nodes_associated_with_executor_, true);
          }
        });
    }
  }
}

void Executor::add_callback_group_to_map(
  rclcpp::CallbackGroup::SharedPtr group_ptr, NodeBaseInterface::SharedPtr node_ptr,
  WeakCallbackGroupsToNodesMap & weak_groups_to_nodes, bool notify)
{
  std::atomic_bool & has_executor = group_ptr->get_associated_with_executor_atomic();
  if (has_executor.exchange(true)) {
    throw std::runtime_error("Callback group has already been added to an executor.");
  }

  rclcpp::CallbackGroup::WeakPtr weak_group_ptr = group_ptr;
  auto insert_info = weak_groups_to_nodes.insert(std::make_pair(weak_group_ptr, node_ptr));
  if (!insert_info.second) {
    throw std::runtime_error("Callback group was already added to executor.");
  }
  weak_groups_to_nodes_.insert(std::make_pair(weak_group_ptr, node_ptr));

  if (node_ptr->get_context()->is_valid()) {
    wait_state_->group_guard_conditions[weak_group_ptr] =
      group_ptr->get_notify_guard_condition(node_ptr->get_context());
  }

  if (notify) {
    try {
      interrupt_guard_condition_.trigger();
    } catch (const rclcpp::exceptions::RCLError & ex) {
      throw std::runtime_error(
        std::string("Failed to trigger guard condition on callback group add: ") + ex.what());
    }
  }
}

void Executor::add_callback_group(
  rclcpp::CallbackGroup::SharedPtr group_ptr, NodeBaseInterface::SharedPtr node_ptr, bool notify)
{
  std::lock_guard<std::mutex> guard{mutex_};
  this->add_callback_group_to_map(
    group_ptr, node_ptr, weak_groups_associated_with_executor_to_nodes_, notify);
}

void Executor::add_node(NodeBaseInterface::SharedPtr node_ptr, bool notify)
{
  // Set before the mutex is taken, as upstream: a second add fails even while the first
  // is still in progress.
  std::atomic_bool & has_executor = node_ptr->get_associated_with_executor_atomic();
  if (has_executor.exchange(true)) {
    throw std::runtime_error(
      std::string("Node '") + node_ptr->get_fully_qualified_name() +
      "' has already been added to an executor.");
  }
  std::lock_guard<std::mutex> guard{mutex_};
  node_ptr->for_each_callback_group(
    [this, node_ptr, notify](rclcpp::CallbackGroup::SharedPtr group_ptr) {
      if (
        !group_ptr->get_associated_with_executor_atomic().load() &&
        group_ptr->automatically_add_to_executor_with_node()) {
        this->add_callback_group_to_map(
          group_ptr, node_ptr, weak_groups_to_nodes_associated_with_executor_, notify);
      }
    });
  weak_nodes_.push_back(node_ptr);
}

void Executor::add_node(std::shared_ptr<rclcpp::Node> node_ptr, bool notify)
{
  this->add_node(node_ptr->get_node_base_interface(), notify);
}

void Executor::remove_callback_group_from_map(
  rclcpp::CallbackGroup::SharedPtr group_ptr, WeakCallbackGroupsToNodesMap & weak_groups_to_nodes,
  bool notify)
{
  NodeBaseInterface::SharedPtr node_ptr;
  rclcpp::CallbackGroup::WeakPtr weak_group_ptr = group_ptr;
  auto iter = weak_groups_to_nodes.find(weak_group_ptr);
  if (iter != weak_groups_to_nodes.end()) {
    node_ptr = iter->second.lock();
    if (node_ptr == nullptr) {
      throw std::runtime_error("Node must not be deleted before its callback group(s).");
    }
    weak_groups_to_nodes.erase(iter);
    weak_groups_to_nodes_.erase(group_ptr);
    group_ptr->get_associated_with_executor_atomic().store(false);
  } else {
    throw std::runtime_error("Callback group needs to be associated with executor.");
  }
  wait_state_->group_guard_conditions.erase(weak_group_ptr);

  if (notify) {
    try {
      interrupt_guard_condition_.trigger();
    } catch (const rclcpp::exceptions::RCLError & ex) {
      throw std::runtime_error(
        std::string("Failed to trigger guard condition on callback group remove: ") + ex.what());
    }
  }
}

void Executor::remove_callback_group(rclcpp::CallbackGroup::SharedPtr group_ptr, bool notify)
{
  std::lock_guard<std::mutex> guard{mutex_};
  this->remove_callback_group_from_map(
    group_ptr, weak_groups_associated_with_executor_to_nodes_, notify);
}

void Executor::remove_node(NodeBaseInterface::SharedPtr node_ptr, bool notify)
{
  if (!node_ptr->get_associated_with_executor_atomic().load()) {
    throw std::runtime_error("Node needs to be associated with an executor.");
  }

  std::lock_guard<std::mutex> guard{mutex_};
  bool found_node = false;
  auto node_it = weak_nodes_.begin();
  while (node_it != weak_nodes_.end()) {
    if (node_it->lock() == node_ptr) {
      found_node = true;
      node_it = weak_nodes_.erase(node_it);
    } else {
      ++node_it;
    }
  }
  if (!found_node) {
    throw std::runtime_error("Node needs to be associated with this executor.");
  }

  // Only the groups that came with the node; manually added ones stay.
  for (auto it = weak_groups_to_nodes_associated_with_executor_.begin();
       it != weak_groups_to_nodes_associated_with_executor_.end();) {
    auto shared_node_ptr = it->second.lock();
    auto group_ptr = it->first.lock();
    ++it;
    if (shared_node_ptr == node_ptr && group_ptr) {
      remove_callback_group_from_map(
        group_ptr, weak_groups_to_nodes_associated_with_executor_, notify);
    }
  }

  node_ptr->get_associated_with_executor_atomic().store(false);
}

void Executor::remove_node(std::shared_ptr<rclcpp::Node> node_ptr, bool notify)
{
  this->remove_node(node_ptr->get_node_base_interface(), notify);
}

void Executor::spin_node_once_nanoseconds(
  NodeBaseInterface::SharedPtr node, std::chrono::nanoseconds timeout)
{
  this->add_node(node, false);
  spin_once(timeout);
  this->remove_node(node, false);
}

void Executor::spin_node_some(NodeBaseInterface::SharedPtr node)
{
  this->add_node(node, false);
  spin_some();
  this->remove_node(node, false);
}

void Executor::spin_node_some(std::shared_ptr<rclcpp::Node> node)
{
  this->spin_node_some(node->get_node_base_interface());
}

void Executor::spin_some(std::chrono::nanoseconds max_duration)
{
  return this->spin_some_impl(max_duration, false);
}

void Executor::spin_all(std::chrono::nanoseconds max_duration)
{
  if (max_duration < std::chrono::nanoseconds(0)) {
    throw std::invalid_argument("max_duration must be greater than or equal to 0");
  }
  return this->spin_some_impl(max_duration, true);
}

void Executor::spin_some_impl(std::chrono::nanoseconds max_duration, bool exhaustive)
{
  auto start = std::chrono::steady_clock::now();
  auto max_duration_not_elapsed = [max_duration, start]() {
    if (std::chrono::nanoseconds(0) == max_duration) {
      return true;
    }
    return std::chrono::steady_clock::now() - start < max_duration;
  };

  if (spinning.exchange(true)) {
    throw std::runtime_error("spin_some() called while already spinning");
  }
  RCLCPP_STANDIN_SCOPE_EXIT(this->spinning.store(false));
  bool work_available = false;
  while (rclcpp::ok(context_) && spinning.load() && max_duration_not_elapsed()) {
    AnyExecutable any_exec;
    if (!work_available) {
      wait_for_work(std::chrono::milliseconds::zero());
    }
    if (get_next_ready_executable(any_exec)) {
      execute_any_executable(any_exec);
      work_available = true;
    } else {
      if (!work_available || !exhaustive) {
        break;
      }
      work_available = false;
    }
  }
}

void Executor::spin_once_impl(std::chrono::nanoseconds timeout)
{
  AnyExecutable any_exec;
  if (get_next_executable(any_exec, timeout)) {
    execute_any_executable(any_exec);
  }
}

void Executor::spin_once(std::chrono::nanoseconds timeout)
{
  if (spinning.exchange(true)) {
    throw std::runtime_error("spin_once() called while already spinning");
  }
  RCLCPP_STANDIN_SCOPE_EXIT(this->spinning.store(false));
  spin_once_impl(timeout);
}

void Executor::cancel()
{
  spinning.store(false);
  try {
    interrupt_guard_condition_.trigger();
  } catch (const rclcpp::exceptions::RCLError & ex) {
    throw std::runtime_error(
      std::string("Failed to trigger guard condition in cancel: ") + ex.what());
  }
}

void Executor::set_memory_strategy(
  rclcpp::memory_strategy::MemoryStrategy::SharedPtr memory_strategy)
{
  if (memory_strategy == nullptr) {
    throw std::runtime_error("Received NULL memory strategy in executor.");
  }
  std::lock_guard<std::mutex> guard{mutex_};
  memory_strategy_ = memory_strategy;
}

bool Executor::is_spinning()
{
  return spinning;
}

void Executor::execute_any_executable(AnyExecutable & any_exec)
{
  if (!spinning.load()) {
    return;
  }
  if (any_exec.timer) {
    execute_timer(any_exec.timer);
  }
  if (any_exec.subscription) {
    execute_subscription(any_exec.subscription);
  }
  if (any_exec.service) {
    execute_service(any_exec.service);
  }
  if (any_exec.client) {
    execute_client(any_exec.client);
  }
  any_exec.callback_group->can_be_taken_from().store(true);
  // Work of this group that was held back may be ready now.
  try {
    interrupt_guard_condition_.trigger();
  } catch (const rclcpp::exceptions::RCLError & ex) {
    throw std::runtime_error(
      std::string("Failed to trigger guard condition from execute_any_executable: ") + ex.what());
  }
}

void Executor::execute_subscription(rclcpp::SubscriptionBase::SharedPtr subscription)
{
  subscription->take_and_handle();
}

void Executor::execute_timer(rclcpp::TimerBase::SharedPtr timer)
{
  timer->execute_callback();
}

void Executor::execute_service(rclcpp::ServiceBase::SharedPtr service)
{
  service->take_and_handle();
}

void Executor::execute_client(rclcpp::ClientBase::SharedPtr client)
{
  client->take_and_handle();
}

void Executor::prune_expired_groups_and_nodes()
{
  auto prune = [](WeakCallbackGroupsToNodesMap & map) {
    for (auto it = map.begin(); it != map.end();) {
      if (it->first.expired() || it->second.expired()) {
        it = map.erase(it);
      } else {
        ++it;
      }
    }
  };
  prune(weak_groups_to_nodes_);
  prune(weak_groups_to_nodes_associated_with_executor_);
  prune(weak_groups_associated_with_executor_to_nodes_);
  auto & guards = wait_state_->group_guard_conditions;
  for (auto it = guards.begin(); it != guards.end();) {
    it = it->first.expired() ? guards.erase(it) : std::next(it);
  }
  weak_nodes_.erase(
    std::remove_if(
      weak_nodes_.begin(), weak_nodes_.end(),
      [](const NodeBaseInterface::WeakPtr & weak) { return weak.expired(); }),
    weak_nodes_.end());
}

bool Executor::collect_ready_work(std::chrono::steady_clock::time_point & next_timer_deadline)
{
  using std::chrono::steady_clock;
  WaitState & state = *wait_state_;
  state.clear_ready();
  next_timer_deadline = steady_clock::time_point::max();

  // A wait returns on any triggered guard condition of its set and consumes all of them.
  bool triggered = interrupt_guard_condition_.take_trigger();
  triggered = shutdown_guard_condition_->take_trigger() || triggered;
  for (const auto & weak_node : weak_nodes_) {
    if (auto node = weak_node.lock()) {
      triggered = node->get_notify_guard_condition().take_trigger() || triggered;
    }
  }
  for (const auto & pair : state.group_guard_conditions) {
    triggered = pair.second->take_trigger() || triggered;
  }

  const auto now = steady_clock::now();
  for (const auto & pair : weak_groups_to_nodes_) {
    auto group = pair.first.lock();
    if (!group || pair.second.expired()) {
      continue;
    }
    // A mutually exclusive group that is running a callback is left out of the wait, as
    // upstream; finishing that callback triggers the interrupt guard condition.
    if (!group->can_be_taken_from().load()) {
      continue;
    }
    group->find_timer_ptrs_if([&](const rclcpp::TimerBase::SharedPtr & timer) {
      const auto time_left = timer->time_until_trigger();
      if (time_left == std::chrono::nanoseconds::max()) {
        return false;
      }
      if (time_left <= std::chrono::nanoseconds::zero()) {
        state.timers.push_back({timer, group});
      } else if (time_left < std::chrono::hours(24 * 365)) {
        // (Longer periods would overflow the time point; the wait is re-armed anyway.)
        next_timer_deadline = std::min(next_timer_deadline, now + time_left);
      }
      return false;
    });
    group->find_subscription_ptrs_if([&](const rclcpp::SubscriptionBase::SharedPtr & subscription) {
      if (subscription->has_message()) {
        state.subscriptions.push_back({subscription, group});
      }
      return false;
    });
    group->find_service_ptrs_if([&](const rclcpp::ServiceBase::SharedPtr & service) {
      if (service->has_request()) {
        state.services.push_back({service, group});
      }
      return false;
    });
    group->find_client_ptrs_if([&](const rclcpp::ClientBase::SharedPtr & client) {
      if (client->has_response()) {
        state.clients.push_back({client, group});
      }
      return false;
    });
  }
  return triggered || !state.timers.empty() || !state.subscriptions.empty() ||
         !state.services.empty() || !state.clients.empty();
}

void Executor::wait_for_work(std::chrono::nanoseconds timeout)
{
  using std::chrono::steady_clock;
  const bool forever = timeout < std::chrono::nanoseconds::zero();
  const auto deadline = forever ? steady_clock::time_point::max() : steady_clock::now() + timeout;
  while (true) {
    // Read before looking, so that an event after the look is never slept through.
    const uint64_t seen = graph_->generation();
    steady_clock::time_point next_timer_deadline;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      prune_expired_groups_and_nodes();
      add_callback_groups_from_nodes_associated_to_executor();
      if (collect_ready_work(next_timer_deadline)) {
        return;
      }
    }
    // UNVERIFIED: upstream would block in rcl_wait here once the shutdown trigger has been
    // consumed; a wait on a shut-down context returns at once instead.
    if (!context_->is_valid()) {
      return;
    }
    if (steady_clock::now() >= deadline) {
      return;
    }
    const auto wake_at = std::min(deadline, next_timer_deadline);
    if (wake_at == steady_clock::time_point::max()) {
      graph_->wait_for_change(seen, nullptr);
    } else {
      graph_->wait_for_change(seen, &wake_at);
    }
  }
}

bool Executor::get_next_ready_executable(AnyExecutable & any_executable)
{
  std::lock_guard<std::mutex> guard{mutex_};
  WaitState & state = *wait_state_;

  // Takes the first entry whose group still belongs to this executor and is free; entries
  // of a busy mutually exclusive group stay for a later call.
  auto take = [this, &any_executable](auto & ready_list, auto && accept) {
    for (auto it = ready_list.begin(); it != ready_list.end();) {
      auto entity = it->entity.lock();
      auto group = it->group.lock();
      auto node_it = group ? weak_groups_to_nodes_.find(group) : weak_groups_to_nodes_.end();
      if (!entity || node_it == weak_groups_to_nodes_.end()) {
        it = ready_list.erase(it);
        continue;
      }
      if (!group->can_be_taken_from().load() || !accept(entity)) {
        ++it;
        continue;
      }
      any_executable.callback_group = group;
      any_executable.node_base = node_it->second.lock();
      ready_list.erase(it);
      return entity;
    }
    return decltype(ready_list.begin()->entity.lock())();
  };
  auto accept_any = [](const auto &) { return true; };

  // A taken timer is marked as served right away, so no other thread takes it again.
  any_executable.timer =
    take(state.timers, [](const rclcpp::TimerBase::SharedPtr & timer) { return timer->call(); });
  if (!any_executable.timer) {
    any_executable.subscription = take(state.subscriptions, accept_any);
  }
  if (!any_executable.timer && !any_executable.subscription) {
    any_executable.service = take(state.services, accept_any);
  }
  if (!any_executable.timer && !any_executable.subscription && !any_executable.service) {
    any_executable.client = take(state.clients, accept_any);
  }
  const bool success = any_executable.timer || any_executable.subscription ||
                       any_executable.service || any_executable.client;
  if (success && any_executable.callback_group->type() == CallbackGroupType::MutuallyExclusive) {
    // Reset when the work has run or, if it never runs, by ~AnyExecutable.
    any_executable.callback_group->can_be_taken_from().store(false);
  }
  return success;
}

bool Executor::get_next_executable(AnyExecutable & any_executable, std::chrono::nanoseconds timeout)
{
  bool success = get_next_ready_executable(any_executable);
  if (!success) {
    wait_for_work(timeout);
    if (!spinning.load()) {
      return false;
    }
    success = get_next_ready_executable(any_executable);
  }
  return success;
}

bool Executor::has_node(
  const NodeBaseInterface::SharedPtr node_ptr,
  const WeakCallbackGroupsToNodesMap & weak_groups_to_nodes) const
{
  return std::find_if(
           weak_groups_to_nodes.begin(), weak_groups_to_nodes.end(),
           [&](const WeakCallbackGroupsToNodesMap::value_type & other) -> bool {
             auto other_ptr = other.second.lock();
             return other_ptr == node_ptr;
           }) != weak_groups_to_nodes.end();
}

}  // namespace rclcpp
