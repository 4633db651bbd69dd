#ifndef CLASS_LOADER__CLASS_LOADER_HPP_
#define CLASS_LOADER__CLASS_LOADER_HPP_

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "class_loader/class_loader_core.hpp"
#include "class_loader/register_macro.hpp"

namespace class_loader
{

/// @brief Loads one plugin library and creates the classes it registered.
class ClassLoader
{
public:
  template<typename Base>
  using DeleterType = std::function<void(Base *)>;

  template<typename Base>
  using UniquePtr = std::unique_ptr<Base, DeleterType<Base>>;

  /// @brief Opens the library at once unless ondemand_load_unload is set.
  /// @throws LibraryLoadException if the library cannot be opened.
  explicit ClassLoader(const std::string & library_path, bool ondemand_load_unload = false);

  /// @brief Releases the library; if objects it created still live, warns and keeps it.
  virtual ~ClassLoader();

  /// @brief Class names registered for Base that this loader can create.
  template<class Base>
  std::vector<std::string> getAvailableClasses() const
  {
    return class_loader::impl::getAvailableClasses<Base>(this);
  }

  /// @brief A new object whose deleter hands it back to this loader.
  template<class Base>
  std::shared_ptr<Base> createInstance(const std::string & derived_class_name)
  {
    return std::shared_ptr<Base>(
      createRawInstance<Base>(derived_class_name, true),
      std::bind(&ClassLoader::onPluginDeletion<Base>, this, std::placeholders::_1));
  }

  /// @brief A new object whose deleter hands it back to this loader.
  template<class Base>
  UniquePtr<Base> createUniqueInstance(const std::string & derived_class_name)
  {
    Base * raw = createRawInstance<Base>(derived_class_name, true);
    return std::unique_ptr<Base, DeleterType<Base>>(
      raw, std::bind(&ClassLoader::onPluginDeletion<Base>, this, std::placeholders::_1));
  }

  /// @brief A new object the caller must delete; pins the library for good.
  template<class Base>
  Base * createUnmanagedInstance(const std::string & derived_class_name)
  {
    return createRawInstance<Base>(derived_class_name, false);
  }

  template<class Base>
  bool isClassAvailable(const std::string & class_name) const
  {
    std::vector<std::string> available_classes = getAvailableClasses<Base>();
    return std::find(available_classes.begin(), available_classes.end(), class_name) !=
           available_classes.end();
  }

  const std::string & getLibraryPath() const;
  bool isLibraryLoaded() const;
  bool isLibraryLoadedByAnyClassloader() const;
  bool isOnDemandLoadUnloadEnabled() const;

  /// @throws LibraryLoadException if the library cannot be opened.
  void loadLibrary();

  /// @return the loads still outstanding; non-zero while objects created here live.
  int unloadLibrary();

private:
  // The deleter of every managed object: deleting under the mutex keeps the count exact when
  // objects die on several threads at once.
  template<class Base>
  void onPluginDeletion(Base * obj)
  {
    if (nullptr == obj) {
      return;
    }
    std::lock_guard<std::recursive_mutex> lock(plugin_ref_count_mutex_);
    delete (obj);
    --plugin_ref_count_;
    if (
      plugin_ref_count_ == 0 && isOnDemandLoadUnloadEnabled() &&
      !ClassLoader::hasUnmanagedInstanceBeenCreated()) {
      unloadLibraryInternal(false);
    }
  }

  template<class Base>
  Base * createRawInstance(const std::string & derived_class_name, bool managed)
  {
    if (!managed) {
      ClassLoader::setUnmanagedInstanceBeenCreated(true);
    }
    if (!isLibraryLoaded()) {
      loadLibrary();
    }
    Base * obj = class_loader::impl::createInstance<Base>(derived_class_name, this);
    if (managed) {
      std::lock_guard<std::recursive_mutex> lock(plugin_ref_count_mutex_);
      ++plugin_ref_count_;
    }
    return obj;
  }

  static bool hasUnmanagedInstanceBeenCreated();
  static void setUnmanagedInstanceBeenCreated(bool state);

  int unloadLibraryInternal(bool lock_plugin_ref_count);

  bool ondemand_load_unload_;
  std::string library_path_;
  int load_ref_count_;
  std::recursive_mutex load_ref_count_mutex_;
  int plugin_ref_count_;
  std::recursive_mutex plugin_ref_count_mutex_;
};

}  // namespace class_loader

#endif  // CLASS_LOADER__CLASS_LOADER_HPP_
