#include "pluginlib/impl/class_loader_helpers.hpp"

#include <tinyxml2.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ament_index_cpp/get_package_prefix.hpp"
#include "ament_index_cpp/get_resource.hpp"
#include "ament_index_cpp/get_resources.hpp"
#include "pluginlib/exceptions.hpp"
#include "rcutils_log.hpp"

namespace pluginlib
{
namespace impl
{

namespace
{

namespace fs = std::filesystem;

// Upstream splits with std::regex("a|b") and sregex_token_iterator(-1): empty pieces between
// delimiters are kept, an empty piece at the end is not. Delimiters here are single characters.
std::vector<std::string> split(const std::string & str, const std::string & delimiters)
{
  std::vector<std::string> pieces;
  std::string piece;
  for (const char c : str) {
    if (delimiters.find(c) != std::string::npos) {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) {
    pieces.push_back(piece);
  }
  return pieces;
}

std::string extractPackageNameFromPackageXML(const std::string & package_xml_path)
{
  tinyxml2::XMLDocument document;
  document.LoadFile(package_xml_path.c_str());
  tinyxml2::XMLElement * doc_root_node = document.FirstChildElement("package");
  if (nullptr == doc_root_node) {
    logError("Could not find a root element for package manifest at " + package_xml_path + ".");
    return "";
  }
  tinyxml2::XMLElement * package_name_node = doc_root_node->FirstChildElement("name");
  if (nullptr == package_name_node) {
    logError(
      "package.xml at " + package_xml_path +
      " does not have a <name> tag! Cannot determine "
      "package which exports plugin.");
    return "";
  }
  const char * package_name = package_name_node->GetText();
  if (nullptr == package_name) {
    logError(
      "package.xml at " + package_xml_path +
      " has an invalid <name> tag! Cannot determine "
      "package which exports plugin.");
    return "";
  }
  return package_name;
}

// The exporting package is the one whose package.xml is nearest above the description file,
// not necessarily the package the loader was made for.
std::string getPackageFromPluginXMLFilePath(const std::string & plugin_xml_file_path)
{
  fs::path parent = fs::path(plugin_xml_file_path).parent_path();
  while (true) {
    std::error_code ec;
    if (fs::exists(parent / "package.xml", ec)) {
      return extractPackageNameFromPackageXML((parent / "package.xml").string());
    }
    const fs::path up = parent.parent_path();
    if (up.empty() || up == parent) {
      return "";
    }
    parent = up;
  }
}

void processSingleXMLPluginFile(
  const std::string & xml_file, const std::string & base_class,
  std::map<std::string, ClassDesc> & classes_available)
{
  tinyxml2::XMLDocument document;
  document.LoadFile(xml_file.c_str());
  tinyxml2::XMLElement * config = document.RootElement();
  if (nullptr == config) {
    throw pluginlib::InvalidXMLException(
      "XML Document '" + xml_file +
      "' has no Root Element. This likely means the XML is malformed or missing.");
  }
  const char * config_value = config->Value();
  if (nullptr == config_value) {
    throw pluginlib::InvalidXMLException(
      "XML Document '" + xml_file +
      "' has an invalid Root Element. This likely means the XML is malformed or missing.");
  }
  if (
    std::strcmp(config_value, "library") != 0 &&
    std::strcmp(config_value, "class_libraries") != 0) {
    throw pluginlib::InvalidXMLException(
      "The XML document '" + xml_file +
      "' given to add must have either \"library\" or "
      "\"class_libraries\" as the root tag");
  }
  if (std::strcmp(config_value, "class_libraries") == 0) {
    config = config->FirstChildElement("library");
  }

  for (tinyxml2::XMLElement * library = config; library != nullptr;
       library = library->NextSiblingElement("library")) {
    const char * path_attribute = library->Attribute("path");
    if (nullptr == path_attribute) {
      // Upstream builds a std::string from the null attribute, which libstdc++ rejects with
      // this logic_error (GCC 11, the Humble toolchain); it escapes the constructor.
      throw std::logic_error("basic_string::_M_construct null not valid");
    }
    const std::string library_path = path_attribute;
    if (library_path.empty()) {
      // Upstream logs this and then `continue`s without advancing, spinning forever; we log
      // the same line and move on to the next library instead of hanging.
      logError("Failed to find Path Attirbute in library element in " + xml_file);
      continue;
    }

    const std::string package_name = getPackageFromPluginXMLFilePath(xml_file);
    if (package_name.empty()) {
      logError(
        "Could not find package manifest (neither package.xml or deprecated manifest.xml) at "
        "same directory level as the plugin XML file " +
        xml_file + ". Plugins will likely not be exported properly.\n)");
    }

    for (tinyxml2::XMLElement * class_element = library->FirstChildElement("class");
         class_element != nullptr; class_element = class_element->NextSiblingElement("class")) {
      const char * type_attribute = class_element->Attribute("type");
      if (nullptr == type_attribute) {
        throw pluginlib::ClassLoaderException(
          "Class could not be loaded. Attribute 'type' in class tag is missing.");
      }
      const char * base_class_attribute = class_element->Attribute("base_class_type");
      if (nullptr == base_class_attribute) {
        throw pluginlib::ClassLoaderException(
          "Class could not be loaded. Attribute 'base_class_type' in class tag is missing.");
      }
      const std::string derived_class = type_attribute;
      const std::string base_class_type = base_class_attribute;
      const char * name_attribute = class_element->Attribute("name");
      const std::string lookup_name = name_attribute ? name_attribute : derived_class;

      // Descriptions of other base classes may share the file; they are not ours to offer.
      if (base_class_type != base_class) {
        continue;
      }
      std::string description_str;
      if (tinyxml2::XMLElement * description = class_element->FirstChildElement("description")) {
        description_str = description->GetText() ? description->GetText() : "";
      } else {
        description_str = "No 'description' tag for this plugin in plugin description file.";
      }
      // insert, not assign: the first description of a lookup name wins.
      classes_available.insert(std::make_pair(
        lookup_name, ClassDesc(
                       lookup_name, derived_class, base_class_type, package_name, description_str,
                       library_path, xml_file)));
    }
  }
}

}  // namespace

std::vector<std::string> getPluginXmlPaths(
  const std::string & package, const std::string & attrib_name)
{
  // e.g. loader for package "nav2_costmap_2d", attribute "plugin":
  // resource type "nav2_costmap_2d__pluginlib__plugin", one resource per exporting package.
  const std::string resource_type = package + "__pluginlib__" + attrib_name;
  std::vector<std::string> paths;
  for (const auto & resource : ament_index_cpp::get_resources(resource_type)) {
    std::string content;
    if (!ament_index_cpp::get_resource(resource_type, resource.first, content)) {
      continue;
    }
    for (const auto & line : split(content, "\n\r")) {
      if (!line.empty()) {
        paths.push_back(resource.second + "/" + line);
      }
    }
  }
  return paths;
}

std::map<std::string, ClassDesc> determineAvailableClasses(
  const std::vector<std::string> & plugin_xml_paths, const std::string & base_class)
{
  std::map<std::string, ClassDesc> classes_available;
  for (const auto & xml_path : plugin_xml_paths) {
    try {
      processSingleXMLPluginFile(xml_path, base_class, classes_available);
    } catch (const pluginlib::InvalidXMLException & e) {
      logError(std::string("Skipped loading plugin with error: ") + e.what() + ".");
    }
  }
  return classes_available;
}

std::string findLibraryPath(
  const std::string & library_name, const std::string & exporting_package_name)
{
  const std::string package_prefix = ament_index_cpp::get_package_prefix(exporting_package_name);

  if (library_name.rfind("lib", 0) == 0) {
    // UNVERIFIED wording; upstream warns that a "lib"-prefixed name is not portable.
    logWarn(
      "given plugin name '" + library_name + "' should be '" + library_name.substr(3) +
      "' for better portability");
  }
  const std::vector<std::string> file_names = {
    "lib" + library_name + ".so",
    library_name + ".so",
  };
  const std::vector<std::string> search_dirs = {
    package_prefix + "/lib",
    package_prefix + "/lib64",
    package_prefix + "/bin",
    package_prefix + "/lib/" + exporting_package_name,
  };
  for (const auto & dir : search_dirs) {
    for (const auto & file_name : file_names) {
      const std::string candidate = dir + "/" + file_name;
      std::error_code ec;
      if (fs::exists(candidate, ec)) {
        return candidate;
      }
    }
  }
  return "";
}

std::string getNameFromLookupName(const std::string & lookup_name)
{
  const std::vector<std::string> parts = split(lookup_name, "/:");
  return parts.empty() ? "" : parts.back();
}

}  // namespace impl
}  // namespace pluginlib
