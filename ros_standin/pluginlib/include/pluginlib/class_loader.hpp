#ifndef PLUGINLIB__CLASS_LOADER_HPP_
#define PLUGINLIB__CLASS_LOADER_HPP_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "class_loader/multi_library_class_loader.hpp"
#include "pluginlib/class_desc.hpp"
#include "pluginlib/class_loader_base.hpp"
#include "pluginlib/exceptions.hpp"

namespace pluginlib
{

template<typename T>
using UniquePtr = class_loader::ClassLoader::UniquePtr<T>;

/// @brief Creates the plugins of base class T that the ament index declares for a package.
template<class T>
class ClassLoader : public ClassLoaderBase
{
public:
  typedef typename std::map<std::string, ClassDesc>::iterator ClassMapIterator;

  /// @brief Reads every plugin description exported for `package` (or the given files).
  /// @throws pluginlib::ClassLoaderException if the package is not in the ament index or a
  /// class tag is incomplete.
  /// @throws std::runtime_error if AMENT_PREFIX_PATH is not set or empty.
  ClassLoader(
    std::string package, std::string base_class, std::string attrib_name = std::string("plugin"),
    std::vector<std::string> plugin_xml_paths = std::vector<std::string>());

  /// @brief Unloads the libraries; objects still alive keep theirs loaded (with a warning).
  ~ClassLoader();

  /// @throws pluginlib::LibraryLoadException if the lookup name is not declared or its
  /// library cannot be found or opened.
  /// @throws pluginlib::CreateClassException if the library does not register the class.
  std::shared_ptr<T> createSharedInstance(const std::string & lookup_name);

  /// @brief The deleter hands the object back to the class_loader that created it.
  /// @throws as createSharedInstance().
  UniquePtr<T> createUniqueInstance(const std::string & lookup_name);

  /// @throws as createSharedInstance().
  T * createUnmanagedInstance(const std::string & lookup_name);

  std::vector<std::string> getPluginXmlPaths();

  /// @brief Every declared lookup name, sorted.
  std::vector<std::string> getDeclaredClasses();

  virtual std::string getName(const std::string & lookup_name);
  virtual std::string getBaseClassType() const;
  virtual std::string getClassType(const std::string & lookup_name);
  virtual std::string getClassDescription(const std::string & lookup_name);

  /// @brief The library file the class would be loaded from, or "" if none exists.
  virtual std::string getClassLibraryPath(const std::string & lookup_name);
  virtual std::string getClassPackage(const std::string & lookup_name);
  virtual std::string getPluginManifestPath(const std::string & lookup_name);
  virtual std::vector<std::string> getRegisteredLibraries();
  bool isClassLoaded(const std::string & lookup_name);
  virtual bool isClassAvailable(const std::string & lookup_name);

  /// @throws pluginlib::LibraryLoadException as createSharedInstance().
  virtual void loadLibraryForClass(const std::string & lookup_name);
  virtual void refreshDeclaredClasses();

  /// @throws pluginlib::LibraryUnloadException if the class's library was never loaded.
  virtual int unloadLibraryForClass(const std::string & lookup_name);

private:
  std::string getErrorStringForUnknownClass(const std::string & lookup_name);
  int unloadClassLibraryInternal(const std::string & library_path);

  std::vector<std::string> plugin_xml_paths_;
  std::map<std::string, ClassDesc> classes_available_;
  std::string package_;
  std::string base_class_;
  std::string attrib_name_;
  class_loader::MultiLibraryClassLoader lowlevel_class_loader_;
};

}  // namespace pluginlib

#include "./class_loader_imp.hpp"

#endif  // PLUGINLIB__CLASS_LOADER_HPP_
