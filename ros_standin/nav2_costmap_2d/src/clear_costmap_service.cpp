#include "nav2_costmap_2d/clear_costmap_service.hpp"

#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "nav2_costmap_2d/costmap_2d_ros.hpp"

namespace nav2_costmap_2d
{

using std::placeholders::_1;
using std::placeholders::_2;
using std::placeholders::_3;

ClearCostmapService::ClearCostmapService(
  const nav2_util::LifecycleNode::WeakPtr & parent, Costmap2DROS & costmap)
: costmap_(costmap)
{
  auto node = parent.lock();
  if (!node) {
    throw std::runtime_error(
      "ClearCostmapService for costmap '" + costmap.getName() + "': node expired");
  }
  logger_ = node->get_logger();
  reset_value_ = costmap_.getCostmap()->getDefaultValue();

  clear_except_service_ = node->create_service<nav2_msgs::srv::ClearCostmapExceptRegion>(
    "clear_except_" + costmap_.getName(),
    std::bind(&ClearCostmapService::clearExceptRegionCallback, this, _1, _2, _3));

  clear_around_service_ = node->create_service<nav2_msgs::srv::ClearCostmapAroundRobot>(
    "clear_around_" + costmap_.getName(),
    std::bind(&ClearCostmapService::clearAroundRobotCallback, this, _1, _2, _3));

  clear_entire_service_ = node->create_service<nav2_msgs::srv::ClearEntireCostmap>(
    "clear_entirely_" + costmap_.getName(),
    std::bind(&ClearCostmapService::clearEntireCallback, this, _1, _2, _3));
}

ClearCostmapService::~ClearCostmapService()
{
  // The services' callbacks point at this object; they go first.
  clear_except_service_.reset();
  clear_around_service_.reset();
  clear_entire_service_.reset();
}

void ClearCostmapService::clearExceptRegionCallback(
  const std::shared_ptr<rmw_request_id_t>,
  const std::shared_ptr<nav2_msgs::srv::ClearCostmapExceptRegion::Request> request,
  const std::shared_ptr<nav2_msgs::srv::ClearCostmapExceptRegion::Response>)
{
  RCLCPP_INFO(
    logger_, "Received request to clear except a region the %s", costmap_.getName().c_str());
  clearRegion(request->reset_distance, true);
}

void ClearCostmapService::clearAroundRobotCallback(
  const std::shared_ptr<rmw_request_id_t>,
  const std::shared_ptr<nav2_msgs::srv::ClearCostmapAroundRobot::Request> request,
  const std::shared_ptr<nav2_msgs::srv::ClearCostmapAroundRobot::Response>)
{
  clearRegion(request->reset_distance, false);
}

void ClearCostmapService::clearEntireCallback(
  const std::shared_ptr<rmw_request_id_t>,
  const std::shared_ptr<nav2_msgs::srv::ClearEntireCostmap::Request>,
  const std::shared_ptr<nav2_msgs::srv::ClearEntireCostmap::Response>)
{
  RCLCPP_INFO(logger_, "Received request to clear entirely the %s", costmap_.getName().c_str());
  clearEntirely();
}

void ClearCostmapService::clearRegion(double reset_distance, bool invert)
{
  double x, y;
  if (!getPosition(x, y)) {
    RCLCPP_ERROR(logger_, "Cannot clear map because robot pose cannot be retrieved.");
    return;
  }

  // Filters are never clearable, so only the plugins are visited.
  for (auto & layer : *costmap_.getLayeredCostmap()->getPlugins()) {
    if (layer->isClearable()) {
      auto costmap_layer = std::static_pointer_cast<CostmapLayer>(layer);
      clearLayerRegion(costmap_layer, x, y, reset_distance, invert);
    }
  }
}

void ClearCostmapService::clearLayerRegion(
  std::shared_ptr<CostmapLayer> & costmap, double pose_x, double pose_y, double reset_distance,
  bool invert)
{
  std::unique_lock<Costmap2D::mutex_t> lock(*(costmap->getMutex()));

  const double start_point_x = pose_x - reset_distance / 2;
  const double start_point_y = pose_y - reset_distance / 2;
  const double end_point_x = start_point_x + reset_distance;
  const double end_point_y = start_point_y + reset_distance;

  int start_x, start_y, end_x, end_y;
  costmap->worldToMapNoBounds(start_point_x, start_point_y, start_x, start_y);
  costmap->worldToMapNoBounds(end_point_x, end_point_y, end_x, end_y);

  costmap->clearArea(start_x, start_y, end_x, end_y, invert);

  // The whole layer is re-merged on the next update.
  const double ox = costmap->getOriginX();
  const double oy = costmap->getOriginY();
  const double width = costmap->getSizeInMetersX();
  const double height = costmap->getSizeInMetersY();
  costmap->addExtraBounds(ox, oy, ox + width, oy + height);
}

void ClearCostmapService::clearEntirely()
{
  auto * layered_costmap = costmap_.getLayeredCostmap();
  std::unique_lock<Costmap2D::mutex_t> lock(*(layered_costmap->getCostmap()->getMutex()));
  Costmap2D * top = layered_costmap->getCostmap();
  top->resetMap(0, 0, top->getSizeInCellsX(), top->getSizeInCellsY());
  for (auto & layer : *layered_costmap->getPlugins()) {
    if (layer->isClearable()) {
      layer->reset();
    }
  }
}

bool ClearCostmapService::getPosition(double & x, double & y) const
{
  geometry_msgs::msg::PoseStamped pose;
  if (!costmap_.getRobotPose(pose)) {
    return false;
  }
  x = pose.pose.position.x;
  y = pose.pose.position.y;
  return true;
}

}  // namespace nav2_costmap_2d
