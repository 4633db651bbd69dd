#ifndef TF2_ROS__STATIC_TRANSFORM_BROADCASTER_H_
#define TF2_ROS__STATIC_TRANSFORM_BROADCASTER_H_

#include <memory>
#include <vector>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "rclcpp/rclcpp.hpp"
#include "tf2_msgs/msg/tf_message.hpp"
#include "tf2_ros/qos.hpp"

namespace tf2_ros
{

/// @brief Publishes transforms on "/tf_static", latched (transient local). Every
/// call republishes the whole set sent so far, so the latched message alone
/// describes every static frame of this broadcaster.
class StaticTransformBroadcaster
{
public:
  /// @brief `node` is anything rclcpp::create_publisher accepts.
  template<class NodeT, class AllocatorT = std::allocator<void>>
  StaticTransformBroadcaster(
    NodeT && node, const rclcpp::QoS & qos = StaticBroadcasterQoS(),
    const rclcpp::PublisherOptionsWithAllocator<AllocatorT> & options = []() {
      rclcpp::PublisherOptionsWithAllocator<AllocatorT> options;
      options.qos_overriding_options = rclcpp::QosOverridingOptions{
        rclcpp::QosPolicyKind::Depth, rclcpp::QosPolicyKind::History,
        rclcpp::QosPolicyKind::Reliability};
      // Humble's intra-process delivery cannot latch (transient local), so
      // upstream always publishes static transforms through the middleware.
      options.use_intra_process_comm = rclcpp::IntraProcessSetting::Disable;
      return options;
    }())
  {
    publisher_ =
      rclcpp::create_publisher<tf2_msgs::msg::TFMessage>(node, "/tf_static", qos, options);
  }

  /// @brief Adds (or replaces, by child_frame_id) one transform and republishes the set.
  void sendTransform(const geometry_msgs::msg::TransformStamped & transform);

  /// @brief Adds (or replaces, by child_frame_id) transforms and republishes the set.
  void sendTransform(const std::vector<geometry_msgs::msg::TransformStamped> & transforms);

private:
  rclcpp::Publisher<tf2_msgs::msg::TFMessage>::SharedPtr publisher_;
  tf2_msgs::msg::TFMessage net_message_;
};

}  // namespace tf2_ros

#endif  // TF2_ROS__STATIC_TRANSFORM_BROADCASTER_H_
