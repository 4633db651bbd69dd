// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "kestrune_example_layers/inflation_layer.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "nav2_costmap_2d/cost_values.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "pluginlib/class_list_macros.hpp"
#include "rclcpp/rclcpp.hpp"

namespace kestrune_example_layers
{

using nav2_costmap_2d::FREE_SPACE;
using nav2_costmap_2d::INSCRIBED_INFLATED_OBSTACLE;
using nav2_costmap_2d::LETHAL_OBSTACLE;
using nav2_costmap_2d::NO_INFORMATION;

namespace
{

double checkedNonNegative(const std::string & parameter, double value)
{
  if (!std::isfinite(value) || value < 0.0) {
    throw std::invalid_argument(
      "parameter '" + parameter + "' is " + std::to_string(value) +
      ": it must be a finite number, zero or above");
  }
  return value;
}

}  // namespace

InflationLayer::InflationLayer()
: last_min_x_(-std::numeric_limits<float>::max()),
  last_min_y_(-std::numeric_limits<float>::max()),
  last_max_x_(std::numeric_limits<float>::max()),
  last_max_y_(std::numeric_limits<float>::max())
{
}

InflationLayer::~InflationLayer() = default;

void InflationLayer::onInitialize()
{
  auto node = node_.lock();
  if (!node) {
    throw std::runtime_error("inflation layer '" + name_ + "': the costmap node is gone");
  }
  logger_ = node->get_logger();

  declareParameter("enabled", rclcpp::ParameterValue(true));
  declareParameter("inflation_radius", rclcpp::ParameterValue(0.55));
  declareParameter("cost_scaling_factor", rclcpp::ParameterValue(10.0));
  declareParameter("inflate_unknown", rclcpp::ParameterValue(false));
  node->get_parameter(getFullName("enabled"), enabled_);
  node->get_parameter(getFullName("inflation_radius"), inflation_radius_);
  node->get_parameter(getFullName("cost_scaling_factor"), cost_scaling_factor_);
  node->get_parameter(getFullName("inflate_unknown"), inflate_unknown_);
  checkedNonNegative(getFullName("inflation_radius"), inflation_radius_);
  checkedNonNegative(getFullName("cost_scaling_factor"), cost_scaling_factor_);

  current_ = true;
  need_reinflation_ = false;
  matchSize();
}

void InflationLayer::reset()
{
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  need_reinflation_ = true;
}

void InflationLayer::matchSize()
{
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  nav2_costmap_2d::Costmap2D * master = layered_costmap_->getCostmap();
  resolution_ = master->getResolution();
  cell_inflation_radius_ = master->cellDistance(inflation_radius_);
  computeCaches();
  seen_.assign(std::size_t{master->getSizeInCellsX()} * master->getSizeInCellsY(), false);
  need_reinflation_ = true;
}

void InflationLayer::onFootprintChanged()
{
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  inscribed_radius_ = layered_costmap_->getInscribedRadius();
  computeCaches();
  need_reinflation_ = true;
  RCLCPP_INFO(
    logger_, "%s: footprint changed, inscribed radius %.3f m; re-inflating", name_.c_str(),
    inscribed_radius_);
}

unsigned char InflationLayer::computeCost(double distance) const
{
  if (distance == 0.0) {
    return LETHAL_OBSTACLE;
  }
  const double metres = distance * resolution_;
  if (metres <= inscribed_radius_) {
    return INSCRIBED_INFLATED_OBSTACLE;
  }
  const double factor = std::exp(-1.0 * cost_scaling_factor_ * (metres - inscribed_radius_));
  return static_cast<unsigned char>((INSCRIBED_INFLATED_OBSTACLE - 1) * factor);
}

void InflationLayer::computeCaches()
{
  const unsigned int size = cell_inflation_radius_ + 2;
  cached_distances_.assign(size, std::vector<double>(size, 0.0));
  cached_costs_.assign(size, std::vector<unsigned char>(size, FREE_SPACE));
  for (unsigned int i = 0; i < size; ++i) {
    for (unsigned int j = 0; j < size; ++j) {
      cached_distances_[i][j] = std::hypot(static_cast<double>(i), static_cast<double>(j));
      cached_costs_[i][j] = computeCost(cached_distances_[i][j]);
    }
  }
  bins_.assign(std::size_t{size} * size * 2, {});
}

void InflationLayer::updateBounds(
  double, double, double, double * min_x, double * min_y, double * max_x, double * max_y)
{
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  if (!enabled_) {
    return;
  }
  if (need_reinflation_) {
    last_min_x_ = *min_x;
    last_min_y_ = *min_y;
    last_max_x_ = *max_x;
    last_max_y_ = *max_y;
    *min_x = -std::numeric_limits<float>::max();
    *min_y = -std::numeric_limits<float>::max();
    *max_x = std::numeric_limits<float>::max();
    *max_y = std::numeric_limits<float>::max();
    need_reinflation_ = false;
    return;
  }
  // Also cover what the previous update inflated, so cost around a cleared obstacle goes too.
  const double previous_min_x = last_min_x_;
  const double previous_min_y = last_min_y_;
  const double previous_max_x = last_max_x_;
  const double previous_max_y = last_max_y_;
  last_min_x_ = *min_x;
  last_min_y_ = *min_y;
  last_max_x_ = *max_x;
  last_max_y_ = *max_y;
  *min_x = std::min(previous_min_x, *min_x) - inflation_radius_;
  *min_y = std::min(previous_min_y, *min_y) - inflation_radius_;
  *max_x = std::max(previous_max_x, *max_x) + inflation_radius_;
  *max_y = std::max(previous_max_y, *max_y) + inflation_radius_;
}

void InflationLayer::enqueue(
  unsigned int index, unsigned int mx, unsigned int my, unsigned int src_x, unsigned int src_y)
{
  if (seen_[index]) {
    return;
  }
  const unsigned int dx = mx > src_x ? mx - src_x : src_x - mx;
  const unsigned int dy = my > src_y ? my - src_y : src_y - my;
  if (cached_distances_[dx][dy] > cell_inflation_radius_) {
    return;
  }
  bins_[dx * dx + dy * dy].push_back({index, mx, my, src_x, src_y});
}

void InflationLayer::updateCosts(
  nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j)
{
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  if (!enabled_ || cell_inflation_radius_ == 0) {
    return;
  }
  const unsigned int size_x = master_grid.getSizeInCellsX();
  const unsigned int size_y = master_grid.getSizeInCellsY();
  if (seen_.size() != std::size_t{size_x} * size_y) {
    seen_.assign(std::size_t{size_x} * size_y, false);
  } else {
    std::fill(seen_.begin(), seen_.end(), false);
  }

  // Lethal cells just outside the window still inflate cells inside it.
  const int radius = static_cast<int>(cell_inflation_radius_);
  min_i = std::max(0, min_i - radius);
  min_j = std::max(0, min_j - radius);
  max_i = std::min(static_cast<int>(size_x), max_i + radius);
  max_j = std::min(static_cast<int>(size_y), max_j + radius);

  unsigned char * master = master_grid.getCharMap();
  for (int j = min_j; j < max_j; ++j) {
    for (int i = min_i; i < max_i; ++i) {
      const unsigned int index = master_grid.getIndex(i, j);
      if (master[index] == LETHAL_OBSTACLE) {
        bins_[0].push_back(
          {index, static_cast<unsigned int>(i), static_cast<unsigned int>(j),
           static_cast<unsigned int>(i), static_cast<unsigned int>(j)});
      }
    }
  }

  // Brushfire: each cell is settled from the nearest source that reaches it.
  for (auto & bin : bins_) {
    // The bin grows while it is walked: index, not iterators.
    for (std::size_t k = 0; k < bin.size(); ++k) {
      const CellData cell = bin[k];
      if (seen_[cell.index]) {
        continue;
      }
      seen_[cell.index] = true;
      const unsigned int dx = cell.x > cell.src_x ? cell.x - cell.src_x : cell.src_x - cell.x;
      const unsigned int dy = cell.y > cell.src_y ? cell.y - cell.src_y : cell.src_y - cell.y;
      const unsigned char cost = cached_costs_[dx][dy];
      const unsigned char old_cost = master[cell.index];
      if (
        old_cost == NO_INFORMATION &&
        (inflate_unknown_ ? cost > FREE_SPACE : cost >= INSCRIBED_INFLATED_OBSTACLE)) {
        master[cell.index] = cost;
      } else {
        master[cell.index] = std::max(old_cost, cost);
      }
      if (cell.x > 0) {
        enqueue(cell.index - 1, cell.x - 1, cell.y, cell.src_x, cell.src_y);
      }
      if (cell.y > 0) {
        enqueue(cell.index - size_x, cell.x, cell.y - 1, cell.src_x, cell.src_y);
      }
      if (cell.x + 1 < size_x) {
        enqueue(cell.index + 1, cell.x + 1, cell.y, cell.src_x, cell.src_y);
      }
      if (cell.y + 1 < size_y) {
        enqueue(cell.index + size_x, cell.x, cell.y + 1, cell.src_x, cell.src_y);
      }
    }
  }
  for (auto & bin : bins_) {
    bin.clear();
  }
}

}  // namespace kestrune_example_layers

PLUGINLIB_EXPORT_CLASS(kestrune_example_layers::InflationLayer, nav2_costmap_2d::Layer)
