// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// What the costmap benchmarks' nodes see around them, the same for the
// library's node and for Nav2's: the robot's transform, a static map, a laser
// scan and a viewer of the published costmap, all from one node spun on a
// thread of its own.

#ifndef SUPPORT__BENCH_WORLD_HPP_
#define SUPPORT__BENCH_WORLD_HPP_

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "map_msgs/msg/occupancy_grid_update.hpp"
#include "nav_msgs/msg/occupancy_grid.hpp"
#include "rclcpp/rclcpp.hpp"
#include "sensor_msgs/msg/laser_scan.hpp"
#include "tf2_ros/static_transform_broadcaster.h"

namespace kestrune_bench
{

/// The map the static layer is given: 20 m x 20 m at 0.05 m, centred on the robot.
struct MapGeometry
{
  static constexpr int kMeters = 20;
  static constexpr double kResolution = 0.05;
  static constexpr double kOrigin = -10.0;
  static constexpr int kCells = 400;
};

class BenchWorld
{
public:
  /// @p viewed: the namespaces of the costmap nodes whose published costmap is watched.
  explicit BenchWorld(const std::vector<std::string> & viewed)
  : node_(std::make_shared<rclcpp::Node>("bench_world")),
    broadcaster_(node_)
  {
    broadcaster_.sendTransform(RobotTransform());
    // Transient local: every static layer configured later still receives it.
    map_publisher_ = node_->create_publisher<nav_msgs::msg::OccupancyGrid>(
      "/map", rclcpp::QoS(1).transient_local().reliable());
    map_publisher_->publish(Map());
    scan_publisher_ =
      node_->create_publisher<sensor_msgs::msg::LaserScan>("/scan", rclcpp::SensorDataQoS());
    scan_timer_ = node_->create_wall_timer(std::chrono::milliseconds(100), [this]() {
      if (scanning_) {
        scan_publisher_->publish(Scan());
      }
    });
    for (const auto & name : viewed) {
      // What RViz subscribes to: the whole grid once, then its updates.
      grid_subscriptions_.push_back(node_->create_subscription<nav_msgs::msg::OccupancyGrid>(
        "/" + name + "/costmap", rclcpp::QoS(1).transient_local().reliable(),
        [this](nav_msgs::msg::OccupancyGrid::ConstSharedPtr) { ++received_; }));
      update_subscriptions_.push_back(
        node_->create_subscription<map_msgs::msg::OccupancyGridUpdate>(
          "/" + name + "/costmap_updates", rclcpp::SystemDefaultsQoS(),
          [this](map_msgs::msg::OccupancyGridUpdate::ConstSharedPtr) { ++received_; }));
    }
    spinner_ = std::make_unique<nav2_util::KestruneNodeThread>(node_->get_node_base_interface());
  }

  /// Starts or stops the 10 Hz scan.
  void SetScanning(bool scanning) { scanning_ = scanning; }

  /// Costmap messages (whole grids and updates) the viewer has received so far.
  std::uint64_t Received() const { return received_; }

private:
  geometry_msgs::msg::TransformStamped RobotTransform() const
  {
    geometry_msgs::msg::TransformStamped transform;
    transform.header.stamp = node_->now();
    transform.header.frame_id = "map";
    transform.child_frame_id = "base_link";
    transform.transform.rotation.w = 1.0;
    return transform;
  }

  /// Walls around the border and a few boxes, the rest free.
  nav_msgs::msg::OccupancyGrid Map() const
  {
    nav_msgs::msg::OccupancyGrid map;
    map.header.frame_id = "map";
    map.header.stamp = node_->now();
    map.info.resolution = MapGeometry::kResolution;
    map.info.width = MapGeometry::kCells;
    map.info.height = MapGeometry::kCells;
    map.info.origin.position.x = MapGeometry::kOrigin;
    map.info.origin.position.y = MapGeometry::kOrigin;
    map.info.origin.orientation.w = 1.0;
    constexpr int kCells = MapGeometry::kCells;
    map.data.assign(kCells * kCells, 0);
    for (int y = 0; y < kCells; ++y) {
      for (int x = 0; x < kCells; ++x) {
        const bool wall = x < 2 || y < 2 || x >= kCells - 2 || y >= kCells - 2;
        const bool box = (x / 40) % 3 == 1 && (y / 40) % 3 == 1 && x % 40 < 12 && y % 40 < 12;
        if (wall || box) {
          map.data[y * kCells + x] = 100;
        }
      }
    }
    return map;
  }

  /// 360 beams seeing a wavy ring 1 to 2 m around the robot.
  sensor_msgs::msg::LaserScan Scan() const
  {
    constexpr int kBeams = 360;
    sensor_msgs::msg::LaserScan scan;
    scan.header.frame_id = "base_link";
    scan.header.stamp = node_->now();
    scan.angle_min = -M_PI;
    scan.angle_increment = 2.0 * M_PI / kBeams;
    scan.angle_max = scan.angle_min + scan.angle_increment * (kBeams - 1);
    scan.range_min = 0.1;
    scan.range_max = 10.0;
    scan.scan_time = 0.1;
    scan.ranges.resize(kBeams);
    for (int i = 0; i < kBeams; ++i) {
      scan.ranges[i] =
        static_cast<float>(1.5 + 0.5 * std::sin(3.0 * (scan.angle_min + i * scan.angle_increment)));
    }
    return scan;
  }

  rclcpp::Node::SharedPtr node_;
  tf2_ros::StaticTransformBroadcaster broadcaster_;
  rclcpp::Publisher<nav_msgs::msg::OccupancyGrid>::SharedPtr map_publisher_;
  rclcpp::Publisher<sensor_msgs::msg::LaserScan>::SharedPtr scan_publisher_;
  rclcpp::TimerBase::SharedPtr scan_timer_;
  std::vector<rclcpp::SubscriptionBase::SharedPtr> grid_subscriptions_;
  std::vector<rclcpp::SubscriptionBase::SharedPtr> update_subscriptions_;
  std::atomic<bool> scanning_{false};
  std::atomic<std::uint64_t> received_{0};
  // Last: it stops spinning before the rest goes.
  std::unique_ptr<nav2_util::KestruneNodeThread> spinner_;
};

}  // namespace kestrune_bench

#endif  // SUPPORT__BENCH_WORLD_HPP_
