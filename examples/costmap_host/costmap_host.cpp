// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "costmap_host.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <utility>

#include "costmap_text.hpp"
#include "costmap_writer.hpp"
#include "fmt/format.h"
#include "lifecycle_msgs/msg/state.hpp"
#include "lifecycle_msgs/msg/transition.hpp"
#include "progress_line.hpp"

namespace kestrune_costmap_host
{

namespace
{

using lifecycle_msgs::msg::State;
using lifecycle_msgs::msg::Transition;
using CallbackReturn = rclcpp_lifecycle::node_interfaces::LifecycleNodeInterface::CallbackReturn;

// The driver starts a moment after activate begins, so the transform wait shows in the log.
constexpr std::chrono::milliseconds kDriverDelay{500};
// A run that has seen no costmap yet waits this much longer for one.
constexpr double kCostmapGrace = 10.0;
constexpr double kRobotSpeed = 0.8;

const char * stateLabel(std::uint8_t id)
{
  switch (id) {
    case State::PRIMARY_STATE_UNCONFIGURED:
      return "unconfigured";
    case State::PRIMARY_STATE_INACTIVE:
      return "inactive";
    case State::PRIMARY_STATE_ACTIVE:
      return "active";
    case State::PRIMARY_STATE_FINALIZED:
      return "finalized";
    default:
      return "a transition state";
  }
}

const char * resultLabel(CallbackReturn result)
{
  switch (result) {
    case CallbackReturn::SUCCESS:
      return "success";
    case CallbackReturn::FAILURE:
      return "failure";
    default:
      return "error";
  }
}

}  // namespace

CostmapHost::CostmapHost(const HostOptions & options, InterruptWatch & interrupt)
: options_(options),
  interrupt_(interrupt)
{
  costmap_ = std::make_shared<nav2_costmap_2d::KestruneCostmap2DROS>("costmap");
  driver_node_ = std::make_shared<rclcpp::Node>("robot_driver");
  host_node_ = std::make_shared<rclcpp::Node>("costmap_host");
  driver_ = std::make_unique<RobotDriver>(driver_node_, demoPath(), kRobotSpeed);
  recorder_ = std::make_unique<CostmapRecorder>(host_node_, "/costmap/costmap");
  footprint_pub_ = host_node_->create_publisher<geometry_msgs::msg::Polygon>(
    "/costmap/footprint", rclcpp::SystemDefaultsQoS());

  // The costmap's footprint subscription sits in its default group: this executor serves it.
  executor_ = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
  executor_->add_node(costmap_->get_node_base_interface());
  executor_->add_node(driver_node_->get_node_base_interface());
  executor_->add_node(host_node_->get_node_base_interface());
  executor_thread_ = std::make_unique<nav2_util::KestruneNodeThread>(executor_);
}

CostmapHost::~CostmapHost()
{
  // Callbacks use the objects below; stop serving them first.
  executor_thread_.reset();
}

int CostmapHost::run()
{
  const bool ran =
    lifecycle(1, options_.duration, true) && lifecycle(2, options_.duration / 2.0, false);
  if (!ran) {
    bringDown();
  }
  if (interrupt_.interrupted()) {
    std::cerr << "costmap_host: interrupted, no costmap saved" << std::endl;
    return 130;
  }
  if (!ran) {
    return 1;
  }
  return report() ? 0 : 1;
}

bool CostmapHost::transition(const char * name, std::uint8_t transition_id, std::uint8_t goal)
{
  CallbackReturn result = CallbackReturn::ERROR;
  const auto start = std::chrono::steady_clock::now();
  const std::uint8_t reached = costmap_->trigger_transition(transition_id, result).id();
  const double ms =
    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (reached == goal) {
    std::cout << fmt::format("{}: success ({:.1f} ms)", name, ms) << std::endl;
    return true;
  }
  std::cout << fmt::format("{}: {} ({:.1f} ms)", name, resultLabel(result), ms) << std::endl;
  std::cerr
    << fmt::format(
         "costmap_host: the {} transition of '{}' did not succeed: the node ended in state '{}' "
         "instead of '{}' (the costmap's log above says why)",
         name, costmap_->get_node_base_interface()->get_fully_qualified_name(), stateLabel(reached),
         stateLabel(goal))
    << std::endl;
  return false;
}

bool CostmapHost::lifecycle(int number, double seconds, bool change_footprint)
{
  std::cout << fmt::format("--- lifecycle {}: {:.1f} s run ---", number, seconds) << std::endl;
  if (!transition("configure", Transition::TRANSITION_CONFIGURE, State::PRIMARY_STATE_INACTIVE)) {
    return false;
  }
  driver_->start(kDriverDelay);
  // Activate waits for the robot's transform for as long as ROS runs; an interrupt
  // must be able to end that wait.
  interrupt_.setShutdownOnInterrupt(true);
  const bool activated =
    transition("activate", Transition::TRANSITION_ACTIVATE, State::PRIMARY_STATE_ACTIVE);
  interrupt_.setShutdownOnInterrupt(false);
  if (!activated) {
    return false;
  }
  runFor(number, seconds, change_footprint);
  if (!transition("deactivate", Transition::TRANSITION_DEACTIVATE, State::PRIMARY_STATE_INACTIVE)) {
    return false;
  }
  driver_->stop();
  if (!transition("cleanup", Transition::TRANSITION_CLEANUP, State::PRIMARY_STATE_UNCONFIGURED)) {
    return false;
  }
  return !interrupt_.interrupted();
}

void CostmapHost::runFor(int number, double seconds, bool change_footprint)
{
  ProgressLine progress(stderr);
  const std::size_t received_before = recorder_->received();
  const auto start = std::chrono::steady_clock::now();
  bool footprint_sent = !change_footprint;
  for (;;) {
    const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t received = recorder_->received() - received_before;
    if (elapsed >= seconds && (received > 0 || elapsed >= seconds + kCostmapGrace)) {
      break;
    }
    if (!footprint_sent && elapsed >= seconds / 2.0) {
      progress.finish();
      publishFootprint();
      footprint_sent = true;
    }
    Pose2D pose;
    const std::string where = driver_->pose(pose)
                                ? fmt::format(
                                    "robot at ({:.2f}, {:.2f}) heading {:.0f} deg", pose.x, pose.y,
                                    std::remainder(pose.yaw, 2.0 * M_PI) * 180.0 / M_PI)
                                : std::string("robot not moving yet");
    progress.show(fmt::format(
      "[run {}] {:.1f} / {:.1f} s, {} costmap updates, {}", number, elapsed, seconds, received,
      where));
    if (interrupt_.waitFor(std::chrono::milliseconds(100))) {
      break;
    }
  }
  progress.finish();
}

void CostmapHost::publishFootprint()
{
  // A bigger robot: a wider inscribed circle, so the inflation layer re-inflates.
  geometry_msgs::msg::Polygon polygon;
  const std::pair<double, double> corners[] = {
    {0.35, 0.3}, {0.35, -0.3}, {-0.35, -0.3}, {-0.35, 0.3}};
  for (const auto & [x, y] : corners) {
    geometry_msgs::msg::Point32 point;
    point.x = static_cast<float>(x);
    point.y = static_cast<float>(y);
    polygon.points.push_back(point);
  }
  footprint_pub_->publish(polygon);
  std::cout << "footprint: sent a 0.70 m x 0.60 m footprint on /costmap/footprint" << std::endl;
}

void CostmapHost::bringDown()
{
  const std::uint8_t state = costmap_->get_current_state().id();
  if (state == State::PRIMARY_STATE_ACTIVE) {
    transition("deactivate", Transition::TRANSITION_DEACTIVATE, State::PRIMARY_STATE_INACTIVE);
  }
  if (costmap_->get_current_state().id() == State::PRIMARY_STATE_INACTIVE) {
    transition("cleanup", Transition::TRANSITION_CLEANUP, State::PRIMARY_STATE_UNCONFIGURED);
  }
  driver_->stop();
}

bool CostmapHost::report()
{
  const auto grid = recorder_->latest();
  if (!grid) {
    std::cerr << "costmap_host: no costmap arrived on /costmap/costmap, nothing to save"
              << std::endl;
    return false;
  }
  SavedCostmap saved;
  try {
    saved = saveCostmap(*grid, options_.output);
  } catch (const std::exception & e) {
    std::cerr << "costmap_host: saving the costmap failed: " << e.what() << std::endl;
    return false;
  }
  std::cout << "costmap saved to " << saved.image << " and " << saved.yaml << "\n"
            << renderCostmap(*grid) << summaryLine(*grid) << std::endl;
  return true;
}

}  // namespace kestrune_costmap_host
