#ifndef RCLCPP__DETAIL__RESOLVE_PARAMETER_OVERRIDES_HPP_
#define RCLCPP__DETAIL__RESOLVE_PARAMETER_OVERRIDES_HPP_

#include <map>
#include <string>
#include <vector>

// Relative, so that tests can include this private header by path.
#include "ros_arguments.hpp"
#include "rclcpp/parameter.hpp"
#include "rclcpp/parameter_value.hpp"

namespace rclcpp
{
namespace detail
{

/// The parameter overrides that apply to the node `node_fqn`, lowest precedence first:
/// the global arguments, the node's own arguments, then the explicit overrides. Within
/// one set of arguments every block whose node key matches is applied in block order, so
/// a later "/**" block beats an earlier block naming the node. Either argument set may
/// be null.
std::map<std::string, rclcpp::ParameterValue> resolve_parameter_overrides(
  const std::string & node_fqn, const std::vector<rclcpp::Parameter> & parameter_overrides,
  const RosArguments * local_args, const RosArguments * global_args);

/// Whether a block's node key ("/**", "/*/node", "ns/node", ...) selects `node_fqn`.
bool node_key_matches(const std::string & node_key, const std::string & node_fqn);

}  // namespace detail
}  // namespace rclcpp

#endif  // RCLCPP__DETAIL__RESOLVE_PARAMETER_OVERRIDES_HPP_
