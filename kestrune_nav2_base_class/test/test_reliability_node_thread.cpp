// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// Many node threads alive at once, created and destroyed together from
// several threads: nothing hangs, every thread they started is gone again,
// and memory does not creep.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "kestrune_nav2_base_class/kestrune_node_multi_thread.hpp"
#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "rclcpp/rclcpp.hpp"
#include "test_reliability.hpp"

namespace
{

using kestrune_test::kSanitized;
using kestrune_test::kScaleDown;
using nav2_util::KestruneNodeMultiThread;
using nav2_util::KestruneNodeThread;

// 10,000 objects per class and form (a quarter under the sanitizers:
// test_reliability.hpp), in batches that are alive together.
constexpr int kTotal = 10000 / kScaleDown;
constexpr int kBatch = kSanitized ? 50 : 100;
constexpr int kWorkers = 4;
// The heap may grow this much from the end of the tenth batch (caches have
// settled by then) to the end of the last: under 8 bytes an object, where a
// node thread that kept anything of its own behind would leave hundreds.
constexpr long long kHeapGrowthBound = 64LL * 1024;
constexpr int kWarmUpBatches = 10;

/// Runs @p work(i) for i in [0, count) spread over kWorkers threads at once.
void InParallel(int count, const std::function<void(int)> & work)
{
  std::vector<std::thread> workers;
  workers.reserve(kWorkers);
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([w, count, &work]() {
      for (int i = w; i < count; i += kWorkers) {
        work(i);
      }
    });
  }
  for (auto & worker : workers) {
    worker.join();
  }
}

template<typename ThreadT>
class ManyNodeThreads : public ::testing::Test
{
protected:
  void SetUp() override { rclcpp::init(0, nullptr); }
  void TearDown() override { rclcpp::shutdown(); }

  /// Batches of node threads made by @p make(i), created and then destroyed
  /// together; checks the thread count after each batch and memory at the end.
  void RunBatches(
    const std::string & form, const std::function<std::unique_ptr<ThreadT>(int)> & make)
  {
    kestrune_test::HangGuard guard(std::chrono::seconds(kSanitized ? 240 : 120));
    const int baseline = kestrune_test::ThreadCount();
    long long heap_after_warm_up = 0;
    for (int batch = 0; batch < kTotal / kBatch; ++batch) {
      std::vector<std::unique_ptr<ThreadT>> threads(kBatch);
      guard.Phase(form + ": creating batch " + std::to_string(batch));
      InParallel(kBatch, [&](int i) { threads[i] = make(i); });
      guard.Phase(form + ": destroying batch " + std::to_string(batch));
      InParallel(kBatch, [&](int i) { threads[i].reset(); });
      ASSERT_EQ(kestrune_test::ThreadCountSettledAt(baseline), baseline)
        << form << ": threads left after batch " << batch;
      if (batch + 1 == kWarmUpBatches) {
        heap_after_warm_up = kestrune_test::HeapInUse();
      }
    }
    if (!kSanitized) {  // the sanitizers bring allocators of their own
      const long long growth = kestrune_test::HeapInUse() - heap_after_warm_up;
      std::cout << form << ": heap growth after the warm-up: " << growth << " B\n";
      EXPECT_LE(growth, kHeapGrowthBound) << form << ": the heap grew by " << growth << " B";
    }
  }
};

using NodeThreadTypes = ::testing::Types<KestruneNodeThread, KestruneNodeMultiThread>;
TYPED_TEST_SUITE(ManyNodeThreads, NodeThreadTypes);

TYPED_TEST(ManyNodeThreads, NodeFormBatchesCreatedAndDestroyedTogether)
{
  // A node belongs to one executor at a time, so each object of a batch
  // serves a node of its own; the nodes live on across batches.
  std::vector<rclcpp::Node::SharedPtr> nodes;
  nodes.reserve(kBatch);
  for (int i = 0; i < kBatch; ++i) {
    nodes.push_back(std::make_shared<rclcpp::Node>("reliability_" + std::to_string(i)));
  }
  this->RunBatches("node form", [&nodes](int i) {
    return std::make_unique<TypeParam>(nodes[i]->get_node_base_interface());
  });
  // Every node was removed from its executor again.
  rclcpp::executors::SingleThreadedExecutor other;
  for (const auto & node : nodes) {
    ASSERT_NO_THROW(other.add_node(node->get_node_base_interface()));
  }
}

TYPED_TEST(ManyNodeThreads, ExecutorFormBatchesCreatedAndDestroyedTogether)
{
  // An executor spins on one thread at a time, so each object of a batch
  // spins an executor of its own, filled with a group of its own.
  auto node = std::make_shared<rclcpp::Node>("reliability");
  std::vector<rclcpp::CallbackGroup::SharedPtr> groups;
  std::vector<rclcpp::executors::SingleThreadedExecutor::SharedPtr> executors;
  for (int i = 0; i < kBatch; ++i) {
    groups.push_back(
      node->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false));
    executors.push_back(std::make_shared<rclcpp::executors::SingleThreadedExecutor>());
    executors.back()->add_callback_group(groups.back(), node->get_node_base_interface());
  }
  this->RunBatches(
    "executor form", [&executors](int i) { return std::make_unique<TypeParam>(executors[i]); });
  for (const auto & executor : executors) {
    EXPECT_FALSE(executor->is_spinning());
  }
}

}  // namespace
