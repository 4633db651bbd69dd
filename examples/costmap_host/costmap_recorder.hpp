// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__COSTMAP_RECORDER_HPP_
#define COSTMAP_HOST__COSTMAP_RECORDER_HPP_

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

#include "map_msgs/msg/occupancy_grid_update.hpp"
#include "nav_msgs/msg/occupancy_grid.hpp"
#include "rclcpp/rclcpp.hpp"

namespace kestrune_costmap_host
{

/**
 * @brief Keeps the latest costmap published on a topic: full grids on `<topic>` and
 * window updates on `<topic>_updates`, patched into the last full grid.
 *
 * The callbacks run on whatever executor spins the node; the accessors may be called
 * from any thread.
 */
class CostmapRecorder
{
public:
  /// @brief Subscribes @p node to @p topic (e.g. "/costmap/costmap") and its updates.
  CostmapRecorder(const rclcpp::Node::SharedPtr & node, const std::string & topic);

  /// @brief Full grids and updates received so far.
  std::size_t received() const;

  /// @brief The latest costmap, if any arrived.
  std::optional<nav_msgs::msg::OccupancyGrid> latest() const;

private:
  void onGrid(const nav_msgs::msg::OccupancyGrid::ConstSharedPtr & grid);
  void onUpdate(const map_msgs::msg::OccupancyGridUpdate::ConstSharedPtr & update);

  mutable std::mutex mutex_;
  std::optional<nav_msgs::msg::OccupancyGrid> grid_;
  std::size_t received_{0};
  rclcpp::Subscription<nav_msgs::msg::OccupancyGrid>::SharedPtr grid_sub_;
  rclcpp::Subscription<map_msgs::msg::OccupancyGridUpdate>::SharedPtr update_sub_;
};

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__COSTMAP_RECORDER_HPP_
