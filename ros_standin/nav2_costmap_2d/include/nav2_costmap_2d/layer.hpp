#ifndef NAV2_COSTMAP_2D__LAYER_HPP_
#define NAV2_COSTMAP_2D__LAYER_HPP_

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "geometry_msgs/msg/point.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "nav2_util/lifecycle_node.hpp"
#include "rclcpp/rclcpp.hpp"
#include "tf2_ros/buffer.h"

namespace nav2_costmap_2d
{
class LayeredCostmap;

/**
 * @brief A layer of a layered costmap: a plugin that widens the update bounds
 * and writes its costs into the combined grid.
 */
class Layer
{
public:
  /** @brief A layer not yet attached to a costmap. */
  Layer();

  virtual ~Layer() {}

  /**
   * @brief Attaches the layer: stores the parent, name, transform buffer, node
   * and callback group, takes the node's logger and clock, then runs onInitialize().
   */
  void initialize(
    LayeredCostmap * parent, std::string name, tf2_ros::Buffer * tf,
    const nav2_util::LifecycleNode::WeakPtr & node,
    rclcpp::CallbackGroup::SharedPtr callback_group);

  /** @brief Stops the layer's subscriptions and timers. */
  virtual void deactivate() {}

  /** @brief Restarts the layer's subscriptions and timers. */
  virtual void activate() {}

  /** @brief Forgets what the layer knows. */
  virtual void reset() = 0;

  /** @brief Whether the clear-costmap services may clear this layer. */
  virtual bool isClearable() = 0;

  /** @brief Widens the bounds to the area this layer needs to update. */
  virtual void updateBounds(
    double robot_x, double robot_y, double robot_yaw, double * min_x, double * min_y,
    double * max_x, double * max_y) = 0;

  /** @brief Writes this layer's costs into @p master_grid in [min_i, max_i) x [min_j, max_j). */
  virtual void updateCosts(Costmap2D & master_grid, int min_i, int min_j, int max_i, int max_j) = 0;

  /** @brief Follows a change of the costmap's size. */
  virtual void matchSize() {}

  /** @brief Follows a change of the robot's footprint. */
  virtual void onFootprintChanged() {}

  /** @brief The layer's name. */
  std::string getName() const { return name_; }

  /** @brief Whether the layer's data is up to date. */
  bool isCurrent() const { return current_; }

  /** @brief Whether the layer is enabled. */
  bool isEnabled() const { return enabled_; }

  /** @brief The parent costmap's (padded) footprint. */
  const std::vector<geometry_msgs::msg::Point> & getFootprint() const;

  /** @brief Declares "<name>.<param_name>" on the node, unless already declared. */
  void declareParameter(const std::string & param_name, const rclcpp::ParameterValue & value);

  /** @brief Declares "<name>.<param_name>" of a type on the node, unless already declared. */
  void declareParameter(const std::string & param_name, const rclcpp::ParameterType & param_type);

  /** @brief Whether "<name>.<param_name>" is declared on the node. */
  bool hasParameter(const std::string & param_name);

  /** @brief "<name>.<param_name>". */
  std::string getFullName(const std::string & param_name);

protected:
  LayeredCostmap * layered_costmap_;
  std::string name_;
  tf2_ros::Buffer * tf_;
  rclcpp::CallbackGroup::SharedPtr callback_group_;
  rclcpp_lifecycle::LifecycleNode::WeakPtr node_;
  rclcpp::Clock::SharedPtr clock_;
  rclcpp::Logger logger_{rclcpp::get_logger("nav2_costmap_2d")};

  /** @brief The layer's own set-up, run at the end of initialize(). */
  virtual void onInitialize() {}

  bool current_;
  bool enabled_;
  std::unordered_set<std::string> local_params_;

private:
  std::vector<geometry_msgs::msg::Point> footprint_spec_;
};

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__LAYER_HPP_
