#include "nav2_costmap_2d/footprint.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "array_parser.hpp"
#include "rclcpp/logging.hpp"

namespace nav2_costmap_2d
{

namespace
{

double distance(double x0, double y0, double x1, double y1)
{
  return std::hypot(x1 - x0, y1 - y0);
}

// Distance from (px, py) to the segment (x0, y0)-(x1, y1).
double distanceToLine(double px, double py, double x0, double y0, double x1, double y1)
{
  const double a = px - x0;
  const double b = py - y0;
  const double c = x1 - x0;
  const double d = y1 - y0;
  const double len_sq = c * c + d * d;
  const double param = (a * c + b * d) / len_sq;

  double xx, yy;
  if (param < 0) {
    xx = x0;
    yy = y0;
  } else if (param > 1) {
    xx = x1;
    yy = y1;
  } else {
    xx = x0 + param * c;
    yy = y0 + param * d;
  }
  return distance(px, py, xx, yy);
}

double sign0(double x)
{
  return x < 0.0 ? -1.0 : (x > 0.0 ? 1.0 : 0.0);
}

}  // namespace

void calculateMinAndMaxDistances(
  const std::vector<geometry_msgs::msg::Point> & footprint, double & min_dist, double & max_dist)
{
  min_dist = std::numeric_limits<double>::max();
  max_dist = 0.0;

  if (footprint.size() <= 2) {
    return;
  }

  for (unsigned int i = 0; i < footprint.size() - 1; ++i) {
    const double vertex_dist = distance(0.0, 0.0, footprint[i].x, footprint[i].y);
    const double edge_dist = distanceToLine(
      0.0, 0.0, footprint[i].x, footprint[i].y, footprint[i + 1].x, footprint[i + 1].y);
    min_dist = std::min(min_dist, std::min(vertex_dist, edge_dist));
    max_dist = std::max(max_dist, std::max(vertex_dist, edge_dist));
  }

  // The closing edge, from the last vertex back to the first.
  const double vertex_dist = distance(0.0, 0.0, footprint.back().x, footprint.back().y);
  const double edge_dist = distanceToLine(
    0.0, 0.0, footprint.back().x, footprint.back().y, footprint.front().x, footprint.front().y);
  min_dist = std::min(min_dist, std::min(vertex_dist, edge_dist));
  max_dist = std::max(max_dist, std::max(vertex_dist, edge_dist));
}

geometry_msgs::msg::Point32 toPoint32(geometry_msgs::msg::Point pt)
{
  geometry_msgs::msg::Point32 point32;
  point32.x = pt.x;
  point32.y = pt.y;
  point32.z = pt.z;
  return point32;
}

geometry_msgs::msg::Point toPoint(geometry_msgs::msg::Point32 pt)
{
  geometry_msgs::msg::Point point;
  point.x = pt.x;
  point.y = pt.y;
  point.z = pt.z;
  return point;
}

geometry_msgs::msg::Polygon toPolygon(std::vector<geometry_msgs::msg::Point> pts)
{
  geometry_msgs::msg::Polygon polygon;
  for (const auto & pt : pts) {
    polygon.points.push_back(toPoint32(pt));
  }
  return polygon;
}

std::vector<geometry_msgs::msg::Point> toPointVector(geometry_msgs::msg::Polygon::SharedPtr polygon)
{
  std::vector<geometry_msgs::msg::Point> pts;
  for (const auto & point : polygon->points) {
    pts.push_back(toPoint(point));
  }
  return pts;
}

void transformFootprint(
  double x, double y, double theta, const std::vector<geometry_msgs::msg::Point> & footprint_spec,
  std::vector<geometry_msgs::msg::Point> & oriented_footprint)
{
  oriented_footprint.clear();
  const double cos_th = std::cos(theta);
  const double sin_th = std::sin(theta);
  for (const auto & vertex : footprint_spec) {
    geometry_msgs::msg::Point new_pt;
    new_pt.x = x + (vertex.x * cos_th - vertex.y * sin_th);
    new_pt.y = y + (vertex.x * sin_th + vertex.y * cos_th);
    oriented_footprint.push_back(new_pt);
  }
}

void transformFootprint(
  double x, double y, double theta, const std::vector<geometry_msgs::msg::Point> & footprint_spec,
  geometry_msgs::msg::PolygonStamped & oriented_footprint)
{
  oriented_footprint.polygon.points.clear();
  const double cos_th = std::cos(theta);
  const double sin_th = std::sin(theta);
  for (const auto & vertex : footprint_spec) {
    geometry_msgs::msg::Point32 new_pt;
    new_pt.x = x + (vertex.x * cos_th - vertex.y * sin_th);
    new_pt.y = y + (vertex.x * sin_th + vertex.y * cos_th);
    oriented_footprint.polygon.points.push_back(new_pt);
  }
}

void padFootprint(std::vector<geometry_msgs::msg::Point> & footprint, double padding)
{
  for (auto & pt : footprint) {
    pt.x += sign0(pt.x) * padding;
    pt.y += sign0(pt.y) * padding;
  }
}

std::vector<geometry_msgs::msg::Point> makeFootprintFromRadius(double radius)
{
  std::vector<geometry_msgs::msg::Point> points;
  constexpr int kPoints = 16;
  geometry_msgs::msg::Point pt;
  for (int i = 0; i < kPoints; ++i) {
    const double angle = i * 2 * M_PI / kPoints;
    pt.x = std::cos(angle) * radius;
    pt.y = std::sin(angle) * radius;
    points.push_back(pt);
  }
  return points;
}

bool makeFootprintFromString(
  const std::string & footprint_string, std::vector<geometry_msgs::msg::Point> & footprint)
{
  const auto logger = rclcpp::get_logger("nav2_costmap_2d");
  std::string error;
  const std::vector<std::vector<float>> vvf = parseVVF(footprint_string, error);

  if (!error.empty()) {
    RCLCPP_ERROR(logger, "Error parsing footprint parameter: '%s'", error.c_str());
    RCLCPP_ERROR(logger, "  Footprint string was '%s'.", footprint_string.c_str());
    return false;
  }

  if (vvf.size() < 3) {
    RCLCPP_ERROR(
      logger,
      "You must specify at least three points for the robot footprint, reverting to previous "
      "footprint.");
    return false;
  }

  // Points are appended one by one, so a bad point leaves those before it.
  footprint.reserve(vvf.size());
  for (const auto & numbers : vvf) {
    if (numbers.size() != 2) {
      RCLCPP_ERROR(
        logger,
        "Points in the footprint must be pairs of numbers. Found a point with %d "
        "numbers.",
        static_cast<int>(numbers.size()));
      return false;
    }
    geometry_msgs::msg::Point point;
    point.x = numbers[0];
    point.y = numbers[1];
    point.z = 0;
    footprint.push_back(point);
  }

  return true;
}

}  // namespace nav2_costmap_2d
