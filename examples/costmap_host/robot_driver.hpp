// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__ROBOT_DRIVER_HPP_
#define COSTMAP_HOST__ROBOT_DRIVER_HPP_

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "rclcpp/rclcpp.hpp"
#include "tf2_ros/static_transform_broadcaster.h"
#include "tf2_ros/transform_broadcaster.h"

namespace kestrune_costmap_host
{

/// @brief A position and heading in the plane.
struct Pose2D
{
  double x{0.0};
  double y{0.0};
  double yaw{0.0};
};

/**
 * @brief Plays a robot driving along a path: broadcasts map -> odom (static) and
 * odom -> base_link (at 20 Hz) once started.
 *
 * The robot goes along the path and back at a constant speed. Broadcasting starts a
 * chosen delay after start() is called, so a costmap that activates at the same time
 * has to wait for the transform. The timer runs on whatever executor spins the node.
 */
class RobotDriver
{
public:
  /**
   * @param node node to broadcast from ("robot_driver")
   * @param path waypoints in the map frame, at least two
   * @param speed metres per second, above zero
   */
  RobotDriver(rclcpp::Node::SharedPtr node, std::vector<Pose2D> path, double speed);

  /// @brief Starts broadcasting after @p delay, the robot at the start of its path.
  void start(std::chrono::milliseconds delay);

  /// @brief Stops broadcasting (the last transforms grow old).
  void stop();

  /// @brief Where the robot was at its last broadcast, and whether it has broadcast yet.
  bool pose(Pose2D & pose) const;

private:
  void onTimer();
  Pose2D poseAt(double seconds) const;

  rclcpp::Node::SharedPtr node_;
  std::vector<Pose2D> path_;
  std::vector<double> path_length_;  // distance along the path to each waypoint
  double speed_;
  std::shared_ptr<tf2_ros::TransformBroadcaster> broadcaster_;
  std::shared_ptr<tf2_ros::StaticTransformBroadcaster> static_broadcaster_;
  rclcpp::TimerBase::SharedPtr timer_;

  mutable std::mutex mutex_;
  bool running_{false};
  bool static_sent_{false};
  bool has_pose_{false};
  std::chrono::steady_clock::time_point start_at_;
  Pose2D pose_;
};

/// @brief The demo's path: along the corridor, into the upper middle room and back out.
std::vector<Pose2D> demoPath();

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__ROBOT_DRIVER_HPP_
