// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "host_paths.hpp"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>

namespace kestrune_costmap_host
{

namespace fs = std::filesystem;

HostPaths locateHostPaths()
{
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  const fs::path exe_dir = error ? fs::path() : exe.parent_path();

  HostPaths paths;
  fs::path prefix =
    exe_dir.empty() ? fs::path() : (exe_dir / KESTRUNE_HOST_EXE_TO_PREFIX).lexically_normal();
  if (!prefix.empty() && prefix.filename().empty()) {
    prefix = prefix.parent_path();  // "a/b/" from "..": no trailing separator
  }
  const fs::path share = fs::path("share") / KESTRUNE_HOST_PACKAGE;
  if (prefix.empty() || !fs::is_directory(prefix / share, error)) {
    prefix = KESTRUNE_HOST_INSTALL_PREFIX;
  }
  paths.ament_prefix = prefix.string();
  paths.default_params_file = (prefix / share / "config" / "costmap_host.yaml").string();
  return paths;
}

bool useAmentPrefix(const std::string & prefix)
{
  const char * current = std::getenv("AMENT_PREFIX_PATH");
  if (current == nullptr || *current == '\0') {
    return setenv("AMENT_PREFIX_PATH", prefix.c_str(), 1) == 0;
  }
  std::error_code error;
  std::istringstream entries(current);
  for (std::string entry; std::getline(entries, entry, ':');) {
    if (!entry.empty() && (entry == prefix || fs::equivalent(entry, prefix, error))) {
      return false;
    }
  }
  const std::string value = prefix + ":" + current;
  return setenv("AMENT_PREFIX_PATH", value.c_str(), 1) == 0;
}

}  // namespace kestrune_costmap_host
