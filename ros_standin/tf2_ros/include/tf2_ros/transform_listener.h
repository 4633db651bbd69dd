#ifndef TF2_ROS__TRANSFORM_LISTENER_H_
#define TF2_ROS__TRANSFORM_LISTENER_H_

#include <functional>
#include <memory>
#include <thread>
#include <utility>

#include "rclcpp/rclcpp.hpp"
#include "tf2/buffer_core.h"
#include "tf2/time.h"
#include "tf2_msgs/msg/tf_message.hpp"
#include "tf2_ros/qos.hpp"

namespace tf2_ros
{

namespace detail
{

template<class AllocatorT = std::allocator<void>>
rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> get_default_transform_listener_sub_options()
{
  rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> options;
  options.qos_overriding_options = rclcpp::QosOverridingOptions{
    rclcpp::QosPolicyKind::Depth, rclcpp::QosPolicyKind::Durability, rclcpp::QosPolicyKind::History,
    rclcpp::QosPolicyKind::Reliability};
  return options;
}

template<class AllocatorT = std::allocator<void>>
rclcpp::SubscriptionOptionsWithAllocator<AllocatorT>
get_default_transform_listener_static_sub_options()
{
  rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> options;
  options.qos_overriding_options = rclcpp::QosOverridingOptions{
    rclcpp::QosPolicyKind::Depth, rclcpp::QosPolicyKind::History,
    rclcpp::QosPolicyKind::Reliability};
  return options;
}

}  // namespace detail

/// @brief Fills a BufferCore from "/tf" and "/tf_static".
class TransformListener
{
public:
  /// @brief Listens through a private node "transform_listener_impl_<address>";
  /// with `spin_thread` that node's subscriptions are served by a thread of
  /// the listener and the buffer is told it has a dedicated thread.
  explicit TransformListener(tf2::BufferCore & buffer, bool spin_thread = true);

  /// @brief Listens through `node`. With `spin_thread` the subscriptions go in
  /// a callback group of their own (not added automatically to executors of
  /// the node) that a thread of the listener spins; otherwise they go in the
  /// node's default group and whoever spins the node fills the buffer.
  template<class NodeT, class AllocatorT = std::allocator<void>>
  TransformListener(
    tf2::BufferCore & buffer, NodeT && node, bool spin_thread = true,
    const rclcpp::QoS & qos = DynamicListenerQoS(),
    const rclcpp::QoS & static_qos = StaticListenerQoS(),
    const rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> & options =
      detail::get_default_transform_listener_sub_options<AllocatorT>(),
    const rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> & static_options =
      detail::get_default_transform_listener_static_sub_options<AllocatorT>())
  : buffer_(buffer)
  {
    init(node, spin_thread, qos, static_qos, options, static_options);
  }

  /// @brief Cancels the listener's executor and joins its thread.
  virtual ~TransformListener();

private:
  template<class NodeT, class AllocatorT = std::allocator<void>>
  void init(
    NodeT && node, bool spin_thread, const rclcpp::QoS & qos, const rclcpp::QoS & static_qos,
    const rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> & options,
    const rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> & static_options)
  {
    spin_thread_ = spin_thread;
    node_base_interface_ = node->get_node_base_interface();
    node_logging_interface_ = node->get_node_logging_interface();

    using callback_t = std::function<void(tf2_msgs::msg::TFMessage::ConstSharedPtr)>;
    callback_t cb =
      std::bind(&TransformListener::subscription_callback, this, std::placeholders::_1, false);
    callback_t static_cb =
      std::bind(&TransformListener::subscription_callback, this, std::placeholders::_1, true);

    if (spin_thread_) {
      // Not added automatically, so an executor the user adds the node to
      // never services tf; only the listener's own executor does.
      callback_group_ = node_base_interface_->create_callback_group(
        rclcpp::CallbackGroupType::MutuallyExclusive, false);
      rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> tf_options = options;
      rclcpp::SubscriptionOptionsWithAllocator<AllocatorT> tf_static_options = static_options;
      tf_options.callback_group = callback_group_;
      tf_static_options.callback_group = callback_group_;

      message_subscription_tf_ = rclcpp::create_subscription<tf2_msgs::msg::TFMessage>(
        node, "/tf", qos, std::move(cb), tf_options);
      message_subscription_tf_static_ = rclcpp::create_subscription<tf2_msgs::msg::TFMessage>(
        node, "/tf_static", static_qos, std::move(static_cb), tf_static_options);

      // Default options: the executor lives on the global default context,
      // whatever context the node was made on.
      executor_ = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
      executor_->add_callback_group(callback_group_, node_base_interface_);
      dedicated_listener_thread_ = std::make_unique<std::thread>([&]() { executor_->spin(); });
      // Only now may Buffer::canTransform wait with a timeout.
      buffer_.setUsingDedicatedThread(true);
    } else {
      message_subscription_tf_ = rclcpp::create_subscription<tf2_msgs::msg::TFMessage>(
        node, "/tf", qos, std::move(cb), options);
      message_subscription_tf_static_ = rclcpp::create_subscription<tf2_msgs::msg::TFMessage>(
        node, "/tf_static", static_qos, std::move(static_cb), static_options);
    }
  }

  void subscription_callback(tf2_msgs::msg::TFMessage::ConstSharedPtr msg, bool is_static);

  std::unique_ptr<std::thread> dedicated_listener_thread_;
  rclcpp::Node::SharedPtr optional_default_node_ = nullptr;
  rclcpp::Subscription<tf2_msgs::msg::TFMessage>::SharedPtr message_subscription_tf_;
  rclcpp::Subscription<tf2_msgs::msg::TFMessage>::SharedPtr message_subscription_tf_static_;
  tf2::BufferCore & buffer_;
  tf2::TimePoint last_update_;
  rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr node_logging_interface_;
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base_interface_;
  bool spin_thread_{false};
  rclcpp::executors::SingleThreadedExecutor::SharedPtr executor_;
  rclcpp::CallbackGroup::SharedPtr callback_group_{nullptr};
};

}  // namespace tf2_ros

#endif  // TF2_ROS__TRANSFORM_LISTENER_H_
