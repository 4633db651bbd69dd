// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__COSTMAP_TEXT_HPP_
#define COSTMAP_HOST__COSTMAP_TEXT_HPP_

#include <cstddef>
#include <string>

#include "nav_msgs/msg/occupancy_grid.hpp"

namespace kestrune_costmap_host
{

/// @brief Cells of a costmap by kind, from their occupancy values.
struct CostmapCounts
{
  std::size_t lethal{0};     ///< 100
  std::size_t inscribed{0};  ///< 99
  std::size_t inflated{0};   ///< 1..98
  std::size_t free{0};       ///< 0
  std::size_t unknown{0};    ///< -1 (and anything outside 0..100)
};

/// @brief Counts the cells of @p grid by kind.
CostmapCounts countCells(const nav_msgs::msg::OccupancyGrid & grid);

/// @brief "costmap <w>x<h> cells at <res> m: lethal <n>, inscribed <n>, free <n>, unknown <n>".
std::string summaryLine(const nav_msgs::msg::OccupancyGrid & grid);

/**
 * @brief A small picture of @p grid, @p columns characters wide, north up: '#' lethal,
 * '+' inscribed, ':' inflated, '.' free, '?' unknown.
 *
 * Each character stands for a block of cells and shows the costliest kind in it
 * (unknown ranks between inflated and free); a row covers twice the height of a
 * column, since text cells are about twice as tall as wide.
 */
std::string renderCostmap(const nav_msgs::msg::OccupancyGrid & grid, unsigned int columns = 60);

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__COSTMAP_TEXT_HPP_
