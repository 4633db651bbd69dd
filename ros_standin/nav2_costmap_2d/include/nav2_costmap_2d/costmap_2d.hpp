#ifndef NAV2_COSTMAP_2D__COSTMAP_2D_HPP_
#define NAV2_COSTMAP_2D__COSTMAP_2D_HPP_

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "geometry_msgs/msg/point.hpp"
#include "nav_msgs/msg/occupancy_grid.hpp"

namespace nav2_costmap_2d
{

/** @brief A cell of a costmap. */
struct MapLocation
{
  unsigned int x;
  unsigned int y;
};

/**
 * @brief A 2D grid of costs with its resolution and origin in the world.
 *
 * Every access that changes the grid's shape takes the grid's recursive mutex;
 * readers and writers of the costs take it themselves through getMutex().
 */
class Costmap2D
{
  friend class CostmapTester;

public:
  /** @brief A grid of @p cells_size_x by @p cells_size_y cells, all at @p default_value. */
  Costmap2D(
    unsigned int cells_size_x, unsigned int cells_size_y, double resolution, double origin_x,
    double origin_y, unsigned char default_value = 0);

  /** @brief A deep copy of @p map. */
  Costmap2D(const Costmap2D & map);

  /** @brief A grid built from an occupancy grid (-1 unknown, 0..100 scaled to 0..254). */
  explicit Costmap2D(const nav_msgs::msg::OccupancyGrid & map);

  /** @brief Deep-copies @p map into this grid. */
  Costmap2D & operator=(const Costmap2D & map);

  /** @brief An empty grid. */
  Costmap2D();

  virtual ~Costmap2D();

  /** @brief Turns this grid into a copy of the window of @p map at the given world rectangle. */
  bool copyCostmapWindow(
    const Costmap2D & map, double win_origin_x, double win_origin_y, double win_size_x,
    double win_size_y);

  /** @brief Copies cells [sx0, sxn) x [sy0, syn) of @p source to (dx0, dy0) in this grid. */
  bool copyWindow(
    const Costmap2D & source, unsigned int sx0, unsigned int sy0, unsigned int sxn,
    unsigned int syn, unsigned int dx0, unsigned int dy0);

  /** @brief The cost of cell (@p mx, @p my). */
  unsigned char getCost(unsigned int mx, unsigned int my) const;

  /** @brief The cost of the cell at @p index. */
  unsigned char getCost(unsigned int index) const;

  /** @brief Sets the cost of cell (@p mx, @p my). */
  void setCost(unsigned int mx, unsigned int my, unsigned char cost);

  /** @brief The world coordinates of the centre of cell (@p mx, @p my). */
  void mapToWorld(unsigned int mx, unsigned int my, double & wx, double & wy) const;

  /** @brief The cell holding a world point; false when it lies outside the grid. */
  bool worldToMap(double wx, double wy, unsigned int & mx, unsigned int & my) const;

  /** @brief The cell holding a world point, possibly outside the grid. */
  void worldToMapNoBounds(double wx, double wy, int & mx, int & my) const;

  /** @brief The cell holding a world point, clamped into the grid. */
  void worldToMapEnforceBounds(double wx, double wy, int & mx, int & my) const;

  /** @brief The linear index of cell (@p mx, @p my). */
  inline unsigned int getIndex(unsigned int mx, unsigned int my) const { return my * size_x_ + mx; }

  /** @brief The cell of linear index @p index. */
  inline void indexToCells(unsigned int index, unsigned int & mx, unsigned int & my) const
  {
    my = index / size_x_;
    mx = index - (my * size_x_);
  }

  /** @brief The raw cost array, row-major. */
  unsigned char * getCharMap() const;

  /** @brief Width in cells. */
  unsigned int getSizeInCellsX() const;
  /** @brief Height in cells. */
  unsigned int getSizeInCellsY() const;
  /** @brief Width in metres. */
  double getSizeInMetersX() const;
  /** @brief Height in metres. */
  double getSizeInMetersY() const;
  /** @brief World x of the grid's lower-left corner. */
  double getOriginX() const;
  /** @brief World y of the grid's lower-left corner. */
  double getOriginY() const;
  /** @brief Metres per cell. */
  double getResolution() const;

  /** @brief Sets the value cells are reset to. */
  void setDefaultValue(unsigned char c) { default_value_ = c; }
  /** @brief The value cells are reset to. */
  unsigned char getDefaultValue() { return default_value_; }

  /** @brief Sets every cell inside a convex world polygon; false when a vertex is off the grid. */
  bool setConvexPolygonCost(
    const std::vector<geometry_msgs::msg::Point> & polygon, unsigned char cost_value);

  /** @brief Appends the cells on the outline of a polygon given in cells. */
  void polygonOutlineCells(
    const std::vector<MapLocation> & polygon, std::vector<MapLocation> & polygon_cells);

  /** @brief Appends the cells covered by a convex polygon given in cells. */
  void convexFillCells(
    const std::vector<MapLocation> & polygon, std::vector<MapLocation> & polygon_cells);

  /** @brief Moves the origin by whole cells, keeping the costs of the overlap. */
  virtual void updateOrigin(double new_origin_x, double new_origin_y);

  /** @brief Writes the grid as an ASCII PGM file. */
  bool saveMap(std::string file_name);

  /** @brief Reshapes the grid and resets every cell to the default value. */
  void resizeMap(
    unsigned int size_x, unsigned int size_y, double resolution, double origin_x, double origin_y);

  /** @brief Resets cells [x0, xn) x [y0, yn) to the default value. */
  void resetMap(unsigned int x0, unsigned int y0, unsigned int xn, unsigned int yn);

  /** @brief Sets cells [x0, xn) x [y0, yn) to @p value. */
  void resetMapToValue(
    unsigned int x0, unsigned int y0, unsigned int xn, unsigned int yn, unsigned char value);

  /** @brief A world distance in cells, rounded up. */
  unsigned int cellDistance(double world_dist);

  typedef std::recursive_mutex mutex_t;

  /** @brief The grid's mutex. */
  mutex_t * getMutex() { return access_; }

protected:
  /** @brief Copies a rectangle of cells from one row-major array to another. */
  template<typename data_type>
  void copyMapRegion(
    data_type * source_map, unsigned int sm_lower_left_x, unsigned int sm_lower_left_y,
    unsigned int sm_size_x, data_type * dest_map, unsigned int dm_lower_left_x,
    unsigned int dm_lower_left_y, unsigned int dm_size_x, unsigned int region_size_x,
    unsigned int region_size_y)
  {
    data_type * sm_index = source_map + (sm_lower_left_y * sm_size_x + sm_lower_left_x);
    data_type * dm_index = dest_map + (dm_lower_left_y * dm_size_x + dm_lower_left_x);
    for (unsigned int i = 0; i < region_size_y; ++i) {
      std::memcpy(dm_index, sm_index, region_size_x * sizeof(data_type));
      sm_index += sm_size_x;
      dm_index += dm_size_x;
    }
  }

  /** @brief Frees the cost array. */
  virtual void deleteMaps();

  /** @brief Sets every cell to the default value. */
  virtual void resetMaps();

  /** @brief Allocates a cost array of @p size_x by @p size_y cells. */
  virtual void initMaps(unsigned int size_x, unsigned int size_y);

  /** @brief Calls @p at on the index of every cell on the line from (x0, y0) to (x1, y1). */
  template<class ActionType>
  inline void raytraceLine(
    ActionType at, unsigned int x0, unsigned int y0, unsigned int x1, unsigned int y1,
    unsigned int max_length = UINT_MAX, unsigned int min_length = 0)
  {
    int dx_full = x1 - x0;
    int dy_full = y1 - y0;
    double dist = std::hypot(dx_full, dy_full);
    if (dist < min_length) {
      return;
    }

    unsigned int min_x0, min_y0;
    if (dist > 0.0) {
      // Skip the first min_length cells of the line.
      min_x0 = (unsigned int)(x0 + dx_full / dist * min_length);
      min_y0 = (unsigned int)(y0 + dy_full / dist * min_length);
    } else {
      min_x0 = x0;
      min_y0 = y0;
    }

    unsigned int offset = min_y0 * size_x_ + min_x0;
    int dx = x1 - min_x0;
    int dy = y1 - min_y0;
    unsigned int abs_dx = std::abs(dx);
    unsigned int abs_dy = std::abs(dy);
    int offset_dx = sign(dx);
    int offset_dy = sign(dy) * size_x_;
    double scale = (dist == 0.0) ? 1.0 : std::min(1.0, max_length / dist);

    if (abs_dx >= abs_dy) {
      int error_y = abs_dx / 2;
      bresenham2D(
        at, abs_dx, abs_dy, error_y, offset_dx, offset_dy, offset, (unsigned int)(scale * abs_dx));
      return;
    }
    int error_x = abs_dy / 2;
    bresenham2D(
      at, abs_dy, abs_dx, error_x, offset_dy, offset_dx, offset, (unsigned int)(scale * abs_dy));
  }

private:
  template<class ActionType>
  inline void bresenham2D(
    ActionType at, unsigned int abs_da, unsigned int abs_db, int error_b, int offset_a,
    int offset_b, unsigned int offset, unsigned int max_length)
  {
    unsigned int end = std::min(max_length, abs_da);
    for (unsigned int i = 0; i < end; ++i) {
      at(offset);
      offset += offset_a;
      error_b += abs_db;
      if ((unsigned int)error_b >= abs_da) {
        offset += offset_b;
        error_b -= abs_da;
      }
    }
    at(offset);
  }

  inline int sign(int x) { return x > 0 ? 1.0 : -1.0; }

  mutex_t * access_;

protected:
  unsigned int size_x_;
  unsigned int size_y_;
  double resolution_;
  double origin_x_;
  double origin_y_;
  unsigned char * costmap_;
  unsigned char default_value_;

  class MarkCell
  {
  public:
    MarkCell(unsigned char * costmap, unsigned char value)
    : costmap_(costmap),
      value_(value)
    {
    }
    inline void operator()(unsigned int offset) { costmap_[offset] = value_; }

  private:
    unsigned char * costmap_;
    unsigned char value_;
  };

  class PolygonOutlineCells
  {
  public:
    PolygonOutlineCells(
      const Costmap2D & costmap, const unsigned char * char_map, std::vector<MapLocation> & cells)
    : costmap_(costmap),
      char_map_(char_map),
      cells_(cells)
    {
    }

    inline void operator()(unsigned int offset)
    {
      MapLocation loc;
      costmap_.indexToCells(offset, loc.x, loc.y);
      cells_.push_back(loc);
    }

  private:
    const Costmap2D & costmap_;
    const unsigned char * char_map_;
    std::vector<MapLocation> & cells_;
  };
};

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__COSTMAP_2D_HPP_
