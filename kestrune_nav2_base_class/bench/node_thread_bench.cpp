// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// Constructing and destroying a node thread against the plain pattern it
// replaces: an executor spun on a std::thread, cancelled and joined once its
// spin has begun (a cancel that comes before the spin is lost, so the plain
// pattern must wait for it); and against Nav2's own nav2_util::NodeThread,
// which a Nav2 user would pick instead. Each iteration is timed on its own,
// and the spread (median, 99th percentile, worst) is reported beside the
// mean: a stop that fell back on a fixed sleep would show as a tail, not in
// the mean.
//
// nav2_util::NodeThread cancels its executor in its destructor without
// waiting for the spin to begin, so one destroyed right after construction can
// lose that cancel and never join (rclcpp#1454). Its iterations therefore wait
// until its executor spins before destroying it, as the plain pattern does.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "kestrune_nav2_base_class/kestrune_node_multi_thread.hpp"
#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "nav2_util/node_thread.hpp"
#include "rclcpp/rclcpp.hpp"

namespace
{

using Clock = std::chrono::steady_clock;

/// Runs @p body once per iteration, timing each, and reports the spread.
void TimeEach(benchmark::State & state, const std::function<void()> & body)
{
  std::vector<double> samples;
  samples.reserve(100000);
  for (auto _ : state) {
    const auto start = Clock::now();
    body();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    samples.push_back(seconds);
  }
  if (samples.empty()) {
    return;
  }
  std::sort(samples.begin(), samples.end());
  const auto at = [&samples](double quantile) {
    const auto index = static_cast<std::size_t>(quantile * static_cast<double>(samples.size() - 1));
    return samples[index] * 1e6;
  };
  state.counters["p50_us"] = at(0.5);
  state.counters["p99_us"] = at(0.99);
  state.counters["max_us"] = samples.back() * 1e6;
}

/// The plain pattern: spin on a std::thread, wait until the spin has begun,
/// cancel, join.
void PlainSpinThenStop(rclcpp::Executor & executor, const std::function<void()> & spin)
{
  std::thread thread(spin);
  while (!executor.is_spinning()) {
    std::this_thread::yield();
  }
  executor.cancel();
  thread.join();
}

/// nav2_util::NodeThread with its executor in sight, so that an iteration can
/// wait for the spin before the destructor's cancel.
class ObservedNodeThread : public nav2_util::NodeThread
{
public:
  using NodeThread::NodeThread;

  void WaitUntilSpinning() const
  {
    while (!executor_->is_spinning()) {
      std::this_thread::yield();
    }
  }
};

rclcpp::Node::SharedPtr g_node;
rclcpp::CallbackGroup::SharedPtr g_group;
std::shared_ptr<rclcpp::executors::SingleThreadedExecutor> g_filled_executor;

// --- node form: the thread's own executor serves the node -------------------------

void PlainNodeForm(benchmark::State & state)
{
  TimeEach(state, []() {
    auto executor =
      std::make_shared<rclcpp::executors::SingleThreadedExecutor>(rclcpp::ExecutorOptions());
    auto node = g_node->get_node_base_interface();
    PlainSpinThenStop(*executor, [&executor, &node]() {
      executor->add_node(node, true);
      executor->spin();
      executor->remove_node(node, true);
    });
  });
}

void LibraryNodeForm(benchmark::State & state)
{
  TimeEach(
    state, []() { nav2_util::KestruneNodeThread thread(g_node->get_node_base_interface()); });
}

void Nav2NodeForm(benchmark::State & state)
{
  TimeEach(state, []() {
    ObservedNodeThread thread(g_node->get_node_base_interface());
    thread.WaitUntilSpinning();
  });
}

void PlainMultiNodeForm(benchmark::State & state)
{
  TimeEach(state, []() {
    auto executor = std::make_shared<rclcpp::executors::MultiThreadedExecutor>(
      rclcpp::ExecutorOptions(), 0, false, std::chrono::nanoseconds(-1));
    auto node = g_node->get_node_base_interface();
    PlainSpinThenStop(*executor, [&executor, &node]() {
      executor->add_node(node, true);
      executor->spin();
      executor->remove_node(node, true);
    });
  });
}

void LibraryMultiNodeForm(benchmark::State & state)
{
  TimeEach(
    state, []() { nav2_util::KestruneNodeMultiThread thread(g_node->get_node_base_interface()); });
}

// --- executor form: the caller's executor, already filled -----------------------------

void PlainExecutorForm(benchmark::State & state)
{
  TimeEach(
    state, []() { PlainSpinThenStop(*g_filled_executor, []() { g_filled_executor->spin(); }); });
}

void Nav2ExecutorForm(benchmark::State & state)
{
  TimeEach(state, []() {
    ObservedNodeThread thread(g_filled_executor);
    thread.WaitUntilSpinning();
  });
}

void LibraryExecutorForm(benchmark::State & state)
{
  TimeEach(state, []() { nav2_util::KestruneNodeThread thread(g_filled_executor); });
}

void LibraryMultiExecutorForm(benchmark::State & state)
{
  TimeEach(state, []() { nav2_util::KestruneNodeMultiThread thread(g_filled_executor); });
}

void Register(const char * name, void (*function)(benchmark::State &))
{
  benchmark::RegisterBenchmark(name, function)->UseManualTime()->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char ** argv)
{
  setenv("SPDLOG_STDOUT", "false", 1);
  setenv("SPDLOG_SYSTEMD", "false", 1);
  setenv("SPDLOG_LEVEL", "info", 1);
  rclcpp::init(0, nullptr);
  g_node = std::make_shared<rclcpp::Node>("node_thread_bench");
  g_group = g_node->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  g_filled_executor = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
  g_filled_executor->add_callback_group(g_group, g_node->get_node_base_interface());

  Register("node_thread/node_form/plain", PlainNodeForm);
  Register("node_thread/node_form/library", LibraryNodeForm);
  Register("node_thread/node_form/nav2", Nav2NodeForm);
  Register("node_multi_thread/node_form/plain", PlainMultiNodeForm);
  Register("node_multi_thread/node_form/library", LibraryMultiNodeForm);
  Register("node_thread/executor_form/plain", PlainExecutorForm);
  Register("node_thread/executor_form/library", LibraryExecutorForm);
  Register("node_thread/executor_form/nav2", Nav2ExecutorForm);
  Register("node_multi_thread/executor_form/plain", PlainExecutorForm);
  Register("node_multi_thread/executor_form/library", LibraryMultiExecutorForm);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  g_filled_executor.reset();
  g_group.reset();
  g_node.reset();
  rclcpp::shutdown();
  return 0;
}
