// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "robot_driver.hpp"

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "geometry_msgs/msg/transform_stamped.hpp"

namespace kestrune_costmap_host
{

namespace
{

geometry_msgs::msg::TransformStamped makeTransform(
  const rclcpp::Time & stamp, const std::string & parent, const std::string & child,
  const Pose2D & pose)
{
  geometry_msgs::msg::TransformStamped transform;
  transform.header.stamp = stamp;
  transform.header.frame_id = parent;
  transform.child_frame_id = child;
  transform.transform.translation.x = pose.x;
  transform.transform.translation.y = pose.y;
  transform.transform.rotation.z = std::sin(pose.yaw / 2.0);
  transform.transform.rotation.w = std::cos(pose.yaw / 2.0);
  return transform;
}

}  // namespace

std::vector<Pose2D> demoPath()
{
  return {{1.0, 4.0, 0.0}, {4.95, 4.0, 0.0}, {4.95, 5.6, 0.0}, {4.95, 4.0, 0.0}, {9.0, 4.0, 0.0}};
}

RobotDriver::RobotDriver(rclcpp::Node::SharedPtr node, std::vector<Pose2D> path, double speed)
: node_(std::move(node)),
  path_(std::move(path)),
  speed_(speed)
{
  if (path_.size() < 2 || !(speed_ > 0.0)) {
    throw std::invalid_argument("a robot path needs two waypoints or more and a speed above zero");
  }
  path_length_.push_back(0.0);
  for (std::size_t i = 1; i < path_.size(); ++i) {
    path_length_.push_back(
      path_length_.back() + std::hypot(path_[i].x - path_[i - 1].x, path_[i].y - path_[i - 1].y));
  }
  broadcaster_ = std::make_shared<tf2_ros::TransformBroadcaster>(node_);
  static_broadcaster_ = std::make_shared<tf2_ros::StaticTransformBroadcaster>(node_);
  timer_ = node_->create_wall_timer(std::chrono::milliseconds(50), [this]() { onTimer(); });
}

void RobotDriver::start(std::chrono::milliseconds delay)
{
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = true;
  static_sent_ = false;
  start_at_ = std::chrono::steady_clock::now() + delay;
}

void RobotDriver::stop()
{
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = false;
}

bool RobotDriver::pose(Pose2D & pose) const
{
  std::lock_guard<std::mutex> lock(mutex_);
  pose = pose_;
  return has_pose_;
}

Pose2D RobotDriver::poseAt(double seconds) const
{
  // Out and back: fold the distance travelled into [0, length].
  const double length = path_length_.back();
  double s = std::fmod(seconds * speed_, 2.0 * length);
  const bool returning = s > length;
  if (returning) {
    s = 2.0 * length - s;
  }
  std::size_t i = 1;
  while (i + 1 < path_.size() && path_length_[i] < s) {
    ++i;
  }
  const Pose2D & a = path_[i - 1];
  const Pose2D & b = path_[i];
  const double segment = path_length_[i] - path_length_[i - 1];
  const double t = segment > 0.0 ? (s - path_length_[i - 1]) / segment : 0.0;
  Pose2D pose;
  pose.x = a.x + t * (b.x - a.x);
  pose.y = a.y + t * (b.y - a.y);
  pose.yaw = std::atan2(b.y - a.y, b.x - a.x) + (returning ? M_PI : 0.0);
  return pose;
}

void RobotDriver::onTimer()
{
  bool send_static = false;
  Pose2D pose;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (!running_ || now < start_at_) {
      return;
    }
    send_static = !static_sent_;
    static_sent_ = true;
    pose = poseAt(std::chrono::duration<double>(now - start_at_).count());
    pose_ = pose;
    has_pose_ = true;
  }
  const rclcpp::Time stamp = node_->now();
  if (send_static) {
    // Odometry without drift: odom sits on map. Sent at each start, as a new costmap
    // configuration brings a new transform listener.
    static_broadcaster_->sendTransform(makeTransform(stamp, "map", "odom", Pose2D{}));
  }
  broadcaster_->sendTransform(makeTransform(stamp, "odom", "base_link", pose));
}

}  // namespace kestrune_costmap_host
