#include "nav2_costmap_2d/costmap_2d_publisher.hpp"

#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "nav2_costmap_2d/cost_values.hpp"

namespace nav2_costmap_2d
{

namespace
{

// Costs to occupancy values: free 0, inscribed 99, lethal 100, unknown -1,
// and 1..252 scaled into 1..98.
char * buildCostTranslationTable()
{
  static char table[256];
  table[FREE_SPACE] = 0;
  table[INSCRIBED_INFLATED_OBSTACLE] = 99;
  table[LETHAL_OBSTACLE] = 100;
  table[NO_INFORMATION] = -1;
  for (int i = 1; i < INSCRIBED_INFLATED_OBSTACLE; i++) {
    table[i] = static_cast<char>(1 + (97 * (i - 1)) / 251);
  }
  return table;
}

}  // namespace

char * Costmap2DPublisher::cost_translation_table_ = nullptr;

Costmap2DPublisher::Costmap2DPublisher(
  const nav2_util::LifecycleNode::WeakPtr & parent, Costmap2D * costmap, std::string global_frame,
  std::string topic_name, bool always_send_full_costmap)
: costmap_(costmap),
  global_frame_(global_frame),
  topic_name_(topic_name),
  // Upstream leaves the saved grid shape unset until the first full grid, so
  // the first publication is a full grid; NaN makes that certain.
  saved_origin_x_(std::numeric_limits<double>::quiet_NaN()),
  saved_origin_y_(std::numeric_limits<double>::quiet_NaN()),
  active_(false),
  always_send_full_costmap_(always_send_full_costmap),
  grid_resolution(0.0f),
  grid_width(0),
  grid_height(0)
{
  auto node = parent.lock();
  if (!node) {
    throw std::runtime_error("Costmap2DPublisher for topic '" + topic_name + "': node expired");
  }
  clock_ = node->get_clock();
  logger_ = node->get_logger();

  // Latched, so a late subscriber still gets the last grid.
  auto custom_qos = rclcpp::QoS(rclcpp::KeepLast(1)).transient_local().reliable();

  costmap_pub_ = node->create_publisher<nav_msgs::msg::OccupancyGrid>(topic_name, custom_qos);
  costmap_raw_pub_ =
    node->create_publisher<nav2_msgs::msg::Costmap>(topic_name + "_raw", custom_qos);
  costmap_update_pub_ =
    node->create_publisher<map_msgs::msg::OccupancyGridUpdate>(topic_name + "_updates", custom_qos);

  costmap_service_ = node->create_service<nav2_msgs::srv::GetCostmap>(
    "get_" + topic_name, std::bind(
                           &Costmap2DPublisher::costmap_service_callback, this,
                           std::placeholders::_1, std::placeholders::_2, std::placeholders::_3));

  // Built once for the process, as upstream's static table is.
  static char * const table = buildCostTranslationTable();
  cost_translation_table_ = table;

  xn_ = yn_ = 0;
  x0_ = costmap_->getSizeInCellsX();
  y0_ = costmap_->getSizeInCellsY();
}

Costmap2DPublisher::~Costmap2DPublisher() {}

void Costmap2DPublisher::prepareGrid()
{
  std::unique_lock<Costmap2D::mutex_t> lock(*(costmap_->getMutex()));
  grid_resolution = costmap_->getResolution();
  grid_width = costmap_->getSizeInCellsX();
  grid_height = costmap_->getSizeInCellsY();

  grid_ = std::make_unique<nav_msgs::msg::OccupancyGrid>();

  grid_->header.frame_id = global_frame_;
  grid_->header.stamp = clock_->now();

  grid_->info.resolution = grid_resolution;
  grid_->info.width = grid_width;
  grid_->info.height = grid_height;

  double wx, wy;
  costmap_->mapToWorld(0, 0, wx, wy);
  grid_->info.origin.position.x = wx - grid_resolution / 2;
  grid_->info.origin.position.y = wy - grid_resolution / 2;
  grid_->info.origin.position.z = 0.0;
  grid_->info.origin.orientation.w = 1.0;
  saved_origin_x_ = costmap_->getOriginX();
  saved_origin_y_ = costmap_->getOriginY();

  grid_->data.resize(grid_->info.width * grid_->info.height);

  const unsigned char * data = costmap_->getCharMap();
  for (unsigned int i = 0; i < grid_->data.size(); i++) {
    grid_->data[i] = cost_translation_table_[data[i]];
  }
}

void Costmap2DPublisher::prepareCostmap()
{
  std::unique_lock<Costmap2D::mutex_t> lock(*(costmap_->getMutex()));
  const double resolution = costmap_->getResolution();

  costmap_raw_ = std::make_unique<nav2_msgs::msg::Costmap>();

  costmap_raw_->header.frame_id = global_frame_;
  costmap_raw_->header.stamp = clock_->now();

  costmap_raw_->metadata.layer = "master";
  costmap_raw_->metadata.resolution = resolution;

  costmap_raw_->metadata.size_x = costmap_->getSizeInCellsX();
  costmap_raw_->metadata.size_y = costmap_->getSizeInCellsY();

  double wx, wy;
  costmap_->mapToWorld(0, 0, wx, wy);
  costmap_raw_->metadata.origin.position.x = wx - resolution / 2;
  costmap_raw_->metadata.origin.position.y = wy - resolution / 2;
  costmap_raw_->metadata.origin.position.z = 0.0;
  costmap_raw_->metadata.origin.orientation.w = 1.0;

  costmap_raw_->data.resize(costmap_raw_->metadata.size_x * costmap_raw_->metadata.size_y);

  const unsigned char * data = costmap_->getCharMap();
  for (unsigned int i = 0; i < costmap_raw_->data.size(); i++) {
    costmap_raw_->data[i] = data[i];
  }
}

void Costmap2DPublisher::publishCostmap()
{
  if (costmap_raw_pub_->get_subscription_count() > 0) {
    prepareCostmap();
    costmap_raw_pub_->publish(std::move(costmap_raw_));
  }

  const float resolution = costmap_->getResolution();
  if (
    always_send_full_costmap_ || grid_resolution != resolution ||
    grid_width != costmap_->getSizeInCellsX() || grid_height != costmap_->getSizeInCellsY() ||
    saved_origin_x_ != costmap_->getOriginX() || saved_origin_y_ != costmap_->getOriginY()) {
    if (costmap_pub_->get_subscription_count() > 0) {
      prepareGrid();
      costmap_pub_->publish(std::move(grid_));
    }
  } else if (x0_ < xn_) {
    if (costmap_update_pub_->get_subscription_count() > 0) {
      std::unique_lock<Costmap2D::mutex_t> lock(*(costmap_->getMutex()));
      auto update = std::make_unique<map_msgs::msg::OccupancyGridUpdate>();
      // Upstream leaves the update's stamp at zero.
      update->header.stamp = rclcpp::Time();
      update->header.frame_id = global_frame_;
      update->x = x0_;
      update->y = y0_;
      update->width = xn_ - x0_;
      update->height = yn_ - y0_;
      update->data.resize(update->width * update->height);
      unsigned int i = 0;
      for (unsigned int y = y0_; y < yn_; y++) {
        for (unsigned int x = x0_; x < xn_; x++) {
          update->data[i++] = cost_translation_table_[costmap_->getCost(x, y)];
        }
      }
      costmap_update_pub_->publish(std::move(update));
    }
  }

  xn_ = yn_ = 0;
  x0_ = costmap_->getSizeInCellsX();
  y0_ = costmap_->getSizeInCellsY();
}

void Costmap2DPublisher::costmap_service_callback(
  const std::shared_ptr<rmw_request_id_t>,
  const std::shared_ptr<nav2_msgs::srv::GetCostmap::Request>,
  const std::shared_ptr<nav2_msgs::srv::GetCostmap::Response> response)
{
  RCLCPP_DEBUG(logger_, "Received costmap service request");

  std::unique_lock<Costmap2D::mutex_t> lock(*(costmap_->getMutex()));
  const auto size_x = costmap_->getSizeInCellsX();
  const auto size_y = costmap_->getSizeInCellsY();
  const auto data_length = size_x * size_y;
  const unsigned char * data = costmap_->getCharMap();
  const auto current_time = clock_->now();

  response->map.header.stamp = current_time;
  response->map.header.frame_id = global_frame_;
  response->map.metadata.size_x = size_x;
  response->map.metadata.size_y = size_y;
  response->map.metadata.resolution = costmap_->getResolution();
  response->map.metadata.layer = "master";
  response->map.metadata.map_load_time = current_time;
  response->map.metadata.update_time = current_time;
  response->map.metadata.origin.position.x = costmap_->getOriginX();
  response->map.metadata.origin.position.y = costmap_->getOriginY();
  response->map.metadata.origin.position.z = 0.0;
  // Upstream fills in the identity quaternion here.
  response->map.metadata.origin.orientation.w = 1.0;
  response->map.data.assign(data, data + data_length);
}

}  // namespace nav2_costmap_2d
