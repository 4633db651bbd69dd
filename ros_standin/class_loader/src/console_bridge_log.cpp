#include "console_bridge_log.hpp"

#include <iostream>
#include <mutex>
#include <string>

namespace class_loader
{
namespace detail
{

namespace
{

void log(const char * level, const std::string & text, const char * file, int line)
{
  // One lock so that lines from concurrent loaders do not interleave.
  static std::mutex output_mutex;
  std::lock_guard<std::mutex> lock(output_mutex);
  std::cerr << level << text << std::endl;
  std::cerr << "         at line " << line << " in " << file << std::endl;
}

}  // namespace

void logWarn(const std::string & text, const char * file, int line)
{
  log("Warning: ", text, file, line);
}

void logError(const std::string & text, const char * file, int line)
{
  log("Error:   ", text, file, line);
}

}  // namespace detail
}  // namespace class_loader
