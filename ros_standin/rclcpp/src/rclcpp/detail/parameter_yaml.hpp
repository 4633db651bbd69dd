#ifndef RCLCPP__DETAIL__PARAMETER_YAML_HPP_
#define RCLCPP__DETAIL__PARAMETER_YAML_HPP_

// The part of rcl_yaml_param_parser that rcl_init uses: reading a params file in the
// ROS layout and typing a single `-p` value the way rcl types YAML scalars.

#include <stdexcept>
#include <string>
#include <vector>

#include "rclcpp/parameter.hpp"
#include "rclcpp/parameter_value.hpp"
#include "rclcpp/detail/ros_arguments.hpp"

namespace rclcpp
{
namespace detail
{

/// Carries the parser's own error text (e.g. "Cannot have a value before ros__parameters
/// at line 3"); the argument parser wraps it into the rcl message.
class ParameterYamlError : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

/// Parses a params file into `blocks`: a new node key is appended, a known one is written
/// in place. An empty YAML sequence is stored as a value that is not set; rcl cannot
/// type it, and resolving it for a node fails later (see resolve_parameter_overrides).
void parse_parameter_file(const std::string & path, std::vector<ParameterBlock> & blocks);

/// Types one `-p name:=value` value.
rclcpp::ParameterValue parse_parameter_value(const std::string & yaml_value);

/// The block keyed `node_key`, appended if the key is new (rcl's find_node).
ParameterBlock & find_block(std::vector<ParameterBlock> & blocks, const std::string & node_key);

/// Writes `parameter` into the block keyed `node_key`, appending the block if the key is
/// new and overwriting a parameter of the same name in place.
void set_block_parameter(
  std::vector<ParameterBlock> & blocks, const std::string & node_key,
  const rclcpp::Parameter & parameter);

}  // namespace detail
}  // namespace rclcpp

#endif  // RCLCPP__DETAIL__PARAMETER_YAML_HPP_
