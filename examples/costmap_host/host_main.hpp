// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__HOST_MAIN_HPP_
#define COSTMAP_HOST__HOST_MAIN_HPP_

namespace kestrune_costmap_host
{

/**
 * @brief The whole program: options, output folder check, ROS start-up with the
 * default parameter file when none is given, the run, ROS shut-down.
 * @return the exit status: 0 done, 1 failed, 2 bad command line, 130 interrupted
 */
int hostMain(int argc, char ** argv);

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__HOST_MAIN_HPP_
