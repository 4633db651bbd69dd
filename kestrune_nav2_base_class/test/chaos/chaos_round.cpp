// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "chaos_round.hpp"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <sstream>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "geometry_msgs/msg/polygon.hpp"
#include "geometry_msgs/msg/transform_stamped.hpp"
#include "kestrune_nav2_base_class/kestrune_costmap_2d_ros.hpp"
#include "kestrune_nav2_base_class/kestrune_node_thread.hpp"
#include "lifecycle_msgs/msg/state.hpp"
#include "lifecycle_msgs/srv/change_state.hpp"
#include "nav2_msgs/srv/clear_costmap_around_robot.hpp"
#include "nav2_msgs/srv/clear_costmap_except_region.hpp"
#include "nav2_msgs/srv/clear_entire_costmap.hpp"
#include "nav_msgs/msg/occupancy_grid.hpp"
#include "rclcpp/rclcpp.hpp"
#include "sensor_msgs/msg/laser_scan.hpp"
#include "support/default_group.hpp"
#include "support/reliability.hpp"
#include "tf2_ros/static_transform_broadcaster.h"

namespace kestrune_chaos
{

namespace
{

/// Each pattern with the name the harness gives it.
constexpr std::pair<Pattern, const char *> kPatternNames[] = {
  {Pattern::kHostThread, "host-thread"},       {Pattern::kChangeState, "change-state"},
  {Pattern::kMultiThreaded, "multi-threaded"}, {Pattern::kSpinSome, "spin-some"},
  {Pattern::kBusyNeighbour, "busy-neighbour"}, {Pattern::kMixed, "mixed"},
  {Pattern::kFromCallback, "from-callback"}};

}  // namespace

const char * Name(Pattern pattern)
{
  for (const auto & [candidate, name] : kPatternNames) {
    if (candidate == pattern) {
      return name;
    }
  }
  return "unknown";
}

bool PatternNamed(const std::string & name, Pattern & pattern)
{
  for (const auto & [candidate, candidate_name] : kPatternNames) {
    if (name == candidate_name) {
      pattern = candidate;
      return true;
    }
  }
  return false;
}

const char * Name(Subject subject)
{
  return subject == Subject::kOurs ? "ours" : "upstream";
}

namespace
{

using namespace std::chrono_literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

/// Nav2's three default layers, a small map updated at 20 Hz, a scan source.
std::string ParametersYaml()
{
  return R"(/**:
  ros__parameters:
    global_frame: map
    robot_base_frame: base_link
    width: 6
    height: 6
    resolution: 0.05
    update_frequency: 20.0
    publish_frequency: 5.0
    transform_tolerance: 0.5
    footprint: "[[0.3, 0.25], [0.3, -0.25], [-0.3, -0.25], [-0.3, 0.25]]"
    static_layer:
      map_topic: /map
      map_subscribe_transient_local: true
    obstacle_layer:
      observation_sources: scan
      scan:
        topic: /scan
        data_type: LaserScan
        marking: true
        clearing: true
        max_obstacle_height: 2.0
    inflation_layer:
      inflation_radius: 0.3
)";
}

/// Parameter changes to pick from: the values a user sets, and values that
/// would break the map or the footprint.
std::vector<rclcpp::Parameter> ParameterChoices()
{
  const std::string square = "[[0.3, 0.25], [0.3, -0.25], [-0.3, -0.25], [-0.3, 0.25]]";
  return {
    {"width", 6},
    {"width", 12},
    {"width", 0},
    {"width", -4},
    {"width", std::int64_t{1} << 40},
    {"height", 5},
    {"height", 9},
    {"height", 0},
    {"resolution", 0.05},
    {"resolution", 0.1},
    {"resolution", 0.0},
    {"resolution", -0.05},
    {"resolution", kNaN},
    {"resolution", kInf},
    {"resolution", 1e-9},
    {"origin_x", 0.0},
    {"origin_x", -2.5},
    {"origin_x", kNaN},
    {"origin_y", 1.5},
    {"origin_y", -kInf},
    {"footprint", square},
    {"footprint", "[[0.5, 0.0], [-0.2, 0.3], [-0.2, -0.3]]"},
    {"footprint", "[]"},
    {"footprint", "[[1.0, 2.0]]"},
    {"footprint", "not a footprint"},
    {"footprint", "[[1, 2], [3]]"},
    {"robot_radius", 0.25},
    {"robot_radius", -1.0},
    {"robot_radius", kNaN},
    {"footprint_padding", 0.02},
    {"footprint_padding", -0.1},
    {"footprint_padding", kNaN},
    {"publish_frequency", 2.0},
    {"publish_frequency", 0.0},
    {"publish_frequency", kNaN},
    {"publish_frequency", 1e-300},
    {"robot_base_frame", "base_link"},
    // Activate waits for the robot's transform without a time limit, by
    // design: every frame offered here is on the tree.
    {"robot_base_frame", "base_footprint"},
  };
}

class Round
{
public:
  explicit Round(const RoundOptions & options)
  : options_(options),
    random_(options.seed)
  {
  }

  int Run()
  {
    Setup();
    for (int op = 0; op < options_.operations; ++op) {
      current_op_ = op;
      RunOne();
    }
    Log("destroy node (end of round)");
    DestroyNode();
    // Whatever the node started (node threads, the map update loop, the
    // transform listener's thread) ended with it.
    const int threads = kestrune_test::ThreadCountSettledAt(threads_without_node_);
    if (threads != threads_without_node_) {
      Log(
        "threads left behind: " + std::to_string(threads) + " instead of " +
        std::to_string(threads_without_node_) + ": " + ThreadNames());
      return 4;
    }
    driver_thread_.reset();
    Log("round complete");
    return 0;
  }

private:
  using ChangeState = lifecycle_msgs::srv::ChangeState;

  /// A parameter's value as it is, not rounded to six places.
  static std::string ValueText(const rclcpp::Parameter & parameter)
  {
    if (parameter.get_type() == rclcpp::ParameterType::PARAMETER_DOUBLE) {
      std::ostringstream text;
      text << std::setprecision(17) << parameter.as_double();
      return text.str();
    }
    return parameter.value_to_string();
  }

  /// The names of this process's threads, for a leak report.
  static std::string ThreadNames()
  {
    std::string names;
    for (const auto & task : std::filesystem::directory_iterator("/proc/self/task")) {
      std::string name;
      std::getline(std::ifstream(task.path() / "comm"), name);
      names += name + " ";
    }
    return names;
  }

  void Log(const std::string & what)
  {
    std::printf("op %d: %s\n", current_op_, what.c_str());
    std::fflush(stdout);
  }

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  double Real(double low, double high)
  {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

  void Setup()
  {
    driver_ = std::make_shared<rclcpp::Node>("chaos_driver");
    broadcaster_ = std::make_unique<tf2_ros::StaticTransformBroadcaster>(driver_);
    geometry_msgs::msg::TransformStamped transform;
    transform.header.stamp = driver_->now();
    transform.header.frame_id = "map";
    transform.child_frame_id = "base_link";
    transform.transform.translation.x = 1.0;
    transform.transform.translation.y = 1.0;
    transform.transform.rotation.w = 1.0;
    geometry_msgs::msg::TransformStamped footprint_frame;
    footprint_frame.header = transform.header;
    footprint_frame.header.frame_id = "base_link";
    footprint_frame.child_frame_id = "base_footprint";
    footprint_frame.transform.rotation.w = 1.0;
    broadcaster_->sendTransform({transform, footprint_frame});
    if (options_.pattern == Pattern::kBusyNeighbour) {
      MakeNeighbour();
    }
    map_pub_ = driver_->create_publisher<nav_msgs::msg::OccupancyGrid>(
      "/map", rclcpp::QoS(1).transient_local().reliable());
    scan_pub_ =
      driver_->create_publisher<sensor_msgs::msg::LaserScan>("/scan", rclcpp::SensorDataQoS());
    driver_thread_ =
      std::make_unique<nav2_util::KestruneNodeThread>(driver_->get_node_base_interface());
    // rclcpp's graph listener thread starts at the first wait for a service:
    // started here, it is part of the count.
    graph_event_ = driver_->get_node_graph_interface()->get_graph_event();
    threads_without_node_ = kestrune_test::ThreadCount();
    Log("threads without the node: " + ThreadNames());
    MakeNode();
    const std::string name = node_->get_node_base_interface()->get_fully_qualified_name();
    const std::string space = node_->get_namespace();
    footprint_pub_ = driver_->create_publisher<geometry_msgs::msg::Polygon>(
      space + "/footprint", rclcpp::SystemDefaultsQoS());
    change_state_ = driver_->create_client<ChangeState>(name + "/change_state");
    clear_entirely_ = driver_->create_client<nav2_msgs::srv::ClearEntireCostmap>(
      space + "/clear_entirely_" + node_->getName());
    clear_around_ = driver_->create_client<nav2_msgs::srv::ClearCostmapAroundRobot>(
      space + "/clear_around_" + node_->getName());
    clear_except_ = driver_->create_client<nav2_msgs::srv::ClearCostmapExceptRegion>(
      space + "/clear_except_" + node_->getName());
    parameters_ = std::make_shared<rclcpp::AsyncParametersClient>(driver_, name);
  }

  void MakeNode()
  {
    if (options_.subject == Subject::kOurs) {
      node_ = std::make_shared<nav2_costmap_2d::KestruneCostmap2DROS>("costmap");
    } else {
      node_ = std::make_shared<nav2_costmap_2d::Costmap2DROS>("costmap");
    }
    StartSpinning();
  }

  /// A node on the host's executor whose timer sometimes takes seconds.
  void MakeNeighbour()
  {
    neighbour_ = std::make_shared<rclcpp::Node>("chaos_neighbour");
    auto random = std::make_shared<std::mt19937_64>(options_.seed ^ 0x9e3779b97f4a7c15ULL);
    neighbour_timer_ = neighbour_->create_wall_timer(200ms, [random]() {
      if (std::bernoulli_distribution(0.15)(*random)) {
        std::this_thread::sleep_for(
          std::chrono::milliseconds(std::uniform_int_distribution<int>(500, 2000)(*random)));
      }
    });
  }

  /// Spins the node the way the round's pattern has the host spin it.
  void StartSpinning()
  {
    const auto base = node_->get_node_base_interface();
    switch (options_.pattern) {
      case Pattern::kMultiThreaded:
        host_executor_ =
          std::make_shared<rclcpp::executors::MultiThreadedExecutor>(rclcpp::ExecutorOptions(), 3);
        break;
      case Pattern::kBusyNeighbour:
        host_executor_ = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
        host_executor_->add_node(neighbour_);
        break;
      case Pattern::kSpinSome:
        spin_some_ = true;
        host_thread_ = std::thread([this, base]() {
          while (spin_some_) {
            rclcpp::spin_some(base);
            std::this_thread::sleep_for(1ms);
          }
        });
        return;
      default:
        node_thread_ = std::make_unique<nav2_util::KestruneNodeThread>(base);
        return;
    }
    host_executor_->add_node(base);
    host_done_ = false;
    host_thread_ = std::thread([this, executor = host_executor_]() {
      executor->spin();
      host_done_ = true;
    });
  }

  void StopSpinning()
  {
    node_thread_.reset();
    spin_some_ = false;
    // rclcpp's cancel is lost when it comes before the spin has begun.
    while (host_executor_ && !host_done_) {
      host_executor_->cancel();
      std::this_thread::sleep_for(2ms);
    }
    if (host_thread_.joinable()) {
      host_thread_.join();
    }
    if (host_executor_ && neighbour_) {
      host_executor_->remove_node(neighbour_);
    }
    host_executor_.reset();
  }

  /// As a host does: the transitions it sent have answered, it stops spinning
  /// the node, then lets it go.
  void DestroyNode()
  {
    for (auto & answer : unanswered_) {
      if (answer.wait_for(30s) != std::future_status::ready) {
        Log("  a change_state sent earlier has no answer after 30 s");
      }
    }
    unanswered_.clear();
    StopSpinning();
    node_.reset();
  }

  void RunOne()
  {
    const int pick = Uniform(0, 99);
    if (pick < 26) {
      Transition();
    } else if (pick < 29) {
      Log("destroy node, make a new one");
      DestroyNode();
      MakeNode();
    } else if (pick < 49) {
      SetParameter(Chance(0.5));
    } else if (pick < 61) {
      Clear();
    } else if (pick < 70) {
      PublishFootprint();
    } else if (pick < 74) {
      PublishMap();
    } else if (pick < 82) {
      PublishScan();
    } else if (pick < 93) {
      const int ms = Uniform(0, 40);
      Log("pause " + std::to_string(ms) + " ms");
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    } else {
      // Requests on their way while a transition runs.
      Log("burst");
      for (int i = Uniform(2, 4); i > 0; --i) {
        switch (Uniform(0, 3)) {
          case 0:
            Clear();
            break;
          case 1:
            PublishFootprint();
            break;
          case 2:
            SetParameter(false);
            break;
          default:
            PublishScan();
            break;
        }
      }
      Transition();
    }
  }

  void Transition()
  {
    static const char * const kLabels[] = {
      "configure", "activate", "deactivate", "cleanup", "shutdown"};
    const auto state = node_->get_current_state().id();
    if (state == lifecycle_msgs::msg::State::PRIMARY_STATE_FINALIZED) {
      Log("node finalized: destroy it, make a new one");
      DestroyNode();
      MakeNode();
      return;
    }
    // Mostly the transition the state allows, as a host sends them; shutdown,
    // which ends the node's life, rarely.
    int index = Uniform(0, 3);
    if (Chance(0.04)) {
      index = 4;
    } else if (Chance(0.75)) {
      using lifecycle_msgs::msg::State;
      index = state == State::PRIMARY_STATE_UNCONFIGURED ? 0
              : state == State::PRIMARY_STATE_ACTIVE     ? 2
              : Chance(0.6)                              ? 1
                                                         : 3;
    }
    const std::string label = kLabels[index];
    if (options_.pattern == Pattern::kFromCallback) {
      Log(label + " (from a callback of the node's default group)");
      Log("  -> " + CallFromDefaultGroup(index));
      return;
    }
    const bool through_service = options_.pattern == Pattern::kChangeState ||
                                 (options_.pattern == Pattern::kMixed && Chance(0.5));
    if (!through_service) {
      Log(label + " (host thread)");
      Log("  -> " + CallTransition(index).label());
      return;
    }
    auto request = std::make_shared<ChangeState::Request>();
    request->transition.label = label;
    const bool wait = Chance(0.7);
    Log(label + " (change_state" + (wait ? ")" : ", not waiting)"));
    // A new node's service may not be matched yet: a request sent before is
    // lost, so the client waits for it, and asks again when no answer comes
    // (as a lifecycle manager does after its timeout).
    change_state_->wait_for_service(10s);
    auto answer = SendChangeState(request);
    for (int attempt = 1; wait && answer.wait_for(10s) != std::future_status::ready; ++attempt) {
      Log("  no answer, asking again (" + std::to_string(attempt) + ")");
      change_state_->wait_for_service(10s);
      answer = SendChangeState(request);
    }
    if (wait) {
      Log(std::string("  -> ") + (answer.get() ? "success" : "refused"));
    } else {
      unanswered_.push_back(std::move(answer));
    }
  }

  /// Sends @p request; the answer is read on the client's executor thread, the
  /// one that also lets the response go.
  std::future<bool> SendChangeState(const std::shared_ptr<ChangeState::Request> & request)
  {
    auto answered = std::make_shared<std::promise<bool>>();
    auto answer = answered->get_future();
    change_state_->async_send_request(
      request, [answered](rclcpp::Client<ChangeState>::SharedFuture response) {
        answered->set_value(response.get()->success);
      });
    return answer;
  }

  /// Runs the transition in a one-shot timer of the node's default group, as
  /// a bringup helper does, and waits for it. A transition may wait for ever
  /// by design (activate without the robot's transform): the round's time
  /// limit then reports the hang.
  std::string CallFromDefaultGroup(int index)
  {
    return kestrune_test::RunInDefaultGroup(
      *node_, [this, index]() { return CallTransition(index).label(); }, std::nullopt);
  }

  rclcpp_lifecycle::State CallTransition(int index)
  {
    switch (index) {
      case 0:
        return node_->configure();
      case 1:
        return node_->activate();
      case 2:
        return node_->deactivate();
      case 3:
        return node_->cleanup();
      default:
        return node_->shutdown();
    }
  }

  void SetParameter(bool local)
  {
    static const auto kChoices = ParameterChoices();
    const auto & parameter = kChoices[Uniform(0, static_cast<int>(kChoices.size()) - 1)];
    // Known upstream races, left out: a local call from another thread meets a
    // clear-costmap request on the default group's thread. Through the
    // parameter service both run on that thread, one at a time.
    // - Nav2's ClearCostmapService::clearRegion clears each layer under that
    //   layer's mutex only, while a resize from the base's parameter callback
    //   (LayeredCostmap::resizeMap, each layer's matchSize) changes the layers'
    //   sizes under the combined costmap's mutex; this can crash (seed 676,
    //   change-state).
    // - clearRegion reads robot_base_frame_ (getRobotPose) with no lock, while
    //   the base's parameter callback assigns it under the update loop's mutex
    //   (ThreadSanitizer, seed 630, from-callback).
    static const std::set<std::string> kRacesWithClearing = {
      "width", "height", "resolution", "origin_x", "origin_y", "robot_base_frame"};
    local = local && kRacesWithClearing.count(parameter.get_name()) == 0;
    Log(
      std::string(local ? "set parameter (local) " : "set parameter (service) ") +
      parameter.get_name() + " = " + ValueText(parameter));
    if (local) {
      const auto result = node_->set_parameter(parameter);
      Log(std::string("  -> ") + (result.successful ? "accepted" : "refused: " + result.reason));
    } else {
      parameters_->set_parameters({parameter});
    }
  }

  void Clear()
  {
    switch (Uniform(0, 2)) {
      case 0:
        Log("clear entirely");
        clear_entirely_->async_send_request(
          std::make_shared<nav2_msgs::srv::ClearEntireCostmap::Request>());
        break;
      case 1: {
        Log("clear around robot");
        auto request = std::make_shared<nav2_msgs::srv::ClearCostmapAroundRobot::Request>();
        request->reset_distance = static_cast<float>(Real(0.0, 4.0));
        clear_around_->async_send_request(request);
        break;
      }
      default: {
        Log("clear except region");
        auto request = std::make_shared<nav2_msgs::srv::ClearCostmapExceptRegion::Request>();
        request->reset_distance = static_cast<float>(Real(0.0, 4.0));
        clear_except_->async_send_request(request);
        break;
      }
    }
  }

  void PublishFootprint()
  {
    geometry_msgs::msg::Polygon polygon;
    const int kind = Uniform(0, 4);
    const int corners = kind == 0 ? 0 : kind == 1 ? 1 : Uniform(3, 6);
    const double radius = kind == 3 ? 1e6 : Real(0.1, 0.6);
    for (int i = 0; i < corners; ++i) {
      geometry_msgs::msg::Point32 point;
      const double angle = 2.0 * M_PI * i / corners;
      point.x = static_cast<float>(kind == 4 && i == 0 ? kNaN : radius * std::cos(angle));
      point.y = static_cast<float>(radius * std::sin(angle));
      polygon.points.push_back(point);
    }
    Log("footprint message, " + std::to_string(corners) + " corners, kind " + std::to_string(kind));
    footprint_pub_->publish(polygon);
  }

  void PublishMap()
  {
    nav_msgs::msg::OccupancyGrid map;
    map.header.frame_id = "map";
    map.header.stamp = driver_->now();
    map.info.resolution = static_cast<float>(Chance(0.5) ? 0.05 : 0.1);
    map.info.width = static_cast<unsigned>(Uniform(20, 120));
    map.info.height = static_cast<unsigned>(Uniform(20, 120));
    map.info.origin.position.x = Real(-1.0, 1.0);
    map.info.origin.position.y = Real(-1.0, 1.0);
    map.info.origin.orientation.w = 1.0;
    map.data.resize(static_cast<size_t>(map.info.width) * map.info.height);
    static const int8_t kCells[] = {0, 0, 0, 100, -1};
    for (auto & cell : map.data) {
      cell = kCells[Uniform(0, 4)];
    }
    Log(
      "map " + std::to_string(map.info.width) + "x" + std::to_string(map.info.height) + " at " +
      std::to_string(map.info.resolution));
    map_pub_->publish(map);
  }

  void PublishScan()
  {
    sensor_msgs::msg::LaserScan scan;
    scan.header.frame_id = "base_link";
    scan.header.stamp = driver_->now();
    scan.angle_min = static_cast<float>(-M_PI);
    scan.angle_max = static_cast<float>(M_PI);
    scan.angle_increment = static_cast<float>(2.0 * M_PI / 90.0);
    scan.range_min = 0.1F;
    scan.range_max = 3.5F;
    for (int i = 0; i < 90; ++i) {
      const int kind = Uniform(0, 9);
      scan.ranges.push_back(
        kind == 0   ? std::numeric_limits<float>::infinity()
        : kind == 1 ? std::numeric_limits<float>::quiet_NaN()
                    : static_cast<float>(Real(0.2, 3.0)));
    }
    Log("scan");
    scan_pub_->publish(scan);
  }

  RoundOptions options_;
  std::mt19937_64 random_;
  int current_op_{-1};
  int threads_without_node_{0};
  rclcpp::Event::SharedPtr graph_event_;
  rclcpp::Node::SharedPtr driver_;
  std::unique_ptr<tf2_ros::StaticTransformBroadcaster> broadcaster_;
  rclcpp::Publisher<nav_msgs::msg::OccupancyGrid>::SharedPtr map_pub_;
  rclcpp::Publisher<sensor_msgs::msg::LaserScan>::SharedPtr scan_pub_;
  rclcpp::Publisher<geometry_msgs::msg::Polygon>::SharedPtr footprint_pub_;
  rclcpp::Client<ChangeState>::SharedPtr change_state_;
  rclcpp::Client<nav2_msgs::srv::ClearEntireCostmap>::SharedPtr clear_entirely_;
  rclcpp::Client<nav2_msgs::srv::ClearCostmapAroundRobot>::SharedPtr clear_around_;
  rclcpp::Client<nav2_msgs::srv::ClearCostmapExceptRegion>::SharedPtr clear_except_;
  rclcpp::AsyncParametersClient::SharedPtr parameters_;
  std::unique_ptr<nav2_util::KestruneNodeThread> driver_thread_;
  std::shared_ptr<nav2_costmap_2d::Costmap2DROS> node_;
  std::unique_ptr<nav2_util::KestruneNodeThread> node_thread_;
  rclcpp::Node::SharedPtr neighbour_;
  rclcpp::TimerBase::SharedPtr neighbour_timer_;
  std::shared_ptr<rclcpp::Executor> host_executor_;
  std::thread host_thread_;
  std::atomic<bool> spin_some_{false};
  std::atomic<bool> host_done_{false};
  std::vector<std::future<bool>> unanswered_;
};

}  // namespace

int RunRound(const RoundOptions & options)
{
  const std::string params_path = "/tmp/kestrune_chaos_" + std::to_string(::getpid()) + ".yaml";
  std::ofstream(params_path) << ParametersYaml();
  const char * argv[] = {"kestrune_chaos", "--ros-args", "--params-file", params_path.c_str()};
  rclcpp::init(4, argv);
  std::remove(params_path.c_str());
  std::printf(
    "round: seed %llu, %s, %s node, %d operations\n", static_cast<unsigned long long>(options.seed),
    Name(options.pattern), Name(options.subject), options.operations);
  const int status = Round(options).Run();
  rclcpp::shutdown();
  return status;
}

}  // namespace kestrune_chaos
