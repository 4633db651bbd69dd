// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "costmap_parameter_checks.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace nav2_costmap_2d
{
namespace detail
{

std::string mapSizeProblem(int width, int height, double resolution)
{
  if (!std::isfinite(resolution) || resolution <= 0.0) {
    return fmt::format(
      "parameter 'resolution' is {}: it must be a finite number above zero", resolution);
  }
  // Layers count distances in cells too, whatever the map's size: Nav2's
  // inflation layer sizes its caches by the square of its radius in cells, an
  // unsigned int that overflows below about 1e-5 m for its default radius.
  if (resolution < kMinResolution) {
    return fmt::format(
      "parameter 'resolution' is {}: below {} m a layer's distances in cells overflow", resolution,
      kMinResolution);
  }
  constexpr double kLimit = static_cast<double>(std::numeric_limits<std::uint32_t>::max());
  const double cells_x = std::max(width, 0) / resolution;
  const double cells_y = std::max(height, 0) / resolution;
  for (const auto & [parameter, meters, cells] :
       {std::make_tuple("width", width, cells_x), std::make_tuple("height", height, cells_y)}) {
    if (cells > kLimit) {
      return fmt::format(
        "parameter '{}' is {} at resolution {}: {} cells do not fit in 32 bits", parameter, meters,
        resolution, cells);
    }
  }
  const double total = std::floor(cells_x) * std::floor(cells_y);
  if (total > kLimit) {
    return fmt::format(
      "parameters 'width' {} and 'height' {} at resolution {}: {} cells do not fit in 32 bits",
      width, height, resolution, total);
  }
  return "";
}

std::string sizeProblem(const std::string & parameter, std::int64_t meters, bool refuse_negative)
{
  if (refuse_negative && meters < 0) {
    return fmt::format("parameter '{}' is {}: a map size cannot be negative", parameter, meters);
  }
  if (meters > std::numeric_limits<int>::max()) {
    return fmt::format("parameter '{}' is {}: too big for a map size", parameter, meters);
  }
  return "";
}

std::string notFiniteProblem(const std::string & parameter, double value)
{
  if (std::isfinite(value)) {
    return "";
  }
  return fmt::format("parameter '{}' is {}: it must be a finite number", parameter, value);
}

namespace
{

/// Why one double parameter cannot take its value, or "". Below zero and the
/// like are the base's to refuse.
std::string doubleProblem(const std::string & name, double value)
{
  static const char * const kFinite[] = {
    "origin_x",         "origin_y", "robot_radius", "footprint_padding", "transform_tolerance",
    "publish_frequency"};
  if (std::find(std::begin(kFinite), std::end(kFinite), name) == std::end(kFinite)) {
    return "";
  }
  auto problem = notFiniteProblem(name, value);
  // The base turns a publish frequency into a period in nanoseconds.
  if (
    problem.empty() && name == "publish_frequency" && value > 0.0 &&
    1.0 / value > static_cast<double>(std::numeric_limits<std::int64_t>::max()) / 1e9) {
    problem = fmt::format(
      "parameter 'publish_frequency' is {}: its period does not fit in a duration", value);
  }
  return problem;
}

}  // namespace

rcl_interfaces::msg::SetParametersResult checkParameterChanges(
  const std::vector<rclcpp::Parameter> & parameters, const MapGeometry & map)
{
  rcl_interfaces::msg::SetParametersResult result;
  result.successful = true;
  MapGeometry resized = map;
  bool resizes = false;
  for (const auto & parameter : parameters) {
    const auto & name = parameter.get_name();
    if (parameter.get_type() == rclcpp::ParameterType::PARAMETER_INTEGER) {
      const auto value = parameter.as_int();
      if (name == "width" || name == "height") {
        result.reason = sizeProblem(name, value, false);
        (name == "width" ? resized.width : resized.height) =
          static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
        resizes = true;
      }
    } else if (parameter.get_type() == rclcpp::ParameterType::PARAMETER_DOUBLE) {
      const double value = parameter.as_double();
      if (name == "resolution") {
        resized.resolution = value;
        resizes = true;
      } else {
        result.reason = doubleProblem(name, value);
        resizes = resizes || name == "origin_x" || name == "origin_y";
      }
    }
    if (!result.reason.empty()) {
      result.successful = false;
      return result;
    }
  }
  if (resizes && map.resizable) {
    result.reason = mapSizeProblem(resized.width, resized.height, resized.resolution);
    result.successful = result.reason.empty();
  }
  return result;
}

}  // namespace detail
}  // namespace nav2_costmap_2d
