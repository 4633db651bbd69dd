#ifndef NAV2_COSTMAP_2D__FOOTPRINT_HPP_
#define NAV2_COSTMAP_2D__FOOTPRINT_HPP_

#include <string>
#include <vector>

#include "geometry_msgs/msg/point.hpp"
#include "geometry_msgs/msg/point32.hpp"
#include "geometry_msgs/msg/polygon.hpp"
#include "geometry_msgs/msg/polygon_stamped.hpp"

namespace nav2_costmap_2d
{

/**
 * @brief The smallest and largest distance from the robot's centre to the
 * footprint's vertices and edges (the inscribed and circumscribed radii).
 */
void calculateMinAndMaxDistances(
  const std::vector<geometry_msgs::msg::Point> & footprint, double & min_dist, double & max_dist);

/** @brief A Point32 as a Point. */
geometry_msgs::msg::Point toPoint(geometry_msgs::msg::Point32 pt);

/** @brief A Point as a Point32. */
geometry_msgs::msg::Point32 toPoint32(geometry_msgs::msg::Point pt);

/** @brief Points as a Polygon. */
geometry_msgs::msg::Polygon toPolygon(std::vector<geometry_msgs::msg::Point> pts);

/** @brief A Polygon's vertices as Points. */
std::vector<geometry_msgs::msg::Point> toPointVector(
  geometry_msgs::msg::Polygon::SharedPtr polygon);

/** @brief The footprint rotated by @p theta and moved to (@p x, @p y). */
void transformFootprint(
  double x, double y, double theta, const std::vector<geometry_msgs::msg::Point> & footprint_spec,
  std::vector<geometry_msgs::msg::Point> & oriented_footprint);

/** @brief The footprint rotated by @p theta and moved to (@p x, @p y), as a polygon. */
void transformFootprint(
  double x, double y, double theta, const std::vector<geometry_msgs::msg::Point> & footprint_spec,
  geometry_msgs::msg::PolygonStamped & oriented_footprint);

/** @brief Moves every coordinate of the footprint away from zero by @p padding, in place. */
void padFootprint(std::vector<geometry_msgs::msg::Point> & footprint, double padding);

/** @brief A 16-point circle of radius @p radius. */
std::vector<geometry_msgs::msg::Point> makeFootprintFromRadius(double radius);

/**
 * @brief Parses a footprint written as a bracketed array of pairs,
 * "[[x1, y1], [x2, y2], ...]", appending its points to @p footprint.
 *
 * @return false, after logging what was wrong, when the string does not parse,
 * has fewer than three points or a point that is not exactly two numbers;
 * @p footprint then holds the points taken before the fault.
 */
bool makeFootprintFromString(
  const std::string & footprint_string, std::vector<geometry_msgs::msg::Point> & footprint);

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__FOOTPRINT_HPP_
