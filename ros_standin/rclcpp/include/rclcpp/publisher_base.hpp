#ifndef RCLCPP__PUBLISHER_BASE_HPP_
#define RCLCPP__PUBLISHER_BASE_HPP_

#include <memory>
#include <string>

#include "rclcpp/context.hpp"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/qos.hpp"

namespace rclcpp
{

class SubscriptionBase;

namespace node_interfaces
{
class NodeBaseInterface;
}  // namespace node_interfaces

/// @brief The type-independent part of a publisher.
class PublisherBase : public std::enable_shared_from_this<PublisherBase>
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(PublisherBase)

  /// @brief Resolves the topic name in the node's namespace.
  PublisherBase(
    rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & topic,
    const rclcpp::QoS & qos, const rclcpp::detail::InterfaceType & message_type);

  virtual ~PublisherBase();

  /// @brief The fully resolved topic name.
  const char * get_topic_name() const;

  /// @brief The history depth of the QoS.
  size_t get_queue_size() const;

  /// @brief The number of subscriptions on the topic.
  size_t get_subscription_count() const;

  /// @brief The QoS the publisher was created with.
  rclcpp::QoS get_actual_qos() const;

protected:
  rclcpp::Context::SharedPtr context_;
  std::shared_ptr<rclcpp::detail::InProcessGraph> graph_;
  std::string topic_name_;
  rclcpp::QoS qos_;

private:
  RCLCPP_DISABLE_COPY(PublisherBase)

  friend class rclcpp::detail::InProcessGraph;

  // Hands the kept messages of a transient-local publisher to a late-joining subscription.
  virtual void replay_history(SubscriptionBase & subscription) const;

  rclcpp::detail::InterfaceType message_type_;
};

}  // namespace rclcpp

#endif  // RCLCPP__PUBLISHER_BASE_HPP_
