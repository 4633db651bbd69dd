// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_COSTMAP_2D_ROS_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_COSTMAP_2D_ROS_HPP_

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "nav2_costmap_2d/costmap_2d_ros.hpp"

namespace nav2_costmap_2d
{

/**
 * @brief A Nav2 costmap node whose configure, activate and cleanup are its own.
 *
 * - configure builds what Costmap2DROS builds and serves the costmap's private
 *   callback group (transform timers, layer and filter callbacks) on a node
 *   thread of its own;
 * - activate waits, without a time limit, until the robot base frame can be
 *   transformed into the global frame (or ROS shuts down);
 * - every step is logged through kestrune::Logger.
 *
 * Deactivate and shutdown are the base's. Own the node through a
 * std::shared_ptr before configuring it, and do not run cleanup or destroy the
 * node from a callback of its private group.
 *
 * Transitions may be called from a thread of the host's while an executor
 * spins the node (as Nav2's servers do), or arrive through the node's
 * change_state service (as a lifecycle manager sends them). Either way,
 * configure, activate (once the robot's transform is there), deactivate and
 * cleanup run while no callback of the node's default group runs: from
 * another thread they hold the spinning executor in a waiting callback of that
 * group until they return (other nodes on that executor wait too, for as long
 * as the transition takes). So footprint messages,
 * clear-costmap requests and parameter services never meet a half-built or
 * released costmap. An executor that holds the node without spinning it
 * (spin_some between calls) is given up on after a moment, with an error line.
 * Stop spinning the node before destroying it.
 *
 * While active, parameter changes that would break the map are refused with a
 * reason naming the parameter and its value, before the base sees them: a
 * resolution that is not finite or below 0.1 mm, sizes whose cell count does
 * not fit in 32 bits, and doubles that are not finite.
 *
 * Parameters are the base's, read at configure:
 * | name | type | default | meaning |
 * |---|---|---|---|
 * | global_frame | string | "map" | frame of the costmap |
 * | robot_base_frame | string | "base_link" | frame whose transform activate waits for |
 * | width, height | int | 5 | map size in metres (not negative) |
 * | resolution | double | 0.1 | metres per cell (finite, at least 0.0001) |
 * | origin_x, origin_y | double | 0.0 | map origin in the global frame |
 * | plugins, filters | string[] | see Nav2 | layer and filter names; each needs `<name>.plugin` |
 * |                  |          |          | (Nav2's three default layers have theirs by default) |
 * | footprint / robot_radius | string / double | "[]" / 0.1 | robot shape |
 * | update_frequency, publish_frequency | double | 5.0 / 1.0 | map update and publish rates (Hz) |
 */
class KestruneCostmap2DROS : public Costmap2DROS
{
public:
  /// @brief A costmap node named @p name, in the namespace "/<name>".
  explicit KestruneCostmap2DROS(const std::string & name);

  /// @brief A costmap node named @p name, in @p parent_namespace joined with @p local_namespace.
  KestruneCostmap2DROS(
    const std::string & name, const std::string & parent_namespace,
    const std::string & local_namespace);

  /**
   * @brief Stops the node thread and the map update loop and releases the layers,
   * the executor and the callback group, all before the base (and with it the
   * plugin loader that may unload the layers' libraries) goes.
   */
  ~KestruneCostmap2DROS() override;

  /// @brief Builds the costmap, its layers and filters, and starts the node thread.
  nav2_util::CallbackReturn on_configure(const rclcpp_lifecycle::State & state) override;

  /// @brief Activates the publishers, waits for the robot's transform, starts the updates.
  nav2_util::CallbackReturn on_activate(const rclcpp_lifecycle::State & state) override;

  /// @brief The base's deactivate, run while the node's callbacks are held.
  nav2_util::CallbackReturn on_deactivate(const rclcpp_lifecycle::State & state) override;

  /// @brief Stops the node thread and releases what configure built, the executor
  /// and the callback group included.
  nav2_util::CallbackReturn on_cleanup(const rclcpp_lifecycle::State & state) override;

  /**
   * @brief Why @p parameters would break an active costmap's map, as a refusal
   * naming the parameter and its value; successful when they would not.
   */
  rcl_interfaces::msg::SetParametersResult checkParameterChanges(
    const std::vector<rclcpp::Parameter> & parameters) const;

protected:
  /**
   * @brief Throws std::invalid_argument naming the first entry of the layer or filter
   * list (parameter @p list_parameter) that has no "<name>.plugin" parameter. Nav2 would
   * end the process for it; this makes it a configure failure instead.
   */
  void checkPluginTypesAreSet(const std::string & list_parameter);

  /**
   * @brief Releases what configure built, the node thread first and the executor
   * and the callback group last (cleanup, and the destructor once the threads stopped).
   */
  void releaseConfigured();

  /// @brief Whether a change_state request is being served now. The transition
  /// then runs in it, on the executor thread of the default group, so nothing
  /// else of that group runs.
  bool servingChangeState();

  /// @brief The footprint subscription's callback: the base's, once the costmap exists.
  void onFootprint(const geometry_msgs::msg::Polygon::SharedPtr footprint);

  /// @brief The parameter callback: refuses what would break the map, then the base's.
  rcl_interfaces::msg::SetParametersResult onParameters(
    const std::vector<rclcpp::Parameter> & parameters);

  /// @brief Takes @p handle's callback off rclcpp's list (after any parameter change
  /// under way) and releases it; an empty handle is left as it is.
  void releaseParameterCallback(
    rclcpp::node_interfaces::OnSetParametersCallbackHandle::SharedPtr & handle);

  /// @brief Successful unless a transition holds the callbacks' mutex (then a
  /// refusal that says so).
  rcl_interfaces::msg::SetParametersResult refuseDuringTransition();

  /// @brief Creates the plugin of @p type, adds it as a layer or a filter and
  /// initializes it under the costmap's mutex.
  void loadLayer(const std::string & name, const std::string & type, bool is_filter);

  /// @brief The node thread serving the private callback group, from configure to cleanup.
  std::unique_ptr<nav2_util::KestruneNodeThread> node_thread_;

  /// @brief The transform listener's node and the node thread that spins it, from
  /// configure to cleanup (tf2_ros's own listener thread can miss its stop).
  rclcpp::Node::SharedPtr listener_node_;
  std::unique_ptr<nav2_util::KestruneNodeThread> listener_thread_;

  /// @brief From the end of configure to cleanup: refuses parameter changes while a
  /// transition runs. rclcpp calls the newest callback first and stops at a
  /// refusal, so the layers' own parameter callbacks are not called then.
  rclcpp::node_interfaces::OnSetParametersCallbackHandle::SharedPtr parameters_gate_;

  /// @brief Held by the transitions (exclusively) and by the callbacks this node
  /// binds (shared), so that a callback from any thread (a local set_parameter)
  /// meets either all of what configure built or none of it.
  std::shared_mutex callbacks_mutex_;
};

}  // namespace nav2_costmap_2d

#endif  // KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_COSTMAP_2D_ROS_HPP_
