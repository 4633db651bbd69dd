#ifndef AMENT_INDEX_CPP__GET_RESOURCES_HPP_
#define AMENT_INDEX_CPP__GET_RESOURCES_HPP_

#include <map>
#include <string>

namespace ament_index_cpp
{

/// @brief Every resource of a type, mapped to the first prefix that provides it.
/// @throws std::invalid_argument if resource_type is empty.
/// @throws std::runtime_error if AMENT_PREFIX_PATH is not set or empty.
std::map<std::string, std::string> get_resources(const std::string & resource_type);

}  // namespace ament_index_cpp

#endif  // AMENT_INDEX_CPP__GET_RESOURCES_HPP_
