#ifndef RCLCPP__SUBSCRIPTION_HPP_
#define RCLCPP__SUBSCRIPTION_HPP_

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "rclcpp/any_subscription_callback.hpp"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/message_memory_strategy.hpp"
#include "rclcpp/qos.hpp"
#include "rclcpp/subscription_base.hpp"
#include "rclcpp/subscription_options.hpp"

namespace rclcpp
{

/// @brief Receives messages of one type on one topic; the executor serving the subscription's
/// callback group runs the callback, one queued message per execution.
template<
  typename MessageT, typename AllocatorT = std::allocator<void>, typename SubscribedT = MessageT,
  typename ROSMessageT = MessageT,
  typename MessageMemoryStrategyT =
    rclcpp::message_memory_strategy::MessageMemoryStrategy<ROSMessageT, AllocatorT>>
class Subscription : public SubscriptionBase
{
public:
  using MessageMemoryStrategyType = MessageMemoryStrategyT;
  using SubscribedType = SubscribedT;
  using ROSMessageType = ROSMessageT;

  RCLCPP_SMART_PTR_DEFINITIONS(Subscription)

  /// @brief Creates the subscription; rclcpp::create_subscription then registers it with the
  /// node.
  Subscription(
    rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & topic_name,
    const rclcpp::QoS & qos, AnySubscriptionCallback<MessageT, AllocatorT> callback,
    const rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> & options,
    typename MessageMemoryStrategyT::SharedPtr message_memory_strategy =
      MessageMemoryStrategyT::create_default())
  : SubscriptionBase(node_base, topic_name, qos, rclcpp::detail::InterfaceType::of<MessageT>()),
    any_callback_(std::move(callback)),
    options_(options),
    message_memory_strategy_(std::move(message_memory_strategy))
  {
  }

  virtual ~Subscription() = default;

private:
  RCLCPP_DISABLE_COPY(Subscription)

  void enqueue(const void * message) override
  {
    auto copy = std::make_unique<MessageT>(*static_cast<const MessageT *>(message));
    std::lock_guard<std::mutex> lock(queue_mutex_);
    queue_.push_back(std::move(copy));
    const size_t limit = rclcpp::detail::history_limit(qos_);
    while (limit > 0u && queue_.size() > limit) {
      queue_.pop_front();
    }
  }

  bool has_message() const override
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    return !queue_.empty();
  }

  void take_and_handle() override
  {
    std::unique_ptr<MessageT> message;
    {
      std::lock_guard<std::mutex> lock(queue_mutex_);
      if (queue_.empty()) {
        return;
      }
      message = std::move(queue_.front());
      queue_.pop_front();
    }
    any_callback_.dispatch(std::move(message));
  }

  AnySubscriptionCallback<MessageT, AllocatorT> any_callback_;
  const rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> options_;
  typename MessageMemoryStrategyT::SharedPtr message_memory_strategy_;
  mutable std::mutex queue_mutex_;
  std::deque<std::unique_ptr<MessageT>> queue_;
};

}  // namespace rclcpp

#endif  // RCLCPP__SUBSCRIPTION_HPP_
