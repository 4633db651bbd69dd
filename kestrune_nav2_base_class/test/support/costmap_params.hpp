// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__COSTMAP_PARAMS_HPP_
#define KESTRUNE_TEST_SUPPORT__COSTMAP_PARAMS_HPP_

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kestrune_test
{

/// Layer or filter names with their plugin types, in load order.
using Plugins = std::vector<std::pair<std::string, std::string>>;

/// The test layers (support/test_layers.cpp) by their plugin names.
constexpr char kRecording[] = "kestrune_test_layers/RecordingLayer";
constexpr char kTicker[] = "kestrune_test_layers/TimerLayer";

/// A ROS parameter file for every node ("/**"): a small map in the "map"
/// frame, updated at 100 Hz (so that deactivate's wait for the loop is short),
/// with @p overrides over it, then the layer and filter lists with each
/// entry's plugin type. An empty list is left out, so the node keeps its default.
inline std::string CostmapParams(
  const std::map<std::string, std::string> & overrides = {},
  const Plugins & layers = {{"static", kRecording}},
  const Plugins & filters = {{"keepout", kRecording}})
{
  std::map<std::string, std::string> values{
    {"global_frame", "map"},
    {"robot_base_frame", "base_link"},
    {"width", "5"},
    {"height", "4"},
    {"resolution", "0.05"},
    {"update_frequency", "100.0"},
    {"publish_frequency", "10.0"}};
  for (const auto & [name, value] : overrides) {
    values[name] = value;
  }
  std::string yaml = "/**:\n  ros__parameters:\n";
  for (const auto & [name, value] : values) {
    yaml.append("    ").append(name).append(": ").append(value).append("\n");
  }
  for (const auto & [list_name, list] :
       {std::make_pair("plugins", &layers), std::make_pair("filters", &filters)}) {
    if (list->empty()) {
      continue;
    }
    std::string names;
    for (const auto & entry : *list) {
      names.append(names.empty() ? "\"" : ", \"").append(entry.first).append("\"");
    }
    yaml.append("    ").append(list_name).append(": [").append(names).append("]\n");
    for (const auto & [name, type] : *list) {
      yaml.append("    ").append(name).append(":\n      plugin: ").append(type).append("\n");
    }
  }
  return yaml;
}

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__COSTMAP_PARAMS_HPP_
