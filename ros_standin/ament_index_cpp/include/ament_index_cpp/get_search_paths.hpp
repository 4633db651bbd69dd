#ifndef AMENT_INDEX_CPP__GET_SEARCH_PATHS_HPP_
#define AMENT_INDEX_CPP__GET_SEARCH_PATHS_HPP_

#include <list>
#include <string>

namespace ament_index_cpp
{

/// @brief The existing directories listed in AMENT_PREFIX_PATH, in order.
/// @throws std::runtime_error if AMENT_PREFIX_PATH is not set or empty.
std::list<std::string> get_search_paths();

}  // namespace ament_index_cpp

#endif  // AMENT_INDEX_CPP__GET_SEARCH_PATHS_HPP_
