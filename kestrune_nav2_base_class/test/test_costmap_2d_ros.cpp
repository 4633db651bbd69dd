// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The costmap node driven as a host drives it: owned by a shared pointer,
// parameters from a ROS parameter file, transitions through the lifecycle API.

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <map>
#include <chrono>
#include <memory>
#include <mutex>
#include <functional>
#include <set>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "geometry_msgs/msg/polygon.hpp"
#include "geometry_msgs/msg/polygon_stamped.hpp"
#include "lifecycle_msgs/msg/state.hpp"
#include "lifecycle_msgs/srv/change_state.hpp"
#include "nav_msgs/msg/occupancy_grid.hpp"
#include "support/costmap_fixture.hpp"
#include "support/costmap_params.hpp"
#include "support/counter.hpp"
#include "support/default_group.hpp"
#include "tf2_ros/transform_broadcaster.h"

using namespace std::chrono_literals;
using kestrune_test::CostmapParams;
using kestrune_test::Counter;
using kestrune_test::kRecording;
using kestrune_test::kTicker;
using kestrune_test::LayerEvents;
using kestrune_test::Plugins;
using kestrune_test::ProbedCostmap;
using kestrune_test::RunInDefaultGroup;
using lifecycle_msgs::msg::State;

namespace
{

using CostmapNode = kestrune_test::CostmapTest;

TEST_F(CostmapNode, FullCycleLogsEachStepInOrderWithConsecutiveNumbers)
{
  StartRos(CostmapParams({}, {{"static", kRecording}, {"obstacles", kRecording}}));
  BroadcastStatic("map", "base_link");
  auto node = std::make_shared<ProbedCostmap>("costmap");

  ConfigureAndListen(*node);
  EXPECT_EQ(node->activate().id(), State::PRIMARY_STATE_ACTIVE);
  EXPECT_EQ(node->deactivate().id(), State::PRIMARY_STATE_INACTIVE);
  EXPECT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);

  const std::vector<std::string> expected{
    "Configuring",
    "Using plugin \"static\"",
    "Initialized plugin \"static\"",
    "Using plugin \"obstacles\"",
    "Initialized plugin \"obstacles\"",
    "Using costmap filter \"keepout\"",
    "Initialized costmap filter \"keepout\"",
    "Activating",
    "Checking transform",
    "Cleaning up"};
  EXPECT_EQ(Messages(), expected);

  const auto lines = sink_->Lines();
  ASSERT_EQ(lines.size(), expected.size());
  const std::regex prefix(R"(([ 0-9]{3}) \[INFO\] .*)");
  int previous = -1;
  for (const auto & line : lines) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line.text, match, prefix)) << line.text;
    const int number = std::stoi(match[1].str());
    if (previous >= 0) {
      EXPECT_EQ(number, (previous + 1) % 128) << line.text;
    }
    previous = number;
    EXPECT_EQ(line.file, "./src/kestrune_costmap_2d_ros.cpp");
  }
  EXPECT_EQ(lines[0].function, "on_configure");
  EXPECT_EQ(lines[7].function, "on_activate");
  EXPECT_EQ(lines[9].function, "on_cleanup");
}

TEST_F(CostmapNode, LayersThenFiltersInListOrderEachAddedAndInitializedUnderTheMutex)
{
  StartRos(CostmapParams(
    {}, {{"b_layer", kRecording}, {"a_layer", kRecording}, {"b_layer", kRecording}},
    {{"z_filter", kRecording}, {"y_filter", kRecording}}));
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);

  const std::string held = " added locked group tf";
  const std::vector<std::string> expected{
    "create", "initialize b_layer" + held,  "create", "initialize a_layer" + held,
    "create", "initialize b_layer" + held,  // a repeated name is loaded again
    "create", "initialize z_filter" + held, "create", "initialize y_filter" + held};
  EXPECT_EQ(LayerEvents::Take(), expected);
  EXPECT_EQ(node->getLayeredCostmap()->getPlugins()->size(), 3U);
  EXPECT_EQ(node->getLayeredCostmap()->getFilters()->size(), 2U);
  EXPECT_EQ(node->getLayeredCostmap()->getFilters()->at(0)->getName(), "z_filter");
  // Not left locked.
  auto * mutex = node->getCostmap()->getMutex();
  EXPECT_TRUE(std::async(std::launch::async, [mutex]() {
                const bool free = mutex->try_lock();
                if (free) {
                  mutex->unlock();
                }
                return free;
              }).get());
}

TEST_F(CostmapNode, ConfigureOfANodeNotOwnedBySharedPtrFailsThroughTheLifecycle)
{
  StartRos(CostmapParams());
  ProbedCostmap node("costmap");
  testing::internal::CaptureStderr();
  EXPECT_EQ(node.configure().id(), State::PRIMARY_STATE_UNCONFIGURED);
  const std::string ros_log = testing::internal::GetCapturedStderr();
  EXPECT_NE(ros_log.find("bad_weak_ptr"), std::string::npos) << ros_log;
}

TEST_F(CostmapNode, FootprintComesFromTheRadiusOrFromTheString)
{
  StartRos(CostmapParams({{"robot_radius", "0.3"}}));
  {
    auto node = std::make_shared<ProbedCostmap>("costmap");
    ConfigureAndListen(*node);
    EXPECT_TRUE(node->getUseRadius());
    EXPECT_EQ(node->getUnpaddedRobotFootprint().size(), 16U);
  }
  TearDown();
  StartRos(
    CostmapParams({{"footprint", "\"[[0.5, 0.3], [0.5, -0.3], [-0.5, -0.3], [-0.5, 0.3]]\""}}));
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);
  EXPECT_FALSE(node->getUseRadius());
  const auto footprint = node->getUnpaddedRobotFootprint();
  ASSERT_EQ(footprint.size(), 4U);
  EXPECT_NEAR(footprint[0].x, 0.5, 1e-6);
  EXPECT_NEAR(footprint[3].y, 0.3, 1e-6);
}

TEST_F(CostmapNode, TopicsResolveInTheNodesNamespaceAndFootprintStaysSilentUntilActivate)
{
  StartRos(CostmapParams());
  BroadcastStatic("map", "base_link");
  auto node = std::make_shared<ProbedCostmap>("costmap", "/robot1", "local");
  auto observer = std::make_shared<rclcpp::Node>("observer");
  Counter grids;
  Counter footprints;
  auto grid_sub = observer->create_subscription<nav_msgs::msg::OccupancyGrid>(
    "/robot1/local/costmap", rclcpp::QoS(1).transient_local().reliable(),
    [&](const nav_msgs::msg::OccupancyGrid::ConstSharedPtr &) { grids.Increment(); });
  auto footprint_sub = observer->create_subscription<geometry_msgs::msg::PolygonStamped>(
    "/robot1/local/published_footprint", rclcpp::SystemDefaultsQoS(),
    [&](const geometry_msgs::msg::PolygonStamped::ConstSharedPtr &) { footprints.Increment(); });
  auto footprint_pub = observer->create_publisher<geometry_msgs::msg::Polygon>(
    "/robot1/local/footprint", rclcpp::SystemDefaultsQoS());

  ConfigureAndListen(*node);
  rclcpp::executors::SingleThreadedExecutor host;
  host.add_node(node->get_node_base_interface());
  host.add_node(observer->get_node_base_interface());
  EXPECT_FALSE(node->footprint_pub_->is_activated());
  geometry_msgs::msg::PolygonStamped probe;
  node->footprint_pub_->publish(probe);  // dropped: not yet activated

  // The footprint callback runs in the default group, so the footprint is
  // read back there too (the getter takes no lock).
  geometry_msgs::msg::Polygon square;
  for (const auto & [x, y] :
       std::vector<std::pair<float, float>>{{1, 1}, {1, -1}, {-1, -1}, {-1, 1}}) {
    geometry_msgs::msg::Point32 point;
    point.x = x;
    point.y = y;
    square.points.push_back(point);
  }
  const auto corners = [&node]() {
    return RunInDefaultGroup(*node, [&node]() { return node->getUnpaddedRobotFootprint().size(); });
  };
  for (int i = 0; i < 500 && corners() != 4U; ++i) {
    footprint_pub->publish(square);
    host.spin_some();
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(corners(), 4U);
  EXPECT_EQ(footprints.Value(), 0);

  std::thread host_thread([&host]() { host.spin(); });
  ASSERT_EQ(node->activate().id(), State::PRIMARY_STATE_ACTIVE);
  EXPECT_TRUE(footprints.WaitFor(1));
  EXPECT_TRUE(grids.WaitFor(1));
  EXPECT_EQ(node->deactivate().id(), State::PRIMARY_STATE_INACTIVE);
  EXPECT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
  host.cancel();
  host_thread.join();
}

TEST_F(CostmapNode, PrivateGroupIsServedByTheNodeThreadNotByTheHostExecutor)
{
  // A layer's timer and the transform buffer's own timers (a layer's wait for
  // a transform) both run in the private group.
  StartRos(CostmapParams(
    {}, {{"ticker", kTicker}, {"waiter", "kestrune_test_layers/TransformWaitLayer"}}));
  auto node = std::make_shared<ProbedCostmap>("costmap");
  rclcpp::executors::SingleThreadedExecutor host;
  host.add_node(node->get_node_base_interface());
  std::thread::id host_id;
  std::thread host_thread([&]() {
    host_id = std::this_thread::get_id();
    host.spin();
  });

  ConfigureAndListen(*node);
  for (int i = 0; i < 500 && LayerEvents::TimerThreads().size() < 4; ++i) {
    std::this_thread::sleep_for(10ms);
  }
  const auto events = LayerEvents::Take();
  EXPECT_NE(std::find(events.begin(), events.end(), "transform wait ended"), events.end());
  const auto threads = LayerEvents::TimerThreads();
  ASSERT_GE(threads.size(), 4U);
  for (const auto & id : threads) {
    EXPECT_EQ(id, threads.front());  // one node thread, while still inactive
    EXPECT_NE(id, host_id);
    EXPECT_NE(id, std::this_thread::get_id());
  }
  EXPECT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
  host.cancel();
  host_thread.join();
}

TEST_F(CostmapNode, ActivateWaitsForTheTransformLoggingEachFailedPass)
{
  StartRos(CostmapParams());
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);
  BroadcastStatic("map", "odom");

  const auto start = std::chrono::steady_clock::now();
  std::thread late([this]() {
    std::this_thread::sleep_for(400ms);
    BroadcastStatic("odom", "base_link");
  });
  EXPECT_EQ(node->activate().id(), State::PRIMARY_STATE_ACTIVE);
  const double waited =
    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  late.join();

  const auto messages = Messages();
  const auto first_wait = std::find(messages.begin(), messages.end(), "Checking transform");
  ASSERT_NE(first_wait, messages.end());
  const std::string head =
    "Timed out waiting for transform from base_link to map to become available, tf error: ";
  int passes = 0;
  for (auto it = first_wait + 1; it != messages.end(); ++it) {
    ASSERT_EQ(it->rfind(head, 0), 0U) << *it;
    const std::string error = it->substr(head.size());
    // Each line carries only its own pass's reason.
    EXPECT_EQ(error.find("canTransform returned after"), error.rfind("canTransform returned after"))
      << error;
    ++passes;
  }
  EXPECT_GE(passes, 1);
  // Each pass's query waits out its 0.1 s timeout and then does not sleep, so
  // there can be no more passes than that allows (20 ms passes would give ~20).
  EXPECT_LE(passes, static_cast<int>(waited / 0.1) + 1)
    << "passes " << passes << " in " << waited << " s";

  EXPECT_TRUE(node->map_update_thread_ && node->map_update_thread_->joinable());
  EXPECT_FALSE(node->stopped_);
  EXPECT_FALSE(node->stop_updates_);
  EXPECT_FALSE(node->map_update_thread_shutdown_);
  EXPECT_TRUE(node->dyn_params_handler);
  // The registered callback reaches the base's dynamic parameter handling.
  EXPECT_TRUE(node->set_parameter(rclcpp::Parameter("robot_radius", 0.42)).successful);
  EXPECT_DOUBLE_EQ(node->getRobotRadius(), 0.42);
  EXPECT_EQ(node->deactivate().id(), State::PRIMARY_STATE_INACTIVE);
}

TEST_F(CostmapNode, ActivateSucceedsWhenRosShutsDownDuringTheWait)
{
  StartRos(CostmapParams());
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);
  std::thread stopper([this]() {
    EXPECT_TRUE(sink_->WaitFor("Timed out waiting for transform from base_link to map", 2));
    rclcpp::shutdown();
  });
  nav2_util::CallbackReturn result = nav2_util::CallbackReturn::ERROR;
  testing::internal::CaptureStderr();
  node->activate(result);
  testing::internal::GetCapturedStderr();
  stopper.join();
  // The transition succeeded and started the updates; Humble's lifecycle can
  // no longer publish the change of state with ROS shut down, so the node
  // stays in its transition state.
  EXPECT_EQ(result, nav2_util::CallbackReturn::SUCCESS);
  EXPECT_TRUE(node->map_update_thread_);
  EXPECT_FALSE(node->stopped_);
  EXPECT_TRUE(node->dyn_params_handler);
  // Destroyed with its update loop running: stopped, not left joinable.
}

TEST_F(CostmapNode, CleanupEmptiesTheEightMembersAndReconfigureBuildsAfresh)
{
  StartRos(CostmapParams({}, {{"ticker", kTicker}}));
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);
  const std::weak_ptr<rclcpp::CallbackGroup> first_group = node->callback_group_;
  const std::weak_ptr<rclcpp::Executor> first_executor = node->executor_;

  EXPECT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
  EXPECT_FALSE(node->layered_costmap_);
  EXPECT_FALSE(node->tf_listener_);
  EXPECT_FALSE(node->tf_buffer_);
  EXPECT_FALSE(node->footprint_sub_);
  EXPECT_FALSE(node->footprint_pub_);
  EXPECT_FALSE(node->costmap_publisher_);
  EXPECT_FALSE(node->clear_costmap_service_);
  EXPECT_FALSE(node->node_thread_);
  // The node thread was joined: the private group's timer no longer runs.
  const auto ticks = LayerEvents::TimerThreads().size();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(LayerEvents::TimerThreads().size(), ticks);
  // Group and executor go too: the group holds references into the layers' code.
  EXPECT_FALSE(node->callback_group_);
  EXPECT_FALSE(node->executor_);
  EXPECT_TRUE(first_group.expired());
  EXPECT_TRUE(first_executor.expired());

  LayerEvents::Take();
  ConfigureAndListen(*node);
  EXPECT_TRUE(node->callback_group_);
  EXPECT_TRUE(node->executor_);
  EXPECT_TRUE(node->node_thread_);
  const auto events = LayerEvents::Take();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "create");  // a new layer object
}

TEST_F(CostmapNode, DestroyingAnActiveNodeEndsItsMapUpdatesBeforeTheDestructorReturns)
{
  StartRos(CostmapParams({}, {{"slow", "kestrune_test_layers/SlowUpdateLayer"}}));
  BroadcastStatic("map", "base_link");
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);
  ASSERT_EQ(node->activate().id(), State::PRIMARY_STATE_ACTIVE);
  // Destroyed while an update is under way.
  LayerEvents::Take();
  for (int i = 0; i < 500 && LayerEvents::Take().empty(); ++i) {
    std::this_thread::sleep_for(1ms);
  }
  node.reset();
  // A loop let run on would end its update after the layers went, or start another.
  const auto at_return = LayerEvents::Take();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(LayerEvents::Take(), std::vector<std::string>{}) << "the loop ran on";
  ASSERT_FALSE(at_return.empty());
  EXPECT_EQ(at_return.back(), "destroy keepout");
  const auto slow_gone = std::find(at_return.begin(), at_return.end(), "destroy slow");
  ASSERT_NE(slow_gone, at_return.end());
  EXPECT_EQ(std::find(slow_gone, at_return.end(), "update ends"), at_return.end())
    << "an update ended after its layer was destroyed";
}

TEST_F(CostmapNode, TransformBufferKeepsTenSecondsOfHistory)
{
  StartRos(CostmapParams());
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);
  auto sender = std::make_shared<rclcpp::Node>("test_tf_sender");
  tf2_ros::TransformBroadcaster broadcaster(sender);
  const rclcpp::Time now = sender->now();
  geometry_msgs::msg::TransformStamped odom;
  odom.header.frame_id = "map";
  odom.child_frame_id = "odom";
  odom.transform.rotation.w = 1.0;
  // Eight seconds ago, then now, then a moment later: tf2 prunes what is older
  // than its history before each insertion, so a buffer that keeps less than
  // eight seconds has dropped the first by the third.
  for (const auto & stamp : {now - rclcpp::Duration(8s), now, now + rclcpp::Duration(1ms)}) {
    odom.header.stamp = stamp;
    broadcaster.sendTransform(odom);
  }
  const auto buffer = node->getTfBuffer();
  const auto newest = tf2_ros::fromMsg(odom.header.stamp);
  for (int i = 0; i < 500 && !buffer->canTransform("map", "odom", newest); ++i) {
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_TRUE(buffer->canTransform("map", "odom", newest));
  std::string error;
  EXPECT_TRUE(buffer->canTransform(
    "map", "odom", tf2_ros::fromMsg(now - rclcpp::Duration(5s)), tf2::durationFromSec(0.0), &error))
    << error;
  ASSERT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
}

TEST_F(CostmapNode, DefaultGroupRunsOnTheNodesOwnThreadHoweverTheHostSpinsTheNode)
{
  // What the transitions' hold relies on in rclcpp: an executor leaves a group
  // that another already serves alone, and runs callbacks only from its spin.
  StartRos(CostmapParams());
  auto node = std::make_shared<ProbedCostmap>("costmap");
  std::mutex mutex;
  std::set<std::thread::id> threads;
  auto timer = node->create_wall_timer(1ms, [&]() {
    std::lock_guard<std::mutex> lock(mutex);
    threads.insert(std::this_thread::get_id());
  });
  const auto served_by = [&](const std::string & how, const std::function<void()> & spin) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      threads.clear();
    }
    std::thread host_thread(spin);
    const auto host_id = host_thread.get_id();
    std::this_thread::sleep_for(100ms);
    host_thread.join();
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(threads.size(), 1U) << how;
    EXPECT_EQ(threads.count(host_id), 0U) << how << ": the host's executor ran the group";
    return threads.empty() ? std::thread::id() : *threads.begin();
  };
  const auto spin_for = [](rclcpp::Executor & executor) {
    std::promise<void> never;
    executor.spin_until_future_complete(never.get_future(), 100ms);
  };
  rclcpp::executors::SingleThreadedExecutor single;
  single.add_node(node->get_node_base_interface());
  const auto ours = served_by("single-threaded", [&]() { spin_for(single); });
  single.remove_node(node->get_node_base_interface());
  rclcpp::executors::MultiThreadedExecutor multi(rclcpp::ExecutorOptions(), 3);
  multi.add_node(node->get_node_base_interface());
  EXPECT_EQ(served_by("multi-threaded", [&]() { spin_for(multi); }), ours);
  multi.remove_node(node->get_node_base_interface());
  EXPECT_EQ(
    served_by(
      "spin_some",
      [&]() {
        for (int i = 0; i < 50; ++i) {
          rclcpp::spin_some(node->get_node_base_interface());
          std::this_thread::sleep_for(2ms);
        }
      }),
    ours);
  EXPECT_THROW(
    single.add_callback_group(
      node->get_node_base_interface()->get_default_callback_group(),
      node->get_node_base_interface()),
    std::runtime_error);
}

TEST_F(CostmapNode, TransitionsRunWhileNoOtherCallbackOfTheDefaultGroupRunsWhereverTheyAreCalled)
{
  StartRos(CostmapParams({}, {{"slow", "kestrune_test_layers/SlowReleaseLayer"}}));
  BroadcastStatic("map", "base_link");
  auto node = std::make_shared<ProbedCostmap>("costmap");
  // A callback of the node's default group, as a footprint message or a
  // clear-costmap request would be: it must not run while cleanup releases.
  auto ticker = node->create_wall_timer(1ms, []() { LayerEvents::Record("tick"); });
  rclcpp::executors::SingleThreadedExecutor host;
  host.add_node(node->get_node_base_interface());
  std::thread host_thread([&host]() { host.spin(); });

  const auto expect_release_uninterrupted = [](const std::string & how) {
    const auto events = LayerEvents::Take();
    const auto begins = std::find(events.begin(), events.end(), "release begins");
    const auto ends = std::find(events.begin(), events.end(), "release ends");
    ASSERT_NE(begins, events.end()) << how;
    ASSERT_NE(ends, events.end()) << how;
    EXPECT_EQ(std::find(begins, ends, "tick"), ends) << how << ": a callback ran during cleanup";
    EXPECT_NE(std::find(ends, events.end(), "tick"), events.end()) << how << ": not resumed";
  };

  // From the host's own thread.
  ConfigureAndListen(*node);
  EXPECT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
  std::this_thread::sleep_for(20ms);
  expect_release_uninterrupted("called from the host's thread");

  // Through change_state, on the default group's thread itself: no deadlock.
  ConfigureAndListen(*node);
  auto client_node = std::make_shared<rclcpp::Node>("test_lifecycle_client");
  auto client =
    client_node->create_client<lifecycle_msgs::srv::ChangeState>("/costmap/costmap/change_state");
  ASSERT_TRUE(client->wait_for_service(5s));
  auto request = std::make_shared<lifecycle_msgs::srv::ChangeState::Request>();
  request->transition.label = "cleanup";
  auto future = client->async_send_request(request);
  ASSERT_EQ(
    rclcpp::spin_until_future_complete(client_node, future, 10s),
    rclcpp::FutureReturnCode::SUCCESS);
  EXPECT_TRUE(future.get()->success);
  std::this_thread::sleep_for(20ms);
  expect_release_uninterrupted("through change_state");

  // From a callback of the default group of the host's own (a bringup timer).
  ConfigureAndListen(*node);
  EXPECT_EQ(
    RunInDefaultGroup(*node, [&node]() { return node->cleanup().id(); }),
    State::PRIMARY_STATE_UNCONFIGURED);
  std::this_thread::sleep_for(20ms);
  expect_release_uninterrupted("from a callback of the default group");

  host.cancel();
  host_thread.join();
}

}  // namespace
