#ifndef RCLCPP__DETAIL__ROS_ARGUMENTS_HPP_
#define RCLCPP__DETAIL__ROS_ARGUMENTS_HPP_

// What rcl keeps of a command line after parsing its --ros-args section: the
// parameter rules (from -p and --params-file), grouped by node key in the order
// the keys were first seen, since that order decides which rule wins.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rclcpp/parameter.hpp"

namespace rclcpp
{
class Context;

namespace detail
{

struct ParameterBlock
{
  std::string node_key;                       // "/**", "/ns/node", "node", ...
  std::vector<rclcpp::Parameter> parameters;  // in place order; a repeated name overwrites in place
};

struct RosArguments
{
  std::vector<ParameterBlock> parameter_blocks;
  std::vector<std::string>
    non_ros_arguments;  // argv with every --ros-args section removed (argv[0] kept)
};

/// Parses argv as rcl_init does; throws the upstream exceptions and texts on a
/// bad file, bad rule or unknown ROS argument.
RosArguments parse_ros_arguments(int argc, char const * const * argv);

/// Same, for NodeOptions::arguments() (no argv[0]).
RosArguments parse_ros_arguments(const std::vector<std::string> & arguments);

/// The arguments that rclcpp::init stored in the context; empty before init.
std::shared_ptr<const RosArguments> get_global_ros_arguments(const rclcpp::Context & context);

}  // namespace detail
}  // namespace rclcpp

#endif  // RCLCPP__DETAIL__ROS_ARGUMENTS_HPP_
