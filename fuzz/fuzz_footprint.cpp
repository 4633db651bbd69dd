// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// A footprint string, as the costmap node reads it from its "footprint"
// parameter (the example host's parameter file sets one). The parser must
// answer every input with true (and at least three points) or false; anything
// else is a bug.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry_msgs/msg/point.hpp"
#include "nav2_costmap_2d/footprint.hpp"
#include "rclcpp/logger.hpp"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
  // Each refused string is logged as an error; the fuzzer needs no such output.
  rclcpp::get_logger("nav2_costmap_2d").set_level(rclcpp::Logger::Level::Fatal);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t * data, std::size_t size)
{
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::vector<geometry_msgs::msg::Point> footprint;
  if (nav2_costmap_2d::makeFootprintFromString(text, footprint) && footprint.size() < 3U) {
    __builtin_trap();
  }
  return 0;
}
