// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "ros_domain.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace kestrune_test
{

int ClaimRosDomain()
{
  // One lock file per domain; the kernel drops the lock when the process
  // ends, however it ends. Domain 0, every ROS user's default, is left alone.
  const std::string folder = "/tmp/kestrune_ros_domains";
  ::mkdir(folder.c_str(), 0777);
  constexpr int kFirst = 1;
  constexpr int kLast = 100;  // the highest ids collide with Cyclone's port ranges
  for (int domain = kFirst; domain <= kLast; ++domain) {
    const std::string path = folder + "/" + std::to_string(domain) + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The descriptor stays open, and the domain claimed, until exit.
      ::setenv("ROS_DOMAIN_ID", std::to_string(domain).c_str(), 1);
      return domain;
    }
    ::close(fd);
  }
  throw std::runtime_error(
    "every ROS domain from 1 to 100 is held by another test process (" + folder + ")");
}

}  // namespace kestrune_test
