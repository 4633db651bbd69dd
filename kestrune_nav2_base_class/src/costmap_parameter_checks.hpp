// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__SRC__COSTMAP_PARAMETER_CHECKS_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__SRC__COSTMAP_PARAMETER_CHECKS_HPP_

#include <cstdint>
#include <string>
#include <vector>

#include "rcl_interfaces/msg/set_parameters_result.hpp"
#include "rclcpp/parameter.hpp"

namespace nav2_costmap_2d
{
namespace detail
{

/// The finest resolution a costmap node accepts (0.1 mm).
constexpr double kMinResolution = 1e-4;

/// The map as the node holds it, against which changes are checked.
struct MapGeometry
{
  int width{0};
  int height{0};
  double resolution{0.0};
  bool resizable{false};  ///< built, and not sized by a layer (a locked size)
};

/**
 * @brief Why a map of these sizes (metres) at @p resolution cannot be built, or ""
 * when it can: the resolution must be finite and at least kMinResolution, and the
 * cell count of each side and of the whole map must fit in the 32 bits Costmap2D
 * counts in. Negative sizes count as zero here.
 */
std::string mapSizeProblem(int width, int height, double resolution);

/**
 * @brief Why map size parameter @p parameter cannot be @p meters, or "": the base
 * keeps sizes in an int, and cuts a bigger one short. Below zero is a problem only
 * with @p refuse_negative.
 */
std::string sizeProblem(const std::string & parameter, std::int64_t meters, bool refuse_negative);

/// @brief Why @p parameter cannot be @p value, or "" when it is finite.
std::string notFiniteProblem(const std::string & parameter, double value);

/**
 * @brief Why @p parameters would break a costmap holding @p map, as a refusal that
 * names the parameter and its value; successful when they would not.
 */
rcl_interfaces::msg::SetParametersResult checkParameterChanges(
  const std::vector<rclcpp::Parameter> & parameters, const MapGeometry & map);

}  // namespace detail
}  // namespace nav2_costmap_2d

#endif  // KESTRUNE_NAV2_BASE_CLASS__SRC__COSTMAP_PARAMETER_CHECKS_HPP_
