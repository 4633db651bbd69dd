// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"

#include <memory>
#include <utility>

#include "kestrune_nav2_base_class/logger.hpp"
#include "spin_state.hpp"

namespace nav2_util
{

KestruneNodeThread::KestruneNodeThread(
  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base)
: spin_state_(std::make_unique<detail::SpinState>()),
  node_(std::move(node_base)),
  executor_(std::make_shared<rclcpp::executors::SingleThreadedExecutor>(rclcpp::ExecutorOptions()))
{
  thread_ = detail::StartNodeSpin(
    *spin_state_, *executor_, node_, [](const tf2_ros::InvalidTimerHandleException & ex) {
      KESTRUNE_LOG_ERROR("ex.what: {}", ex.what());
    });
}

KestruneNodeThread::KestruneNodeThread(
  rclcpp::executors::SingleThreadedExecutor::SharedPtr executor)
: spin_state_(std::make_unique<detail::SpinState>()),
  executor_(std::move(executor))
{
  thread_ = detail::StartExecutorSpin(*spin_state_, *executor_);
}

KestruneNodeThread::~KestruneNodeThread()
{
  spin_state_->Stop(*executor_);
  thread_->join();
  executor_.reset();
  thread_.reset();
  node_.reset();
}

}  // namespace nav2_util
