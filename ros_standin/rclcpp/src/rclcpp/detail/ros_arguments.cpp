#include "rclcpp/detail/ros_arguments.hpp"

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "rclcpp/detail/parameter_yaml.hpp"
#include "rclcpp/exceptions/exceptions.hpp"

namespace rclcpp
{
namespace detail
{

namespace
{

constexpr char kRosArgsFlag[] = "--ros-args";

// rcl/types.h: RCL_RET_INVALID_ROS_ARGS.
constexpr int kRclRetInvalidRosArgs = 1003;

bool is_name_char(char c, bool allow_wildcard)
{
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '/' ||
         (allow_wildcard && c == '*') || (!allow_wildcard && c == '.');
}

bool is_valid_name(const std::string & name, bool allow_wildcard)
{
  if (name.empty()) {
    return false;
  }
  for (char c : name) {
    if (!is_name_char(c, allow_wildcard)) {
      return false;
    }
  }
  return true;
}

// rcl's _rcl_parse_param_rule: "[node:]name:=yaml_value". Without a node prefix the rule
// applies to every node ("/**"). UNVERIFIED: the inner error text for a malformed rule
// (rcl reports its lexer state there).
void parse_param_rule(const std::string & rule, std::vector<ParameterBlock> & blocks)
{
  const auto separator = rule.find(":=");
  if (separator == std::string::npos) {
    throw ParameterYamlError("Invalid parameter rule '" + rule + "': expected 'name:=value'");
  }
  std::string node_key = "/**";
  std::string name = rule.substr(0, separator);
  const auto colon = name.find(':');
  if (colon != std::string::npos) {
    node_key = name.substr(0, colon);
    name = name.substr(colon + 1);
    if (!is_valid_name(node_key, true)) {
      throw ParameterYamlError("Invalid node name '" + node_key + "' in rule '" + rule + "'");
    }
  }
  if (!is_valid_name(name, false)) {
    throw ParameterYamlError("Invalid parameter name '" + name + "' in rule '" + rule + "'");
  }
  const rclcpp::ParameterValue value = parse_parameter_value(rule.substr(separator + 2));
  set_block_parameter(blocks, node_key, rclcpp::Parameter(name, value));
}

RosArguments parse(const std::vector<std::string> & args, const std::string & error_prefix)
{
  auto invalid = [&error_prefix](const std::string & what) {
    return rclcpp::exceptions::RCLInvalidROSArgsError(
      kRclRetInvalidRosArgs, error_prefix + ": ", what);
  };

  RosArguments result;
  std::vector<std::string> unknown;
  bool in_ros_args = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string & arg = args[i];
    if (!in_ros_args) {
      if (arg == kRosArgsFlag) {
        in_ros_args = true;
      } else {
        result.non_ros_arguments.push_back(arg);
      }
      continue;
    }

    if (arg == kRosArgsFlag) {
      continue;
    }
    if (arg == "--" || arg == "--ros-args-end") {
      in_ros_args = false;
      continue;
    }
    const bool has_next = i + 1 < args.size();

    if (arg == "-p" || arg == "--param") {
      if (!has_next) {
        throw invalid(
          "Couldn't parse trailing " + arg + " flag. No parameter override rule found.");
      }
      try {
        parse_param_rule(args[i + 1], result.parameter_blocks);
      } catch (const ParameterYamlError & e) {
        throw invalid(
          "Couldn't parse parameter override rule: '" + arg + " " + args[i + 1] +
          "'. Error: " + e.what());
      }
      ++i;
      continue;
    }

    if (arg == "--params-file") {
      if (!has_next) {
        throw invalid("Couldn't parse trailing " + arg + " flag. No file path provided.");
      }
      try {
        parse_parameter_file(args[i + 1], result.parameter_blocks);
      } catch (const ParameterYamlError & e) {
        throw invalid(
          "Couldn't parse params file: '" + arg + " " + args[i + 1] + "'. Error: " + e.what());
      }
      ++i;
      continue;
    }

    // Accepted and dropped: nothing in this in-process stand-in depends on them
    // (no security enclaves, no rosout topic, no external logging library). Remaps and
    // the stdout/log-level options would change what the process does, so they stay
    // unknown and fail loudly instead of being silently ignored.
    if (arg == "-e" || arg == "--enclave") {
      if (!has_next) {
        throw invalid("Couldn't parse trailing " + arg + " flag. No enclave path found.");
      }
      ++i;
      continue;
    }
    if (
      arg == "--enable-rosout-logs" || arg == "--disable-rosout-logs" ||
      arg == "--enable-external-lib-logs" || arg == "--disable-external-lib-logs") {
      continue;
    }

    unknown.push_back(arg);
  }

  if (!unknown.empty()) {
    throw rclcpp::exceptions::UnknownROSArgsError(std::move(unknown));
  }
  return result;
}

}  // namespace

RosArguments parse_ros_arguments(int argc, char const * const * argv)
{
  std::vector<std::string> args;
  for (int i = 0; i < argc && argv != nullptr; ++i) {
    args.emplace_back(argv[i]);
  }
  // rclcpp::init reports rcl_init's failure with this prefix.
  return parse(args, "failed to initialize rcl");
}

RosArguments parse_ros_arguments(const std::vector<std::string> & arguments)
{
  // NodeOptions reports rcl_parse_arguments' failure with this prefix.
  return parse(arguments, "failed to parse arguments");
}

}  // namespace detail
}  // namespace rclcpp
