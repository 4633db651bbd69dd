// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "kestrune_nav2_base_class/logger.hpp"
#include "tf2_ros/create_timer_ros.h"

namespace nav2_costmap_2d
{

namespace
{

/// Cells along one side: the size over the resolution, truncated toward zero.
/// Values that would make the count meaningless are refused by name.
unsigned int cellCount(const char * parameter, int meters, double resolution)
{
  if (meters < 0) {
    throw std::invalid_argument(
      fmt::format("parameter '{}' is {}: a map size cannot be negative", parameter, meters));
  }
  const double cells = static_cast<double>(meters) / resolution;
  if (cells > static_cast<double>(std::numeric_limits<std::uint32_t>::max())) {
    throw std::invalid_argument(fmt::format(
      "parameter '{}' is {} at resolution {}: {} cells do not fit in 32 bits", parameter, meters,
      resolution, cells));
  }
  return static_cast<unsigned int>(cells);
}

void checkResolution(double resolution)
{
  if (!std::isfinite(resolution) || resolution <= 0.0) {
    throw std::invalid_argument(fmt::format(
      "parameter 'resolution' is {}: it must be a finite number above zero", resolution));
  }
}

/// Keeps the transform wait at one pass per period without drifting, as a
/// rate does: a pass that overran its tick does not sleep, and one that
/// overran it by more than a period starts the schedule afresh.
void paceTransformWait(std::chrono::system_clock::time_point & last_tick)
{
  constexpr std::chrono::nanoseconds kPeriod = std::chrono::milliseconds(20);
  const auto now = std::chrono::system_clock::now();
  const auto next_tick = last_tick + kPeriod;
  if (now < last_tick) {
    // The clock went back, or the schedule was restarted ahead of now.
    rclcpp::sleep_for(kPeriod);
    last_tick = next_tick;
  } else if (next_tick > now) {
    rclcpp::sleep_for(std::chrono::duration_cast<std::chrono::nanoseconds>(next_tick - now));
    last_tick = next_tick;
  } else if (now > next_tick + kPeriod) {
    last_tick = now + kPeriod;
  } else {
    last_tick = next_tick;
  }
}

}  // namespace

KestruneCostmap2DROS::KestruneCostmap2DROS(const std::string & name)
: Costmap2DROS(name)
{
}

KestruneCostmap2DROS::KestruneCostmap2DROS(
  const std::string & name, const std::string & parent_namespace,
  const std::string & local_namespace)
: Costmap2DROS(name, parent_namespace, local_namespace)
{
}

KestruneCostmap2DROS::~KestruneCostmap2DROS()
{
  // Humble's ~Costmap2DROS stops nothing: a running map update loop would end
  // the process when its std::thread is destroyed, and what configure built
  // would outlive the plugin loader that unloads the layers' libraries. So the
  // threads stop first, then everything goes as cleanup lets it go.
  node_thread_.reset();
  if (map_update_thread_ && map_update_thread_->joinable()) {
    map_update_thread_shutdown_ = true;
    map_update_thread_->join();
  }
  releaseConfigured();
}

void KestruneCostmap2DROS::releaseConfigured()
{
  // The node thread goes first: its callbacks (transform timers, layer
  // callbacks) use the objects released after it.
  node_thread_.reset();
  layered_costmap_.reset();
  tf_listener_.reset();
  tf_buffer_.reset();
  footprint_sub_.reset();
  footprint_pub_.reset();
  costmap_publisher_.reset();
  clear_costmap_service_.reset();
  // The private group keeps references to what the layers made in it, with
  // code of the layers' libraries (the buffer's timer interface above held
  // the group too); configure builds both afresh.
  executor_.reset();
  callback_group_.reset();
}

void KestruneCostmap2DROS::checkPluginTypesAreSet(const std::string & list_parameter)
{
  std::vector<std::string> names;
  get_parameter(list_parameter, names);
  if (list_parameter == "plugins" && names == default_plugins_) {
    return;  // the base gives Nav2's default layers their types
  }
  for (const auto & name : names) {
    const std::string type_parameter = name + ".plugin";
    if (!has_parameter(type_parameter)) {
      declare_parameter(type_parameter, rclcpp::PARAMETER_STRING);
    }
    rclcpp::Parameter type;
    if (
      !get_parameter(type_parameter, type) || type.get_type() != rclcpp::PARAMETER_STRING ||
      type.as_string().empty()) {
      throw std::invalid_argument(fmt::format(
        "\"{}\" in parameter '{}' has no plugin type: set parameter '{}'", name, list_parameter,
        type_parameter));
    }
  }
}

nav2_util::CallbackReturn KestruneCostmap2DROS::on_configure(const rclcpp_lifecycle::State &)
{
  KESTRUNE_LOG_INFO("Configuring");
  checkPluginTypesAreSet("plugins");
  checkPluginTypesAreSet("filters");
  getParameters();

  callback_group_ = create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);

  layered_costmap_ =
    std::make_unique<LayeredCostmap>(global_frame_, rolling_window_, track_unknown_space_);
  if (!layered_costmap_->isSizeLocked()) {
    checkResolution(resolution_);
    layered_costmap_->resizeMap(
      cellCount("width", map_width_meters_, resolution_),
      cellCount("height", map_height_meters_, resolution_), resolution_, origin_x_, origin_y_,
      false);
  }

  tf_buffer_ = std::make_shared<tf2_ros::Buffer>(
    get_clock(), tf2::Duration(std::chrono::seconds(10)), rclcpp::Node::SharedPtr());
  // Transform timers run in the private group, so only the node thread serves them.
  auto timer_interface = std::make_shared<tf2_ros::CreateTimerROS>(
    get_node_base_interface(), get_node_timers_interface(), callback_group_);
  tf_buffer_->setCreateTimerInterface(timer_interface);
  tf_listener_ = std::make_shared<tf2_ros::TransformListener>(*tf_buffer_, true);

  for (std::uint32_t i = 0; i < plugin_names_.size(); ++i) {
    KESTRUNE_LOG_INFO("Using plugin \"{}\"", plugin_names_[i]);
    loadLayer(plugin_names_[i], plugin_types_[i], false);
    KESTRUNE_LOG_INFO("Initialized plugin \"{}\"", plugin_names_[i]);
  }
  for (std::uint32_t i = 0; i < filter_names_.size(); ++i) {
    KESTRUNE_LOG_INFO("Using costmap filter \"{}\"", filter_names_[i]);
    loadLayer(filter_names_[i], filter_types_[i], true);
    KESTRUNE_LOG_INFO("Initialized costmap filter \"{}\"", filter_names_[i]);
  }

  footprint_sub_ = create_subscription<geometry_msgs::msg::Polygon>(
    "footprint", rclcpp::SystemDefaultsQoS(),
    std::bind(&Costmap2DROS::setRobotFootprintPolygon, this, std::placeholders::_1));
  footprint_pub_ = create_publisher<geometry_msgs::msg::PolygonStamped>(
    "published_footprint", rclcpp::SystemDefaultsQoS());
  costmap_publisher_ = std::make_unique<Costmap2DPublisher>(
    shared_from_this(), layered_costmap_->getCostmap(), global_frame_, "costmap",
    always_send_full_costmap_);

  if (use_radius_) {
    setRobotFootprint(makeFootprintFromRadius(robot_radius_));
  } else {
    // An unparsable string still sets whatever the parser left, as upstream does.
    std::vector<geometry_msgs::msg::Point> footprint;
    makeFootprintFromString(footprint_, footprint);
    setRobotFootprint(footprint);
  }

  clear_costmap_service_ = std::make_unique<ClearCostmapService>(shared_from_this(), *this);

  executor_ =
    std::make_shared<rclcpp::executors::SingleThreadedExecutor>(rclcpp::ExecutorOptions());
  executor_->add_callback_group(callback_group_, get_node_base_interface(), true);
  node_thread_ = std::make_unique<nav2_util::KestruneNodeThread>(executor_);
  return nav2_util::CallbackReturn::SUCCESS;
}

void KestruneCostmap2DROS::loadLayer(
  const std::string & name, const std::string & type, bool is_filter)
{
  std::shared_ptr<Layer> layer = plugin_loader_.createUniqueInstance(type);
  std::unique_lock<Costmap2D::mutex_t> lock(*layered_costmap_->getCostmap()->getMutex());
  if (is_filter) {
    layered_costmap_->addFilter(layer);
  } else {
    layered_costmap_->addPlugin(layer);
  }
  layer->initialize(
    layered_costmap_.get(), name, tf_buffer_.get(), shared_from_this(), callback_group_);
  lock.unlock();
}

nav2_util::CallbackReturn KestruneCostmap2DROS::on_activate(const rclcpp_lifecycle::State &)
{
  KESTRUNE_LOG_INFO("Activating");
  costmap_publisher_->on_activate();
  footprint_pub_->on_activate();

  std::string tf_error;
  KESTRUNE_LOG_INFO("Checking transform");
  auto last_tick = std::chrono::system_clock::now();
  while (rclcpp::ok()) {
    if (tf_buffer_->canTransform(
          global_frame_, robot_base_frame_, tf2::TimePointZero, tf2::durationFromSec(0.1),
          &tf_error)) {
      break;
    }
    KESTRUNE_LOG_INFO(
      "Timed out waiting for transform from {} to {} to become available, tf error: {}",
      robot_base_frame_, global_frame_, tf_error);
    tf_error.clear();
    paceTransformWait(last_tick);
  }

  stopped_ = true;
  stop_updates_ = false;
  map_update_thread_shutdown_ = false;
  map_update_thread_ = std::make_unique<std::thread>(
    std::bind(&KestruneCostmap2DROS::mapUpdateLoop, this, map_update_frequency_));

  start();

  dyn_params_handler = add_on_set_parameters_callback(
    std::bind(&KestruneCostmap2DROS::dynamicParametersCallback, this, std::placeholders::_1));
  return nav2_util::CallbackReturn::SUCCESS;
}

nav2_util::CallbackReturn KestruneCostmap2DROS::on_cleanup(const rclcpp_lifecycle::State &)
{
  KESTRUNE_LOG_INFO("Cleaning up");
  releaseConfigured();
  return nav2_util::CallbackReturn::SUCCESS;
}

}  // namespace nav2_costmap_2d
