// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "map_file_path.hpp"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "ament_index_cpp/get_package_share_directory.hpp"

namespace kestrune_example_layers
{

std::string resolveMapFile(const std::string & parameter, const std::string & value)
{
  if (value.empty()) {
    throw std::invalid_argument(
      "parameter '" + parameter + "' is not set: it must name a map YAML file");
  }
  static const std::string kScheme = "package://";
  if (value.compare(0, kScheme.size(), kScheme) != 0) {
    return std::filesystem::absolute(value).lexically_normal().string();
  }
  const std::string rest = value.substr(kScheme.size());
  const std::size_t slash = rest.find('/');
  if (slash == 0 || slash == std::string::npos || slash + 1 == rest.size()) {
    throw std::invalid_argument(
      "parameter '" + parameter + "' is '" + value +
      "': expected package://<package>/<path to the map YAML file>");
  }
  const std::string package = rest.substr(0, slash);
  std::string share;
  try {
    share = ament_index_cpp::get_package_share_directory(package);
  } catch (const std::exception & e) {
    throw std::invalid_argument("parameter '" + parameter + "' is '" + value + "': " + e.what());
  }
  return (std::filesystem::path(share) / rest.substr(slash + 1)).lexically_normal().string();
}

}  // namespace kestrune_example_layers
