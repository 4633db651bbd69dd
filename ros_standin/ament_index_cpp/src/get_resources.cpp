#include "ament_index_cpp/get_resources.hpp"

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include "ament_index_cpp/get_search_paths.hpp"
#include "resource_index_subfolder.hpp"

namespace ament_index_cpp
{

std::map<std::string, std::string> get_resources(const std::string & resource_type)
{
  if (resource_type.empty()) {
    throw std::invalid_argument("The resource type must not be empty");
  }
  namespace fs = std::filesystem;
  std::map<std::string, std::string> resources;
  for (const auto & base_path : get_search_paths()) {
    const fs::path type_dir =
      fs::path(base_path) / detail::RESOURCE_INDEX_SUBFOLDER / resource_type;
    std::error_code ec;
    fs::directory_iterator it(type_dir, ec);
    if (ec) {
      continue;
    }
    for (const auto & entry : it) {
      const std::string name = entry.path().filename().string();
      // Sub-directories and hidden files are not resources.
      if (entry.is_directory(ec) || name.empty() || name[0] == '.') {
        continue;
      }
      // emplace keeps the first prefix: earlier AMENT_PREFIX_PATH entries overlay later ones.
      resources.emplace(name, base_path);
    }
  }
  return resources;
}

}  // namespace ament_index_cpp
