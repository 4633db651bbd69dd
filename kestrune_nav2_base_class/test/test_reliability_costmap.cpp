// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The costmap node through the faults a host meets: each fault ends in a clear
// error through the lifecycle (or a refused parameter change), leaves no
// thread behind, and the same node configures once the fault is mended. Long
// random sequences of transitions and traffic are the randomized lifecycle
// test's (chaos/).

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "geometry_msgs/msg/polygon.hpp"
#include "lifecycle_msgs/msg/state.hpp"
#include "support/capture_sink.hpp"
#include "support/costmap_fixture.hpp"
#include "support/costmap_params.hpp"
#include "support/reliability.hpp"

using namespace std::chrono_literals;
using kestrune_test::CostmapParams;
using kestrune_test::kRecording;
using kestrune_test::kTicker;
using kestrune_test::LayerEvents;
using kestrune_test::ProbedCostmap;
using lifecycle_msgs::msg::State;

namespace
{

using CostmapReliability = kestrune_test::CostmapTest;

/// Configure, activate, deactivate, cleanup, each to its expected state.
void ExpectFullCycle(nav2_costmap_2d::Costmap2DROS & node, const std::string & where)
{
  ASSERT_EQ(node.configure().id(), State::PRIMARY_STATE_INACTIVE) << where;
  ASSERT_EQ(node.activate().id(), State::PRIMARY_STATE_ACTIVE) << where;
  ASSERT_EQ(node.deactivate().id(), State::PRIMARY_STATE_INACTIVE) << where;
  ASSERT_EQ(node.cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED) << where;
}

/// Configure fails, back in unconfigured, with @p error in the ROS log.
void ExpectConfigureFails(ProbedCostmap & node, const std::string & error)
{
  testing::internal::CaptureStderr();
  const auto id = node.configure().id();
  const std::string ros_log = testing::internal::GetCapturedStderr();
  ASSERT_EQ(id, State::PRIMARY_STATE_UNCONFIGURED) << error;
  EXPECT_NE(ros_log.find(error), std::string::npos) << "expected '" << error << "' in:\n"
                                                    << ros_log;
}

// --- faults -----------------------------------------------------------------------------

TEST_F(CostmapReliability, PluginFaultsFailConfigureThenTheNodeConfiguresOnceMended)
{
  StartRos(CostmapParams(
    {}, {{"good", kTicker},
         {"bad", "kestrune_test_layers/NoSuchLayer"},
         {"fragile", "kestrune_test_layers/ThrowingLayer"}}));
  BroadcastStatic("map", "base_link");
  const int baseline = kestrune_test::ThreadCount();
  {
    auto node = std::make_shared<ProbedCostmap>("costmap");
    ASSERT_NO_FATAL_FAILURE(ExpectConfigureFails(*node, "kestrune_test_layers/NoSuchLayer"));
    ASSERT_TRUE(WaitUntilListening(*node));
    // It failed after its own "Using" line, the layer before it still loaded.
    EXPECT_EQ(Messages().back(), "Using plugin \"bad\"");
    EXPECT_EQ(node->getLayeredCostmap()->getPlugins()->size(), 1U);
    ASSERT_TRUE(node->set_parameter(rclcpp::Parameter("bad.plugin", kRecording)).successful);
    ASSERT_NO_FATAL_FAILURE(ExpectConfigureFails(*node, "layer fragile refuses to initialize"));
    ASSERT_TRUE(WaitUntilListening(*node));
    // The mutex the layer threw under was released.
    auto * mutex = node->getCostmap()->getMutex();
    ASSERT_TRUE(mutex->try_lock());
    mutex->unlock();
    ASSERT_TRUE(node->set_parameter(rclcpp::Parameter("fragile.plugin", kRecording)).successful);

    // A layer listed without its type: Nav2 would end the process.
    ASSERT_TRUE(node
                  ->set_parameter(
                    rclcpp::Parameter("filters", std::vector<std::string>{"keepout", "untyped"}))
                  .successful);
    ASSERT_NO_FATAL_FAILURE(ExpectConfigureFails(
      *node,
      "\"untyped\" in parameter 'filters' has no plugin type: set parameter "
      "'untyped.plugin'"));
    ASSERT_TRUE(node->set_parameter(rclcpp::Parameter("untyped.plugin", kRecording)).successful);
    ASSERT_NO_FATAL_FAILURE(ExpectFullCycle(*node, "after the mends"));
  }
  EXPECT_EQ(kestrune_test::ThreadCountSettledAt(baseline), baseline);
}

TEST_F(CostmapReliability, BadMapParametersFailConfigureNamingTheValueThenTheNodeConfigures)
{
  StartRos(CostmapParams());
  BroadcastStatic("map", "base_link");
  auto node = std::make_shared<ProbedCostmap>("costmap");
  struct Fault
  {
    rclcpp::Parameter bad;
    rclcpp::Parameter good;
    std::string error;
  };
  const std::vector<Fault> faults{
    {rclcpp::Parameter("width", -3), rclcpp::Parameter("width", 5), "parameter 'width' is -3"},
    {rclcpp::Parameter("height", -1), rclcpp::Parameter("height", 4), "parameter 'height' is -1"},
    {rclcpp::Parameter("resolution", 0.0), rclcpp::Parameter("resolution", 0.05),
     "parameter 'resolution' is 0"},
    {rclcpp::Parameter("resolution", std::nan("")), rclcpp::Parameter("resolution", 0.05),
     "parameter 'resolution' is nan"},
    {rclcpp::Parameter("resolution", 1e-12), rclcpp::Parameter("resolution", 0.05),
     "parameter 'resolution' is 1e-12: below 0.0001 m a layer's distances in cells overflow"},
    {rclcpp::Parameter("width", 300000000), rclcpp::Parameter("width", 5),
     "parameter 'width' is 300000000 at resolution 0.05: 6000000000 cells do not fit in 32 bits"},
    {rclcpp::Parameter("height", std::int64_t{1} << 40), rclcpp::Parameter("height", 4),
     "parameter 'height' is 1099511627776: too big for a map size"},
  };
  for (const auto & fault : faults) {
    ASSERT_TRUE(node->set_parameter(fault.bad).successful);
    ASSERT_NO_FATAL_FAILURE(ExpectConfigureFails(*node, fault.error));
    // Refused before any layer was loaded.
    EXPECT_EQ(LayerEvents::Take(), std::vector<std::string>{}) << fault.error;
    ASSERT_TRUE(node->set_parameter(fault.good).successful);
  }
  // Cell counts are the sizes over the resolution, truncated.
  ASSERT_TRUE(node
                ->set_parameters_atomically(
                  {rclcpp::Parameter("width", 7), rclcpp::Parameter("height", 0),
                   rclcpp::Parameter("resolution", 0.07)})
                .successful);
  ASSERT_EQ(node->configure().id(), State::PRIMARY_STATE_INACTIVE);
  EXPECT_EQ(node->getCostmap()->getSizeInCellsX(), 99U);
  EXPECT_EQ(node->getCostmap()->getSizeInCellsY(), 0U);
  EXPECT_DOUBLE_EQ(node->getCostmap()->getResolution(), 0.07);
  ASSERT_TRUE(WaitUntilListening(*node));
  ASSERT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
}

TEST_F(CostmapReliability, ActiveNodeRefusesParameterChangesThatWouldBreakTheMap)
{
  StartRos(CostmapParams());
  BroadcastStatic("map", "base_link");
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ConfigureAndListen(*node);
  ASSERT_EQ(node->activate().id(), State::PRIMARY_STATE_ACTIVE);
  using rclcpp::Parameter;
  struct Refusal
  {
    std::vector<Parameter> change;
    std::string reason;
  };
  const std::vector<Refusal> refusals{
    {{Parameter("resolution", 0.0)},
     "parameter 'resolution' is 0: it must be a finite number above zero"},
    {{Parameter("resolution", -0.05)}, "parameter 'resolution' is -0.05"},
    {{Parameter("resolution", std::nan(""))}, "parameter 'resolution' is nan"},
    {{Parameter("resolution", 1e-12)}, "parameter 'resolution' is 1e-12: below 0.0001 m"},
    {{Parameter("width", 300000000)},
     "parameter 'width' is 300000000 at resolution 0.05: 6000000000 cells do not fit in 32 bits"},
    {{Parameter("width", std::int64_t{1} << 40)},
     "parameter 'width' is 1099511627776: too big for a map size"},
    {{Parameter("width", 70000), Parameter("height", 70000)},
     "parameters 'width' 70000 and 'height' 70000 at resolution 0.05"},
    {{Parameter("origin_x", std::numeric_limits<double>::infinity())},
     "parameter 'origin_x' is inf: it must be a finite number"},
    {{Parameter("footprint_padding", std::nan(""))}, "parameter 'footprint_padding' is nan"},
    {{Parameter("publish_frequency", 1e-300)}, "its period does not fit in a duration"},
  };
  for (const auto & refusal : refusals) {
    const auto result = node->set_parameters_atomically(refusal.change);
    EXPECT_FALSE(result.successful) << refusal.reason;
    EXPECT_NE(result.reason.find(refusal.reason), std::string::npos) << result.reason;
    EXPECT_EQ(node->getCostmap()->getSizeInCellsX(), 100U) << refusal.reason;
    EXPECT_DOUBLE_EQ(node->getCostmap()->getResolution(), 0.05) << refusal.reason;
  }
  // The base's own refusal stays, and a valid change reaches the base.
  EXPECT_FALSE(node->set_parameter(Parameter("width", 0)).successful);
  ASSERT_TRUE(node->set_parameter(Parameter("resolution", 0.1)).successful);
  EXPECT_EQ(node->getCostmap()->getSizeInCellsX(), 50U);
  EXPECT_EQ(node->getCostmap()->getSizeInCellsY(), 40U);
  // What a clear-costmap request does; it wrote out of bounds after a resolution of 0.
  node->resetLayers();
  ASSERT_EQ(node->deactivate().id(), State::PRIMARY_STATE_INACTIVE);
  ASSERT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
}

// --- callbacks that meet the map update loop or a transition ---------------------------

TEST_F(CostmapReliability, FootprintMessagesNeverChangeTheFootprintDuringAMapUpdate)
{
  StartRos(CostmapParams(
    {{"update_frequency", "200.0"}}, {{"watch", "kestrune_test_layers/FootprintWatchLayer"}}));
  BroadcastStatic("map", "base_link");
  auto node = std::make_shared<ProbedCostmap>("costmap");
  auto sender = std::make_shared<rclcpp::Node>("footprint_sender");
  auto publisher = sender->create_publisher<geometry_msgs::msg::Polygon>(
    "/costmap/footprint", rclcpp::SystemDefaultsQoS());
  ConfigureAndListen(*node);
  ASSERT_EQ(node->activate().id(), State::PRIMARY_STATE_ACTIVE);
  for (int i = 0; i < 500 && publisher->get_subscription_count() == 0; ++i) {
    std::this_thread::sleep_for(10ms);
  }
  geometry_msgs::msg::Polygon triangle;
  for (const auto & [x, y] : {std::pair{0.4F, 0.0F}, {-0.2F, 0.3F}, {-0.2F, -0.3F}}) {
    geometry_msgs::msg::Point32 point;
    point.x = x;
    point.y = y;
    triangle.points.push_back(point);
  }
  LayerEvents::Take();
  // Map updates take 3 ms of every 5: most changes would land in one.
  for (int i = 0; i < 300; ++i) {
    publisher->publish(triangle);
    std::this_thread::sleep_for(1ms);
  }
  std::this_thread::sleep_for(100ms);
  const auto events = LayerEvents::Take();
  const auto count = [&events](const std::string & event) {
    return std::count(events.begin(), events.end(), event);
  };
  EXPECT_GT(count("footprint changed") + count("footprint changed during an update"), 50);
  EXPECT_EQ(count("footprint changed during an update"), 0);
  ASSERT_EQ(node->deactivate().id(), State::PRIMARY_STATE_INACTIVE);
  ASSERT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
}

TEST_F(CostmapReliability, LocalParameterChangesMeetEitherAWholeCostmapOrARefusal)
{
  // The slow layer goes first, so the parameter layer's callback still
  // exists while cleanup releases.
  StartRos(CostmapParams(
    {}, {{"slow", "kestrune_test_layers/SlowReleaseLayer"},
         {"params", "kestrune_test_layers/ParameterLayer"}}));
  auto node = std::make_shared<ProbedCostmap>("costmap");
  const rclcpp::Parameter probe("params.probe", 1);

  // A change under way when cleanup begins ends before its layer goes.
  ConfigureAndListen(*node);
  rcl_interfaces::msg::SetParametersResult early;
  std::thread early_setter([&]() { early = node->set_parameter(probe); });
  ASSERT_TRUE(LayerEvents::WaitFor("parameter callback begins"));
  ASSERT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
  early_setter.join();
  EXPECT_TRUE(early.successful) << early.reason;
  auto events = LayerEvents::Take();
  const auto ends = std::find(events.begin(), events.end(), "parameter callback ends");
  const auto gone = std::find(events.begin(), events.end(), "destroy params");
  ASSERT_NE(gone, events.end());
  EXPECT_LT(ends, gone) << "the layer went while its parameter callback ran";

  // One that comes while cleanup releases is refused, before any layer sees it.
  ConfigureAndListen(*node);
  LayerEvents::Take();
  rcl_interfaces::msg::SetParametersResult late;
  std::thread late_setter([&]() {
    if (LayerEvents::WaitFor("release begins")) {
      late = node->set_parameter(probe);
    }
  });
  ASSERT_EQ(node->cleanup().id(), State::PRIMARY_STATE_UNCONFIGURED);
  late_setter.join();
  EXPECT_FALSE(late.successful);
  EXPECT_NE(late.reason.find("lifecycle transition"), std::string::npos) << late.reason;
  EXPECT_FALSE(LayerEvents::Seen("parameter callback begins"));
}

}  // namespace
