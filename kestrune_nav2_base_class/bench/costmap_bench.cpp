// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The costmap node's transitions, each timed on its own, with no layer and with
// three layers that do nothing (so the figures are the node's and pluginlib's
// work), and the memory one configure/cleanup cycle costs.
//
// Every iteration runs a whole configure, activate, deactivate, cleanup cycle
// and times one step of it, so each step starts from the state a host gives it;
// a fixed count of cycles keeps the run short whatever a step costs. Activate
// finds the robot's transform already in the buffer.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"
#include "lifecycle_msgs/msg/state.hpp"
#include "rclcpp/rclcpp.hpp"
#include "tf2_ros/static_transform_broadcaster.h"

// --- heap accounting ------------------------------------------------------------------
// Replacing the global allocation functions counts every C++ allocation of the
// process, the shared libraries' included.

namespace
{
std::atomic<std::uint64_t> g_allocations{0};
std::atomic<std::uint64_t> g_allocated_bytes{0};
std::atomic<std::int64_t> g_live_bytes{0};

/// Counts @p pointer, fresh from malloc (nullptr: out of memory).
void * Counted(void * pointer)
{
  if (pointer == nullptr) {
    throw std::bad_alloc();
  }
  const auto usable = malloc_usable_size(pointer);
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  g_allocated_bytes.fetch_add(usable, std::memory_order_relaxed);
  g_live_bytes.fetch_add(static_cast<std::int64_t>(usable), std::memory_order_relaxed);
  return pointer;
}

void * CountedAllocate(std::size_t size)
{
  return Counted(std::malloc(size == 0 ? 1 : size));
}

void * CountedAllocateAligned(std::size_t size, std::align_val_t alignment)
{
  const auto align = std::max(static_cast<std::size_t>(alignment), sizeof(void *));
  void * pointer = nullptr;
  return Counted(posix_memalign(&pointer, align, size == 0 ? 1 : size) == 0 ? pointer : nullptr);
}

void CountedFree(void * pointer) noexcept
{
  if (pointer != nullptr) {
    g_live_bytes.fetch_sub(
      static_cast<std::int64_t>(malloc_usable_size(pointer)), std::memory_order_relaxed);
    std::free(pointer);
  }
}
}  // namespace

void * operator new(std::size_t size)
{
  return CountedAllocate(size);
}
void * operator new[](std::size_t size)
{
  return CountedAllocate(size);
}
void * operator new(std::size_t size, const std::nothrow_t &) noexcept
{
  try {
    return CountedAllocate(size);
  } catch (...) {
    return nullptr;
  }
}
void * operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
  return operator new(size, std::nothrow);
}
void * operator new(std::size_t size, std::align_val_t alignment)
{
  return CountedAllocateAligned(size, alignment);
}
void * operator new[](std::size_t size, std::align_val_t alignment)
{
  return CountedAllocateAligned(size, alignment);
}
void operator delete(void * pointer) noexcept
{
  CountedFree(pointer);
}
void operator delete[](void * pointer) noexcept
{
  CountedFree(pointer);
}
void operator delete(void * pointer, std::size_t) noexcept
{
  CountedFree(pointer);
}
void operator delete[](void * pointer, std::size_t) noexcept
{
  CountedFree(pointer);
}
void operator delete(void * pointer, std::align_val_t) noexcept
{
  CountedFree(pointer);
}
void operator delete[](void * pointer, std::align_val_t) noexcept
{
  CountedFree(pointer);
}
void operator delete(void * pointer, std::size_t, std::align_val_t) noexcept
{
  CountedFree(pointer);
}
void operator delete[](void * pointer, std::size_t, std::align_val_t) noexcept
{
  CountedFree(pointer);
}

namespace
{

using Clock = std::chrono::steady_clock;
using lifecycle_msgs::msg::State;

/// The costmap node with its transform buffer opened up, so a benchmark can wait
/// for the transform before it times activate.
class BenchCostmap : public nav2_costmap_2d::KestruneCostmap2DROS
{
public:
  using KestruneCostmap2DROS::KestruneCostmap2DROS;

  void WaitForTransform()
  {
    for (int i = 0; i < 5000; ++i) {
      if (tf_buffer_->canTransform(global_frame_, robot_base_frame_, tf2::TimePointZero)) {
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    throw std::runtime_error("the transform never reached the buffer");
  }

  /// Activate clears this flag right after its transform wait (and the base's
  /// stop() sets it), so it tells from outside when the wait has ended.
  std::atomic<bool> & UpdatesStopped() { return stop_updates_; }

  /// Puts global frame -> robot base frame into the buffer, as the listener would.
  void InsertRobotTransform()
  {
    geometry_msgs::msg::TransformStamped transform;
    transform.header.stamp = now();
    transform.header.frame_id = global_frame_;
    transform.child_frame_id = robot_base_frame_;
    transform.transform.rotation.w = 1.0;
    tf_buffer_->setTransform(transform, "bench", true);
  }
};

const char kNoOpLayer[] = "kestrune_bench_layers/NoOpLayer";

std::string ParametersYaml()
{
  std::string yaml =
    "/**:\n  ros__parameters:\n"
    "    global_frame: map\n    robot_base_frame: base_link\n"
    "    width: 5\n    height: 4\n    resolution: 0.05\n"
    "    update_frequency: 20.0\n    publish_frequency: 10.0\n"
    "    plugins: [\"layer_a\", \"layer_b\", \"layer_c\"]\n";
  for (const char * name : {"layer_a", "layer_b", "layer_c"}) {
    yaml += std::string("    ") + name + ":\n      plugin: " + kNoOpLayer + "\n";
  }
  return yaml;
}

std::shared_ptr<BenchCostmap> MakeNode(int layers)
{
  auto node = std::make_shared<BenchCostmap>("costmap_" + std::to_string(layers));
  if (layers == 0) {
    node->set_parameter(rclcpp::Parameter("plugins", std::vector<std::string>{}));
  }
  return node;
}

void Expect(const rclcpp_lifecycle::State & state, std::uint8_t id, const char * step)
{
  if (state.id() != id) {
    throw std::runtime_error(std::string(step) + " ended in state " + state.label());
  }
}

enum class Step
{
  kConfigure,
  kActivate,
  kDeactivate,
  kCleanup
};

/// Whole cycles, timing @p step of each; reports the median and the worst too.
void TimeStep(benchmark::State & state, Step step, int layers)
{
  auto node = MakeNode(layers);
  std::vector<double> samples;
  const auto timed = [&](Step this_step, const std::function<void()> & body) {
    const auto start = Clock::now();
    body();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (this_step == step) {
      state.SetIterationTime(seconds);
      samples.push_back(seconds);
    }
  };
  for (auto _ : state) {
    timed(Step::kConfigure, [&] {
      Expect(node->configure(), State::PRIMARY_STATE_INACTIVE, "configure");
    });
    node->WaitForTransform();
    timed(
      Step::kActivate, [&] { Expect(node->activate(), State::PRIMARY_STATE_ACTIVE, "activate"); });
    timed(Step::kDeactivate, [&] {
      Expect(node->deactivate(), State::PRIMARY_STATE_INACTIVE, "deactivate");
    });
    timed(Step::kCleanup, [&] {
      Expect(node->cleanup(), State::PRIMARY_STATE_UNCONFIGURED, "cleanup");
    });
  }
  std::sort(samples.begin(), samples.end());
  if (!samples.empty()) {
    state.counters["p50_ms"] = samples[samples.size() / 2] * 1e3;
    state.counters["max_ms"] = samples.back() * 1e3;
  }
}

/// Activate waiting for a robot frame that nobody publishes; the frame appears
/// while the wait is under way. Timed: from the frame's arrival in the buffer
/// to the end of the wait (the query's own polling, and the wait's 20 ms pace
/// after a query that failed at once); reported beside it, the arrival to
/// activate's return, which adds the base's start().
void ActivateAfterTransformAppears(benchmark::State & state)
{
  auto node = MakeNode(0);
  std::vector<double> wait_ends;
  std::vector<double> returns;
  int round = 0;
  for (auto _ : state) {
    // By the time of the cleanup below, the listener's thread has long begun
    // to spin, so tf2_ros cannot lose its cancel.
    const std::string frame = "late_base_link_" + std::to_string(round++);
    node->set_parameter(rclcpp::Parameter("robot_base_frame", frame));
    Expect(node->configure(), State::PRIMARY_STATE_INACTIVE, "configure");
    node->UpdatesStopped() = true;
    std::promise<Clock::time_point> returned;
    std::thread host([&node, &returned]() {
      Expect(node->activate(), State::PRIMARY_STATE_ACTIVE, "activate");
      returned.set_value(Clock::now());
    });
    // Well into the wait: its first query has failed by now.
    std::this_thread::sleep_for(std::chrono::milliseconds(130));
    const auto appeared = Clock::now();
    node->InsertRobotTransform();
    while (node->UpdatesStopped()) {
      std::this_thread::yield();
    }
    const auto wait_ended = Clock::now();
    const auto seconds = [appeared](Clock::time_point then) {
      return std::chrono::duration<double>(then - appeared).count();
    };
    returns.push_back(seconds(returned.get_future().get()));
    host.join();
    wait_ends.push_back(seconds(wait_ended));
    state.SetIterationTime(wait_ends.back());
    Expect(node->deactivate(), State::PRIMARY_STATE_INACTIVE, "deactivate");
    Expect(node->cleanup(), State::PRIMARY_STATE_UNCONFIGURED, "cleanup");
  }
  std::sort(wait_ends.begin(), wait_ends.end());
  std::sort(returns.begin(), returns.end());
  if (!wait_ends.empty()) {
    state.counters["p50_ms"] = wait_ends[wait_ends.size() / 2] * 1e3;
    state.counters["max_ms"] = wait_ends.back() * 1e3;
    state.counters["return_p50_ms"] = returns[returns.size() / 2] * 1e3;
  }
}

long ResidentKiB()
{
  long size = 0;
  long resident = 0;
  std::ifstream statm("/proc/self/statm");
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

/// configure + cleanup cycles: heap allocations and bytes per cycle, heap
/// bytes still held per cycle, and resident memory growth, after a warm-up.
void MemoryPerCycle(benchmark::State & state, int layers)
{
  auto node = MakeNode(layers);
  // The wait keeps cleanup from meeting a transform listener whose thread has
  // not begun to spin: tf2_ros loses that cancel and the cleanup would hang.
  const auto cycle = [&node]() {
    Expect(node->configure(), State::PRIMARY_STATE_INACTIVE, "configure");
    node->WaitForTransform();
    Expect(node->cleanup(), State::PRIMARY_STATE_UNCONFIGURED, "cleanup");
  };
  for (int i = 0; i < 20; ++i) {
    cycle();
  }
  const auto allocations = g_allocations.load();
  const auto bytes = g_allocated_bytes.load();
  const auto live = g_live_bytes.load();
  const long resident = ResidentKiB();
  for (auto _ : state) {
    cycle();
  }
  const auto per_cycle = benchmark::Counter::kAvgIterations;
  state.counters["allocs"] =
    benchmark::Counter(static_cast<double>(g_allocations.load() - allocations), per_cycle);
  state.counters["alloc_KiB"] =
    benchmark::Counter(static_cast<double>(g_allocated_bytes.load() - bytes) / 1024.0, per_cycle);
  state.counters["kept_B"] =
    benchmark::Counter(static_cast<double>(g_live_bytes.load() - live), per_cycle);
  state.counters["rss_growth_B"] =
    benchmark::Counter(static_cast<double>(ResidentKiB() - resident) * 1024.0, per_cycle);
}

void RegisterAll()
{
  const std::vector<std::pair<const char *, Step>> steps{
    {"configure", Step::kConfigure},
    {"activate", Step::kActivate},
    {"deactivate", Step::kDeactivate},
    {"cleanup", Step::kCleanup}};
  for (const int layers : {0, 3}) {
    for (const auto & [name, step] : steps) {
      benchmark::RegisterBenchmark(
        (std::string("costmap/") + name + "/layers:" + std::to_string(layers)).c_str(),
        [step = step, layers](benchmark::State & state) { TimeStep(state, step, layers); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(30);
    }
  }
  benchmark::RegisterBenchmark(
    "costmap/activate_after_transform_appears", ActivateAfterTransformAppears)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
  for (const int layers : {0, 3}) {
    benchmark::RegisterBenchmark(
      ("costmap/configure_cleanup_memory/layers:" + std::to_string(layers)).c_str(),
      [layers](benchmark::State & state) { MemoryPerCycle(state, layers); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(200);
  }
}

}  // namespace

int main(int argc, char ** argv)
{
  setenv("SPDLOG_STDOUT", "false", 1);
  setenv("SPDLOG_SYSTEMD", "false", 1);
  setenv("SPDLOG_LEVEL", "info", 1);
  // pluginlib finds the layer through the ament index of this prefix too.
  const char * prefixes = std::getenv("AMENT_PREFIX_PATH");
  const std::string ament_prefix_path = std::string(KESTRUNE_BENCH_AMENT_PREFIX) +
                                        (prefixes != nullptr ? std::string(":") + prefixes : "");
  setenv("AMENT_PREFIX_PATH", ament_prefix_path.c_str(), 1);

  const std::string params = (std::filesystem::temp_directory_path() /
                              ("kestrune_bench_costmap_" + std::to_string(getpid()) + ".yaml"))
                               .string();
  std::ofstream(params) << ParametersYaml();
  const char * ros_argv[] = {
    "kestrune_bench_costmap", "--ros-args", "--params-file", params.c_str()};
  rclcpp::init(4, ros_argv);

  auto broadcaster_node = std::make_shared<rclcpp::Node>("bench_tf_broadcaster");
  tf2_ros::StaticTransformBroadcaster broadcaster(broadcaster_node);
  geometry_msgs::msg::TransformStamped transform;
  transform.header.stamp = broadcaster_node->now();
  transform.header.frame_id = "map";
  transform.child_frame_id = "base_link";
  transform.transform.rotation.w = 1.0;
  broadcaster.sendTransform(transform);

  RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  rclcpp::shutdown();
  std::remove(params.c_str());
  return 0;
}
