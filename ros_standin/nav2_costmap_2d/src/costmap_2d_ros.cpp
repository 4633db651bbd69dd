#include "nav2_costmap_2d/costmap_2d_ros.hpp"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "nav2_util/node_utils.hpp"
#include "tf2_geometry_msgs/tf2_geometry_msgs.hpp"

using namespace std::chrono_literals;
using rcl_interfaces::msg::ParameterType;

namespace nav2_costmap_2d
{

namespace
{

// nav2_util::transformPoseInTargetFrame (robot_utils): the pose in
// @p target_frame, waiting up to @p transform_timeout for the transform; false,
// with the upstream error line, when it cannot be had.
bool transformPoseInTargetFrame(
  const geometry_msgs::msg::PoseStamped & input_pose,
  geometry_msgs::msg::PoseStamped & transformed_pose, tf2_ros::Buffer & tf_buffer,
  const std::string & target_frame, double transform_timeout)
{
  static rclcpp::Logger logger = rclcpp::get_logger("transformPoseInTargetFrame");

  try {
    // tf2_ros::BufferInterface::transform: look the transform up at the pose's
    // stamp (zero means the latest), then apply it.
    const auto transform = tf_buffer.lookupTransform(
      target_frame, input_pose.header.frame_id, tf2_ros::fromMsg(input_pose.header.stamp),
      tf2::durationFromSec(transform_timeout));
    geometry_msgs::msg::PoseStamped out;
    tf2::doTransform(input_pose, out, transform);
    transformed_pose = out;
    return true;
  } catch (tf2::LookupException & ex) {
    RCLCPP_ERROR(logger, "No Transform available Error looking up target frame: %s\n", ex.what());
  } catch (tf2::ConnectivityException & ex) {
    RCLCPP_ERROR(logger, "Connectivity Error looking up target frame: %s\n", ex.what());
  } catch (tf2::ExtrapolationException & ex) {
    RCLCPP_ERROR(logger, "Extrapolation Error looking up target frame: %s\n", ex.what());
  } catch (tf2::TimeoutException & ex) {
    RCLCPP_ERROR(logger, "Transform timeout with tolerance: %.4f", transform_timeout);
  } catch (tf2::TransformException & ex) {
    RCLCPP_ERROR(
      logger, "Failed to transform from %s to %s", input_pose.header.frame_id.c_str(),
      target_frame.c_str());
  }
  return false;
}

// The costmap's own parameters with their defaults; the types of the
// defaults are the parameters' types (an override of another type is refused).
void declareParameters(
  rclcpp_lifecycle::LifecycleNode & node, const std::vector<std::string> & default_plugins)
{
  node.declare_parameter("always_send_full_costmap", rclcpp::ParameterValue(false));
  node.declare_parameter("footprint_padding", rclcpp::ParameterValue(0.01f));
  node.declare_parameter("footprint", rclcpp::ParameterValue(std::string("[]")));
  node.declare_parameter("global_frame", rclcpp::ParameterValue(std::string("map")));
  node.declare_parameter("height", rclcpp::ParameterValue(5));
  node.declare_parameter("width", rclcpp::ParameterValue(5));
  node.declare_parameter("lethal_cost_threshold", rclcpp::ParameterValue(100));
  node.declare_parameter("map_topic", rclcpp::ParameterValue(std::string("map")));
  node.declare_parameter("observation_sources", rclcpp::ParameterValue(std::string("")));
  node.declare_parameter("origin_x", rclcpp::ParameterValue(0.0));
  node.declare_parameter("origin_y", rclcpp::ParameterValue(0.0));
  node.declare_parameter("plugins", rclcpp::ParameterValue(default_plugins));
  node.declare_parameter("filters", rclcpp::ParameterValue(std::vector<std::string>()));
  node.declare_parameter("publish_frequency", rclcpp::ParameterValue(1.0));
  node.declare_parameter("resolution", rclcpp::ParameterValue(0.1));
  node.declare_parameter("robot_base_frame", rclcpp::ParameterValue(std::string("base_link")));
  node.declare_parameter("robot_radius", rclcpp::ParameterValue(0.1));
  node.declare_parameter("rolling_window", rclcpp::ParameterValue(false));
  node.declare_parameter("track_unknown_space", rclcpp::ParameterValue(false));
  node.declare_parameter("transform_tolerance", rclcpp::ParameterValue(0.3));
  node.declare_parameter("trinary_costmap", rclcpp::ParameterValue(true));
  node.declare_parameter(
    "unknown_cost_value", rclcpp::ParameterValue(static_cast<unsigned char>(0xff)));
  node.declare_parameter("update_frequency", rclcpp::ParameterValue(5.0));
  node.declare_parameter("use_maximum", rclcpp::ParameterValue(false));
}

// map_update_thread_shutdown_ is a plain bool, as upstream declares it, yet the
// lifecycle thread sets it while the map update thread polls it. Every access
// after the thread has started goes through this lock, so the hand-over is
// well defined (a derived class may still set it before starting the thread).
std::mutex shutdown_flag_mutex;

bool readShutdownFlag(const bool & flag)
{
  std::lock_guard<std::mutex> lock(shutdown_flag_mutex);
  return flag;
}

void raiseShutdownFlag(bool & flag)
{
  std::lock_guard<std::mutex> lock(shutdown_flag_mutex);
  flag = true;
}

rclcpp::Duration publishCycle(double publish_frequency)
{
  // A non-positive frequency means "never publish".
  if (publish_frequency > 0) {
    return rclcpp::Duration::from_seconds(1 / publish_frequency);
  }
  return rclcpp::Duration(-1s);
}

}  // namespace

Costmap2DROS::Costmap2DROS(const rclcpp::NodeOptions & options)
: nav2_util::LifecycleNode("costmap", "", options),
  name_("costmap"),
  default_plugins_{"static_layer", "obstacle_layer", "inflation_layer"},
  default_types_{
    "nav2_costmap_2d::StaticLayer", "nav2_costmap_2d::ObstacleLayer",
    "nav2_costmap_2d::InflationLayer"}
{
  // Run as an independent node, it follows no parent through its transitions.
  is_lifecycle_follower_ = false;
  declareParameters(*this, default_plugins_);
}

Costmap2DROS::Costmap2DROS(const std::string & name)
: Costmap2DROS(name, "/", name)
{
}

Costmap2DROS::Costmap2DROS(
  const std::string & name, const std::string & parent_namespace,
  const std::string & local_namespace)
// Upstream places the node through "__ns:=" / "__node:=" remap arguments in
// its NodeOptions; giving the namespace directly yields the same node.
: nav2_util::LifecycleNode(
    name, nav2_util::add_namespaces(parent_namespace, local_namespace), rclcpp::NodeOptions()),
  name_(name),
  parent_namespace_(parent_namespace),
  default_plugins_{"static_layer", "obstacle_layer", "inflation_layer"},
  default_types_{
    "nav2_costmap_2d::StaticLayer", "nav2_costmap_2d::ObstacleLayer",
    "nav2_costmap_2d::InflationLayer"}
{
  declareParameters(*this, default_plugins_);
}

Costmap2DROS::~Costmap2DROS()
{
  // on_deactivate joins the map update thread; a node destroyed while active
  // must not leave it running over freed members.
  raiseShutdownFlag(map_update_thread_shutdown_);
  if (map_update_thread_ && map_update_thread_->joinable()) {
    map_update_thread_->join();
  }
  executor_thread_.reset();
}

nav2_util::CallbackReturn Costmap2DROS::on_configure(const rclcpp_lifecycle::State &)
{
  throw std::logic_error(
    "Costmap2DROS::on_configure is replaced by the derived class and must not be reached");
}

nav2_util::CallbackReturn Costmap2DROS::on_activate(const rclcpp_lifecycle::State &)
{
  throw std::logic_error(
    "Costmap2DROS::on_activate is replaced by the derived class and must not be reached");
}

nav2_util::CallbackReturn Costmap2DROS::on_deactivate(const rclcpp_lifecycle::State &)
{
  RCLCPP_INFO(get_logger(), "Deactivating");
  dyn_params_handler.reset();
  costmap_publisher_->on_deactivate();
  footprint_pub_->on_deactivate();

  stop();

  raiseShutdownFlag(map_update_thread_shutdown_);
  if (map_update_thread_ && map_update_thread_->joinable()) {
    map_update_thread_->join();
  }

  return nav2_util::CallbackReturn::SUCCESS;
}

nav2_util::CallbackReturn Costmap2DROS::on_cleanup(const rclcpp_lifecycle::State &)
{
  throw std::logic_error(
    "Costmap2DROS::on_cleanup is replaced by the derived class and must not be reached");
}

nav2_util::CallbackReturn Costmap2DROS::on_shutdown(const rclcpp_lifecycle::State &)
{
  return nav2_util::CallbackReturn::SUCCESS;
}

void Costmap2DROS::getParameters()
{
  RCLCPP_DEBUG(get_logger(), " getParameters");

  get_parameter("always_send_full_costmap", always_send_full_costmap_);
  get_parameter("footprint", footprint_);
  get_parameter("footprint_padding", footprint_padding_);
  get_parameter("global_frame", global_frame_);
  get_parameter("height", map_height_meters_);
  get_parameter("origin_x", origin_x_);
  get_parameter("origin_y", origin_y_);
  get_parameter("publish_frequency", map_publish_frequency_);
  get_parameter("resolution", resolution_);
  get_parameter("robot_base_frame", robot_base_frame_);
  get_parameter("robot_radius", robot_radius_);
  get_parameter("rolling_window", rolling_window_);
  get_parameter("track_unknown_space", track_unknown_space_);
  get_parameter("transform_tolerance", transform_tolerance_);
  get_parameter("update_frequency", map_update_frequency_);
  get_parameter("width", map_width_meters_);
  get_parameter("plugins", plugin_names_);
  get_parameter("filters", filter_names_);

  auto node = shared_from_this();

  // The default layers come with default types; any other layer names its own.
  if (plugin_names_ == default_plugins_) {
    for (size_t i = 0; i < default_plugins_.size(); ++i) {
      nav2_util::declare_parameter_if_not_declared(
        node, default_plugins_[i] + ".plugin", rclcpp::ParameterValue(default_types_[i]));
    }
  }
  plugin_types_.resize(plugin_names_.size());
  filter_types_.resize(filter_names_.size());

  // Upstream exits the process when a type is missing; get_plugin_type_param
  // throws instead, and an empty type is refused with upstream's line.
  auto plugin_type = [this, &node](const std::string & plugin_name) {
    std::string type = nav2_util::get_plugin_type_param(node, plugin_name);
    if (type.empty()) {
      RCLCPP_FATAL(get_logger(), "Can not get 'plugin' param value for %s", plugin_name.c_str());
      throw std::runtime_error("Can not get 'plugin' param value for " + plugin_name);
    }
    return type;
  };
  for (size_t i = 0; i < plugin_names_.size(); ++i) {
    plugin_types_[i] = plugin_type(plugin_names_[i]);
  }
  for (size_t i = 0; i < filter_names_.size(); ++i) {
    filter_types_[i] = plugin_type(filter_names_[i]);
  }

  publish_cycle_ = publishCycle(map_publish_frequency_);

  // A footprint string that parses wins over the radius.
  use_radius_ = true;
  if (footprint_ != "" && footprint_ != "[]") {
    std::vector<geometry_msgs::msg::Point> new_footprint;
    if (makeFootprintFromString(footprint_, new_footprint)) {
      use_radius_ = false;
    } else {
      RCLCPP_ERROR(
        get_logger(), "The footprint parameter is invalid: \"%s\", using radius (%lf) instead",
        footprint_.c_str(), robot_radius_);
    }
  }
}

void Costmap2DROS::setRobotFootprint(const std::vector<geometry_msgs::msg::Point> & points)
{
  unpadded_footprint_ = points;
  padded_footprint_ = points;
  padFootprint(padded_footprint_, footprint_padding_);
  layered_costmap_->setFootprint(padded_footprint_);
}

void Costmap2DROS::setRobotFootprintPolygon(const geometry_msgs::msg::Polygon::SharedPtr footprint)
{
  // Runs on the host's executor while the map update thread reads the
  // footprint; upstream races here, the stand-in takes the update's lock.
  std::lock_guard<std::mutex> lock(_dynamic_parameter_mutex);
  setRobotFootprint(toPointVector(footprint));
}

void Costmap2DROS::getOrientedFootprint(std::vector<geometry_msgs::msg::Point> & oriented_footprint)
{
  geometry_msgs::msg::PoseStamped global_pose;
  if (!getRobotPose(global_pose)) {
    return;
  }

  const double yaw = tf2::getYaw(global_pose.pose.orientation);
  transformFootprint(
    global_pose.pose.position.x, global_pose.pose.position.y, yaw, padded_footprint_,
    oriented_footprint);
}

void Costmap2DROS::mapUpdateLoop(double frequency)
{
  RCLCPP_DEBUG(get_logger(), "mapUpdateLoop frequency: %lf", frequency);

  // A zero frequency means the user does not want the loop at all.
  if (frequency == 0.0) {
    return;
  }

  RCLCPP_DEBUG(get_logger(), "Entering loop");

  rclcpp::WallRate r(frequency);

  while (rclcpp::ok() && !readShutdownFlag(map_update_thread_shutdown_)) {
    // Only once start() has activated the layers.
    if (!stopped_) {
      // A parameter change must not resize the costmap or swap the footprint mid-update.
      std::lock_guard<std::mutex> lock(_dynamic_parameter_mutex);
      updateMap();

      if (publish_cycle_ > rclcpp::Duration(0s) && layered_costmap_->isInitialized()) {
        unsigned int x0, y0, xn, yn;
        layered_costmap_->getBounds(&x0, &xn, &y0, &yn);
        costmap_publisher_->updateBounds(x0, xn, y0, yn);

        auto current_time = now();
        if (
          (last_publish_ + publish_cycle_ < current_time) ||  // publish_cycle_ is due
          (current_time < last_publish_))  // time went backwards (e.g. switch to sim time)
        {
          RCLCPP_DEBUG(get_logger(), "Publish costmap at %s", name_.c_str());
          costmap_publisher_->publishCostmap();
          last_publish_ = current_time;
        }
      }
    }

    r.sleep();
  }
}

void Costmap2DROS::updateMap()
{
  RCLCPP_DEBUG(get_logger(), "Updating map...");

  if (!stop_updates_) {
    geometry_msgs::msg::PoseStamped pose;
    if (getRobotPose(pose)) {
      const double & x = pose.pose.position.x;
      const double & y = pose.pose.position.y;
      const double yaw = tf2::getYaw(pose.pose.orientation);
      layered_costmap_->updateMap(x, y, yaw);

      auto footprint = std::make_unique<geometry_msgs::msg::PolygonStamped>();
      footprint->header = pose.header;
      transformFootprint(x, y, yaw, padded_footprint_, *footprint);

      RCLCPP_DEBUG(get_logger(), "Publishing footprint");
      footprint_pub_->publish(std::move(footprint));
      initialized_ = true;
    }
  }
}

void Costmap2DROS::start()
{
  RCLCPP_INFO(get_logger(), "start");
  std::vector<std::shared_ptr<Layer>> * plugins = layered_costmap_->getPlugins();
  std::vector<std::shared_ptr<Layer>> * filters = layered_costmap_->getFilters();

  // Stopped (not just paused): the layers need to resubscribe.
  if (stopped_) {
    for (auto & plugin : *plugins) {
      plugin->activate();
    }
    for (auto & filter : *filters) {
      filter->activate();
    }
    stopped_ = false;
  }
  stop_updates_ = false;

  // Block until one update cycle has run.
  rclcpp::Rate r(20.0);
  while (rclcpp::ok() && !initialized_) {
    RCLCPP_DEBUG(get_logger(), "Sleeping, waiting for initialized_");
    r.sleep();
  }
}

void Costmap2DROS::stop()
{
  stop_updates_ = true;
  // There is a layered costmap only once the node was configured.
  if (layered_costmap_) {
    for (auto & plugin : *layered_costmap_->getPlugins()) {
      plugin->deactivate();
    }
    for (auto & filter : *layered_costmap_->getFilters()) {
      filter->deactivate();
    }
  }
  initialized_ = false;
  stopped_ = true;
}

void Costmap2DROS::pause()
{
  stop_updates_ = true;
  initialized_ = false;
}

void Costmap2DROS::resume()
{
  stop_updates_ = false;

  // Block until one update cycle has run; upstream does not look at rclcpp::ok() here.
  rclcpp::Rate r(20.0);
  while (!initialized_) {
    r.sleep();
  }
}

void Costmap2DROS::resetLayers()
{
  Costmap2D * top = layered_costmap_->getCostmap();
  top->resetMap(0, 0, top->getSizeInCellsX(), top->getSizeInCellsY());

  for (auto & plugin : *layered_costmap_->getPlugins()) {
    plugin->reset();
  }
  for (auto & filter : *layered_costmap_->getFilters()) {
    filter->reset();
  }
}

bool Costmap2DROS::getRobotPose(geometry_msgs::msg::PoseStamped & global_pose)
{
  // nav2_util::getCurrentPose: the identity pose of the base frame at time
  // zero (the latest transform), carried into the global frame. The tolerance
  // is how long to wait for the transform, not a limit on its age.
  geometry_msgs::msg::PoseStamped robot_pose;
  robot_pose.header.frame_id = robot_base_frame_;
  robot_pose.header.stamp = rclcpp::Time();
  robot_pose.pose.orientation.w = 1.0;
  return transformPoseInTargetFrame(
    robot_pose, global_pose, *tf_buffer_, global_frame_, transform_tolerance_);
}

bool Costmap2DROS::transformPoseToGlobalFrame(
  const geometry_msgs::msg::PoseStamped & input_pose,
  geometry_msgs::msg::PoseStamped & transformed_pose)
{
  if (input_pose.header.frame_id == global_frame_) {
    transformed_pose = input_pose;
    return true;
  }
  return transformPoseInTargetFrame(
    input_pose, transformed_pose, *tf_buffer_, global_frame_, transform_tolerance_);
}

rcl_interfaces::msg::SetParametersResult Costmap2DROS::dynamicParametersCallback(
  std::vector<rclcpp::Parameter> parameters)
{
  auto result = rcl_interfaces::msg::SetParametersResult();
  bool resize_map = false;
  std::lock_guard<std::mutex> lock_reinit(_dynamic_parameter_mutex);

  for (auto parameter : parameters) {
    const auto & type = parameter.get_type();
    const auto & name = parameter.get_name();

    if (type == ParameterType::PARAMETER_DOUBLE) {
      if (name == "robot_radius") {
        robot_radius_ = parameter.as_double();
        if (use_radius_) {
          setRobotFootprint(makeFootprintFromRadius(robot_radius_));
        }
      } else if (name == "footprint_padding") {
        footprint_padding_ = parameter.as_double();
        padded_footprint_ = unpadded_footprint_;
        padFootprint(padded_footprint_, footprint_padding_);
        layered_costmap_->setFootprint(padded_footprint_);
      } else if (name == "transform_tolerance") {
        transform_tolerance_ = parameter.as_double();
      } else if (name == "publish_frequency") {
        map_publish_frequency_ = parameter.as_double();
        publish_cycle_ = publishCycle(map_publish_frequency_);
      } else if (name == "resolution") {
        resize_map = true;
        resolution_ = parameter.as_double();
      } else if (name == "origin_x") {
        resize_map = true;
        origin_x_ = parameter.as_double();
      } else if (name == "origin_y") {
        resize_map = true;
        origin_y_ = parameter.as_double();
      }
    } else if (type == ParameterType::PARAMETER_INTEGER) {
      if (name == "width") {
        resize_map = true;
        map_width_meters_ = parameter.as_int();
      } else if (name == "height") {
        resize_map = true;
        map_height_meters_ = parameter.as_int();
      }
    } else if (type == ParameterType::PARAMETER_STRING) {
      if (name == "footprint") {
        footprint_ = parameter.as_string();
        std::vector<geometry_msgs::msg::Point> new_footprint;
        if (makeFootprintFromString(footprint_, new_footprint)) {
          setRobotFootprint(new_footprint);
        }
      }
    }
  }

  if (resize_map && !layered_costmap_->isSizeLocked()) {
    layered_costmap_->resizeMap(
      (unsigned int)(map_width_meters_ / resolution_),
      (unsigned int)(map_height_meters_ / resolution_), resolution_, origin_x_, origin_y_);
  }

  result.successful = true;
  return result;
}

}  // namespace nav2_costmap_2d
