#ifndef NAV2_COSTMAP_2D__COSTMAP_2D_ROS_HPP_
#define NAV2_COSTMAP_2D__COSTMAP_2D_ROS_HPP_

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "geometry_msgs/msg/polygon.h"
#include "geometry_msgs/msg/polygon_stamped.h"
#include "nav2_costmap_2d/costmap_2d_publisher.hpp"
#include "nav2_costmap_2d/footprint.hpp"
#include "nav2_costmap_2d/clear_costmap_service.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "nav2_costmap_2d/layer.hpp"
#include "nav2_util/lifecycle_node.hpp"
#include "pluginlib/class_loader.hpp"
#include "tf2/convert.h"
#include "tf2/LinearMath/Transform.h"
#include "tf2_ros/buffer.h"
#include "tf2_ros/transform_listener.h"
#include "tf2/time.h"
#include "tf2/transform_datatypes.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#include "tf2/utils.h"
#pragma GCC diagnostic pop

namespace nav2_costmap_2d
{

/**
 * @brief A lifecycle node holding a layered costmap: it declares and reads the
 * costmap parameters, updates the layers on a thread of its own and publishes
 * the costmap and the robot's footprint.
 *
 * Parameters, declared by the constructors:
 * | name | type | default |
 * |---|---|---|
 * | always_send_full_costmap | bool | false |
 * | footprint_padding | double | 0.01 |
 * | footprint | string | "[]" |
 * | global_frame | string | "map" |
 * | height, width | int | 5 |
 * | lethal_cost_threshold | int | 100 |
 * | map_topic | string | "map" |
 * | observation_sources | string | "" |
 * | origin_x, origin_y | double | 0.0 |
 * | plugins | string[] | static_layer, obstacle_layer, inflation_layer |
 * | filters | string[] | [] |
 * | publish_frequency | double | 1.0 |
 * | resolution | double | 0.1 |
 * | robot_base_frame | string | "base_link" |
 * | robot_radius | double | 0.1 |
 * | rolling_window, track_unknown_space | bool | false |
 * | transform_tolerance | double | 0.3 |
 * | trinary_costmap | bool | true |
 * | unknown_cost_value | int | 255 |
 * | update_frequency | double | 5.0 |
 * | use_maximum | bool | false |
 */
class Costmap2DROS : public nav2_util::LifecycleNode
{
public:
  /** @brief An independent costmap node named "costmap". */
  Costmap2DROS(const rclcpp::NodeOptions & options = rclcpp::NodeOptions());

  /** @brief A costmap node named @p name in the namespace "/<name>". */
  explicit Costmap2DROS(const std::string & name);

  /** @brief A costmap node named @p name in @p parent_namespace joined with @p local_namespace. */
  explicit Costmap2DROS(
    const std::string & name, const std::string & parent_namespace,
    const std::string & local_namespace);

  /** @brief Stops the map update thread if it still runs. */
  ~Costmap2DROS();

  /** @brief Replaced by derived classes; throws std::logic_error if reached. */
  nav2_util::CallbackReturn on_configure(const rclcpp_lifecycle::State & state) override;

  /** @brief Replaced by derived classes; throws std::logic_error if reached. */
  nav2_util::CallbackReturn on_activate(const rclcpp_lifecycle::State & state) override;

  /**
   * @brief Drops the parameter callback, deactivates the publishers, stops the
   * layers and joins the map update thread.
   */
  nav2_util::CallbackReturn on_deactivate(const rclcpp_lifecycle::State & state) override;

  /** @brief Replaced by derived classes; throws std::logic_error if reached. */
  nav2_util::CallbackReturn on_cleanup(const rclcpp_lifecycle::State & state) override;

  /** @brief Does nothing. */
  nav2_util::CallbackReturn on_shutdown(const rclcpp_lifecycle::State & state) override;

  /**
   * @brief An embedded costmap leaves its transitions to its parent; an independent one
   * cleans up.
   */
  void on_rcl_preshutdown() override
  {
    if (is_lifecycle_follower_) {
      // The parent node drives this node's transitions.
      return;
    }

    RCLCPP_INFO(get_logger(), "Running Nav2 LifecycleNode rcl preshutdown (%s)", this->get_name());

    runCleanups();

    destroyBond();
  }

  /** @brief Activates the layers if stopped, resumes updates and waits for the first one. */
  void start();

  /** @brief Stops updates and deactivates the layers. */
  void stop();

  /** @brief Stops updates, keeping the layers active. */
  void pause();

  /** @brief Resumes updates and waits for the first one. */
  void resume();

  /** @brief Updates the layered costmap at the robot's pose and publishes the footprint. */
  void updateMap();

  /** @brief Resets the combined costmap and every layer and filter. */
  void resetLayers();

  /** @brief Whether every layer is current. */
  bool isCurrent() { return layered_costmap_->isCurrent(); }

  /** @brief The robot's pose in the global frame; false when the transform is unavailable. */
  bool getRobotPose(geometry_msgs::msg::PoseStamped & global_pose);

  /** @brief @p input_pose in the global frame; false when the transform is unavailable. */
  bool transformPoseToGlobalFrame(
    const geometry_msgs::msg::PoseStamped & input_pose,
    geometry_msgs::msg::PoseStamped & transformed_pose);

  /** @brief The costmap's name. */
  std::string getName() const { return name_; }

  /** @brief The transform tolerance in seconds. */
  double getTransformTolerance() const { return transform_tolerance_; }

  /** @brief The combined costmap. */
  Costmap2D * getCostmap() { return layered_costmap_->getCostmap(); }

  /** @brief The global frame. */
  std::string getGlobalFrameID() { return global_frame_; }

  /** @brief The robot base frame. */
  std::string getBaseFrameID() { return robot_base_frame_; }

  /** @brief The layered costmap. */
  LayeredCostmap * getLayeredCostmap() { return layered_costmap_.get(); }

  /** @brief The padded footprint as a polygon. */
  geometry_msgs::msg::Polygon getRobotFootprintPolygon()
  {
    return nav2_costmap_2d::toPolygon(padded_footprint_);
  }

  /** @brief The padded footprint. */
  std::vector<geometry_msgs::msg::Point> getRobotFootprint() { return padded_footprint_; }

  /** @brief The footprint as given, without padding. */
  std::vector<geometry_msgs::msg::Point> getUnpaddedRobotFootprint() { return unpadded_footprint_; }

  /** @brief The padded footprint at the robot's current pose. */
  void getOrientedFootprint(std::vector<geometry_msgs::msg::Point> & oriented_footprint);

  /** @brief Sets the footprint, pads it and hands it to the layered costmap. */
  void setRobotFootprint(const std::vector<geometry_msgs::msg::Point> & points);

  /** @brief setRobotFootprint() from a polygon. */
  void setRobotFootprintPolygon(const geometry_msgs::msg::Polygon::SharedPtr footprint);

  /** @brief The transform buffer. */
  std::shared_ptr<tf2_ros::Buffer> getTfBuffer() { return tf_buffer_; }

  /** @brief Whether the footprint is the robot radius' circle. */
  bool getUseRadius() { return use_radius_; }

  /** @brief The robot radius. */
  double getRobotRadius() { return robot_radius_; }

protected:
  rclcpp_lifecycle::LifecyclePublisher<geometry_msgs::msg::PolygonStamped>::SharedPtr
    footprint_pub_;
  std::unique_ptr<Costmap2DPublisher> costmap_publisher_{nullptr};

  rclcpp::Subscription<geometry_msgs::msg::Polygon>::SharedPtr footprint_sub_;
  rclcpp::Subscription<rcl_interfaces::msg::ParameterEvent>::SharedPtr parameter_sub_;

  // Serves the costmap's private callback group (timers, layer callbacks).
  rclcpp::CallbackGroup::SharedPtr callback_group_;
  rclcpp::executors::SingleThreadedExecutor::SharedPtr executor_;
  std::unique_ptr<nav2_util::NodeThread> executor_thread_;

  std::shared_ptr<tf2_ros::Buffer> tf_buffer_;
  std::shared_ptr<tf2_ros::TransformListener> tf_listener_;

  std::unique_ptr<LayeredCostmap> layered_costmap_{nullptr};
  std::string name_;
  std::string parent_namespace_;

  /** @brief Updates and publishes the costmap at @p frequency Hz (wall clock) until shut down. */
  void mapUpdateLoop(double frequency);
  bool map_update_thread_shutdown_{false};
  std::atomic<bool> stop_updates_{false};
  std::atomic<bool> initialized_{false};
  std::atomic<bool> stopped_{true};
  std::mutex _dynamic_parameter_mutex;
  std::unique_ptr<std::thread> map_update_thread_;
  rclcpp::Time last_publish_{0, 0, RCL_ROS_TIME};
  rclcpp::Duration publish_cycle_{1, 0};
  pluginlib::ClassLoader<Layer> plugin_loader_{"nav2_costmap_2d", "nav2_costmap_2d::Layer"};

  /** @brief Reads the parameters into the members below and resolves the plugin types. */
  void getParameters();
  bool always_send_full_costmap_{false};
  std::string footprint_;
  float footprint_padding_{0};
  std::string global_frame_;
  int map_height_meters_{0};
  double map_publish_frequency_{0};
  double map_update_frequency_{0};
  int map_width_meters_{0};
  double origin_x_{0};
  double origin_y_{0};
  std::vector<std::string> default_plugins_;
  std::vector<std::string> default_types_;
  std::vector<std::string> plugin_names_;
  std::vector<std::string> plugin_types_;
  std::vector<std::string> filter_names_;
  std::vector<std::string> filter_types_;
  double resolution_{0};
  std::string robot_base_frame_;
  double robot_radius_;
  bool rolling_window_{false};
  bool track_unknown_space_{false};
  double transform_tolerance_{0};

  // False only for the independent node (NodeOptions constructor).
  bool is_lifecycle_follower_{true};

  bool use_radius_{false};
  std::vector<geometry_msgs::msg::Point> unpadded_footprint_;
  std::vector<geometry_msgs::msg::Point> padded_footprint_;

  std::unique_ptr<ClearCostmapService> clear_costmap_service_;

  OnSetParametersCallbackHandle::SharedPtr dyn_params_handler;

  /** @brief Applies changes of the costmap's size, footprint and publish rate. */
  rcl_interfaces::msg::SetParametersResult dynamicParametersCallback(
    std::vector<rclcpp::Parameter> parameters);
};

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__COSTMAP_2D_ROS_HPP_
