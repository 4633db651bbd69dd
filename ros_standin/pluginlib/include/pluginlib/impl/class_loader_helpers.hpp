#ifndef PLUGINLIB__IMPL__CLASS_LOADER_HELPERS_HPP_
#define PLUGINLIB__IMPL__CLASS_LOADER_HELPERS_HPP_

#include <map>
#include <string>
#include <vector>

#include "pluginlib/class_desc.hpp"

// The parts of ClassLoader<T> that do not depend on T: index look-ups, XML parsing and the
// library search. Compiled once into the pluginlib library, which keeps tinyxml2 private.
namespace pluginlib
{
namespace impl
{

/// @brief `<prefix>/<line>` for every line of every `<package>__pluginlib__<attrib_name>`
/// resource, in resource-name order.
std::vector<std::string> getPluginXmlPaths(
  const std::string & package, const std::string & attrib_name);

/// @brief Lookup name -> description of every class for base_class in the files; a lookup
/// name keeps its first description. Malformed files are skipped with an error log.
/// @throws pluginlib::ClassLoaderException if a class tag lacks `type` or `base_class_type`.
std::map<std::string, ClassDesc> determineAvailableClasses(
  const std::vector<std::string> & plugin_xml_paths, const std::string & base_class);

/// @brief The first existing candidate file for the library in the exporting package's
/// prefix, or "" if none exists.
/// @throws ament_index_cpp::PackageNotFoundError if the exporting package is not indexed.
std::string findLibraryPath(
  const std::string & library_name, const std::string & exporting_package_name);

/// @brief The last part of a lookup name, split at '/' and ':'.
std::string getNameFromLookupName(const std::string & lookup_name);

}  // namespace impl
}  // namespace pluginlib

#endif  // PLUGINLIB__IMPL__CLASS_LOADER_HELPERS_HPP_
