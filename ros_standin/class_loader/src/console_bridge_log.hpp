#ifndef CONSOLE_BRIDGE_LOG_HPP_
#define CONSOLE_BRIDGE_LOG_HPP_

#include <string>

namespace class_loader
{
namespace detail
{

// Upstream class_loader logs through console_bridge, whose default handler shows warnings and
// errors only, on stderr, each followed by the source location.
void logWarn(const std::string & text, const char * file, int line);
void logError(const std::string & text, const char * file, int line);

}  // namespace detail
}  // namespace class_loader

#endif  // CONSOLE_BRIDGE_LOG_HPP_
