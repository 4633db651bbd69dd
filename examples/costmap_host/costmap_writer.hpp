// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__COSTMAP_WRITER_HPP_
#define COSTMAP_HOST__COSTMAP_WRITER_HPP_

#include <cstdint>
#include <string>

#include "nav_msgs/msg/occupancy_grid.hpp"

namespace kestrune_costmap_host
{

/**
 * @brief Makes sure @p folder can take the output before anything runs: creates it
 * (with its parents) and a probe file in it, then removes the probe.
 * @throws std::runtime_error naming the folder and the reason
 */
void checkOutputFolder(const std::string & folder);

/// @brief The files a costmap was saved to.
struct SavedCostmap
{
  std::string image;
  std::string yaml;
};

/**
 * @brief Saves @p grid as a map_saver-style pair, `<stem>.pgm` (binary PGM) and
 * `<stem>.yaml`, in @p folder.
 *
 * Both files are written to temporary names first and renamed only when both are
 * complete, so a failure leaves no half-written map behind. The YAML declares trinary
 * mode with map_saver's thresholds, and the image holds exactly the three levels that
 * mode reads (see occupancyToPixel).
 * @throws std::runtime_error naming the file and the reason
 */
SavedCostmap saveCostmap(
  const nav_msgs::msg::OccupancyGrid & grid, const std::string & folder,
  const std::string & stem = "costmap");

/**
 * @brief The grey level of an occupancy value in a trinary map, classified as
 * map_saver classifies it: 65 or more is occupied (0, black), 25 or less is free
 * (254), anything else, unknown included, is unknown (128).
 *
 * Unknown is a mid grey that a trinary reader with occupied_thresh 0.65 and
 * free_thresh 0.25 reads as unknown (map_saver's 205 would read as free at those
 * thresholds).
 */
std::uint8_t occupancyToPixel(std::int8_t occupancy);

/// @brief Yaw of the grid's origin, from its quaternion.
double originYaw(const nav_msgs::msg::OccupancyGrid & grid);

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__COSTMAP_WRITER_HPP_
