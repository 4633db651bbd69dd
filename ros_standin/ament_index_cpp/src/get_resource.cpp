#include "ament_index_cpp/get_resource.hpp"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "ament_index_cpp/get_search_paths.hpp"
#include "resource_index_subfolder.hpp"

namespace ament_index_cpp
{

bool get_resource(
  const std::string & resource_type, const std::string & resource_name, std::string & content,
  std::string * prefix_path)
{
  if (resource_type.empty()) {
    throw std::invalid_argument("The resource type must not be empty");
  }
  if (resource_name.empty()) {
    throw std::invalid_argument("The resource name must not be empty");
  }
  for (const auto & path : get_search_paths()) {
    const std::string resource_path =
      path + "/" + detail::RESOURCE_INDEX_SUBFOLDER + "/" + resource_type + "/" + resource_name;
    std::ifstream stream(resource_path);
    if (stream.is_open()) {
      std::stringstream buffer;
      buffer << stream.rdbuf();
      content = buffer.str();
      if (prefix_path) {
        *prefix_path = path;
      }
      return true;
    }
  }
  return false;
}

}  // namespace ament_index_cpp
