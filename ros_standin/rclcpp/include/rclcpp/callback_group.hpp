#ifndef RCLCPP__CALLBACK_GROUP_HPP_
#define RCLCPP__CALLBACK_GROUP_HPP_

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "rclcpp/client.hpp"
#include "rclcpp/context.hpp"
#include "rclcpp/guard_condition.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/publisher_base.hpp"
#include "rclcpp/service.hpp"
#include "rclcpp/subscription_base.hpp"
#include "rclcpp/timer.hpp"

namespace rclcpp
{

namespace node_interfaces
{
class NodeServices;
class NodeTimers;
class NodeTopics;
}  // namespace node_interfaces

enum class CallbackGroupType
{
  MutuallyExclusive,
  Reentrant
};

/// @brief A set of timers, subscriptions, services and clients that one executor serves.
///
/// Members are held weakly; a mutually exclusive group runs at most one callback at a time.
class CallbackGroup
{
  friend class rclcpp::node_interfaces::NodeServices;
  friend class rclcpp::node_interfaces::NodeTimers;
  friend class rclcpp::node_interfaces::NodeTopics;

public:
  RCLCPP_SMART_PTR_DEFINITIONS(CallbackGroup)

  explicit CallbackGroup(
    CallbackGroupType group_type, bool automatically_add_to_executor_with_node = true);

  ~CallbackGroup();

  /// @brief The first live subscription for which func returns true, or nullptr.
  template<typename Function>
  rclcpp::SubscriptionBase::SharedPtr find_subscription_ptrs_if(Function func) const
  {
    return _find_ptrs_if_impl<rclcpp::SubscriptionBase, Function>(func, subscription_ptrs_);
  }

  /// @brief The first live timer for which func returns true, or nullptr.
  template<typename Function>
  rclcpp::TimerBase::SharedPtr find_timer_ptrs_if(Function func) const
  {
    return _find_ptrs_if_impl<rclcpp::TimerBase, Function>(func, timer_ptrs_);
  }

  /// @brief The first live service for which func returns true, or nullptr.
  template<typename Function>
  rclcpp::ServiceBase::SharedPtr find_service_ptrs_if(Function func) const
  {
    return _find_ptrs_if_impl<rclcpp::ServiceBase, Function>(func, service_ptrs_);
  }

  /// @brief The first live client for which func returns true, or nullptr.
  template<typename Function>
  rclcpp::ClientBase::SharedPtr find_client_ptrs_if(Function func) const
  {
    return _find_ptrs_if_impl<rclcpp::ClientBase, Function>(func, client_ptrs_);
  }

  /// @brief False while a mutually exclusive group runs a callback.
  std::atomic_bool & can_be_taken_from();

  const CallbackGroupType & type() const;

  /// @brief True while an executor serves the group.
  std::atomic_bool & get_associated_with_executor_atomic();

  /// @brief Whether add_node picks the group up.
  bool automatically_add_to_executor_with_node() const;

  /// @brief The guard condition that wakes the serving executor (created on first use, and
  /// again if asked for another context).
  rclcpp::GuardCondition::SharedPtr get_notify_guard_condition(
    const rclcpp::Context::SharedPtr context_ptr);

  /// @brief Triggers the notify guard condition, if it was created.
  void trigger_notify_guard_condition();

protected:
  RCLCPP_DISABLE_COPY(CallbackGroup)

  void add_publisher(const rclcpp::PublisherBase::SharedPtr publisher_ptr);
  void add_subscription(const rclcpp::SubscriptionBase::SharedPtr subscription_ptr);
  void add_timer(const rclcpp::TimerBase::SharedPtr timer_ptr);
  void add_service(const rclcpp::ServiceBase::SharedPtr service_ptr);
  void add_client(const rclcpp::ClientBase::SharedPtr client_ptr);

  CallbackGroupType type_;
  // Mutex to protect the subsequent vectors of pointers.
  mutable std::mutex mutex_;
  std::atomic_bool associated_with_executor_;
  std::vector<rclcpp::SubscriptionBase::WeakPtr> subscription_ptrs_;
  std::vector<rclcpp::TimerBase::WeakPtr> timer_ptrs_;
  std::vector<rclcpp::ServiceBase::WeakPtr> service_ptrs_;
  std::vector<rclcpp::ClientBase::WeakPtr> client_ptrs_;
  std::atomic_bool can_be_taken_from_;
  const bool automatically_add_to_executor_with_node_;
  std::shared_ptr<rclcpp::GuardCondition> notify_guard_condition_ = nullptr;
  std::recursive_mutex notify_guard_condition_mutex_;

private:
  template<typename TypeT, typename Function>
  typename TypeT::SharedPtr _find_ptrs_if_impl(
    Function func, const std::vector<typename TypeT::WeakPtr> & vect_ptrs) const
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto & weak_ptr : vect_ptrs) {
      auto ref_ptr = weak_ptr.lock();
      if (ref_ptr && func(ref_ptr)) {
        return ref_ptr;
      }
    }
    return typename TypeT::SharedPtr();
  }
};

}  // namespace rclcpp

#endif  // RCLCPP__CALLBACK_GROUP_HPP_
