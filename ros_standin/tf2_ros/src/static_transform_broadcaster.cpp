#include "tf2_ros/static_transform_broadcaster.h"

#include <vector>

namespace tf2_ros
{

void StaticTransformBroadcaster::sendTransform(
  const geometry_msgs::msg::TransformStamped & transform)
{
  std::vector<geometry_msgs::msg::TransformStamped> v1;
  v1.push_back(transform);
  sendTransform(v1);
}

void StaticTransformBroadcaster::sendTransform(
  const std::vector<geometry_msgs::msg::TransformStamped> & msgtf)
{
  for (const auto & in : msgtf) {
    bool match_found = false;
    for (auto & latched : net_message_.transforms) {
      if (in.child_frame_id == latched.child_frame_id) {
        latched = in;
        match_found = true;
        break;
      }
    }
    if (!match_found) {
      net_message_.transforms.push_back(in);
    }
  }
  publisher_->publish(net_message_);
}

}  // namespace tf2_ros
