// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__HOST_OPTIONS_HPP_
#define COSTMAP_HOST__HOST_OPTIONS_HPP_

#include <stdexcept>
#include <string>
#include <vector>

namespace kestrune_costmap_host
{

/// @brief The host's own command line options (ROS arguments are rclcpp's).
struct HostOptions
{
  double duration{4.0};                 ///< seconds of the first run; the second runs half as long
  std::string output{"./costmap_out"};  ///< folder that receives costmap.pgm and costmap.yaml
  bool help{false};
};

/// @brief A command line the host cannot use; the message says what is wrong.
class UsageError : public std::invalid_argument
{
public:
  using std::invalid_argument::invalid_argument;
};

/**
 * @brief Parses the host's options: `--duration SECONDS`, `--output DIR` (each also as
 * `--name=value`) and `--help`.
 * @param args the arguments left after rclcpp::remove_ros_arguments, program name excluded
 * @throws UsageError naming the unknown option or the bad value
 */
HostOptions parseHostOptions(const std::vector<std::string> & args);

/// @brief The --help text.
std::string usageText(const std::string & program);

/// @brief Whether a `--params-file` appears inside a `--ros-args` section of @p args.
bool hasParamsFile(const std::vector<std::string> & args);

/**
 * @brief @p args with `--ros-args --params-file FILE --` put right after the program name.
 *
 * First, because ROS applies parameter sources in the order they were given: `-p`
 * overrides that follow can then still change what the file sets.
 */
std::vector<std::string> withParamsFile(
  const std::vector<std::string> & args, const std::string & params_file);

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__HOST_OPTIONS_HPP_
