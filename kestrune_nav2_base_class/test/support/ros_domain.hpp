// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__ROS_DOMAIN_HPP_
#define KESTRUNE_TEST_SUPPORT__ROS_DOMAIN_HPP_

namespace kestrune_test
{

/// Claims a DDS domain that no other process of this machine's test runs
/// holds, for as long as this process lives, and sets ROS_DOMAIN_ID to it
/// (before rclcpp::init reads it). Test processes that run side by side then
/// never discover each other's nodes. Returns the domain.
int ClaimRosDomain();

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__ROS_DOMAIN_HPP_
