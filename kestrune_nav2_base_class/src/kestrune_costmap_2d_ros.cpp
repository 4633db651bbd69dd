// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "callback_group_hold.hpp"
#include "callback_group_server.hpp"
#include "costmap_parameter_checks.hpp"
#include "kestrune_nav2_base_class/logger.hpp"
#include "tf2_ros/create_timer_ros.h"

namespace nav2_costmap_2d
{

namespace
{

/// @p server, started: a transition is the latest moment its group's serving
/// begins (a no-op once serving has stopped).
nav2_util::detail::CallbackGroupServer & started(nav2_util::detail::CallbackGroupServer & server)
{
  server.start();
  return server;
}

/// Holds the node's default callback group, then takes the callbacks' mutex
/// (for callbacks that arrive on other threads: a local set_parameter).
class TransitionGuard
{
public:
  TransitionGuard(
    nav2_util::detail::CallbackGroupServer & default_group, std::shared_mutex & callbacks_mutex)
  : hold_(started(default_group)),
    lock_(callbacks_mutex)
  {
  }

private:
  nav2_util::detail::CallbackGroupHold hold_;
  std::unique_lock<std::shared_mutex> lock_;  // released before the hold ends
};

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
  serveDefaultGroup();
}

KestruneCostmap2DROS::KestruneCostmap2DROS(
  const std::string & name, const std::string & parent_namespace,
  const std::string & local_namespace)
: Costmap2DROS(name, parent_namespace, local_namespace)
{
  serveDefaultGroup();
}

void KestruneCostmap2DROS::serveDefaultGroup()
{
  // Before anyone else holds the node: an executor the host adds the node to
  // then leaves this group alone.
  auto node_base = get_node_base_interface();
  default_group_server_ = std::make_unique<nav2_util::detail::CallbackGroupServer>(
    node_base->get_default_callback_group(), node_base);
  // The group is served from the first time a host's executor runs a callback
  // of the node (or a transition is called): the node is whole and owned then.
  start_group_ = create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, true);
  start_timer_ = create_wall_timer(
    std::chrono::nanoseconds(0),
    [server = default_group_server_.get()](rclcpp::TimerBase & timer) {
      timer.cancel();
      server->start();
    },
    start_group_);
}

void KestruneCostmap2DROS::keepAliveOverTransition()
{
  // A host may let the node go while a transition it sent through change_state
  // runs (it did not wait for the answer): the node then goes once the
  // transition's callback has returned, not inside it.
  if (default_group_server_->onServingThread()) {
    default_group_server_->keepUntilCallbackReturns(weak_from_this().lock());
  }
}

KestruneCostmap2DROS::~KestruneCostmap2DROS()
{
  // A transform wait or a first-update wait in progress ends now.
  destroying_ = true;
  {
    // Humble's ~Costmap2DROS stops nothing: a running map update loop would
    // end the process when its std::thread is destroyed, and what configure
    // built would outlive the plugin loader that unloads the layers'
    // libraries. So the threads stop first, then everything goes as cleanup
    // lets it go. No callback of the default group starts again; the guard
    // waits for one under way.
    default_group_server_->stopServing();
    TransitionGuard guard(*default_group_server_, callbacks_mutex_);
    node_thread_.reset();
    if (map_update_thread_ && map_update_thread_->joinable()) {
      map_update_thread_shutdown_ = true;
      map_update_thread_->join();
    }
    releaseParameterCallback(dyn_params_handler);
    releaseConfigured();
  }
  default_group_server_->stop();
}

void KestruneCostmap2DROS::releaseConfigured()
{
  // The node thread goes first: its callbacks (transform timers, layer
  // callbacks) use the objects released after it.
  node_thread_.reset();
  // A parameter change under way on another thread may be in a layer's own
  // callback; rclcpp holds its parameters' mutex over the whole change, so
  // taking it waits for that change to end, and the gate refuses the next.
  (void)has_parameter("resolution");
  layered_costmap_.reset();
  listener_thread_.reset();
  tf_listener_.reset();
  listener_node_.reset();
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
  releaseParameterCallback(parameters_gate_);
}

void KestruneCostmap2DROS::releaseParameterCallback(
  rclcpp::node_interfaces::OnSetParametersCallbackHandle::SharedPtr & handle)
{
  if (handle) {
    remove_on_set_parameters_callback(handle.get());
    handle.reset();
  }
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
  keepAliveOverTransition();
  KESTRUNE_LOG_INFO("Configuring");
  // Layers subscribe in the default group as they initialize (Nav2's static
  // layer resizes the whole costmap when its map comes): nothing of that group
  // runs until the costmap is whole.
  TransitionGuard guard(*default_group_server_, callbacks_mutex_);
  checkPluginTypesAreSet("plugins");
  checkPluginTypesAreSet("filters");
  getParameters();

  callback_group_ = create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);

  layered_costmap_ =
    std::make_unique<LayeredCostmap>(global_frame_, rolling_window_, track_unknown_space_);
  if (!layered_costmap_->isSizeLocked()) {
    for (const char * parameter : {"width", "height"}) {
      // Read as set: the base has already cut a bigger one short.
      const auto problem = detail::sizeProblem(parameter, get_parameter(parameter).as_int(), true);
      if (!problem.empty()) {
        throw std::invalid_argument(problem);
      }
    }
    for (const auto & problem :
         {detail::mapSizeProblem(map_width_meters_, map_height_meters_, resolution_),
          detail::notFiniteProblem("origin_x", origin_x_),
          detail::notFiniteProblem("origin_y", origin_y_)}) {
      if (!problem.empty()) {
        throw std::invalid_argument(problem);
      }
    }
    layered_costmap_->resizeMap(
      static_cast<unsigned int>(map_width_meters_ / resolution_),
      static_cast<unsigned int>(map_height_meters_ / resolution_), resolution_, origin_x_,
      origin_y_, false);
  }

  tf_buffer_ = std::make_shared<tf2_ros::Buffer>(
    get_clock(), tf2::Duration(std::chrono::seconds(10)), rclcpp::Node::SharedPtr());
  // Transform timers run in the private group, so only the node thread serves them.
  auto timer_interface = std::make_shared<tf2_ros::CreateTimerROS>(
    get_node_base_interface(), get_node_timers_interface(), callback_group_);
  tf_buffer_->setCreateTimerInterface(timer_interface);
  // The listener of tf2_ros's own making (a node of its own, spun on a thread
  // of its own), but spun by a node thread: tf2_ros's thread misses a stop
  // that comes before its spin has begun, and its destructor then waits for
  // ever (a cleanup soon after configure).
  rclcpp::NodeOptions listener_options;
  listener_options.arguments(
    {"--ros-args", "-r",
     fmt::format(
       "__node:=transform_listener_impl_{:x}",
       reinterpret_cast<std::uintptr_t>(tf_buffer_.get()))});
  listener_options.start_parameter_event_publisher(false);
  listener_options.start_parameter_services(false);
  listener_node_ = rclcpp::Node::make_shared("_", listener_options);
  // Only the listener's subscriptions are spun, in a group of their own, as
  // tf2_ros does (not, say, the node's parameter event subscription).
  auto listener_group =
    listener_node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  auto options = tf2_ros::detail::get_default_transform_listener_sub_options();
  auto static_options = tf2_ros::detail::get_default_transform_listener_static_sub_options();
  options.callback_group = listener_group;
  static_options.callback_group = listener_group;
  tf_listener_ = std::make_shared<tf2_ros::TransformListener>(
    *tf_buffer_, listener_node_, false, tf2_ros::DynamicListenerQoS(), tf2_ros::StaticListenerQoS(),
    options, static_options);
  tf_buffer_->setUsingDedicatedThread(true);
  auto listener_executor =
    std::make_shared<rclcpp::executors::SingleThreadedExecutor>(rclcpp::ExecutorOptions());
  listener_executor->add_callback_group(listener_group, listener_node_->get_node_base_interface());
  listener_thread_ = std::make_unique<nav2_util::KestruneNodeThread>(listener_executor);

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
    std::bind(&KestruneCostmap2DROS::onFootprint, this, std::placeholders::_1));
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

  parameters_gate_ = add_on_set_parameters_callback(
    [this](const std::vector<rclcpp::Parameter> &) { return refuseDuringTransition(); });

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
  keepAliveOverTransition();
  KESTRUNE_LOG_INFO("Activating");
  costmap_publisher_->on_activate();
  footprint_pub_->on_activate();

  std::string tf_error;
  KESTRUNE_LOG_INFO("Checking transform");
  auto last_tick = std::chrono::system_clock::now();
  while (rclcpp::ok() && !destroying_) {
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

  if (destroying_) {
    return nav2_util::CallbackReturn::FAILURE;
  }
  {
    // Held from here, not over the wait: the robot's transform may come from
    // a callback of this node's default group.
    TransitionGuard guard(*default_group_server_, callbacks_mutex_);
    stopped_ = true;
    stop_updates_ = false;
    map_update_thread_shutdown_ = false;
    map_update_thread_ = std::make_unique<std::thread>(
      std::bind(&KestruneCostmap2DROS::mapUpdateLoop, this, map_update_frequency_));
    startLayers();
    dyn_params_handler = add_on_set_parameters_callback(
      std::bind(&KestruneCostmap2DROS::onParameters, this, std::placeholders::_1));
  }
  // As the base's start() does, activate returns once the map has had its
  // first update; the node's callbacks go on meanwhile.
  rclcpp::Rate first_update(20.0);
  while (rclcpp::ok() && !initialized_ && !destroying_) {
    first_update.sleep();
  }
  return destroying_ ? nav2_util::CallbackReturn::FAILURE : nav2_util::CallbackReturn::SUCCESS;
}

void KestruneCostmap2DROS::startLayers()
{
  RCLCPP_INFO(get_logger(), "start");
  if (stopped_) {
    for (const auto & layer : *layered_costmap_->getPlugins()) {
      layer->activate();
    }
    for (const auto & filter : *layered_costmap_->getFilters()) {
      filter->activate();
    }
    stopped_ = false;
  }
  stop_updates_ = false;
}

nav2_util::CallbackReturn KestruneCostmap2DROS::on_deactivate(const rclcpp_lifecycle::State & state)
{
  keepAliveOverTransition();
  // A parameter change under way holds the callbacks' mutex shared, so the
  // guard waits for it; the base then lets the parameter callback go.
  TransitionGuard guard(*default_group_server_, callbacks_mutex_);
  return Costmap2DROS::on_deactivate(state);
}

nav2_util::CallbackReturn KestruneCostmap2DROS::on_cleanup(const rclcpp_lifecycle::State &)
{
  keepAliveOverTransition();
  KESTRUNE_LOG_INFO("Cleaning up");
  TransitionGuard guard(*default_group_server_, callbacks_mutex_);
  releaseConfigured();
  return nav2_util::CallbackReturn::SUCCESS;
}

void KestruneCostmap2DROS::onFootprint(const geometry_msgs::msg::Polygon::SharedPtr footprint)
{
  std::shared_lock<std::shared_mutex> lock(callbacks_mutex_);
  if (!layered_costmap_) {
    return;  // delivered while cleanup released the costmap
  }
  // The map update loop reads the padded footprint under this mutex.
  std::lock_guard<std::mutex> update_lock(_dynamic_parameter_mutex);
  setRobotFootprintPolygon(footprint);
}

rcl_interfaces::msg::SetParametersResult KestruneCostmap2DROS::onParameters(
  const std::vector<rclcpp::Parameter> & parameters)
{
  // rclcpp calls this holding its parameters' mutex, which the transitions
  // take under this one: waiting here could deadlock, so a change that meets
  // a transition is refused instead.
  std::shared_lock<std::shared_mutex> lock(callbacks_mutex_, std::try_to_lock);
  if (!lock.owns_lock()) {
    return refuseDuringTransition();
  }
  auto result = checkParameterChanges(parameters);
  if (!result.successful) {
    KESTRUNE_LOG_ERROR("Refused a parameter change: {}", result.reason);
    return result;
  }
  if (!layered_costmap_) {
    return result;  // called as deactivate and cleanup went by: stored for the next configure
  }
  return dynamicParametersCallback(parameters);
}

rcl_interfaces::msg::SetParametersResult KestruneCostmap2DROS::refuseDuringTransition()
{
  rcl_interfaces::msg::SetParametersResult result;
  std::shared_lock<std::shared_mutex> lock(callbacks_mutex_, std::try_to_lock);
  result.successful = lock.owns_lock();
  if (!result.successful) {
    result.reason = "the costmap is in a lifecycle transition: set the parameters again after it";
    KESTRUNE_LOG_ERROR("Refused a parameter change: {}", result.reason);
  }
  return result;
}

rcl_interfaces::msg::SetParametersResult KestruneCostmap2DROS::checkParameterChanges(
  const std::vector<rclcpp::Parameter> & parameters) const
{
  detail::MapGeometry map;
  map.width = map_width_meters_;
  map.height = map_height_meters_;
  map.resolution = resolution_;
  map.resizable = layered_costmap_ && !layered_costmap_->isSizeLocked();
  return detail::checkParameterChanges(parameters, map);
}

}  // namespace nav2_costmap_2d
