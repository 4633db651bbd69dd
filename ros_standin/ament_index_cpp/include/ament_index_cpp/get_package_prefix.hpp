#ifndef AMENT_INDEX_CPP__GET_PACKAGE_PREFIX_HPP_
#define AMENT_INDEX_CPP__GET_PACKAGE_PREFIX_HPP_

#include <stdexcept>
#include <string>

namespace ament_index_cpp
{

/// @brief Thrown when no prefix of AMENT_PREFIX_PATH registers a package.
class PackageNotFoundError : public std::out_of_range
{
public:
  /// @brief The message names the package and the prefixes searched.
  explicit PackageNotFoundError(const std::string & _package_name);

  virtual ~PackageNotFoundError();

  const std::string package_name;
};

/// @brief The first prefix of AMENT_PREFIX_PATH that registers the package.
/// @throws PackageNotFoundError if no prefix registers it.
/// @throws std::runtime_error if AMENT_PREFIX_PATH is not set or empty.
std::string get_package_prefix(const std::string & package_name);

}  // namespace ament_index_cpp

#endif  // AMENT_INDEX_CPP__GET_PACKAGE_PREFIX_HPP_
