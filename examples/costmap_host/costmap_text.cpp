// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "costmap_text.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "fmt/format.h"

namespace kestrune_costmap_host
{

namespace
{

/// Rank of a cell's kind in the picture: the costliest kind in a block wins.
int rankOf(std::int8_t value)
{
  if (value == 100) {
    return 4;
  }
  if (value == 99) {
    return 3;
  }
  if (value > 0 && value < 99) {
    return 2;
  }
  return value == 0 ? 0 : 1;
}

constexpr char kSymbols[] = {'.', '?', ':', '+', '#'};

}  // namespace

CostmapCounts countCells(const nav_msgs::msg::OccupancyGrid & grid)
{
  CostmapCounts counts;
  for (const std::int8_t value : grid.data) {
    if (value == 100) {
      ++counts.lethal;
    } else if (value == 99) {
      ++counts.inscribed;
    } else if (value == 0) {
      ++counts.free;
    } else if (value > 0 && value < 99) {
      ++counts.inflated;
    } else {
      ++counts.unknown;
    }
  }
  return counts;
}

std::string summaryLine(const nav_msgs::msg::OccupancyGrid & grid)
{
  const CostmapCounts counts = countCells(grid);
  return fmt::format(
    "costmap {}x{} cells at {} m: lethal {}, inscribed {}, free {}, unknown {}", grid.info.width,
    grid.info.height, grid.info.resolution, counts.lethal, counts.inscribed, counts.free,
    counts.unknown);
}

std::string renderCostmap(const nav_msgs::msg::OccupancyGrid & grid, unsigned int columns)
{
  const unsigned int width = grid.info.width;
  const unsigned int height = grid.info.height;
  if (
    width == 0 || height == 0 || columns == 0 || grid.data.size() != std::size_t{width} * height) {
    return {};
  }
  columns = std::min(columns, width);
  const double block_x = static_cast<double>(width) / columns;
  const double block_y = 2.0 * block_x;
  const unsigned int rows = std::max(1u, static_cast<unsigned int>(std::lround(height / block_y)));

  std::string text;
  text.reserve(std::size_t{columns + 1} * rows);
  for (unsigned int row = 0; row < rows; ++row) {
    // Row 0 of the picture is the top of the map, the grid's last row.
    const unsigned int y_end = height - static_cast<unsigned int>(std::floor(row * block_y));
    const unsigned int y_begin =
      row + 1 == rows ? 0 : height - static_cast<unsigned int>(std::floor((row + 1) * block_y));
    for (unsigned int col = 0; col < columns; ++col) {
      const unsigned int x_begin = static_cast<unsigned int>(std::floor(col * block_x));
      const unsigned int x_end =
        col + 1 == columns ? width : static_cast<unsigned int>(std::floor((col + 1) * block_x));
      int rank = 0;
      for (unsigned int y = y_begin; y < y_end; ++y) {
        for (unsigned int x = x_begin; x < x_end; ++x) {
          rank = std::max(rank, rankOf(grid.data[std::size_t{y} * width + x]));
        }
      }
      text += kSymbols[rank];
    }
    text += '\n';
  }
  return text;
}

}  // namespace kestrune_costmap_host
