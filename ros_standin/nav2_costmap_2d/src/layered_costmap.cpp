#include "nav2_costmap_2d/layered_costmap.hpp"

#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "nav2_costmap_2d/footprint.hpp"
#include "nav2_costmap_2d/layer.hpp"
#include "rclcpp/logging.hpp"

namespace nav2_costmap_2d
{

namespace
{

// Runs updateBounds on every enabled layer of @p layers, warning about a layer
// that shrank the bounds it was given (upstream's "illegal bounds change").
void collectBounds(
  const std::vector<std::shared_ptr<Layer>> & layers, double robot_x, double robot_y,
  double robot_yaw, double & minx, double & miny, double & maxx, double & maxy)
{
  for (const auto & layer : layers) {
    if (!layer->isEnabled()) {
      continue;
    }
    const double prev_minx = minx;
    const double prev_miny = miny;
    const double prev_maxx = maxx;
    const double prev_maxy = maxy;
    layer->updateBounds(robot_x, robot_y, robot_yaw, &minx, &miny, &maxx, &maxy);
    if (minx > prev_minx || miny > prev_miny || maxx < prev_maxx || maxy < prev_maxy) {
      RCLCPP_WARN(
        rclcpp::get_logger("nav2_costmap_2d"),
        "Illegal bounds change, was [tl: (%f, %f), br: (%f, %f)], but "
        "is now [tl: (%f, %f), br: (%f, %f)]. The offending layer is %s",
        prev_minx, prev_miny, prev_maxx, prev_maxy, minx, miny, maxx, maxy,
        layer->getName().c_str());
    }
  }
}

void applyCosts(
  const std::vector<std::shared_ptr<Layer>> & layers, Costmap2D & grid, int x0, int y0, int xn,
  int yn)
{
  for (const auto & layer : layers) {
    if (layer->isEnabled()) {
      layer->updateCosts(grid, x0, y0, xn, yn);
    }
  }
}

}  // namespace

LayeredCostmap::LayeredCostmap(std::string global_frame, bool rolling_window, bool track_unknown)
: primary_costmap_(),
  combined_costmap_(),
  global_frame_(global_frame),
  rolling_window_(rolling_window),
  current_(false),
  minx_(0.0),
  miny_(0.0),
  maxx_(0.0),
  maxy_(0.0),
  bx0_(0),
  bxn_(0),
  by0_(0),
  byn_(0),
  initialized_(false),
  size_locked_(false),
  circumscribed_radius_(1.0),
  inscribed_radius_(0.1)
{
  const unsigned char default_value = track_unknown ? NO_INFORMATION : FREE_SPACE;
  primary_costmap_.setDefaultValue(default_value);
  combined_costmap_.setDefaultValue(default_value);
}

LayeredCostmap::~LayeredCostmap()
{
  // Last added goes first, as upstream pops them off the back.
  while (!plugins_.empty()) {
    plugins_.pop_back();
  }
  while (!filters_.empty()) {
    filters_.pop_back();
  }
}

void LayeredCostmap::addPlugin(std::shared_ptr<Layer> plugin)
{
  std::unique_lock<Costmap2D::mutex_t> lock(*(combined_costmap_.getMutex()));
  plugins_.push_back(plugin);
}

void LayeredCostmap::addFilter(std::shared_ptr<Layer> filter)
{
  std::unique_lock<Costmap2D::mutex_t> lock(*(combined_costmap_.getMutex()));
  filters_.push_back(filter);
}

void LayeredCostmap::resizeMap(
  unsigned int size_x, unsigned int size_y, double resolution, double origin_x, double origin_y,
  bool size_locked)
{
  std::unique_lock<Costmap2D::mutex_t> lock(*(combined_costmap_.getMutex()));
  size_locked_ = size_locked;
  primary_costmap_.resizeMap(size_x, size_y, resolution, origin_x, origin_y);
  combined_costmap_.resizeMap(size_x, size_y, resolution, origin_x, origin_y);
  for (auto & plugin : plugins_) {
    plugin->matchSize();
  }
  for (auto & filter : filters_) {
    filter->matchSize();
  }
}

bool LayeredCostmap::isOutofBounds(double robot_x, double robot_y)
{
  unsigned int mx, my;
  return !combined_costmap_.worldToMap(robot_x, robot_y, mx, my);
}

void LayeredCostmap::updateMap(double robot_x, double robot_y, double robot_yaw)
{
  // Held for the whole update: some layers' updateBounds are not thread safe.
  std::unique_lock<Costmap2D::mutex_t> lock(*(combined_costmap_.getMutex()));

  if (rolling_window_) {
    const double new_origin_x = robot_x - combined_costmap_.getSizeInMetersX() / 2;
    const double new_origin_y = robot_y - combined_costmap_.getSizeInMetersY() / 2;
    primary_costmap_.updateOrigin(new_origin_x, new_origin_y);
    combined_costmap_.updateOrigin(new_origin_x, new_origin_y);
  }

  if (isOutofBounds(robot_x, robot_y)) {
    RCLCPP_WARN(rclcpp::get_logger("nav2_costmap_2d"), "Robot is out of bounds of the costmap!");
  }

  minx_ = miny_ = std::numeric_limits<double>::max();
  maxx_ = maxy_ = std::numeric_limits<double>::lowest();

  // Only enabled layers take part. Upstream leaves that check to each layer's
  // own updateBounds/updateCosts; doing it here gives the same result for
  // layers that honour enabled_.
  collectBounds(plugins_, robot_x, robot_y, robot_yaw, minx_, miny_, maxx_, maxy_);
  collectBounds(filters_, robot_x, robot_y, robot_yaw, minx_, miny_, maxx_, maxy_);

  int x0, xn, y0, yn;
  combined_costmap_.worldToMapEnforceBounds(minx_, miny_, x0, y0);
  combined_costmap_.worldToMapEnforceBounds(maxx_, maxy_, xn, yn);

  x0 = std::max(0, x0);
  xn = std::min(static_cast<int>(combined_costmap_.getSizeInCellsX()), xn + 1);
  y0 = std::max(0, y0);
  yn = std::min(static_cast<int>(combined_costmap_.getSizeInCellsY()), yn + 1);

  RCLCPP_DEBUG(
    rclcpp::get_logger("nav2_costmap_2d"), "Updating area x: [%d, %d] y: [%d, %d]", x0, xn, y0, yn);

  if (xn < x0 || yn < y0) {
    // No layer widened the bounds (or there is none): nothing to redraw.
    // Upstream returns here before marking itself initialized, so a costmap
    // whose layers never touch a cell is never published; here the update
    // still counts, as it does for any other pass over the layers.
    bx0_ = bxn_ = by0_ = byn_ = 0;
    initialized_ = true;
    isCurrent();
    return;
  }

  if (filters_.empty()) {
    combined_costmap_.resetMap(x0, y0, xn, yn);
    applyCosts(plugins_, combined_costmap_, x0, y0, xn, yn);
  } else {
    // The plugins draw into the primary costmap, which the filters never
    // touch, so the next update's plugins do not see the filters' work.
    primary_costmap_.resetMap(x0, y0, xn, yn);
    applyCosts(plugins_, primary_costmap_, x0, y0, xn, yn);

    if (!combined_costmap_.copyWindow(primary_costmap_, x0, y0, xn, yn, x0, y0)) {
      RCLCPP_ERROR(
        rclcpp::get_logger("nav2_costmap_2d"), "Can not copy costmap (%i,%i)..(%i,%i) window", x0,
        y0, xn, yn);
      throw std::runtime_error{"Can not copy costmap"};
    }

    applyCosts(filters_, combined_costmap_, x0, y0, xn, yn);
  }

  bx0_ = x0;
  bxn_ = xn;
  by0_ = y0;
  byn_ = yn;

  initialized_ = true;
  isCurrent();
}

bool LayeredCostmap::isCurrent()
{
  // A disabled layer never updates, so it cannot hold the costmap back.
  current_ = true;
  for (const auto & plugin : plugins_) {
    current_ = current_ && (plugin->isCurrent() || !plugin->isEnabled());
  }
  for (const auto & filter : filters_) {
    current_ = current_ && (filter->isCurrent() || !filter->isEnabled());
  }
  return current_;
}

void LayeredCostmap::setFootprint(const std::vector<geometry_msgs::msg::Point> & footprint_spec)
{
  footprint_ = footprint_spec;
  calculateMinAndMaxDistances(footprint_spec, inscribed_radius_, circumscribed_radius_);

  for (auto & plugin : plugins_) {
    plugin->onFootprintChanged();
  }
  for (auto & filter : filters_) {
    filter->onFootprintChanged();
  }
}

}  // namespace nav2_costmap_2d
