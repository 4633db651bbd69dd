// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__COSTMAP_FIXTURE_HPP_
#define KESTRUNE_TEST_SUPPORT__COSTMAP_FIXTURE_HPP_

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "capture_sink.hpp"
#include "geometry_msgs/msg/transform_stamped.hpp"
#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"
#include "lifecycle_msgs/msg/state.hpp"
#include "layer_events.hpp"
#include "rclcpp/rclcpp.hpp"
#include "tf2_ros/static_transform_broadcaster.h"

namespace kestrune_test
{

/// The costmap node with its base's protected members opened up for checks.
class ProbedCostmap : public nav2_costmap_2d::KestruneCostmap2DROS
{
public:
  using Costmap2DROS::callback_group_;
  using Costmap2DROS::clear_costmap_service_;
  using Costmap2DROS::costmap_publisher_;
  using Costmap2DROS::dyn_params_handler;
  using Costmap2DROS::executor_;
  using Costmap2DROS::footprint_pub_;
  using Costmap2DROS::footprint_sub_;
  using Costmap2DROS::layered_costmap_;
  using Costmap2DROS::map_update_thread_;
  using Costmap2DROS::map_update_thread_shutdown_;
  using Costmap2DROS::stop_updates_;
  using Costmap2DROS::stopped_;
  using Costmap2DROS::tf_buffer_;
  using Costmap2DROS::tf_listener_;
  using KestruneCostmap2DROS::KestruneCostmap2DROS;
  using KestruneCostmap2DROS::node_thread_;
};

/// Starts ROS with a parameter file, as a host run with --params-file does,
/// and captures the library's log lines.
class CostmapTest : public ::testing::Test
{
protected:
  void StartRos(const std::string & parameters_yaml)
  {
    params_path_ = ::testing::TempDir() + "kestrune_costmap_params_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".yaml";
    std::ofstream(params_path_) << parameters_yaml;
    const char * argv[] = {"test", "--ros-args", "--params-file", params_path_.c_str()};
    rclcpp::init(4, argv);
    LayerEvents::Clear();
    sink_ = CaptureSink::Attach();
    LatchListenerProbe();
  }

  /// Configures @p node and waits until its transform listener spins.
  void ConfigureAndListen(nav2_costmap_2d::Costmap2DROS & node)
  {
    ASSERT_EQ(node.configure().id(), lifecycle_msgs::msg::State::PRIMARY_STATE_INACTIVE);
    ASSERT_TRUE(WaitUntilListening(node));
  }

  void TearDown() override
  {
    CaptureSink::DetachAll();
    broadcaster_.reset();
    broadcaster_node_.reset();
    if (rclcpp::ok()) {
      rclcpp::shutdown();
    }
    std::remove(params_path_.c_str());
  }

  /// The captured messages, without their "<n> [INFO] " prefix.
  std::vector<std::string> Messages()
  {
    std::vector<std::string> messages;
    for (const auto & line : sink_->Lines()) {
      messages.push_back(CaptureSink::MessageOf(line.text));
    }
    return messages;
  }

  /// Publishes parent -> child on /tf_static (latched for later listeners).
  void BroadcastStatic(const std::string & parent, const std::string & child)
  {
    if (!broadcaster_node_) {
      broadcaster_node_ = std::make_shared<rclcpp::Node>("test_tf_broadcaster");
      broadcaster_ = std::make_unique<tf2_ros::StaticTransformBroadcaster>(broadcaster_node_);
    }
    geometry_msgs::msg::TransformStamped transform;
    transform.header.stamp = broadcaster_node_->now();
    transform.header.frame_id = parent;
    transform.child_frame_id = child;
    transform.transform.rotation.w = 1.0;
    broadcaster_->sendTransform(transform);
  }

  /// Waits until the node's transform listener has delivered a message, which
  /// proves its thread is spinning. A listener destroyed before that hangs in
  /// its destructor (upstream tf2_ros loses the cancel), so tests that tear a
  /// half-configured node down wait for this first.
  static bool WaitUntilListening(nav2_costmap_2d::Costmap2DROS & node)
  {
    for (int i = 0; i < 1000; ++i) {
      auto buffer = node.getTfBuffer();
      if (buffer && buffer->_frameExists("kestrune_listener_probe")) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  /// Latches the frame WaitUntilListening looks for.
  void LatchListenerProbe() { BroadcastStatic("map", "kestrune_listener_probe"); }

  std::shared_ptr<CaptureSink> sink_;
  std::string params_path_;
  rclcpp::Node::SharedPtr broadcaster_node_;
  std::unique_ptr<tf2_ros::StaticTransformBroadcaster> broadcaster_;
};

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__COSTMAP_FIXTURE_HPP_
