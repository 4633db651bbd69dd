#ifndef NAV2_COSTMAP_2D__LAYERED_COSTMAP_HPP_
#define NAV2_COSTMAP_2D__LAYERED_COSTMAP_HPP_

#include <memory>
#include <string>
#include <vector>

#include "geometry_msgs/msg/point.hpp"
#include "nav2_costmap_2d/cost_values.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"

namespace nav2_costmap_2d
{
class Layer;

/**
 * @brief The combined costmap and the ordered layers (plugins, then filters)
 * that write into it. Its lock is the combined costmap's mutex.
 */
class LayeredCostmap
{
public:
  /**
   * @brief An empty costmap in @p global_frame whose cells default to
   * NO_INFORMATION when @p track_unknown, else FREE_SPACE.
   */
  LayeredCostmap(std::string global_frame, bool rolling_window, bool track_unknown);

  ~LayeredCostmap();

  /** @brief Moves a rolling window to the robot and runs every layer's bounds and costs updates. */
  void updateMap(double robot_x, double robot_y, double robot_yaw);

  /** @brief The frame of the costmap. */
  std::string getGlobalFrameID() const { return global_frame_; }

  /** @brief Resizes the costmap and has every plugin and filter match it. */
  void resizeMap(
    unsigned int size_x, unsigned int size_y, double resolution, double origin_x, double origin_y,
    bool size_locked = false);

  /** @brief The world bounds of the last update. */
  void getUpdatedBounds(double & minx, double & miny, double & maxx, double & maxy)
  {
    minx = minx_;
    miny = miny_;
    maxx = maxx_;
    maxy = maxy_;
  }

  /** @brief Whether every enabled plugin and filter is current. */
  bool isCurrent();

  /** @brief The combined costmap. */
  Costmap2D * getCostmap() { return &combined_costmap_; }

  /** @brief Whether the costmap follows the robot. */
  bool isRolling() { return rolling_window_; }

  /** @brief Whether unknown space is tracked. */
  bool isTrackingUnknown() { return combined_costmap_.getDefaultValue() == NO_INFORMATION; }

  /** @brief The layer plugins, in update order. */
  std::vector<std::shared_ptr<Layer>> * getPlugins() { return &plugins_; }

  /** @brief The costmap filters, in update order. */
  std::vector<std::shared_ptr<Layer>> * getFilters() { return &filters_; }

  /** @brief Appends a layer plugin. */
  void addPlugin(std::shared_ptr<Layer> plugin);

  /** @brief Appends a costmap filter. */
  void addFilter(std::shared_ptr<Layer> filter);

  /** @brief Whether the last resize locked the size. */
  bool isSizeLocked() { return size_locked_; }

  /** @brief The cell bounds [x0, xn) x [y0, yn) of the last update. */
  void getBounds(unsigned int * x0, unsigned int * xn, unsigned int * y0, unsigned int * yn)
  {
    *x0 = bx0_;
    *xn = bxn_;
    *y0 = by0_;
    *yn = byn_;
  }

  /** @brief Whether an update has run. */
  bool isInitialized() { return initialized_; }

  /** @brief Stores the footprint, recomputes the radii and tells every plugin and filter. */
  void setFootprint(const std::vector<geometry_msgs::msg::Point> & footprint_spec);

  /** @brief The footprint last set. */
  const std::vector<geometry_msgs::msg::Point> & getFootprint() { return footprint_; }

  /** @brief The largest distance from the robot's centre to its footprint. */
  double getCircumscribedRadius() { return circumscribed_radius_; }

  /** @brief The smallest distance from the robot's centre to its footprint. */
  double getInscribedRadius() { return inscribed_radius_; }

  /** @brief Whether a world point lies outside the combined costmap. */
  bool isOutofBounds(double robot_x, double robot_y);

private:
  Costmap2D primary_costmap_, combined_costmap_;
  std::string global_frame_;

  bool rolling_window_;

  bool current_;
  double minx_, miny_, maxx_, maxy_;
  unsigned int bx0_, bxn_, by0_, byn_;

  std::vector<std::shared_ptr<Layer>> plugins_;
  std::vector<std::shared_ptr<Layer>> filters_;

  bool initialized_;
  bool size_locked_;
  double circumscribed_radius_, inscribed_radius_;
  std::vector<geometry_msgs::msg::Point> footprint_;
};

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__LAYERED_COSTMAP_HPP_
