// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_EXAMPLE_LAYERS__STATIC_MAP_LAYER_HPP_
#define KESTRUNE_EXAMPLE_LAYERS__STATIC_MAP_LAYER_HPP_

#include <cstdint>
#include <memory>
#include <string>

#include "nav2_costmap_2d/costmap_layer.hpp"

namespace kestrune_example_layers
{

struct OccupancyMap;

/**
 * @brief A costmap layer holding a fixed map loaded from a map_server-style YAML + PGM pair.
 *
 * The map is matched to the costmap by world position, so the two may differ in size,
 * resolution and origin: each costmap cell takes the map cell under its centre, and
 * cells outside the map are unknown (or free when the costmap does not track unknown
 * space). Occupied map cells become lethal, free cells free.
 *
 * Parameters (read once, at initialization):
 * | name | type | default | meaning |
 * |---|---|---|---|
 * | `<name>.enabled` | bool | true | whether the layer takes part in updates |
 * | `<name>.map_file` | string | "" (required) | map YAML: absolute, `package://<pkg>/<path>`, or relative to the working folder |
 */
class StaticMapLayer : public nav2_costmap_2d::CostmapLayer
{
public:
  StaticMapLayer();
  ~StaticMapLayer() override;

  /// @brief Reads the parameters and loads the map; a bad map file throws, naming the file.
  void onInitialize() override;

  /// @brief Marks the whole map for copying into the costmap at the next update.
  void reset() override;

  /// @brief A fixed map is not cleared by the clear-costmap services.
  bool isClearable() override { return false; }

  /// @brief Widens the bounds to the whole map when it has not been copied yet.
  void updateBounds(
    double robot_x, double robot_y, double robot_yaw, double * min_x, double * min_y,
    double * max_x, double * max_y) override;

  /// @brief Overwrites the costmap's window with the map's costs, unknown included.
  void updateCosts(
    nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j) override;

  /// @brief Follows the costmap's size, resolution and origin, and redraws the map onto it.
  void matchSize() override;

private:
  /// Fills this layer's grid from the map, cell by cell, by world position.
  void drawMap();

  /// The cost of an occupancy value (0..100, or -1 for unknown).
  unsigned char costOf(std::int8_t occupancy) const;

  std::string map_file_;
  std::unique_ptr<OccupancyMap> map_;
  bool has_updated_data_{false};
};

}  // namespace kestrune_example_layers

#endif  // KESTRUNE_EXAMPLE_LAYERS__STATIC_MAP_LAYER_HPP_
