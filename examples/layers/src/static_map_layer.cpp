// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "kestrune_example_layers/static_map_layer.hpp"

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <string>

#include "map_file_path.hpp"
#include "map_io.hpp"
#include "nav2_costmap_2d/cost_values.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "pluginlib/class_list_macros.hpp"
#include "rclcpp/rclcpp.hpp"

namespace kestrune_example_layers
{

using nav2_costmap_2d::FREE_SPACE;
using nav2_costmap_2d::LETHAL_OBSTACLE;
using nav2_costmap_2d::NO_INFORMATION;

StaticMapLayer::StaticMapLayer() = default;

StaticMapLayer::~StaticMapLayer() = default;

void StaticMapLayer::onInitialize()
{
  auto node = node_.lock();
  if (!node) {
    throw std::runtime_error("static map layer '" + name_ + "': the costmap node is gone");
  }
  logger_ = node->get_logger();

  declareParameter("enabled", rclcpp::ParameterValue(true));
  declareParameter("map_file", rclcpp::ParameterValue(std::string("")));
  node->get_parameter(getFullName("enabled"), enabled_);
  node->get_parameter(getFullName("map_file"), map_file_);

  const std::string path = resolveMapFile(getFullName("map_file"), map_file_);
  map_ = std::make_unique<OccupancyMap>(loadMap(path));
  RCLCPP_INFO(
    logger_, "%s: loaded map %s (%ux%u cells at %.3f m)", name_.c_str(), path.c_str(), map_->width,
    map_->height, map_->resolution);

  current_ = true;
  matchSize();
}

void StaticMapLayer::reset()
{
  std::lock_guard<Costmap2D::mutex_t> guard(*getMutex());
  has_updated_data_ = true;
}

void StaticMapLayer::matchSize()
{
  std::lock_guard<Costmap2D::mutex_t> guard(*getMutex());
  CostmapLayer::matchSize();
  drawMap();
}

void StaticMapLayer::drawMap()
{
  if (!map_) {
    return;
  }
  setDefaultValue(layered_costmap_->isTrackingUnknown() ? NO_INFORMATION : FREE_SPACE);
  for (unsigned int j = 0; j < getSizeInCellsY(); ++j) {
    for (unsigned int i = 0; i < getSizeInCellsX(); ++i) {
      double wx = 0.0;
      double wy = 0.0;
      mapToWorld(i, j, wx, wy);
      unsigned int mx = 0;
      unsigned int my = 0;
      const bool on_map = map_->worldToCell(wx, wy, mx, my);
      setCost(i, j, on_map ? costOf(map_->at(mx, my)) : getDefaultValue());
    }
  }
  has_updated_data_ = true;
}

unsigned char StaticMapLayer::costOf(std::int8_t occupancy) const
{
  if (occupancy < 0) {
    return layered_costmap_->isTrackingUnknown() ? NO_INFORMATION : FREE_SPACE;
  }
  if (occupancy >= 100) {
    return LETHAL_OBSTACLE;
  }
  // Maps in scale mode carry values in between; they scale as Nav2's static layer scales them.
  return static_cast<unsigned char>(occupancy / 100.0 * LETHAL_OBSTACLE);
}

void StaticMapLayer::updateBounds(
  double, double, double, double * min_x, double * min_y, double * max_x, double * max_y)
{
  std::lock_guard<Costmap2D::mutex_t> guard(*getMutex());
  const Costmap2D * master = layered_costmap_->getCostmap();
  if (
    layered_costmap_->isRolling() &&
    (master->getOriginX() != getOriginX() || master->getOriginY() != getOriginY())) {
    // The window moved with the robot: redraw the map under it.
    matchSize();
  }
  if (!has_updated_data_) {
    return;
  }
  *min_x = std::min(*min_x, getOriginX());
  *min_y = std::min(*min_y, getOriginY());
  // Costmap2D's size in metres is half a cell short of its far edge; count cells instead.
  *max_x = std::max(*max_x, getOriginX() + getSizeInCellsX() * getResolution());
  *max_y = std::max(*max_y, getOriginY() + getSizeInCellsY() * getResolution());
  has_updated_data_ = false;
}

void StaticMapLayer::updateCosts(
  nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j)
{
  if (!enabled_) {
    return;
  }
  std::lock_guard<Costmap2D::mutex_t> guard(*getMutex());
  updateWithTrueOverwrite(master_grid, min_i, min_j, max_i, max_j);
}

}  // namespace kestrune_example_layers

PLUGINLIB_EXPORT_CLASS(kestrune_example_layers::StaticMapLayer, nav2_costmap_2d::Layer)
