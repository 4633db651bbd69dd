#ifndef TF2_ROS__QOS_HPP_
#define TF2_ROS__QOS_HPP_

#include <cstddef>

#include "rclcpp/qos.hpp"

namespace tf2_ros
{

/// @brief QoS of the "/tf" subscriptions: keep last `depth`, reliable, volatile.
class DynamicListenerQoS : public rclcpp::QoS
{
public:
  explicit DynamicListenerQoS(size_t depth = 100)
  : rclcpp::QoS(depth)
  {
  }
};

/// @brief QoS of the "/tf" publishers: keep last `depth`, reliable, volatile.
class DynamicBroadcasterQoS : public rclcpp::QoS
{
public:
  explicit DynamicBroadcasterQoS(size_t depth = 100)
  : rclcpp::QoS(depth)
  {
  }
};

/// @brief QoS of the "/tf_static" subscriptions: transient local, so a late
/// listener still receives what was latched before it existed.
class StaticListenerQoS : public rclcpp::QoS
{
public:
  explicit StaticListenerQoS(size_t depth = 100)
  : rclcpp::QoS(depth)
  {
    transient_local();
  }
};

/// @brief QoS of the "/tf_static" publishers: transient local, depth 1, since the
/// broadcaster always republishes its whole set in one message.
class StaticBroadcasterQoS : public rclcpp::QoS
{
public:
  explicit StaticBroadcasterQoS(size_t depth = 1)
  : rclcpp::QoS(depth)
  {
    transient_local();
  }
};

}  // namespace tf2_ros

#endif  // TF2_ROS__QOS_HPP_
