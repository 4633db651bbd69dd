#include "rcutils_log.hpp"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <string>

namespace pluginlib
{
namespace impl
{

namespace
{

void log(const char * severity, const std::string & message)
{
  const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                     std::chrono::system_clock::now().time_since_epoch())
                     .count();
  // One fprintf per line: stdio locks the stream, so concurrent lines do not interleave.
  std::fprintf(
    stderr, "[%s] [%" PRId64 ".%09" PRId64 "] [pluginlib.ClassLoader]: %s\n", severity,
    static_cast<int64_t>(now / 1000000000), static_cast<int64_t>(now % 1000000000),
    message.c_str());
}

}  // namespace

void logError(const std::string & message)
{
  log("ERROR", message);
}

void logWarn(const std::string & message)
{
  log("WARN", message);
}

}  // namespace impl
}  // namespace pluginlib
