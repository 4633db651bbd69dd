// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "kestrune_example_layers/keepout_filter.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "map_file_path.hpp"
#include "map_io.hpp"
#include "nav2_costmap_2d/cost_values.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "pluginlib/class_list_macros.hpp"
#include "rclcpp/rclcpp.hpp"

namespace kestrune_example_layers
{

KeepoutFilter::KeepoutFilter() = default;

KeepoutFilter::~KeepoutFilter()
{
  // The timer's callback uses this object; drop it before anything else goes.
  check_timer_.reset();
}

void KeepoutFilter::onInitialize()
{
  auto node = node_.lock();
  if (!node) {
    throw std::runtime_error("keepout filter '" + name_ + "': the costmap node is gone");
  }
  logger_ = node->get_logger();

  declareParameter("enabled", rclcpp::ParameterValue(true));
  declareParameter("mask_file", rclcpp::ParameterValue(std::string("")));
  declareParameter("check_period", rclcpp::ParameterValue(1.0));
  std::string mask_file;
  double check_period = 0.0;
  node->get_parameter(getFullName("enabled"), enabled_);
  node->get_parameter(getFullName("mask_file"), mask_file);
  node->get_parameter(getFullName("check_period"), check_period);
  if (!std::isfinite(check_period) || check_period < 0.0) {
    throw std::invalid_argument(
      "parameter '" + getFullName("check_period") + "' is " + std::to_string(check_period) +
      ": it must be a finite number of seconds, zero or above");
  }

  mask_path_ = resolveMapFile(getFullName("mask_file"), mask_file);
  std::error_code error;
  mask_time_ = std::filesystem::last_write_time(mask_path_, error);
  mask_ = std::make_shared<const OccupancyMap>(loadMap(mask_path_));
  mask_changed_ = true;
  current_ = true;
  RCLCPP_INFO(
    logger_, "%s: loaded keepout mask %s (%ux%u cells at %.3f m)", name_.c_str(),
    mask_path_.c_str(), mask_->width, mask_->height, mask_->resolution);

  if (check_period > 0.0) {
    check_timer_ = node->create_wall_timer(
      std::chrono::milliseconds(static_cast<std::int64_t>(check_period * 1000.0)),
      [this]() { checkMaskFile(); }, callback_group_);
  }
}

void KeepoutFilter::checkMaskFile()
{
  std::error_code error;
  const auto time = std::filesystem::last_write_time(mask_path_, error);
  if (error || time == mask_time_) {
    return;
  }
  mask_time_ = time;
  std::shared_ptr<const OccupancyMap> mask;
  try {
    mask = std::make_shared<const OccupancyMap>(loadMap(mask_path_));
  } catch (const std::exception & e) {
    RCLCPP_ERROR(logger_, "%s: keeping the previous mask: %s", name_.c_str(), e.what());
    return;
  }
  // The map update thread reads the mask under the costmap's lock.
  std::lock_guard<nav2_costmap_2d::Costmap2D::mutex_t> lock(
    *layered_costmap_->getCostmap()->getMutex());
  replaced_mask_ = mask_;
  mask_ = mask;
  mask_changed_ = true;
  RCLCPP_INFO(
    logger_, "%s: keepout mask %s changed, loaded again", name_.c_str(), mask_path_.c_str());
}

void KeepoutFilter::reset()
{
  std::lock_guard<nav2_costmap_2d::Costmap2D::mutex_t> lock(
    *layered_costmap_->getCostmap()->getMutex());
  mask_changed_ = true;
}

void KeepoutFilter::addExtent(
  const OccupancyMap & mask, double * min_x, double * min_y, double * max_x, double * max_y)
{
  const double c = std::cos(mask.origin_yaw);
  const double s = std::sin(mask.origin_yaw);
  const double w = mask.width * mask.resolution;
  const double h = mask.height * mask.resolution;
  const std::pair<double, double> corners[] = {{0.0, 0.0}, {w, 0.0}, {0.0, h}, {w, h}};
  for (const auto & [lx, ly] : corners) {
    const double x = mask.origin_x + c * lx - s * ly;
    const double y = mask.origin_y + s * lx + c * ly;
    *min_x = std::min(*min_x, x);
    *min_y = std::min(*min_y, y);
    *max_x = std::max(*max_x, x);
    *max_y = std::max(*max_y, y);
  }
}

void KeepoutFilter::updateBounds(
  double, double, double, double * min_x, double * min_y, double * max_x, double * max_y)
{
  if (!enabled_ || !mask_changed_) {
    return;
  }
  addExtent(*mask_, min_x, min_y, max_x, max_y);
  if (replaced_mask_) {
    addExtent(*replaced_mask_, min_x, min_y, max_x, max_y);
    replaced_mask_.reset();
  }
  mask_changed_ = false;
}

void KeepoutFilter::updateCosts(
  nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j)
{
  if (!enabled_ || !mask_) {
    return;
  }
  for (int j = min_j; j < max_j; ++j) {
    for (int i = min_i; i < max_i; ++i) {
      double wx = 0.0;
      double wy = 0.0;
      master_grid.mapToWorld(i, j, wx, wy);
      unsigned int mx = 0;
      unsigned int my = 0;
      if (mask_->worldToCell(wx, wy, mx, my) && mask_->at(mx, my) >= 100) {
        master_grid.setCost(i, j, nav2_costmap_2d::LETHAL_OBSTACLE);
      }
    }
  }
}

}  // namespace kestrune_example_layers

PLUGINLIB_EXPORT_CLASS(kestrune_example_layers::KeepoutFilter, nav2_costmap_2d::Layer)
