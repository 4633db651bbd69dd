// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "host_main.hpp"

#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "costmap_host.hpp"
#include "costmap_writer.hpp"
#include "host_options.hpp"
#include "host_paths.hpp"
#include "interrupt_watch.hpp"
#include "rclcpp/rclcpp.hpp"

namespace kestrune_costmap_host
{

namespace
{

constexpr int kFailed = 1;
constexpr int kUsage = 2;

/// argv for rclcpp, which keeps pointers into it for as long as ROS runs.
class ArgumentList
{
public:
  explicit ArgumentList(std::vector<std::string> args)
  : args_(std::move(args))
  {
    for (const auto & arg : args_) {
      pointers_.push_back(arg.c_str());
    }
    pointers_.push_back(nullptr);
  }

  int argc() const { return static_cast<int>(args_.size()); }
  const char * const * argv() const { return pointers_.data(); }

private:
  std::vector<std::string> args_;
  std::vector<const char *> pointers_;
};

}  // namespace

int hostMain(int argc, char ** argv)
{
  // Before any other thread starts, so that they all leave the signals to it.
  InterruptWatch interrupt;
  const std::vector<std::string> args(argv, argv + argc);
  const std::string program = args.empty() ? std::string("costmap_host") : args.front();

  HostOptions options;
  try {
    std::vector<std::string> own = rclcpp::remove_ros_arguments(argc, argv);
    own.erase(own.begin());
    options = parseHostOptions(own);
  } catch (const UsageError & e) {
    std::cerr << "costmap_host: " << e.what() << "\n"
              << "Try '" << program << " --help'." << std::endl;
    return kUsage;
  } catch (const std::exception & e) {
    std::cerr << "costmap_host: bad ROS arguments: " << e.what() << std::endl;
    return kFailed;
  }
  if (options.help) {
    std::cout << usageText(program);
    return 0;
  }

  try {
    checkOutputFolder(options.output);
  } catch (const std::exception & e) {
    std::cerr << "costmap_host: " << e.what() << std::endl;
    return kFailed;
  }

  // pluginlib finds the layer plugins through the ament index; make sure it sees ours.
  const HostPaths paths = locateHostPaths();
  if (!paths.ament_prefix.empty() && useAmentPrefix(paths.ament_prefix)) {
    std::cout << "costmap_host: plugins from " << paths.ament_prefix
              << " (added to AMENT_PREFIX_PATH)" << std::endl;
  }
  std::vector<std::string> ros_args = args;
  if (!hasParamsFile(args)) {
    std::cout << "costmap_host: no --params-file given, using " << paths.default_params_file
              << std::endl;
    ros_args = withParamsFile(args, paths.default_params_file);
  }
  const ArgumentList ros_argv(ros_args);
  try {
    // Signals are the interrupt watch's: a run interrupted must still clean up with ROS up.
    rclcpp::init(
      ros_argv.argc(), ros_argv.argv(), rclcpp::InitOptions(), rclcpp::SignalHandlerOptions::None);
  } catch (const std::exception & e) {
    std::cerr << "costmap_host: cannot start ROS: " << e.what() << std::endl;
    return kFailed;
  }

  int status = kFailed;
  std::unique_ptr<CostmapHost> host;
  try {
    host = std::make_unique<CostmapHost>(options, interrupt);
    status = host->run();
  } catch (const std::exception & e) {
    std::cerr << "costmap_host: " << e.what() << std::endl;
    status = kFailed;
  }
  // ROS goes down before the nodes do. A configure that failed after building the
  // costmap's transform listener leaves that listener to the node's destructor, and a
  // listener destroyed before its thread began to spin loses the cancel and waits in
  // join until ROS shuts down (geometry2#517).
  rclcpp::shutdown();
  host.reset();
  return status;
}

}  // namespace kestrune_costmap_host
