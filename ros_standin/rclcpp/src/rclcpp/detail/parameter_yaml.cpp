#include "rclcpp/detail/parameter_yaml.hpp"

#include <yaml-cpp/yaml.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace rclcpp
{
namespace detail
{

namespace
{

constexpr char kParamsKey[] = "ros__parameters";

// rcl counts lines from 1; yaml-cpp marks from 0.
int line_of(const YAML::Node & node)
{
  return node.Mark().line + 1;
}

std::string at_line(const std::string & what, const YAML::Node & node)
{
  return what + " at line " + std::to_string(line_of(node));
}

bool is_one_of(const std::string & value, std::initializer_list<const char *> words)
{
  for (const char * word : words) {
    if (value == word) {
      return true;
    }
  }
  return false;
}

// rcl's get_value(): quoted or !!str scalars are strings; a plain scalar is tried as a
// YAML 1.1 bool word, then as an integer (strtoll with base 0, so "0x10" is 16 and
// "010" is 8), then as a double (strtod, plus the YAML .inf/.nan spellings), and is a
// string otherwise.
rclcpp::ParameterValue scalar_value(const YAML::Node & node)
{
  const std::string & text = node.Scalar();
  const bool quoted = node.Tag() == "!";
  const bool string_tag = node.Tag() == "tag:yaml.org,2002:str";
  if (quoted || string_tag) {
    return rclcpp::ParameterValue(text);
  }
  if (text.empty()) {
    throw ParameterYamlError(at_line("No value", node));
  }
  if (is_one_of(text, {"Y", "y", "yes", "Yes", "YES", "true", "True", "TRUE", "on", "On", "ON"})) {
    return rclcpp::ParameterValue(true);
  }
  if (is_one_of(
        text, {"N", "n", "no", "No", "NO", "false", "False", "FALSE", "off", "Off", "OFF"})) {
    return rclcpp::ParameterValue(false);
  }

  const char * begin = text.c_str();
  char * end = nullptr;
  errno = 0;
  const long long integer = std::strtoll(begin, &end, 0);  // NOLINT(runtime/int)
  if (errno == 0 && end != begin && *end == '\0') {
    return rclcpp::ParameterValue(static_cast<int64_t>(integer));
  }

  if (is_one_of(text, {".nan", ".NaN", ".NAN"})) {
    return rclcpp::ParameterValue(std::numeric_limits<double>::quiet_NaN());
  }
  if (is_one_of(text, {".inf", ".Inf", ".INF"})) {
    return rclcpp::ParameterValue(std::numeric_limits<double>::infinity());
  }
  if (is_one_of(text, {"-.inf", "-.Inf", "-.INF"})) {
    return rclcpp::ParameterValue(-std::numeric_limits<double>::infinity());
  }
  errno = 0;
  end = nullptr;
  const double real = std::strtod(begin, &end);
  if (errno == 0 && end != begin && *end == '\0') {
    return rclcpp::ParameterValue(real);
  }
  return rclcpp::ParameterValue(text);
}

// rcl takes the element type of a sequence from its first element and refuses any other.
// UNVERIFIED: the texts of the two sequence errors.
rclcpp::ParameterValue sequence_value(const YAML::Node & node)
{
  if (node.size() == 0) {
    return rclcpp::ParameterValue();
  }
  std::vector<rclcpp::ParameterValue> elements;
  for (const YAML::Node & element : node) {
    if (!element.IsScalar()) {
      throw ParameterYamlError(at_line("Sequences can only hold scalar values", element));
    }
    elements.push_back(scalar_value(element));
    if (elements.back().get_type() != elements.front().get_type()) {
      throw ParameterYamlError(
        "Sequence should be of same type. Value type '" +
        rclcpp::to_string(elements.back().get_type()) + "' do not belong at line_num " +
        std::to_string(line_of(element)));
    }
  }

  switch (elements.front().get_type()) {
    case ParameterType::PARAMETER_BOOL: {
      std::vector<bool> values;
      for (const auto & v : elements) {
        values.push_back(v.get<bool>());
      }
      return rclcpp::ParameterValue(values);
    }
    case ParameterType::PARAMETER_INTEGER: {
      std::vector<int64_t> values;
      for (const auto & v : elements) {
        values.push_back(v.get<int64_t>());
      }
      return rclcpp::ParameterValue(values);
    }
    case ParameterType::PARAMETER_DOUBLE: {
      std::vector<double> values;
      for (const auto & v : elements) {
        values.push_back(v.get<double>());
      }
      return rclcpp::ParameterValue(values);
    }
    default: {
      std::vector<std::string> values;
      for (const auto & v : elements) {
        values.push_back(v.get<std::string>());
      }
      return rclcpp::ParameterValue(values);
    }
  }
}

rclcpp::ParameterValue leaf_value(const YAML::Node & node)
{
  if (node.IsScalar()) {
    return scalar_value(node);
  }
  if (node.IsSequence()) {
    return sequence_value(node);
  }
  // A key with nothing after it. UNVERIFIED: rcl reads an explicit "null" or "~" as the
  // string "null" / "~"; yaml-cpp no longer tells them apart from an empty value.
  throw ParameterYamlError(at_line("No value", node));
}

std::string key_text(const YAML::Node & key)
{
  if (!key.IsScalar()) {
    throw ParameterYamlError(at_line("Keys must be scalars", key));
  }
  return key.Scalar();
}

// Below ros__parameters: nested keys are joined with '.'.
void walk_parameters(
  const YAML::Node & node, const std::string & prefix, std::vector<ParameterBlock> & blocks,
  const std::string & node_key)
{
  for (const auto & entry : node) {
    const std::string key = key_text(entry.first);
    const std::string name = prefix.empty() ? key : prefix + "." + key;
    if (entry.second.IsMap()) {
      walk_parameters(entry.second, name, blocks, node_key);
    } else {
      set_block_parameter(blocks, node_key, rclcpp::Parameter(name, leaf_value(entry.second)));
    }
  }
}

// Above ros__parameters: nested keys are joined with '/' into the node key.
void walk_node_names(
  const YAML::Node & node, const std::string & node_key, std::vector<ParameterBlock> & blocks)
{
  if (node.IsNull() && node_key.empty()) {
    return;  // an empty document
  }
  if (!node.IsMap()) {
    throw ParameterYamlError(at_line("Cannot have a value before ros__parameters", node));
  }
  for (const auto & entry : node) {
    const std::string key = key_text(entry.first);
    if (key == kParamsKey) {
      if (node_key.empty()) {
        throw ParameterYamlError(
          at_line("There are no node names before ros__parameters", entry.first));
      }
      // The block exists from here on, even when it ends up empty: its position among
      // the blocks decides which one wins later.
      find_block(blocks, node_key);
      if (entry.second.IsMap()) {
        walk_parameters(entry.second, "", blocks, node_key);
      } else if (!entry.second.IsNull()) {
        throw ParameterYamlError(at_line("Parameters must be a map", entry.second));
      }
    } else {
      walk_node_names(entry.second, node_key.empty() ? key : node_key + "/" + key, blocks);
    }
  }
}

}  // namespace

ParameterBlock & find_block(std::vector<ParameterBlock> & blocks, const std::string & node_key)
{
  for (auto & block : blocks) {
    if (block.node_key == node_key) {
      return block;
    }
  }
  blocks.push_back(ParameterBlock{node_key, {}});
  return blocks.back();
}

void set_block_parameter(
  std::vector<ParameterBlock> & blocks, const std::string & node_key,
  const rclcpp::Parameter & parameter)
{
  ParameterBlock & block = find_block(blocks, node_key);
  for (auto & existing : block.parameters) {
    if (existing.get_name() == parameter.get_name()) {
      existing = parameter;
      return;
    }
  }
  block.parameters.push_back(parameter);
}

void parse_parameter_file(const std::string & path, std::vector<ParameterBlock> & blocks)
{
  // UNVERIFIED: the exact wording rcl uses for a file it cannot open or parse.
  std::error_code ignored;
  std::ifstream file(path);
  if (!file.is_open() || std::filesystem::is_directory(path, ignored)) {
    throw ParameterYamlError("Error opening YAML file, file path: " + path);
  }
  std::vector<YAML::Node> documents;
  try {
    documents = YAML::LoadAll(file);
  } catch (const YAML::Exception & e) {
    throw ParameterYamlError(
      "Error parsing a event near line " + std::to_string(e.mark.line + 1) + ": " + e.msg);
  }
  for (const YAML::Node & document : documents) {
    walk_node_names(document, "", blocks);
  }
}

rclcpp::ParameterValue parse_parameter_value(const std::string & yaml_value)
{
  if (yaml_value.empty()) {
    throw ParameterYamlError("No value at line 1");
  }
  YAML::Node node;
  try {
    node = YAML::Load(yaml_value);
  } catch (const YAML::Exception & e) {
    throw ParameterYamlError(
      "Error parsing a event near line " + std::to_string(e.mark.line + 1) + ": " + e.msg);
  }
  if (node.IsMap()) {
    throw ParameterYamlError(at_line("Maps are not valid parameter values", node));
  }
  return leaf_value(node);
}

}  // namespace detail
}  // namespace rclcpp
