#ifndef RCLCPP__SUBSCRIPTION_BASE_HPP_
#define RCLCPP__SUBSCRIPTION_BASE_HPP_

#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/qos.hpp"

namespace rclcpp
{

class Executor;

namespace node_interfaces
{
class NodeBaseInterface;
}  // namespace node_interfaces

/// @brief The type-independent part of a subscription: name, QoS and the queue of received
/// messages that the serving executor drains.
class SubscriptionBase : public std::enable_shared_from_this<SubscriptionBase>
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS_NOT_COPYABLE(SubscriptionBase)

  /// @brief Resolves the topic name in the node's namespace.
  SubscriptionBase(
    rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & topic_name,
    const rclcpp::QoS & qos, const rclcpp::detail::InterfaceType & message_type);

  virtual ~SubscriptionBase();

  /// @brief The fully resolved topic name.
  const char * get_topic_name() const;

  /// @brief The QoS the subscription was created with.
  rclcpp::QoS get_actual_qos() const;

  /// @brief The number of publishers on the topic.
  size_t get_publisher_count() const;

protected:
  /// Stores a copy of a message (already type-checked) in the queue.
  virtual void enqueue(const void * message) = 0;

  /// Runs the callback on the oldest queued message, if any.
  virtual void take_and_handle() = 0;

  /// True while a message is queued.
  virtual bool has_message() const = 0;

  std::shared_ptr<rclcpp::detail::InProcessGraph> graph_;
  std::string topic_name_;
  rclcpp::QoS qos_;

private:
  RCLCPP_DISABLE_COPY(SubscriptionBase)

  friend class rclcpp::detail::InProcessGraph;
  friend class rclcpp::Executor;

  rclcpp::detail::InterfaceType message_type_;
};

}  // namespace rclcpp

#endif  // RCLCPP__SUBSCRIPTION_BASE_HPP_
