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
  bool build_tree{false};           ///< running from the build tree rather than an install
};

/**
 * @brief Works out, from the program's own location, whether it runs from the build
 * tree (then the build tree's ament prefix and the source tree's parameter file) or
 * from an install (then the install prefix and its share folder).
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
