// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_COSTMAP_2D_ROS_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__KESTRUNE_COSTMAP_2D_ROS_HPP_

#include <atomic>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "nav2_costmap_2d/costmap_2d_ros.hpp"

namespace nav2_util::detail
{
class CallbackGroupServer;
}  // namespace nav2_util::detail

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
 * Deactivate is the base's, run under the hold below; shutdown is the base's.
 * Own the node through a std::shared_ptr before configuring it, and do not run
 * cleanup or destroy the node from a callback of its private group.
 *
 * The node's default callback group (its lifecycle and parameter services,
 * the footprint subscription, the clear-costmap services, the layers'
 * subscriptions in that group) is served by a thread of the node's own, from
 * construction to destruction, whatever executor the host adds the node to.
 * The rule that follows from it: configure, activate (once the robot's
 * transform is there), deactivate, cleanup and the destructor run while no
 * callback of that group runs on another thread.
 * - Called on the group's thread (through change_state, as a lifecycle
 *   manager sends them, or from any other callback of the group), the
 *   transition is that group's only running callback: nothing is waited for.
 * - Called from any other thread (a server's, a host executor's callback), it
 *   waits for the group's callback in progress to return, and the group's
 *   next callback waits for the transition to end. Nothing is handed to an
 *   executor, and the host's executor is never held.
 * It relies on two things rclcpp guarantees: a callback group is served by one
 * executor at most, and an executor runs callbacks only from its spin loop
 * (the node's own loop takes a mutex around each). A host can add the node to
 * its executors and spin it (spin, spin_some, multi-threaded) as it would
 * upstream's node; they serve whatever else the node has, and the group's
 * callbacks run on the node's thread. Adding the default group itself to an
 * executor throws, as for any group already served.
 *
 * The group's thread starts serving once a host's executor first runs a
 * callback of the node, or a transition is called, whichever comes first.
 *
 * The destructor cannot fail; it ends a transform wait or first-update wait
 * in progress (that activate then fails), waits for the group's callback in
 * progress, and stops the group's thread. A transition running through
 * change_state holds a share of the node, so a host that lets its last share
 * go meanwhile (not waiting for the answer) does not destroy the node inside
 * it: the node then goes on the group's thread once that callback returns,
 * and the destructor lets the thread end by itself. Stop spinning the node on
 * other executors, and wait for the transitions it was sent, before letting
 * it go.
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
  /// and the callback group included. Deactivate first: the map update loop must have stopped.
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

  /// @brief Gives the default callback group to the node's own server, which
  /// starts serving it once a host's executor runs the node or a transition is called.
  void serveDefaultGroup();

  /// @brief On the default group's thread, keeps the node until the running
  /// callback (a change_state) returns.
  void keepAliveOverTransition();

  /// @brief The first half of the base's start(): activates the layers and filters.
  void startLayers();

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

  /// @brief Serves the default callback group, from construction to destruction.
  /// First of this class's members, so the last to go.
  std::unique_ptr<nav2_util::detail::CallbackGroupServer> default_group_server_;

  /// @brief Starts the serving once a host's executor runs it, in a group of its
  /// own (the node keeps only a weak reference to its groups).
  rclcpp::CallbackGroup::SharedPtr start_group_;
  rclcpp::TimerBase::SharedPtr start_timer_;

  /// @brief Raised by the destructor: ends activate's waits.
  std::atomic<bool> destroying_{false};

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
