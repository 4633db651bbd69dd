#ifndef RCLCPP__TOPIC_STATISTICS_STATE_HPP_
#define RCLCPP__TOPIC_STATISTICS_STATE_HPP_

namespace rclcpp
{

/// @brief Whether a subscription publishes topic statistics (stored only in the stand-in).
enum class TopicStatisticsState
{
  Enable,
  Disable,
  NodeDefault
};

}  // namespace rclcpp

#endif  // RCLCPP__TOPIC_STATISTICS_STATE_HPP_
