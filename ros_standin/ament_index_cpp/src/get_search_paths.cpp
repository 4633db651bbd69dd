#include "ament_index_cpp/get_search_paths.hpp"

#include <cstdlib>
#include <filesystem>
#include <list>
#include <sstream>
#include <stdexcept>
#include <string>

namespace ament_index_cpp
{

std::list<std::string> get_search_paths()
{
  const char * ament_prefix_path = std::getenv("AMENT_PREFIX_PATH");
  if (!ament_prefix_path || ament_prefix_path[0] == '\0') {
    throw std::runtime_error("Environment variable 'AMENT_PREFIX_PATH' is not set or empty");
  }

  // Upstream drops empty entries and entries that are not existing directories, so a stale
  // prefix neither matches nor shows up in "not found" messages.
  std::list<std::string> paths;
  std::istringstream entries(ament_prefix_path);
  std::string entry;
  while (std::getline(entries, entry, ':')) {
    std::error_code ec;
    if (!entry.empty() && std::filesystem::is_directory(entry, ec)) {
      paths.push_back(entry);
    }
  }
  return paths;
}

}  // namespace ament_index_cpp
