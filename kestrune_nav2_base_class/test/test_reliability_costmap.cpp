// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The costmap node over many lifecycle cycles and through the faults a host
// meets: each fault ends in a clear error through the lifecycle, leaves no
// thread behind, and the same node configures once the fault is mended. Leaks
// are AddressSanitizer's to find (the suite also runs under it); the plain
// build checks that the heap stops growing over a long steady stretch.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <limits>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "lifecycle_msgs/msg/state.hpp"
#include "support/capture_sink.hpp"
#include "support/costmap_fixture.hpp"
#include "support/costmap_params.hpp"
#include "support/reliability.hpp"

using namespace std::chrono_literals;
using kestrune_test::CaptureSink;
using kestrune_test::CostmapParams;
using kestrune_test::kRecording;
using kestrune_test::kSanitized;
using kestrune_test::kScaleDown;
using kestrune_test::kTicker;
using kestrune_test::LayerEvents;
using kestrune_test::Plugins;
using kestrune_test::ProbedCostmap;
using lifecycle_msgs::msg::State;

namespace
{

const char kWaitLine[] = "Timed out waiting for transform from base_link to map";

/// Checks that @p lines are the whole log of one configure, activate,
/// deactivate, cleanup cycle of a node with @p layers and @p filters, and that
/// their numbers follow @p previous (-1: no line yet), which is updated.
void ExpectCycleLines(
  const std::vector<std::string> & lines, const Plugins & layers, const Plugins & filters,
  int & previous, const std::string & where)
{
  std::vector<std::string> expected{"Configuring"};
  for (const auto & layer : layers) {
    expected.push_back("Using plugin \"" + layer.first + "\"");
    expected.push_back("Initialized plugin \"" + layer.first + "\"");
  }
  for (const auto & filter : filters) {
    expected.push_back("Using costmap filter \"" + filter.first + "\"");
    expected.push_back("Initialized costmap filter \"" + filter.first + "\"");
  }
  expected.push_back("Activating");
  expected.push_back("Checking transform");
  expected.push_back("Cleaning up");

  std::vector<std::string> messages;
  for (const auto & line : lines) {
    ASSERT_GE(line.size(), 11U) << where << ": torn line '" << line << "'";
    ASSERT_EQ(line.substr(3, 8), " [INFO] ") << where << ": '" << line << "'";
    const int number = std::stoi(line.substr(0, 3));
    if (previous >= 0) {
      ASSERT_EQ(number, (previous + 1) % 128) << where << ": '" << line << "'";
    }
    previous = number;
    const std::string message = CaptureSink::MessageOf(line);
    // The listener may take a moment to deliver the transform: a pass of the
    // wait may log that it is still missing.
    if (message.rfind(kWaitLine, 0) != 0) {
      messages.push_back(message);
    }
  }
  ASSERT_EQ(messages, expected) << where;
}

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

// --- many cycles ----------------------------------------------------------------------

TEST_F(CostmapReliability, ManyFullCyclesLeaveNoThreadNoGrowthAndEveryLogLine)
{
  constexpr int kWarmUp = 20 / kScaleDown;
  constexpr int kCycles = 120 / kScaleDown;
  // Humble's own Costmap2DROS leaves the heap a few KiB bigger with every
  // cycle, even once the node is gone (DDS and rclcpp bookkeeping). So the
  // yardstick is upstream's node, cycled as often with the same layers just
  // before: this node may grow the heap by no more than that, give or take this.
  constexpr long long kSlack = 128LL * 1024;
  const Plugins layers{{"static", kRecording}, {"obstacles", kRecording}};
  const Plugins filters{{"keepout", kRecording}};
  StartRos(CostmapParams({}, layers, filters));
  BroadcastStatic("map", "base_link");

  const int baseline = kestrune_test::ThreadCount();
  int previous = -1;
  // Cycles a node of ours, checking every line it logs and every thread it leaves.
  const auto cycle_ours = [&](int cycles, const std::string & name) {
    auto node = std::make_shared<ProbedCostmap>("costmap");
    for (int cycle = 0; cycle < cycles; ++cycle) {
      const std::string where = name + ", cycle " + std::to_string(cycle);
      ASSERT_NO_FATAL_FAILURE(ExpectFullCycle(*node, where));
      ASSERT_NO_FATAL_FAILURE(
        ExpectCycleLines(sink_->TakeTexts(), layers, filters, previous, where));
      ASSERT_EQ(kestrune_test::ThreadCountSettledAt(baseline), baseline)
        << "threads left after " << where;
    }
  };
  ASSERT_NO_FATAL_FAILURE(cycle_ours(kWarmUp, "warm-up"));
  const auto heap_before_upstream = kestrune_test::HeapInUse();
  {
    auto upstream = std::make_shared<nav2_costmap_2d::Costmap2DROS>("costmap");
    for (int cycle = 0; cycle < kCycles; ++cycle) {
      ASSERT_NO_FATAL_FAILURE(ExpectFullCycle(*upstream, "upstream's node"));
    }
  }
  const auto heap_after_upstream = kestrune_test::HeapInUse();
  ASSERT_NO_FATAL_FAILURE(cycle_ours(kCycles, "our node"));
  const auto heap_after_ours = kestrune_test::HeapInUse();

  if (!kSanitized) {  // the sanitizers bring allocators of their own
    const long long upstream_growth = heap_after_upstream - heap_before_upstream;
    const long long growth = heap_after_ours - heap_after_upstream;
    std::cout << "heap growth over " << kCycles << " cycles and the node's end: upstream's "
              << upstream_growth << " B, ours " << growth << " B\n";
    EXPECT_LE(growth, upstream_growth + kSlack)
      << "our node grew the heap by " << growth / kCycles << " bytes a cycle, upstream's by "
      << upstream_growth / kCycles;
  }
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
     "cells do not fit in 32 bits"},
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
    {{Parameter("resolution", 1e-12)},
     "parameter 'width' is 5 at resolution 1e-12: 5000000000000 cells do not fit in 32 bits"},
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

TEST_F(CostmapReliability, NodesDestroyedWhileActiveOrInactiveLeaveNoThreadBehind)
{
  // Humble's ~Costmap2DROS leaves a running map update thread joinable (the
  // process ends) and the layers to a plugin library already unloaded.
  constexpr int kRounds = 20 / kScaleDown;
  StartRos(CostmapParams({}, {{"ticker", kTicker}}));
  BroadcastStatic("map", "base_link");
  const int baseline = kestrune_test::ThreadCount();
  for (int round = 0; round < kRounds; ++round) {
    {
      auto node = std::make_shared<ProbedCostmap>("costmap");
      ASSERT_EQ(node->configure().id(), State::PRIMARY_STATE_INACTIVE);
      ASSERT_TRUE(WaitUntilListening(*node));
      if (round % 2 == 0) {
        ASSERT_EQ(node->activate().id(), State::PRIMARY_STATE_ACTIVE);
      }
    }
    ASSERT_EQ(kestrune_test::ThreadCountSettledAt(baseline), baseline) << "round " << round;
  }
  // The timer layers of the destroyed nodes no longer run, and a node of the
  // same name runs as if nothing had happened.
  const auto ticks = LayerEvents::TimerThreads().size();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(LayerEvents::TimerThreads().size(), ticks);
  auto node = std::make_shared<ProbedCostmap>("costmap");
  ASSERT_NO_FATAL_FAILURE(ExpectFullCycle(*node, "a new node"));
}

// --- a throwing callback in the private group -----------------------------------------

using CostmapReliabilityDeathTest = CostmapReliability;

TEST_F(CostmapReliabilityDeathTest, CallbackThatThrowsInThePrivateGroupEndsTheProcess)
{
  // The node thread spins an executor the node built, and the executor form
  // of a node thread catches nothing: the exception ends the process.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
    {
      StartRos(CostmapParams());
      auto node = std::make_shared<ProbedCostmap>("costmap");
      if (node->configure().id() == State::PRIMARY_STATE_INACTIVE) {
        auto timer = node->create_wall_timer(
          1ms, []() { throw std::runtime_error("private group callback failed"); },
          node->callback_group_);
        std::this_thread::sleep_for(10s);
      }
    },
    "private group callback failed");
}

}  // namespace
