// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <regex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "kestrune_nav2_base_class/kestrune_node_multi_thread.hpp"
#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "rclcpp/rclcpp.hpp"
#include "support/capture_sink.hpp"
#include "support/counter.hpp"
#include "support/reliability.hpp"
#include "tf2_ros/create_timer_interface.h"

using namespace std::chrono_literals;
using kestrune_test::Counter;
using nav2_util::KestruneNodeMultiThread;
using nav2_util::KestruneNodeThread;

namespace
{

class NodeThreadTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    rclcpp::init(0, nullptr);
    node_ = std::make_shared<rclcpp::Node>("node_thread_test");
  }
  void TearDown() override
  {
    node_.reset();
    rclcpp::shutdown();
  }

  rclcpp::Node::SharedPtr node_;
};

// Both classes behave alike apart from the executor of the node form.
template<typename ThreadT>
class BothNodeThreads : public NodeThreadTest
{
};
using NodeThreadTypes = ::testing::Types<KestruneNodeThread, KestruneNodeMultiThread>;
TYPED_TEST_SUITE(BothNodeThreads, NodeThreadTypes);

TYPED_TEST(BothNodeThreads, NodeFormServesTheNodeOnItsOwnThreadAndRemovesItAtTheEnd)
{
  Counter calls;
  std::thread::id callback_thread;
  auto timer = this->node_->create_wall_timer(1ms, [&]() {
    callback_thread = std::this_thread::get_id();
    calls.Increment();
  });
  {
    TypeParam node_thread(this->node_->get_node_base_interface());
    ASSERT_TRUE(calls.WaitFor(3));
    EXPECT_NE(callback_thread, std::this_thread::get_id());
  }
  // Removed from the node thread's executor: free to join another one.
  rclcpp::executors::SingleThreadedExecutor other;
  EXPECT_NO_THROW(other.add_node(this->node_->get_node_base_interface()));
}

TYPED_TEST(BothNodeThreads, ExecutorFormSpinsOnlyWhatTheCallerAddedAndLeavesItUsable)
{
  auto group =
    this->node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  Counter group_calls;
  Counter default_calls;
  auto group_timer = this->node_->create_wall_timer(
    1ms, [&]() { group_calls.Increment(); }, group);
  auto default_timer = this->node_->create_wall_timer(1ms, [&]() { default_calls.Increment(); });

  auto executor = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
  executor->add_callback_group(group, this->node_->get_node_base_interface());
  {
    TypeParam node_thread(executor);
    ASSERT_TRUE(group_calls.WaitFor(3));
  }
  EXPECT_EQ(default_calls.Value(), 0);
  // The caller's executor survives, is no longer spinning and can spin again.
  EXPECT_FALSE(executor->is_spinning());
  const int before = group_calls.Value();
  group_timer->reset();
  std::this_thread::sleep_for(2ms);
  EXPECT_NO_THROW(executor->spin_some());
  EXPECT_GT(group_calls.Value(), before);
}

TYPED_TEST(BothNodeThreads, ManyConstructThenDestroyCyclesNeverHangNorLeaveAnythingBehind)
{
  // Most of these are destroyed before their thread reaches spin(), where a
  // plain cancel would be lost; ctest's timeout is the hang guard.
  constexpr int kCycles = 10000 / kestrune_test::kScaleDown;
  constexpr int kWarmUp = kCycles / 10;
  // Under 8 bytes a cycle: a node thread that kept anything of its own behind
  // would leave hundreds.
  constexpr long long kHeapGrowthBound = 64LL * 1024;
  auto executor = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
  const int baseline = kestrune_test::ThreadCount();
  long long heap_after_warm_up = 0;
  for (const bool node_form : {true, false}) {
    for (int i = 0; i < kCycles; ++i) {
      if (node_form) {
        TypeParam node_thread(this->node_->get_node_base_interface());
      } else {
        TypeParam node_thread(executor);
      }
      if (node_form && i + 1 == kWarmUp) {
        heap_after_warm_up = kestrune_test::HeapInUse();
      }
    }
  }
  EXPECT_FALSE(executor->is_spinning());
  EXPECT_EQ(kestrune_test::ThreadCountSettledAt(baseline), baseline);
  if (!kestrune_test::kSanitized) {  // the sanitizers bring allocators of their own
    const long long growth = kestrune_test::HeapInUse() - heap_after_warm_up;
    EXPECT_LE(growth, kHeapGrowthBound) << "the heap grew by " << growth << " B";
  }
  // The node was removed again: free to join another executor.
  rclcpp::executors::SingleThreadedExecutor other;
  EXPECT_NO_THROW(other.add_node(this->node_->get_node_base_interface()));
}

TYPED_TEST(BothNodeThreads, DestructionAfterShutdownEndsAndStillReleasesTheNode)
{
  // The spins return by themselves at shutdown; the destructors must not wait
  // for a spin that will not come (ctest's timeout is the hang guard).
  auto executor = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
  rclcpp::executors::SingleThreadedExecutor other;  // made while the context is valid
  auto node_form = std::make_unique<TypeParam>(this->node_->get_node_base_interface());
  auto executor_form = std::make_unique<TypeParam>(executor);
  rclcpp::shutdown();
  executor_form.reset();
  node_form.reset();
  EXPECT_NO_THROW(other.add_node(this->node_->get_node_base_interface()));
}

std::vector<kestrune_test::CapturedLine> ErrorLines(kestrune_test::CaptureSink & sink)
{
  std::vector<kestrune_test::CapturedLine> errors;
  for (const auto & line : sink.Lines()) {
    if (line.level == spdlog::level::err) {
      errors.push_back(line);
    }
  }
  return errors;
}

TEST_F(NodeThreadTest, InvalidTimerHandleInNodeFormIsLoggedOnceAndEndsTheSpin)
{
  auto sink = kestrune_test::CaptureSink::Attach();
  Counter calls;
  auto timer = node_->create_wall_timer(1ms, [&]() {
    calls.Increment();
    throw tf2_ros::InvalidTimerHandleException("Invalid timer handle in cancel()");
  });
  {
    KestruneNodeThread node_thread(node_->get_node_base_interface());
    ASSERT_TRUE(calls.WaitFor(1));
    // No further callbacks once the spin has ended, though the timer fires on.
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(calls.Value(), 1);
  }
  const auto errors = ErrorLines(*sink);
  kestrune_test::CaptureSink::DetachAll();
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_TRUE(std::regex_match(
    errors[0].text,
    std::regex(R"([ 0-9]{3} \[ERROR\] ex\.what: Invalid timer handle in cancel\(\))")))
    << errors[0].text;
  EXPECT_EQ(errors[0].file, "./src/kestrune_node_thread.cpp");
  EXPECT_EQ(errors[0].function, "operator()");
  EXPECT_GT(errors[0].line, 0);
  // The node was removed when the spin ended.
  rclcpp::executors::SingleThreadedExecutor other;
  EXPECT_NO_THROW(other.add_node(node_->get_node_base_interface()));
}

TEST_F(NodeThreadTest, InvalidTimerHandleInMultiThreadedNodeForm)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto throw_once = [this]() {
    return node_->create_wall_timer(1ms, []() {
      throw tf2_ros::InvalidTimerHandleException("Invalid timer handle in {reset}()");
    });
  };
  if (std::thread::hardware_concurrency() > 1) {
    // A multi-threaded executor with more than one thread cannot hand a
    // callback's exception back to its caller: upstream ends the process.
    EXPECT_DEATH(
      {
        auto timer = throw_once();
        KestruneNodeMultiThread node_thread(node_->get_node_base_interface());
        std::this_thread::sleep_for(5s);
      },
      "");
    return;
  }
  auto sink = kestrune_test::CaptureSink::Attach();
  {
    auto timer = throw_once();
    KestruneNodeMultiThread node_thread(node_->get_node_base_interface());
    for (int i = 0; i < 500 && ErrorLines(*sink).empty(); ++i) {
      std::this_thread::sleep_for(10ms);
    }
  }
  const auto errors = ErrorLines(*sink);
  kestrune_test::CaptureSink::DetachAll();
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_NE(errors[0].text.find("ex.what: Invalid timer handle in {reset}()"), std::string::npos);
  EXPECT_EQ(errors[0].file, "./src/kestrune_node_multi_thread.cpp");
  EXPECT_EQ(errors[0].function, "operator()");
}

TEST_F(NodeThreadTest, InvalidTimerHandleInExecutorFormEndsTheProcess)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
    {
      auto group =
        node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
      auto timer = node_->create_wall_timer(
        1ms,
        []() { throw tf2_ros::InvalidTimerHandleException("Invalid timer handle in remove()"); },
        group);
      auto executor = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
      executor->add_callback_group(group, node_->get_node_base_interface());
      KestruneNodeThread node_thread(executor);
      std::this_thread::sleep_for(5s);
    },
    "Invalid timer handle in remove");
}

TEST_F(NodeThreadTest, MultiThreadedNodeFormRunsReentrantCallbacksConcurrently)
{
  if (std::thread::hardware_concurrency() < 2) {
    GTEST_SKIP() << "one core: the executor runs a single thread";
  }
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::Reentrant);
  Counter arrived;
  Counter met;
  // Each callback waits for the other to arrive; only concurrent runs can meet.
  auto meet = [&]() {
    arrived.Increment();
    if (arrived.WaitFor(2, 5s)) {
      met.Increment();
    }
  };
  rclcpp::TimerBase::SharedPtr first;
  rclcpp::TimerBase::SharedPtr second;
  first = node_->create_wall_timer(
    1ms,
    [&, meet]() {
      first->cancel();
      meet();
    },
    group);
  second = node_->create_wall_timer(
    1ms,
    [&, meet]() {
      second->cancel();
      meet();
    },
    group);
  KestruneNodeMultiThread node_thread(node_->get_node_base_interface());
  EXPECT_TRUE(met.WaitFor(2, 10s));
}

}  // namespace
