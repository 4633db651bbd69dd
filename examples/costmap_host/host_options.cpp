// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "host_options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace kestrune_costmap_host
{

namespace
{

// A day is far beyond any sensible demo run, and keeps time arithmetic well away from overflow.
constexpr double kMaxDuration = 24.0 * 3600.0;

double parseDuration(const std::string & text)
{
  errno = 0;
  char * end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (
    text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value) || value <= 0.0 ||
    value > kMaxDuration) {
    throw UsageError(
      "--duration '" + text + "' is not a number of seconds above 0 (and at most 86400)");
  }
  return value;
}

}  // namespace

HostOptions parseHostOptions(const std::vector<std::string> & args)
{
  HostOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string & arg = args[i];
    std::string name = arg;
    std::string value;
    bool has_value = false;
    const std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      has_value = true;
    }
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (name != "--duration" && name != "--output") {
      throw UsageError("unknown option '" + arg + "'");
    }
    if (!has_value) {
      if (i + 1 >= args.size()) {
        throw UsageError(name + " needs a value");
      }
      value = args[++i];
    }
    if (name == "--duration") {
      options.duration = parseDuration(value);
    } else {
      if (value.empty()) {
        throw UsageError("--output needs a folder name");
      }
      options.output = value;
    }
  }
  return options;
}

std::string usageText(const std::string & program)
{
  return "Usage: " + program +
         " [--duration SECONDS] [--output DIR] [--help]\n"
         "       [--ros-args [--params-file FILE] [-p NAME:=VALUE]...]\n"
         "\n"
         "Runs a costmap node named 'costmap' (namespace /costmap) with layer plugins loaded\n"
         "through pluginlib, drives it through configure, activate, deactivate and cleanup twice\n"
         "while a simulated robot drives through the map, and saves the last costmap.\n"
         "\n"
         "  --duration SECONDS  length of the first run (default 4); the second runs half as long\n"
         "  --output DIR        folder for costmap.pgm and costmap.yaml (default ./costmap_out)\n"
         "  --help              this text\n"
         "\n"
         "Without --params-file the demo's own parameter file is used; -p overrides apply\n"
         "on top of it.\n";
}

bool hasParamsFile(const std::vector<std::string> & args)
{
  bool in_ros_args = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--ros-args") {
      in_ros_args = true;
    } else if (args[i] == "--ros-args-end" || args[i] == "--") {
      in_ros_args = false;
    } else if (in_ros_args && args[i] == "--params-file") {
      return true;
    }
  }
  return false;
}

std::vector<std::string> withParamsFile(
  const std::vector<std::string> & args, const std::string & params_file)
{
  std::vector<std::string> result;
  result.reserve(args.size() + 4);
  result.push_back(args.empty() ? std::string("costmap_host") : args.front());
  result.insert(result.end(), {"--ros-args", "--params-file", params_file, "--"});
  if (!args.empty()) {
    result.insert(result.end(), args.begin() + 1, args.end());
  }
  return result;
}

}  // namespace kestrune_costmap_host
