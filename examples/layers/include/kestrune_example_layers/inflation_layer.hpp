// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_EXAMPLE_LAYERS__INFLATION_LAYER_HPP_
#define KESTRUNE_EXAMPLE_LAYERS__INFLATION_LAYER_HPP_

#include <mutex>
#include <vector>

#include "nav2_costmap_2d/layer.hpp"

namespace kestrune_example_layers
{

/**
 * @brief Spreads cost around lethal cells, falling off with distance, as Nav2's inflation does.
 *
 * A cell at distance d (metres) from the nearest lethal cell costs
 * - LETHAL_OBSTACLE at d = 0,
 * - INSCRIBED_INFLATED_OBSTACLE while d is within the robot's inscribed radius,
 * - (INSCRIBED_INFLATED_OBSTACLE - 1) * exp(-cost_scaling_factor * (d - inscribed radius))
 *   beyond it, up to the inflation radius.
 * Distances come from a brushfire over the update window grown by the inflation
 * radius; a footprint change (a new inscribed radius) re-inflates the whole map.
 *
 * Parameters (read once, at initialization):
 * | name | type | default | meaning |
 * |---|---|---|---|
 * | `<name>.enabled` | bool | true | whether the layer takes part in updates |
 * | `<name>.inflation_radius` | double | 0.55 | how far cost spreads from lethal cells (m) |
 * | `<name>.cost_scaling_factor` | double | 10.0 | how fast cost falls beyond the inscribed radius (1/m) |
 * | `<name>.inflate_unknown` | bool | false | whether unknown cells take inflated costs below inscribed |
 */
class InflationLayer : public nav2_costmap_2d::Layer
{
public:
  InflationLayer();
  ~InflationLayer() override;

  /// @brief Reads and checks the parameters; a bad value throws, naming it.
  void onInitialize() override;

  /// @brief Re-inflates the whole map at the next update.
  void reset() override;

  /// @brief Inflation follows the other layers, so clearing it means nothing on its own.
  bool isClearable() override { return false; }

  /// @brief Grows the bounds by the inflation radius (everything after a footprint change).
  void updateBounds(
    double robot_x, double robot_y, double robot_yaw, double * min_x, double * min_y,
    double * max_x, double * max_y) override;

  /// @brief Inflates the lethal cells in and around the window.
  void updateCosts(
    nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j) override;

  /// @brief Follows a new resolution or size of the costmap.
  void matchSize() override;

  /// @brief Takes the new inscribed radius and re-inflates everything.
  void onFootprintChanged() override;

  /// @brief The cost of a cell @p distance cells away from the nearest lethal cell.
  unsigned char computeCost(double distance) const;

private:
  /// A cell waiting in the brushfire, with the lethal cell it is measured from.
  struct CellData
  {
    unsigned int index;
    unsigned int x;
    unsigned int y;
    unsigned int src_x;
    unsigned int src_y;
  };

  void computeCaches();
  void enqueue(
    unsigned int index, unsigned int mx, unsigned int my, unsigned int src_x, unsigned int src_y);

  double inflation_radius_{0.55};
  double cost_scaling_factor_{10.0};
  bool inflate_unknown_{false};
  double inscribed_radius_{0.0};
  double resolution_{0.0};
  unsigned int cell_inflation_radius_{0};

  // Distances and costs by cell offset |dx|, |dy| from the source, 0..radius + 1.
  std::vector<std::vector<double>> cached_distances_;
  std::vector<std::vector<unsigned char>> cached_costs_;
  // Brushfire queue, one bin per squared cell distance, so cells leave it nearest first.
  std::vector<std::vector<CellData>> bins_;
  std::vector<bool> seen_;

  bool need_reinflation_{false};
  double last_min_x_;
  double last_min_y_;
  double last_max_x_;
  double last_max_y_;

  // The footprint subscription (host executor) and the map update thread both reach
  // the caches; the costmap's mutex covers only the update thread.
  std::recursive_mutex mutex_;
};

}  // namespace kestrune_example_layers

#endif  // KESTRUNE_EXAMPLE_LAYERS__INFLATION_LAYER_HPP_
