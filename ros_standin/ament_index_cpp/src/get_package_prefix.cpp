#include "ament_index_cpp/get_package_prefix.hpp"

#include <list>
#include <stdexcept>
#include <string>

#include "ament_index_cpp/get_resource.hpp"
#include "ament_index_cpp/get_search_paths.hpp"

namespace ament_index_cpp
{

namespace
{

std::string format_package_not_found_error_message(const std::string & package_name)
{
  std::string message = "package '" + package_name + "' not found";
  try {
    const std::list<std::string> search_paths = get_search_paths();
    message += ", searching: [";
    bool first = true;
    for (const auto & path : search_paths) {
      message += (first ? "" : ", ") + path;
      first = false;
    }
    message += "]";
  } catch (const std::runtime_error & error) {
    message += ", failed to get search paths: ";
    message += error.what();
  }
  return message;
}

}  // namespace

PackageNotFoundError::PackageNotFoundError(const std::string & _package_name)
: std::out_of_range(format_package_not_found_error_message(_package_name)),
  package_name(_package_name)
{
}

PackageNotFoundError::~PackageNotFoundError() {}

std::string get_package_prefix(const std::string & package_name)
{
  // A package exists in a prefix exactly when that prefix's index has its "packages" marker.
  std::string content;
  std::string prefix_path;
  if (!get_resource("packages", package_name, content, &prefix_path)) {
    throw PackageNotFoundError(package_name);
  }
  return prefix_path;
}

}  // namespace ament_index_cpp
