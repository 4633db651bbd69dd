#include "rclcpp/callback_group.hpp"

#include <algorithm>
#include <memory>
#include <mutex>

namespace rclcpp
{

CallbackGroup::CallbackGroup(
  CallbackGroupType group_type, bool automatically_add_to_executor_with_node)
: type_(group_type),
  associated_with_executor_(false),
  can_be_taken_from_(true),
  automatically_add_to_executor_with_node_(automatically_add_to_executor_with_node)
{
}

CallbackGroup::~CallbackGroup()
{
  trigger_notify_guard_condition();
}

std::atomic_bool & CallbackGroup::can_be_taken_from()
{
  return can_be_taken_from_;
}

const CallbackGroupType & CallbackGroup::type() const
{
  return type_;
}

std::atomic_bool & CallbackGroup::get_associated_with_executor_atomic()
{
  return associated_with_executor_;
}

bool CallbackGroup::automatically_add_to_executor_with_node() const
{
  return automatically_add_to_executor_with_node_;
}

rclcpp::GuardCondition::SharedPtr CallbackGroup::get_notify_guard_condition(
  const rclcpp::Context::SharedPtr context_ptr)
{
  std::lock_guard<std::recursive_mutex> lock(notify_guard_condition_mutex_);
  if (notify_guard_condition_ && context_ptr != notify_guard_condition_->get_context()) {
    if (associated_with_executor_) {
      trigger_notify_guard_condition();
    }
    notify_guard_condition_ = nullptr;
  }
  if (!notify_guard_condition_) {
    notify_guard_condition_ = std::make_shared<rclcpp::GuardCondition>(context_ptr);
  }
  return notify_guard_condition_;
}

void CallbackGroup::trigger_notify_guard_condition()
{
  std::lock_guard<std::recursive_mutex> lock(notify_guard_condition_mutex_);
  if (notify_guard_condition_) {
    notify_guard_condition_->trigger();
  }
}

void CallbackGroup::add_publisher(const rclcpp::PublisherBase::SharedPtr)
{
  // Publishers have nothing an executor could wait for (no event handlers in the stand-in).
}

void CallbackGroup::add_subscription(const rclcpp::SubscriptionBase::SharedPtr subscription_ptr)
{
  std::lock_guard<std::mutex> lock(mutex_);
  subscription_ptrs_.push_back(subscription_ptr);
  subscription_ptrs_.erase(
    std::remove_if(
      subscription_ptrs_.begin(), subscription_ptrs_.end(),
      [](rclcpp::SubscriptionBase::WeakPtr x) { return x.expired(); }),
    subscription_ptrs_.end());
}

void CallbackGroup::add_timer(const rclcpp::TimerBase::SharedPtr timer_ptr)
{
  std::lock_guard<std::mutex> lock(mutex_);
  timer_ptrs_.push_back(timer_ptr);
  timer_ptrs_.erase(
    std::remove_if(
      timer_ptrs_.begin(), timer_ptrs_.end(),
      [](rclcpp::TimerBase::WeakPtr x) { return x.expired(); }),
    timer_ptrs_.end());
}

void CallbackGroup::add_service(const rclcpp::ServiceBase::SharedPtr service_ptr)
{
  std::lock_guard<std::mutex> lock(mutex_);
  service_ptrs_.push_back(service_ptr);
  service_ptrs_.erase(
    std::remove_if(
      service_ptrs_.begin(), service_ptrs_.end(),
      [](rclcpp::ServiceBase::WeakPtr x) { return x.expired(); }),
    service_ptrs_.end());
}

void CallbackGroup::add_client(const rclcpp::ClientBase::SharedPtr client_ptr)
{
  std::lock_guard<std::mutex> lock(mutex_);
  client_ptrs_.push_back(client_ptr);
  client_ptrs_.erase(
    std::remove_if(
      client_ptrs_.begin(), client_ptrs_.end(),
      [](rclcpp::ClientBase::WeakPtr x) { return x.expired(); }),
    client_ptrs_.end());
}

}  // namespace rclcpp
