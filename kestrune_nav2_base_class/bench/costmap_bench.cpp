// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The library's costmap node beside the one a Nav2 user would pick instead,
// nav2_costmap_2d::Costmap2DROS, with the same parameters, in the same
// process; Google Benchmark interleaves the repetitions of both at random.
//
// - Transitions, with no layer, with three layers that do nothing (the node's
//   and pluginlib's work alone) and with Nav2's static, obstacle and
//   inflation layers on a 20 m x 20 m map at 0.05 m. Every iteration runs a
//   whole configure, activate, deactivate, cleanup cycle and times each step,
//   so each starts from the state a host gives it; activate finds the robot's
//   transform already in the buffer.
// - Activation latency: from the robot frame's arrival in the buffer to the
//   end of the transform wait, and to activate's return.
// - Heap and resident memory per configure/cleanup cycle.
// - Steady state: the process's CPU time per second with one node active,
//   its map update loop and publisher at the same rates, a scan feeding the
//   obstacle layer and a viewer taking the published costmap.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"
#include "lifecycle_msgs/msg/state.hpp"
#include "rclcpp/rclcpp.hpp"
#include "support/bench_world.hpp"

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

// --- the two nodes side by side -----------------------------------------------------------

enum class Side
{
  kOurs,
  kUpstream
};

const char * SideName(Side side)
{
  return side == Side::kOurs ? "ours" : "upstream";
}

/// The same parameters for both sides: no layer; three layers that do nothing
/// (the node's and pluginlib's work alone); Nav2's static, obstacle and
/// inflation layers on the world's 20 m x 20 m map.
enum class Setup
{
  kNoLayer,
  kNoOpLayers,
  kNav2Layers
};

const char * SetupName(Setup setup)
{
  switch (setup) {
    case Setup::kNoLayer:
      return "no_layer";
    case Setup::kNoOpLayers:
      return "noop_layers";
    default:
      return "nav2_layers";
  }
}

std::string NodeName(Side side, Setup setup)
{
  return std::string(SideName(side)) + "_" + SetupName(setup);
}

/// Polls @p done every millisecond for up to 5 s; false if it never held.
bool WaitFor(const std::function<bool()> & done)
{
  for (int i = 0; i < 5000; ++i) {
    if (done()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

void Require(bool held, const char * what)
{
  if (!held) {
    throw std::runtime_error(std::string("gave up waiting for ") + what);
  }
}

/// What the benchmarks need of either node beyond the lifecycle calls.
class CostmapProbe
{
public:
  virtual ~CostmapProbe() = default;

  /// True once the private executor spins (or there is none): before that, a
  /// cleanup that destroys Nav2's node thread can lose its cancel (rclcpp#1454).
  virtual bool PrivateExecutorSpins() = 0;

  /// The robot's transform is in the buffer (so the listener's thread spins
  /// too), the private executor spins and every layer is current (the static
  /// layer has its map).
  virtual void WaitUntilReady() = 0;

  /// Activate clears this flag right after its transform wait (and stop()
  /// sets it), so it tells from outside when the wait has ended.
  virtual std::atomic<bool> & UpdatesStopped() = 0;

  /// Puts global frame -> robot base frame into the buffer, as the listener would.
  virtual void InsertRobotTransform() = 0;
};

template<class Costmap>
class Probed : public Costmap, public CostmapProbe
{
public:
  using Costmap::Costmap;

  bool PrivateExecutorSpins() override
  {
    return !this->executor_ || this->executor_->is_spinning();
  }

  void WaitUntilReady() override
  {
    Require(
      WaitFor([this]() {
        return this->tf_buffer_->canTransform(
          this->global_frame_, this->robot_base_frame_, tf2::TimePointZero);
      }),
      "the robot's transform");
    Require(WaitFor([this]() { return PrivateExecutorSpins(); }), "the private executor");
    Require(WaitFor([this]() { return this->layered_costmap_->isCurrent(); }), "current layers");
  }

  std::atomic<bool> & UpdatesStopped() override { return this->stop_updates_; }

  void InsertRobotTransform() override
  {
    geometry_msgs::msg::TransformStamped transform;
    transform.header.stamp = this->now();
    transform.header.frame_id = this->global_frame_;
    transform.child_frame_id = this->robot_base_frame_;
    transform.transform.rotation.w = 1.0;
    this->tf_buffer_->setTransform(transform, "bench", true);
  }
};

void Expect(const rclcpp_lifecycle::State & state, std::uint8_t id, const char * step)
{
  if (state.id() != id) {
    throw std::runtime_error(std::string(step) + " ended in state " + state.label());
  }
}

/// One costmap node of either side, spun by a host as a Nav2 server spins its
/// costmap (the static layer's map arrives on the node's default group).
class BenchCostmap
{
public:
  BenchCostmap(Side side, Setup setup)
  {
    const std::string name = NodeName(side, setup);
    if (side == Side::kOurs) {
      auto node = std::make_shared<Probed<nav2_costmap_2d::KestruneCostmap2DROS>>(name);
      probe_ = node.get();
      node_ = node;
    } else {
      auto node = std::make_shared<Probed<nav2_costmap_2d::Costmap2DROS>>(name);
      probe_ = node.get();
      node_ = node;
    }
    Apply(setup);
    host_ = std::make_unique<nav2_util::KestruneNodeThread>(node_->get_node_base_interface());
  }

  BenchCostmap(const BenchCostmap &) = delete;
  BenchCostmap & operator=(const BenchCostmap &) = delete;

  /// Nav2's destructor stops no thread, so the node is brought back to
  /// unconfigured first, then the host stops, then the node goes.
  ~BenchCostmap()
  {
    if (node_->get_current_state().id() == State::PRIMARY_STATE_ACTIVE) {
      node_->deactivate();
    }
    if (node_->get_current_state().id() == State::PRIMARY_STATE_INACTIVE) {
      WaitFor([this]() { return probe_->PrivateExecutorSpins(); });
      node_->cleanup();
    }
    host_.reset();
    node_.reset();
  }

  nav2_costmap_2d::Costmap2DROS & node() { return *node_; }
  CostmapProbe & probe() { return *probe_; }

  void Configure() { Expect(node_->configure(), State::PRIMARY_STATE_INACTIVE, "configure"); }
  void Activate() { Expect(node_->activate(), State::PRIMARY_STATE_ACTIVE, "activate"); }
  void Deactivate() { Expect(node_->deactivate(), State::PRIMARY_STATE_INACTIVE, "deactivate"); }
  void Cleanup() { Expect(node_->cleanup(), State::PRIMARY_STATE_UNCONFIGURED, "cleanup"); }

private:
  /// The parameters that differ between setups; the rest come from the
  /// parameters file, the same for every node.
  void Apply(Setup setup)
  {
    using Names = std::vector<std::string>;
    switch (setup) {
      case Setup::kNoLayer:
        node_->set_parameter(rclcpp::Parameter("plugins", Names{}));
        break;
      case Setup::kNoOpLayers:
        node_->set_parameter(rclcpp::Parameter("plugins", Names{"layer_a", "layer_b", "layer_c"}));
        break;
      case Setup::kNav2Layers:
        node_->set_parameters(
          {rclcpp::Parameter("plugins", Names{"static_layer", "obstacle_layer", "inflation_layer"}),
           rclcpp::Parameter("width", kestrune_bench::MapGeometry::kMeters),
           rclcpp::Parameter("height", kestrune_bench::MapGeometry::kMeters),
           rclcpp::Parameter("resolution", kestrune_bench::MapGeometry::kResolution),
           rclcpp::Parameter("origin_x", kestrune_bench::MapGeometry::kOrigin),
           rclcpp::Parameter("origin_y", kestrune_bench::MapGeometry::kOrigin)});
        break;
    }
  }

  std::shared_ptr<nav2_costmap_2d::Costmap2DROS> node_;
  CostmapProbe * probe_ = nullptr;
  std::unique_ptr<nav2_util::KestruneNodeThread> host_;
};

const char kNoOpLayer[] = "kestrune_bench_layers/NoOpLayer";

std::string ParametersYaml()
{
  std::string yaml =
    "/**:\n  ros__parameters:\n"
    "    global_frame: map\n    robot_base_frame: base_link\n"
    "    width: 5\n    height: 4\n    resolution: 0.05\n"
    "    update_frequency: 20.0\n    publish_frequency: 10.0\n";
  for (const char * name : {"layer_a", "layer_b", "layer_c"}) {
    yaml += std::string("    ") + name + ":\n      plugin: " + kNoOpLayer + "\n";
  }
  // Nav2's three layers as its default parameters set them, the scan as the
  // obstacle layer's one source.
  yaml +=
    "    static_layer:\n      plugin: nav2_costmap_2d::StaticLayer\n"
    "      map_topic: /map\n      map_subscribe_transient_local: true\n"
    "    obstacle_layer:\n      plugin: nav2_costmap_2d::ObstacleLayer\n"
    "      observation_sources: scan\n"
    "      scan:\n        topic: /scan\n        data_type: LaserScan\n"
    "        max_obstacle_height: 2.0\n        marking: true\n        clearing: true\n"
    "        obstacle_max_range: 2.5\n        raytrace_max_range: 3.0\n"
    "    inflation_layer:\n      plugin: nav2_costmap_2d::InflationLayer\n"
    "      inflation_radius: 0.55\n      cost_scaling_factor: 3.0\n";
  return yaml;
}

kestrune_bench::BenchWorld * g_world = nullptr;

/// Keeps the world's scan coming for as long as it lives.
class Scanning
{
public:
  Scanning() { g_world->SetScanning(true); }
  ~Scanning() { g_world->SetScanning(false); }
  Scanning(const Scanning &) = delete;
  Scanning & operator=(const Scanning &) = delete;
};

// --- transitions ----------------------------------------------------------------------------

double SecondsSince(Clock::time_point start)
{
  return std::chrono::duration<double>(Clock::now() - start).count();
}

/// Mean, median and worst of @p samples (seconds) as counters in ms, named after @p prefix.
void ReportSpread(benchmark::State & state, const std::string & prefix, std::vector<double> samples)
{
  if (samples.empty()) {
    return;
  }
  double sum = 0.0;
  for (const double sample : samples) {
    sum += sample;
  }
  std::sort(samples.begin(), samples.end());
  state.counters[prefix + "_ms"] = sum / static_cast<double>(samples.size()) * 1e3;
  state.counters[prefix + "_p50_ms"] = samples[samples.size() / 2] * 1e3;
  state.counters[prefix + "_max_ms"] = samples.back() * 1e3;
}

/// The share of @p samples for which @p holds is true.
double ShareOf(const std::vector<double> & samples, const std::function<bool(double)> & holds)
{
  if (samples.empty()) {
    return 0.0;
  }
  const auto count = std::count_if(samples.begin(), samples.end(), holds);
  return static_cast<double>(count) / static_cast<double>(samples.size());
}

double CpuSeconds(clockid_t clock)
{
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double ThreadCpuSeconds()
{
  return CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

double ProcessCpuSeconds()
{
  return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

/// Whole configure, activate, deactivate, cleanup cycles, each step timed on
/// its own; activate finds the robot's transform already in the buffer and,
/// with Nav2's layers, the static layer's map already received. Beside each
/// step's wall time, the calling thread's CPU time: activate and deactivate
/// mostly wait on the map update loop's 20 Hz, and the CPU time shows the work
/// under the wait.
void Transitions(benchmark::State & state, Side side, Setup setup)
{
  const Scanning scanning;
  BenchCostmap costmap(side, setup);
  constexpr int kSteps = 4;
  std::vector<double> wall[kSteps];
  double cpu[kSteps] = {};
  const auto timed = [&wall, &cpu](int step, const std::function<void()> & body) {
    const auto start = Clock::now();
    const double cpu_start = ThreadCpuSeconds();
    body();
    cpu[step] += ThreadCpuSeconds() - cpu_start;
    wall[step].push_back(SecondsSince(start));
    return wall[step].back();
  };
  for (auto _ : state) {
    double cycle = timed(0, [&costmap]() { costmap.Configure(); });
    costmap.probe().WaitUntilReady();
    cycle += timed(1, [&costmap]() { costmap.Activate(); });
    cycle += timed(2, [&costmap]() { costmap.Deactivate(); });
    cycle += timed(3, [&costmap]() { costmap.Cleanup(); });
    state.SetIterationTime(cycle);
  }
  const char * names[kSteps] = {"configure", "activate", "deactivate", "cleanup"};
  for (int step = 0; step < kSteps; ++step) {
    ReportSpread(state, names[step], wall[step]);
    if (!wall[step].empty()) {
      state.counters[std::string(names[step]) + "_cpu_ms"] =
        cpu[step] / static_cast<double>(wall[step].size()) * 1e3;
    }
  }
  // Activate returns one or two update periods (50 ms) in, and deactivate
  // waits for the rest of the period or not at all, as the race between the
  // map update loop's first pass and start() goes: these shares show how it went.
  state.counters["activate_two_periods_share"] =
    ShareOf(wall[1], [](double seconds) { return seconds > 0.075; });
  state.counters["deactivate_at_once_share"] =
    ShareOf(wall[2], [](double seconds) { return seconds < 0.025; });
}

// --- activation latency ---------------------------------------------------------------------

/// Activate waiting for a robot frame that nobody publishes; the frame appears
/// while the wait is under way. Timed: from the frame's arrival in the buffer
/// to the end of the wait; reported beside it, the arrival to activate's
/// return, which adds the base's start(). The arrivals are spread evenly over
/// one 500 ms period of Nav2's 2 Hz wait, from 100 ms into the wait on, so
/// neither side's figure depends on where its ticks happen to fall.
void ActivationLatency(benchmark::State & state, Side side)
{
  BenchCostmap costmap(side, Setup::kNoLayer);
  const auto rounds = static_cast<double>(state.max_iterations);
  std::vector<double> wait_ends;
  std::vector<double> returns;
  int round = 0;
  for (auto _ : state) {
    const std::string frame = "late_base_link_" + std::to_string(round);
    costmap.node().set_parameter(rclcpp::Parameter("robot_base_frame", frame));
    costmap.Configure();
    costmap.probe().UpdatesStopped() = true;
    std::promise<Clock::time_point> returned;
    std::thread host([&costmap, &returned]() {
      costmap.Activate();
      returned.set_value(Clock::now());
    });
    const auto into_wait = std::chrono::duration<double>(0.1 + (round + 0.5) * 0.5 / rounds);
    std::this_thread::sleep_for(into_wait);
    ++round;
    const auto appeared = Clock::now();
    costmap.probe().InsertRobotTransform();
    while (costmap.probe().UpdatesStopped()) {
      std::this_thread::yield();
    }
    const auto wait_ended = Clock::now();
    const auto since_arrival = [appeared](Clock::time_point then) {
      return std::chrono::duration<double>(then - appeared).count();
    };
    returns.push_back(since_arrival(returned.get_future().get()));
    host.join();
    wait_ends.push_back(since_arrival(wait_ended));
    state.SetIterationTime(wait_ends.back());
    // Activate lasted over 100 ms: the private executor and the listener spin.
    costmap.Deactivate();
    costmap.Cleanup();
  }
  ReportSpread(state, "wait", wait_ends);
  ReportSpread(state, "return", returns);
}

// --- memory per cycle -----------------------------------------------------------------------

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
void MemoryPerCycle(benchmark::State & state, Side side, Setup setup)
{
  BenchCostmap costmap(side, setup);
  const auto cycle = [&costmap]() {
    costmap.Configure();
    costmap.probe().WaitUntilReady();
    costmap.Cleanup();
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

// --- steady state ---------------------------------------------------------------------------

constexpr auto kSteadyWarmUp = std::chrono::seconds(1);
constexpr auto kSteadyWindow = std::chrono::seconds(5);

/// The process's CPU time per second of wall time over a fixed window, with
/// one node active with Nav2's three layers and the scan coming, or with none
/// (no @p side: what the world and the viewer cost by themselves). Also the
/// costmap messages the viewer received per second, which shows both sides
/// published alike.
void SteadyState(benchmark::State & state, std::optional<Side> side)
{
  const Scanning scanning;
  std::unique_ptr<BenchCostmap> costmap;
  if (side) {
    costmap = std::make_unique<BenchCostmap>(*side, Setup::kNav2Layers);
    costmap->Configure();
    costmap->probe().WaitUntilReady();
    costmap->Activate();
  }
  std::this_thread::sleep_for(kSteadyWarmUp);
  double cpu_per_second = 0.0;
  double received_per_second = 0.0;
  for (auto _ : state) {
    const auto received = g_world->Received();
    const double cpu = ProcessCpuSeconds();
    const auto start = Clock::now();
    std::this_thread::sleep_for(kSteadyWindow);
    const double wall = SecondsSince(start);
    cpu_per_second = (ProcessCpuSeconds() - cpu) / wall;
    received_per_second = static_cast<double>(g_world->Received() - received) / wall;
    state.SetIterationTime(wall);
  }
  state.counters["cpu_ms_per_s"] = cpu_per_second * 1e3;
  state.counters["received_per_s"] = received_per_second;
}

// --- registration ---------------------------------------------------------------------------

constexpr Side kSides[] = {Side::kOurs, Side::kUpstream};

void RegisterAll()
{
  for (const Setup setup : {Setup::kNoLayer, Setup::kNoOpLayers, Setup::kNav2Layers}) {
    for (const Side side : kSides) {
      benchmark::RegisterBenchmark(
        (std::string("costmap/transitions/") + SetupName(setup) + "/" + SideName(side)).c_str(),
        [side, setup](benchmark::State & state) { Transitions(state, side, setup); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(40);
    }
  }
  for (const Side side : kSides) {
    benchmark::RegisterBenchmark(
      (std::string("costmap/activation_latency/") + SideName(side)).c_str(),
      [side](benchmark::State & state) { ActivationLatency(state, side); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(10);
  }
  for (const Setup setup : {Setup::kNoLayer, Setup::kNoOpLayers}) {
    for (const Side side : kSides) {
      benchmark::RegisterBenchmark(
        (std::string("costmap/memory/") + SetupName(setup) + "/" + SideName(side)).c_str(),
        [side, setup](benchmark::State & state) { MemoryPerCycle(state, side, setup); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(100);
    }
  }
  for (const Side side : kSides) {
    benchmark::RegisterBenchmark(
      (std::string("costmap/steady/") + SideName(side)).c_str(),
      [side](benchmark::State & state) { SteadyState(state, side); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  }
  benchmark::RegisterBenchmark(
    "costmap/steady/idle", [](benchmark::State & state) { SteadyState(state, std::nullopt); })
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
}

}  // namespace

int main(int argc, char ** argv)
{
  setenv("SPDLOG_STDOUT", "false", 1);
  setenv("SPDLOG_SYSTEMD", "false", 1);
  setenv("SPDLOG_LEVEL", "info", 1);
  // pluginlib finds the no-op layer through the ament index of this prefix too.
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

  int status = 0;
  {
    std::vector<std::string> viewed;
    for (const Side side : kSides) {
      viewed.push_back(NodeName(side, Setup::kNav2Layers));
    }
    kestrune_bench::BenchWorld world(viewed);
    g_world = &world;
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
      status = 1;
    } else {
      benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    g_world = nullptr;
  }

  rclcpp::shutdown();
  std::remove(params.c_str());
  return status;
}
