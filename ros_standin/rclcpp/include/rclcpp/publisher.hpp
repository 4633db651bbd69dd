#ifndef RCLCPP__PUBLISHER_HPP_
#define RCLCPP__PUBLISHER_HPP_

#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "rclcpp/allocator/allocator_common.hpp"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/publisher_base.hpp"
#include "rclcpp/publisher_options.hpp"
#include "rclcpp/qos.hpp"

namespace rclcpp
{

/// @brief Publishes messages of one type on one topic. Every matching subscription of the
/// context gets its own copy; a transient-local publisher also keeps its last `depth`
/// messages for subscriptions that join later.
template<typename MessageT, typename AllocatorT = std::allocator<void>>
class Publisher : public PublisherBase
{
public:
  using PublishedType = MessageT;
  using ROSMessageType = MessageT;

  using PublishedTypeAllocatorTraits = allocator::AllocRebind<PublishedType, AllocatorT>;
  using PublishedTypeAllocator = typename PublishedTypeAllocatorTraits::allocator_type;
  using PublishedTypeDeleter = allocator::Deleter<PublishedTypeAllocator, PublishedType>;

  using ROSMessageTypeAllocatorTraits = allocator::AllocRebind<ROSMessageType, AllocatorT>;
  using ROSMessageTypeAllocator = typename ROSMessageTypeAllocatorTraits::allocator_type;
  using ROSMessageTypeDeleter = allocator::Deleter<ROSMessageTypeAllocator, ROSMessageType>;

  RCLCPP_SMART_PTR_DEFINITIONS(Publisher<MessageT, AllocatorT>)

  /// @brief Creates the publisher; rclcpp::create_publisher then registers it with the node.
  Publisher(
    rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & topic,
    const rclcpp::QoS & qos, const rclcpp::PublisherOptionsWithAllocator<AllocatorT> & options)
  : PublisherBase(node_base, topic, qos, rclcpp::detail::InterfaceType::of<MessageT>()),
    options_(options)
  {
  }

  virtual ~Publisher() = default;

  /// @brief Publishes a message it takes ownership of.
  void publish(std::unique_ptr<MessageT, ROSMessageTypeDeleter> msg) { this->do_publish(*msg); }

  /// @brief Publishes a copy of the message.
  void publish(const MessageT & msg) { this->do_publish(msg); }

  std::shared_ptr<PublishedTypeAllocator> get_allocator() const
  {
    return std::make_shared<PublishedTypeAllocator>();
  }

protected:
  const rclcpp::PublisherOptionsWithAllocator<AllocatorT> options_;

private:
  RCLCPP_DISABLE_COPY(Publisher<MessageT, AllocatorT>)

  bool is_transient_local() const
  {
    return qos_.durability() == rclcpp::DurabilityPolicy::TransientLocal;
  }

  void do_publish(const MessageT & msg)
  {
    // rcl_publish fails on a shut-down context and rclcpp drops the message silently.
    if (!context_->is_valid()) {
      return;
    }
    auto subscriptions = graph_->start_publish(*this, [this, &msg]() {
      if (!is_transient_local()) {
        return;
      }
      history_.push_back(std::make_shared<const MessageT>(msg));
      const size_t limit = rclcpp::detail::history_limit(qos_);
      while (limit > 0u && history_.size() > limit) {
        history_.pop_front();
      }
    });
    for (const auto & subscription : subscriptions) {
      graph_->deliver(*subscription, &msg);
    }
  }

  // Called by the graph with its lock held, like the recording in do_publish.
  void replay_history(SubscriptionBase & subscription) const override
  {
    for (const auto & msg : history_) {
      graph_->deliver(subscription, msg.get());
    }
  }

  std::deque<std::shared_ptr<const MessageT>> history_;
};

}  // namespace rclcpp

#endif  // RCLCPP__PUBLISHER_HPP_
