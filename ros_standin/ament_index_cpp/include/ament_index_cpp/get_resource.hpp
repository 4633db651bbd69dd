#ifndef AMENT_INDEX_CPP__GET_RESOURCE_HPP_
#define AMENT_INDEX_CPP__GET_RESOURCE_HPP_

#include <string>

namespace ament_index_cpp
{

/// @brief Read the content of a resource from the first prefix that provides it.
/// @return false if no prefix provides the resource.
/// @throws std::invalid_argument if resource_type or resource_name is empty.
/// @throws std::runtime_error if AMENT_PREFIX_PATH is not set or empty.
bool get_resource(
  const std::string & resource_type, const std::string & resource_name, std::string & content,
  std::string * prefix_path = nullptr);

}  // namespace ament_index_cpp

#endif  // AMENT_INDEX_CPP__GET_RESOURCE_HPP_
