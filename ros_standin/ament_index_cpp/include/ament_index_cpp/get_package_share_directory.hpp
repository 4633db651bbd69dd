#ifndef AMENT_INDEX_CPP__GET_PACKAGE_SHARE_DIRECTORY_HPP_
#define AMENT_INDEX_CPP__GET_PACKAGE_SHARE_DIRECTORY_HPP_

#include <string>

#include "ament_index_cpp/get_package_prefix.hpp"

namespace ament_index_cpp
{

/// @brief `<prefix>/share/<package_name>` for the package's prefix.
/// @throws PackageNotFoundError if no prefix registers the package.
/// @throws std::runtime_error if AMENT_PREFIX_PATH is not set or empty.
std::string get_package_share_directory(const std::string & package_name);

}  // namespace ament_index_cpp

#endif  // AMENT_INDEX_CPP__GET_PACKAGE_SHARE_DIRECTORY_HPP_
