#ifndef PLUGINLIB__CLASS_LOADER_IMP_HPP_
#define PLUGINLIB__CLASS_LOADER_IMP_HPP_

#include <algorithm>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ament_index_cpp/get_package_prefix.hpp"
#include "class_loader/class_loader.hpp"
#include "pluginlib/class_loader.hpp"
#include "pluginlib/impl/class_loader_helpers.hpp"

namespace pluginlib
{

template<class T>
ClassLoader<T>::ClassLoader(
  std::string package, std::string base_class, std::string attrib_name,
  std::vector<std::string> plugin_xml_paths)
: plugin_xml_paths_(plugin_xml_paths),
  package_(package),
  base_class_(base_class),
  attrib_name_(attrib_name),
  // Libraries are opened at once and stay open until this loader goes.
  lowlevel_class_loader_(false)
{
  // Only a missing package is turned into ClassLoaderException; an unset AMENT_PREFIX_PATH
  // escapes as ament_index_cpp's plain std::runtime_error, as upstream.
  try {
    ament_index_cpp::get_package_prefix(package_);
  } catch (const ament_index_cpp::PackageNotFoundError & exception) {
    throw pluginlib::ClassLoaderException(exception.what());
  }

  if (plugin_xml_paths_.empty()) {
    plugin_xml_paths_ = impl::getPluginXmlPaths(package_, attrib_name_);
  }
  classes_available_ = impl::determineAvailableClasses(plugin_xml_paths_, base_class_);
}

template<class T>
ClassLoader<T>::~ClassLoader()
{
}

template<class T>
std::shared_ptr<T> ClassLoader<T>::createSharedInstance(const std::string & lookup_name)
{
  return createUniqueInstance(lookup_name);
}

template<class T>
UniquePtr<T> ClassLoader<T>::createUniqueInstance(const std::string & lookup_name)
{
  // Outside the try on purpose: an undeclared lookup name surfaces as LibraryLoadException.
  if (!isClassLoaded(lookup_name)) {
    loadLibraryForClass(lookup_name);
  }
  try {
    return lowlevel_class_loader_.createUniqueInstance<T>(getClassType(lookup_name));
  } catch (const class_loader::CreateClassException & ex) {
    throw pluginlib::CreateClassException(ex.what());
  }
}

template<class T>
T * ClassLoader<T>::createUnmanagedInstance(const std::string & lookup_name)
{
  if (!isClassLoaded(lookup_name)) {
    loadLibraryForClass(lookup_name);
  }
  try {
    return lowlevel_class_loader_.createUnmanagedInstance<T>(getClassType(lookup_name));
  } catch (const class_loader::CreateClassException & ex) {
    throw pluginlib::CreateClassException(ex.what());
  }
}

template<class T>
std::vector<std::string> ClassLoader<T>::getPluginXmlPaths()
{
  return plugin_xml_paths_;
}

template<class T>
std::vector<std::string> ClassLoader<T>::getDeclaredClasses()
{
  std::vector<std::string> lookup_names;
  for (const auto & entry : classes_available_) {
    lookup_names.push_back(entry.first);
  }
  return lookup_names;
}

template<class T>
std::string ClassLoader<T>::getName(const std::string & lookup_name)
{
  return impl::getNameFromLookupName(lookup_name);
}

template<class T>
std::string ClassLoader<T>::getBaseClassType() const
{
  return base_class_;
}

template<class T>
std::string ClassLoader<T>::getClassType(const std::string & lookup_name)
{
  ClassMapIterator it = classes_available_.find(lookup_name);
  return it != classes_available_.end() ? it->second.derived_class_ : "";
}

template<class T>
std::string ClassLoader<T>::getClassDescription(const std::string & lookup_name)
{
  ClassMapIterator it = classes_available_.find(lookup_name);
  return it != classes_available_.end() ? it->second.description_ : "";
}

template<class T>
std::string ClassLoader<T>::getClassLibraryPath(const std::string & lookup_name)
{
  ClassMapIterator it = classes_available_.find(lookup_name);
  if (it == classes_available_.end()) {
    return "";
  }
  return impl::findLibraryPath(it->second.library_name_, it->second.package_);
}

template<class T>
std::string ClassLoader<T>::getClassPackage(const std::string & lookup_name)
{
  ClassMapIterator it = classes_available_.find(lookup_name);
  return it != classes_available_.end() ? it->second.package_ : "";
}

template<class T>
std::string ClassLoader<T>::getPluginManifestPath(const std::string & lookup_name)
{
  ClassMapIterator it = classes_available_.find(lookup_name);
  return it != classes_available_.end() ? it->second.plugin_manifest_path_ : "";
}

template<class T>
std::vector<std::string> ClassLoader<T>::getRegisteredLibraries()
{
  return lowlevel_class_loader_.getRegisteredLibraries();
}

template<class T>
bool ClassLoader<T>::isClassLoaded(const std::string & lookup_name)
{
  return lowlevel_class_loader_.isClassAvailable<T>(getClassType(lookup_name));
}

template<class T>
bool ClassLoader<T>::isClassAvailable(const std::string & lookup_name)
{
  return classes_available_.find(lookup_name) != classes_available_.end();
}

template<class T>
void ClassLoader<T>::loadLibraryForClass(const std::string & lookup_name)
{
  ClassMapIterator it = classes_available_.find(lookup_name);
  if (it == classes_available_.end()) {
    throw pluginlib::LibraryLoadException(getErrorStringForUnknownClass(lookup_name));
  }

  std::string library_path = getClassLibraryPath(lookup_name);
  if (library_path.empty()) {
    throw pluginlib::LibraryLoadException(
      "Could not find library corresponding to plugin " + lookup_name +
      ". Make sure that the library '" + it->second.library_name_ + "' actually exists.");
  }

  try {
    lowlevel_class_loader_.loadLibrary(library_path);
    it->second.resolved_library_path_ = library_path;
  } catch (const class_loader::LibraryLoadException & ex) {
    throw pluginlib::LibraryLoadException(
      "Failed to load library " + library_path +
      ". "
      "Make sure that you are calling the PLUGINLIB_EXPORT_CLASS macro in the "
      "library code, and that names are consistent between this macro and your XML. "
      "Error string: " +
      ex.what());
  }
}

template<class T>
void ClassLoader<T>::refreshDeclaredClasses()
{
  // Mirrors upstream exactly, odd as it is: the classes whose library is open are dropped
  // and come back from the re-read files with their library marked unresolved.
  std::list<std::string> remove_classes;
  const std::vector<std::string> open_libs = lowlevel_class_loader_.getRegisteredLibraries();
  for (const auto & entry : classes_available_) {
    if (
      std::find(open_libs.begin(), open_libs.end(), entry.second.resolved_library_path_) !=
      open_libs.end()) {
      remove_classes.push_back(entry.first);
    }
  }
  for (const auto & lookup_name : remove_classes) {
    classes_available_.erase(lookup_name);
  }

  plugin_xml_paths_ = impl::getPluginXmlPaths(package_, attrib_name_);
  for (auto & entry : impl::determineAvailableClasses(plugin_xml_paths_, base_class_)) {
    classes_available_.insert(entry);
  }
}

template<class T>
int ClassLoader<T>::unloadLibraryForClass(const std::string & lookup_name)
{
  ClassMapIterator it = classes_available_.find(lookup_name);
  if (it != classes_available_.end() && it->second.resolved_library_path_ != "UNRESOLVED") {
    return unloadClassLibraryInternal(it->second.resolved_library_path_);
  }
  throw pluginlib::LibraryUnloadException(getErrorStringForUnknownClass(lookup_name));
}

template<class T>
std::string ClassLoader<T>::getErrorStringForUnknownClass(const std::string & lookup_name)
{
  // Each name is preceded by one space, hence "are  a/B c/D" and a trailing "are " if none.
  std::string declared_types;
  for (const auto & type : getDeclaredClasses()) {
    declared_types += " " + type;
  }
  return "According to the loaded plugin descriptions the class " + lookup_name +
         " with base class type " + base_class_ + " does not exist. Declared types are " +
         declared_types;
}

template<class T>
int ClassLoader<T>::unloadClassLibraryInternal(const std::string & library_path)
{
  return lowlevel_class_loader_.unloadLibrary(library_path);
}

}  // namespace pluginlib

#endif  // PLUGINLIB__CLASS_LOADER_IMP_HPP_
