// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_EXAMPLE_LAYERS__KEEPOUT_FILTER_HPP_
#define KESTRUNE_EXAMPLE_LAYERS__KEEPOUT_FILTER_HPP_

#include <filesystem>
#include <memory>
#include <string>

#include "nav2_costmap_2d/layer.hpp"
#include "rclcpp/timer.hpp"

namespace kestrune_example_layers
{

struct OccupancyMap;

/**
 * @brief A costmap filter that makes the cells of keepout zones lethal.
 *
 * The zones come from a mask, a map_server-style YAML + PGM pair in which occupied
 * (black) cells are forbidden; the mask is matched to the costmap by world position,
 * so it may have its own resolution and origin. Added as a filter, it runs after every
 * layer, so keepout zones are not inflated.
 *
 * A timer in the layer's callback group (served by the costmap's own node thread)
 * watches the mask file and loads it again when it changes; a mask that fails to load
 * is reported and the previous one kept.
 *
 * Parameters (read once, at initialization):
 * | name | type | default | meaning |
 * |---|---|---|---|
 * | `<name>.enabled` | bool | true | whether the filter takes part in updates |
 * | `<name>.mask_file` | string | "" (required) | mask YAML: absolute, `package://<pkg>/<path>`, or relative to the working folder |
 * | `<name>.check_period` | double | 1.0 | seconds between checks of the mask file; 0 turns the check off |
 */
class KeepoutFilter : public nav2_costmap_2d::Layer
{
public:
  KeepoutFilter();
  ~KeepoutFilter() override;

  /// @brief Reads the parameters, loads the mask and starts the file check; a bad mask throws.
  void onInitialize() override;

  /// @brief Applies the whole mask again at the next update.
  void reset() override;

  /// @brief Keepout zones stay through the clear-costmap services.
  bool isClearable() override { return false; }

  /// @brief Widens the bounds to the mask (old and new) after it was loaded.
  void updateBounds(
    double robot_x, double robot_y, double robot_yaw, double * min_x, double * min_y,
    double * max_x, double * max_y) override;

  /// @brief Makes every cell of the window that lies in a keepout zone lethal.
  void updateCosts(
    nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j) override;

private:
  /// World bounds of a mask, grown into the given ones.
  static void addExtent(
    const OccupancyMap & mask, double * min_x, double * min_y, double * max_x, double * max_y);

  /// Timer callback: loads the mask again if the file changed since it was loaded.
  void checkMaskFile();

  std::string mask_path_;
  std::filesystem::file_time_type mask_time_;
  std::shared_ptr<const OccupancyMap> mask_;
  std::shared_ptr<const OccupancyMap> replaced_mask_;  // its zones are redrawn once, then dropped
  bool mask_changed_{true};
  rclcpp::TimerBase::SharedPtr check_timer_;
};

}  // namespace kestrune_example_layers

#endif  // KESTRUNE_EXAMPLE_LAYERS__KEEPOUT_FILTER_HPP_
