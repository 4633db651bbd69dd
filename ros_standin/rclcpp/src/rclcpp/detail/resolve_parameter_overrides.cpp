#include "rclcpp/detail/resolve_parameter_overrides.hpp"

#include <array>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "rclcpp/exceptions/exceptions.hpp"

namespace rclcpp
{
namespace detail
{

bool node_key_matches(const std::string & node_key, const std::string & node_fqn)
{
  // As rclcpp's parameter_map_from: a leading '/' is added when missing, then every "/*"
  // becomes one name segment, which turns "/**" into "any number of segments".
  std::string pattern = (!node_key.empty() && node_key[0] == '/') ? node_key : "/" + node_key;
  const std::string wildcard = "/*";
  const std::string segment = "(/\\w+)";
  for (auto pos = pattern.find(wildcard); pos != std::string::npos;
       pos = pattern.find(wildcard, pos + segment.size())) {
    pattern.replace(pos, wildcard.size(), segment);
  }
  return std::regex_match(node_fqn, std::regex(pattern));
}

std::map<std::string, rclcpp::ParameterValue> resolve_parameter_overrides(
  const std::string & node_fqn, const std::vector<rclcpp::Parameter> & parameter_overrides,
  const RosArguments * local_args, const RosArguments * global_args)
{
  std::map<std::string, rclcpp::ParameterValue> result;

  // Global first so that the node's own arguments overwrite them.
  const std::array<const RosArguments *, 2> sources = {global_args, local_args};
  for (const RosArguments * source : sources) {
    if (source == nullptr) {
      continue;
    }
    for (const ParameterBlock & block : source->parameter_blocks) {
      if (!node_key_matches(block.node_key, node_fqn)) {
        continue;
      }
      for (const rclcpp::Parameter & parameter : block.parameters) {
        // An empty YAML sequence leaves rcl's value unset; rclcpp refuses it when it
        // converts the values of a matching node. UNVERIFIED that Humble's rcl still
        // cannot type an empty sequence.
        if (parameter.get_type() == rclcpp::ParameterType::PARAMETER_NOT_SET) {
          throw rclcpp::exceptions::InvalidParameterValueException("No parameter value set");
        }
        result[parameter.get_name()] = parameter.get_parameter_value();
      }
    }
  }

  // Overrides given in code beat every command line source.
  for (const rclcpp::Parameter & parameter : parameter_overrides) {
    result[parameter.get_name()] = parameter.get_parameter_value();
  }
  return result;
}

}  // namespace detail
}  // namespace rclcpp
