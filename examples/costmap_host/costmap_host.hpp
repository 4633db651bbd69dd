// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__COSTMAP_HOST_HPP_
#define COSTMAP_HOST__COSTMAP_HOST_HPP_

#include <cstdint>
#include <memory>
#include <string>

#include "costmap_recorder.hpp"
#include "geometry_msgs/msg/polygon.hpp"
#include "host_options.hpp"
#include "interrupt_watch.hpp"
#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"
#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "rclcpp/rclcpp.hpp"
#include "robot_driver.hpp"

namespace kestrune_costmap_host
{

/**
 * @brief The demo's lifecycle manager: owns the costmap node, a robot that drives
 * through the map and a recorder of the published costmap, and takes the costmap
 * through two full lifecycles.
 *
 * The three nodes ("/costmap/costmap", "robot_driver", "costmap_host") are spun by one
 * single-threaded executor on a node thread; the costmap's private callback group is
 * the costmap's own business (its node thread). Transitions are called from the thread
 * that calls run().
 */
class CostmapHost
{
public:
  /// @brief Builds the nodes and starts spinning them; rclcpp must be initialized.
  CostmapHost(const HostOptions & options, InterruptWatch & interrupt);

  /// @brief Stops the spin thread before the nodes go.
  ~CostmapHost();

  /**
   * @brief configure, activate, run, deactivate, cleanup; again with a shorter run;
   * then saves and shows the last costmap.
   * @return the process exit status: 0, 1 when a step failed, 130 when interrupted
   */
  int run();

private:
  /// Runs one transition and reports it; false when the node did not reach @p goal.
  bool transition(const char * name, std::uint8_t transition_id, std::uint8_t goal);

  /// One lifecycle: configure, activate, a run of @p seconds, deactivate, cleanup.
  bool lifecycle(int number, double seconds, bool change_footprint);

  /// Lets the costmap work for @p seconds (longer if no costmap came yet), showing progress.
  void runFor(int number, double seconds, bool change_footprint);

  /// After a failure: deactivates and cleans up, as far as the node's state asks for.
  void bringDown();

  /// Publishes a larger footprint on the costmap's footprint topic.
  void publishFootprint();

  /// Saves, draws and sums up the last costmap received.
  bool report();

  HostOptions options_;
  InterruptWatch & interrupt_;
  std::shared_ptr<nav2_costmap_2d::KestruneCostmap2DROS> costmap_;
  rclcpp::Node::SharedPtr driver_node_;
  rclcpp::Node::SharedPtr host_node_;
  std::unique_ptr<RobotDriver> driver_;
  std::unique_ptr<CostmapRecorder> recorder_;
  rclcpp::Publisher<geometry_msgs::msg::Polygon>::SharedPtr footprint_pub_;
  rclcpp::executors::SingleThreadedExecutor::SharedPtr executor_;
  std::unique_ptr<nav2_util::KestruneNodeThread> executor_thread_;
};

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__COSTMAP_HOST_HPP_
