// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "costmap_recorder.hpp"

#include <algorithm>
#include <cstddef>
#include <string>

namespace kestrune_costmap_host
{

CostmapRecorder::CostmapRecorder(const rclcpp::Node::SharedPtr & node, const std::string & topic)
{
  // Volatile is enough: the host subscribes before the costmap publishes anything.
  const rclcpp::QoS qos = rclcpp::QoS(10).reliable();
  grid_sub_ = node->create_subscription<nav_msgs::msg::OccupancyGrid>(
    topic, qos,
    [this](const nav_msgs::msg::OccupancyGrid::ConstSharedPtr & grid) { onGrid(grid); });
  update_sub_ = node->create_subscription<map_msgs::msg::OccupancyGridUpdate>(
    topic + "_updates", qos,
    [this](const map_msgs::msg::OccupancyGridUpdate::ConstSharedPtr & update) {
      onUpdate(update);
    });
}

std::size_t CostmapRecorder::received() const
{
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

std::optional<nav_msgs::msg::OccupancyGrid> CostmapRecorder::latest() const
{
  std::lock_guard<std::mutex> lock(mutex_);
  return grid_;
}

void CostmapRecorder::onGrid(const nav_msgs::msg::OccupancyGrid::ConstSharedPtr & grid)
{
  std::lock_guard<std::mutex> lock(mutex_);
  grid_ = *grid;
  ++received_;
}

void CostmapRecorder::onUpdate(const map_msgs::msg::OccupancyGridUpdate::ConstSharedPtr & update)
{
  std::lock_guard<std::mutex> lock(mutex_);
  if (!grid_ || update->x < 0 || update->y < 0) {
    return;
  }
  const std::size_t x = static_cast<std::size_t>(update->x);
  const std::size_t y = static_cast<std::size_t>(update->y);
  const std::size_t width = grid_->info.width;
  // An update that does not fit the grid we hold belongs to a grid we missed.
  if (
    x + update->width > width || y + update->height > grid_->info.height ||
    update->data.size() != std::size_t{update->width} * update->height) {
    return;
  }
  for (std::size_t row = 0; row < update->height; ++row) {
    const auto from = static_cast<std::ptrdiff_t>(row * update->width);
    const auto to = static_cast<std::ptrdiff_t>((y + row) * width + x);
    std::copy_n(update->data.begin() + from, update->width, grid_->data.begin() + to);
  }
  ++received_;
}

}  // namespace kestrune_costmap_host
