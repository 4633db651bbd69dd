#ifndef NAV2_COSTMAP_2D__COSTMAP_LAYER_HPP_
#define NAV2_COSTMAP_2D__COSTMAP_LAYER_HPP_

#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/layer.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"

namespace nav2_costmap_2d
{

/**
 * @brief A layer that keeps a grid of its own, the size of the combined
 * costmap, and merges it into the combined costmap in one of a few ways.
 */
class CostmapLayer : public Layer, public Costmap2D
{
public:
  /** @brief A layer with no extra bounds. */
  CostmapLayer()
  : has_extra_bounds_(false),
    extra_min_x_(1e6),
    extra_max_x_(-1e6),
    extra_min_y_(1e6),
    extra_max_y_(-1e6)
  {
  }

  /** @brief The layer is a grid. */
  bool isDiscretized() { return true; }

  /** @brief Resizes the layer's grid to the combined costmap's. */
  virtual void matchSize();

  /**
   * @brief Sets to NO_INFORMATION the cells strictly inside the rectangle
   * (start, end) or, with @p invert, every cell outside it.
   */
  virtual void clearArea(int start_x, int start_y, int end_x, int end_y, bool invert);

  /** @brief Widens the bounds the next update will report by a world rectangle. */
  void addExtraBounds(double mx0, double my0, double mx1, double my1);

protected:
  /** @brief Copies every cell of the window into @p master_grid. */
  void updateWithTrueOverwrite(
    nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j);

  /** @brief Copies every known cell of the window into @p master_grid. */
  void updateWithOverwrite(
    nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j);

  /** @brief Raises @p master_grid's cells to this layer's known costs. */
  void updateWithMax(
    nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j);

  /** @brief Adds this layer's known costs to @p master_grid's, capped below INSCRIBED. */
  void updateWithAddition(
    nav2_costmap_2d::Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j);

  /** @brief Widens the bounds to include the point (@p x, @p y). */
  void touch(double x, double y, double * min_x, double * min_y, double * max_x, double * max_y);

  /** @brief Widens the bounds by the extra bounds and clears them. */
  void useExtraBounds(double * min_x, double * min_y, double * max_x, double * max_y);

  bool has_extra_bounds_;

private:
  double extra_min_x_, extra_max_x_, extra_min_y_, extra_max_y_;
};

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__COSTMAP_LAYER_HPP_
