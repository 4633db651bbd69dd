// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__HOST_PATHS_HPP_
#define COSTMAP_HOST__HOST_PATHS_HPP_

#include <string>

namespace kestrune_costmap_host
{

/// @brief Where the host finds its plugins and its default parameter file.
struct HostPaths
{
  std::string ament_prefix;         ///< prefix whose ament index lists the layer plugins
  std::string default_params_file;  ///< the demo's parameter file
};

/**
 * @brief Works out the install prefix from the program's own location
 * (<prefix>/lib/<package>/costmap_host), so that a moved install still finds its
 * plugins and its share folder; the configured install prefix otherwise.
 */
HostPaths locateHostPaths();

/**
 * @brief Makes @p prefix visible to the ament index (and so to pluginlib): sets
 * AMENT_PREFIX_PATH to it when unset or empty, or puts it first when the variable
 * does not list it yet.
 * @return whether the variable was changed
 */
bool useAmentPrefix(const std::string & prefix);

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__HOST_PATHS_HPP_
