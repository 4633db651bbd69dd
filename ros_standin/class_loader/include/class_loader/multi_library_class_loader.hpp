#ifndef CLASS_LOADER__MULTI_LIBRARY_CLASS_LOADER_HPP_
#define CLASS_LOADER__MULTI_LIBRARY_CLASS_LOADER_HPP_

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "class_loader/class_loader.hpp"

namespace class_loader
{

class MultiLibraryClassLoaderImpl;

/// @brief One ClassLoader per library path; creates a class from whichever library has it.
class MultiLibraryClassLoader
{
public:
  explicit MultiLibraryClassLoader(bool enable_ondemand_loadunload);

  /// @brief Unloads every library; loaders whose objects still live are kept alive (with a
  /// warning) so those objects can still be deleted later.
  virtual ~MultiLibraryClassLoader();

  template<class Base>
  std::shared_ptr<Base> createInstance(const std::string & class_name)
  {
    return getClassLoaderOrThrow<Base>(class_name)->template createInstance<Base>(class_name);
  }

  /// @throws CreateClassException if no loaded library registered class_name for Base.
  template<class Base>
  ClassLoader::UniquePtr<Base> createUniqueInstance(const std::string & class_name)
  {
    return getClassLoaderOrThrow<Base>(class_name)->template createUniqueInstance<Base>(class_name);
  }

  template<class Base>
  Base * createUnmanagedInstance(const std::string & class_name)
  {
    return getClassLoaderOrThrow<Base>(class_name)
      ->template createUnmanagedInstance<Base>(class_name);
  }

  template<class Base>
  bool isClassAvailable(const std::string & class_name) const
  {
    std::vector<std::string> available_classes = getAvailableClasses<Base>();
    return std::find(available_classes.begin(), available_classes.end(), class_name) !=
           available_classes.end();
  }

  bool isLibraryAvailable(const std::string & library_path) const;

  template<class Base>
  std::vector<std::string> getAvailableClasses() const
  {
    std::vector<std::string> available_classes;
    for (ClassLoader * loader : getAllAvailableClassLoaders()) {
      std::vector<std::string> loader_classes = loader->getAvailableClasses<Base>();
      available_classes.insert(
        available_classes.end(), loader_classes.begin(), loader_classes.end());
    }
    return available_classes;
  }

  std::vector<std::string> getRegisteredLibraries() const;

  /// @throws LibraryLoadException if the library cannot be opened.
  void loadLibrary(const std::string & library_path);

  /// @return the loads of that library still outstanding (non-zero while its objects live).
  int unloadLibrary(const std::string & library_path);

private:
  bool isOnDemandLoadUnloadEnabled() const;
  std::vector<ClassLoader *> getAllAvailableClassLoaders() const;

  template<typename Base>
  ClassLoader * getClassLoaderForClass(const std::string & class_name)
  {
    for (ClassLoader * loader : getAllAvailableClassLoaders()) {
      if (!loader->isLibraryLoaded()) {
        loader->loadLibrary();
      }
      if (loader->isClassAvailable<Base>(class_name)) {
        return loader;
      }
    }
    return nullptr;
  }

  template<typename Base>
  ClassLoader * getClassLoaderOrThrow(const std::string & class_name)
  {
    ClassLoader * loader = getClassLoaderForClass<Base>(class_name);
    if (nullptr == loader) {
      throw class_loader::CreateClassException(
        "MultiLibraryClassLoader: Could not create object of class type " + class_name +
        " as no factory exists for it. Make sure that the library exists and "
        "was explicitly loaded through MultiLibraryClassLoader::loadLibrary()");
    }
    return loader;
  }

  void shutdownAllClassLoaders();

  std::unique_ptr<MultiLibraryClassLoaderImpl> impl_;
};

}  // namespace class_loader

#endif  // CLASS_LOADER__MULTI_LIBRARY_CLASS_LOADER_HPP_
