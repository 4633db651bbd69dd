#ifndef RCUTILS_LOG_HPP_
#define RCUTILS_LOG_HPP_

#include <string>

namespace pluginlib
{
namespace impl
{

// Upstream logs through RCUTILS_LOG_*_NAMED("pluginlib.ClassLoader", ...); the default rcutils
// console handler writes "[SEVERITY] [<sec>.<nsec>] [<name>]: <message>" to stderr. Debug lines
// are below the default level and so are not reproduced.
void logError(const std::string & message);
void logWarn(const std::string & message);

}  // namespace impl
}  // namespace pluginlib

#endif  // RCUTILS_LOG_HPP_
