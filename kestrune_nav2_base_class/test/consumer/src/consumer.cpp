// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// A user's program: a costmap node, a node thread serving a node, and the
// process logger, each through the installed headers and library.

#include <chrono>
#include <memory>
#include <thread>

#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"
#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "kestrune_nav2_base_class/logger.hpp"
#include "rclcpp/rclcpp.hpp"

int main(int argc, char ** argv)
{
  rclcpp::init(argc, argv);
  auto costmap = std::make_shared<nav2_costmap_2d::KestruneCostmap2DROS>("consumer_costmap");
  auto node = std::make_shared<rclcpp::Node>("consumer_node");
  int ticks = 0;
  auto timer = node->create_wall_timer(std::chrono::milliseconds(1), [&ticks]() { ++ticks; });
  {
    nav2_util::KestruneNodeThread spinner(node->get_node_base_interface());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  KESTRUNE_LOG_INFO(
    "consumer ran: costmap {} in the lifecycle state {}, {} timer ticks",
    costmap->get_node_base_interface()->get_fully_qualified_name(),
    costmap->get_current_state().label(), ticks > 0 ? "some" : "no");
  rclcpp::shutdown();
  return ticks > 0 ? 0 : 1;
}
