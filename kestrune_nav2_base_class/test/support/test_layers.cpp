// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// Layers that report what the costmap node does to them. Loaded through
// pluginlib from a test prefix, as a host's layers are.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "layer_events.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/layer.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "pluginlib/class_list_macros.hpp"
#include "tf2_ros/buffer.h"

namespace kestrune_test_layers
{

using kestrune_test::LayerEvents;

/// Records its initialisation, whether it was already added, and whether the
/// costmap's mutex was held (another thread must fail to take it).
class RecordingLayer : public nav2_costmap_2d::Layer
{
public:
  RecordingLayer() { LayerEvents::Record("create"); }
  ~RecordingLayer() override { LayerEvents::Record("destroy " + name_); }

  void reset() override {}
  bool isClearable() override { return false; }
  /// Reports the whole map as changed, as a static layer does: the layered
  /// costmap counts as initialized only once some layer has reported bounds.
  void updateBounds(
    double, double, double, double * min_x, double * min_y, double * max_x, double * max_y) override
  {
    LayerEvents::RecordUpdate();
    const auto * costmap = layered_costmap_->getCostmap();
    *min_x = std::min(*min_x, costmap->getOriginX());
    *min_y = std::min(*min_y, costmap->getOriginY());
    *max_x = std::max(*max_x, costmap->getOriginX() + costmap->getSizeInMetersX());
    *max_y = std::max(*max_y, costmap->getOriginY() + costmap->getSizeInMetersY());
  }
  void updateCosts(nav2_costmap_2d::Costmap2D &, int, int, int, int) override {}

protected:
  void onInitialize() override
  {
    auto * mutex = layered_costmap_->getCostmap()->getMutex();
    const bool locked_elsewhere = std::async(std::launch::async, [mutex]() {
                                    if (mutex->try_lock()) {
                                      mutex->unlock();
                                      return false;
                                    }
                                    return true;
                                  }).get();
    bool added = false;
    for (const auto & layer : *layered_costmap_->getPlugins()) {
      added = added || layer.get() == this;
    }
    for (const auto & layer : *layered_costmap_->getFilters()) {
      added = added || layer.get() == this;
    }
    LayerEvents::Record(
      "initialize " + name_ + (added ? " added" : " not-added") +
      (locked_elsewhere ? " locked" : " unlocked") + (callback_group_ ? " group" : " no-group") +
      (tf_ ? " tf" : " no-tf"));
  }
};

/// Fails in its initialisation, as a misconfigured layer does.
class ThrowingLayer : public RecordingLayer
{
protected:
  void onInitialize() override
  {
    throw std::runtime_error("layer " + name_ + " refuses to initialize");
  }
};

/// Places a 5 ms timer in the group it is given and records the thread that
/// runs it. The callback reads the layered costmap after a pause, so it is
/// still using it when a cleanup starts.
class TimerLayer : public RecordingLayer
{
protected:
  void onInitialize() override
  {
    RecordingLayer::onInitialize();
    auto node = node_.lock();
    timer_ = node->create_wall_timer(
      std::chrono::milliseconds(5),
      [this]() {
        LayerEvents::RecordTimerThread(std::this_thread::get_id());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        volatile unsigned int cells = layered_costmap_->getCostmap()->getSizeInCellsX();
        (void)cells;
      },
      callback_group_);
  }

private:
  rclcpp::TimerBase::SharedPtr timer_;
};

/// Waits, through the transform buffer, for a frame that never comes: the
/// buffer's timeout timer, made through its create-timer interface, ends the
/// wait, and the thread that runs it is recorded.
class TransformWaitLayer : public RecordingLayer
{
protected:
  void onInitialize() override
  {
    RecordingLayer::onInitialize();
    tf_->waitForTransform(
      "map", "kestrune_frame_that_never_comes", tf2::TimePointZero, std::chrono::milliseconds(20),
      [](const tf2_ros::TransformStampedFuture &) {
        LayerEvents::Record("transform wait ended");
        LayerEvents::RecordTimerThread(std::this_thread::get_id());
      });
  }
};

/// Takes a while to go, recording when its release begins and ends, so that a
/// test can see what else ran meanwhile.
class SlowReleaseLayer : public RecordingLayer
{
public:
  ~SlowReleaseLayer() override
  {
    LayerEvents::Record("release begins");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    LayerEvents::Record("release ends");
  }
};

/// Spends 20 ms in every map update, recording when each begins and ends, so
/// that a test can see an update still under way when the layers go.
class SlowUpdateLayer : public RecordingLayer
{
public:
  void updateBounds(
    double robot_x, double robot_y, double robot_yaw, double * min_x, double * min_y,
    double * max_x, double * max_y) override
  {
    LayerEvents::Record("update begins");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    RecordingLayer::updateBounds(robot_x, robot_y, robot_yaw, min_x, min_y, max_x, max_y);
    LayerEvents::Record("update ends");
  }
};

/// Spends 3 ms in every map update and records a footprint change that
/// comes while one is under way (the update reads the footprint).
class FootprintWatchLayer : public RecordingLayer
{
public:
  void updateBounds(
    double robot_x, double robot_y, double robot_yaw, double * min_x, double * min_y,
    double * max_x, double * max_y) override
  {
    updating_ = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    RecordingLayer::updateBounds(robot_x, robot_y, robot_yaw, min_x, min_y, max_x, max_y);
    updating_ = false;
  }
  void onFootprintChanged() override
  {
    LayerEvents::Record(updating_ ? "footprint changed during an update" : "footprint changed");
  }

private:
  std::atomic<bool> updating_{false};
};

/// Declares "<name>.probe" and takes 200 ms over each change of it in a
/// parameter callback of its own, as a layer's dynamic parameters do.
class ParameterLayer : public RecordingLayer
{
protected:
  void onInitialize() override
  {
    RecordingLayer::onInitialize();
    auto node = node_.lock();
    const std::string probe = name_ + ".probe";
    if (!node->has_parameter(probe)) {
      node->declare_parameter(probe, 0);
    }
    handler_ = node->add_on_set_parameters_callback(
      [probe](const std::vector<rclcpp::Parameter> & parameters) {
        rcl_interfaces::msg::SetParametersResult result;
        result.successful = true;
        if (!parameters.empty() && parameters.front().get_name() == probe) {
          LayerEvents::Record("parameter callback begins");
          std::this_thread::sleep_for(std::chrono::milliseconds(200));
          LayerEvents::Record("parameter callback ends");
        }
        return result;
      });
  }

private:
  rclcpp::node_interfaces::OnSetParametersCallbackHandle::SharedPtr handler_;
};

}  // namespace kestrune_test_layers

PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::RecordingLayer, nav2_costmap_2d::Layer)
PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::ThrowingLayer, nav2_costmap_2d::Layer)
PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::TimerLayer, nav2_costmap_2d::Layer)
PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::SlowReleaseLayer, nav2_costmap_2d::Layer)
PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::SlowUpdateLayer, nav2_costmap_2d::Layer)
PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::TransformWaitLayer, nav2_costmap_2d::Layer)
PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::FootprintWatchLayer, nav2_costmap_2d::Layer)
PLUGINLIB_EXPORT_CLASS(kestrune_test_layers::ParameterLayer, nav2_costmap_2d::Layer)
