#include "class_loader/class_loader_core.hpp"

#include <dlfcn.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "console_bridge_log.hpp"

namespace class_loader
{
namespace impl
{

namespace
{

struct LoadedLibrary
{
  std::vector<const ClassLoader *> owners;
};

struct Registry
{
  // Guards factory_maps, meta_objects_by_library, all_meta_objects and every factory's owners.
  std::recursive_mutex factory_mutex;
  std::map<std::string, FactoryMap> factory_maps;
  std::map<std::string, std::vector<AbstractMetaObjectBase *>> meta_objects_by_library;
  std::vector<std::unique_ptr<AbstractMetaObjectBase>> all_meta_objects;

  // Serialises opening and releasing libraries; taken before factory_mutex, never after.
  std::recursive_mutex library_mutex;
  std::map<std::string, LoadedLibrary> libraries;
};

// Never destroyed: plugin objects, and the deleters that reach this registry, may outlive
// static destruction.
Registry & registry()
{
  static Registry * instance = new Registry();
  return *instance;
}

// Static registration runs on the thread that calls dlopen(), so the loading context is
// per thread: a library opened by other means on another thread is not mistaken for ours.
thread_local ClassLoader * currently_active_class_loader = nullptr;
thread_local std::string currently_loading_library_name;

void insertIntoFactoryMap(AbstractMetaObjectBase * factory)
{
  FactoryMap & factory_map = getFactoryMapForBaseClass(factory->typeidBaseClassName());
  auto it = factory_map.find(factory->className());
  if (it != factory_map.end() && it->second != factory) {
    detail::logWarn(
      "class_loader.impl: SEVERE WARNING!!! A namespace collision has occurred with plugin "
      "factory for class " +
        factory->className() +
        ". New factory will OVERWRITE existing one. "
        "This situation occurs when libraries containing plugins are directly linked against an "
        "executable (the one running right now generating this message). Please separate plugins "
        "out into their own library or just don't link against the library and use either "
        "class_loader::ClassLoader/MultiLibraryClassLoader to open.",
      __FILE__, __LINE__);
  }
  factory_map[factory->className()] = factory;
}

}  // namespace

std::recursive_mutex & getPluginBaseToFactoryMapMapMutex()
{
  return registry().factory_mutex;
}

FactoryMap & getFactoryMapForBaseClass(const std::string & typeid_base_class_name)
{
  return registry().factory_maps[typeid_base_class_name];
}

ClassLoader * getCurrentlyActiveClassLoader()
{
  return currently_active_class_loader;
}

std::string getCurrentlyLoadingLibraryName()
{
  return currently_loading_library_name;
}

void registerMetaObject(std::unique_ptr<AbstractMetaObjectBase> factory)
{
  // Owner nullptr marks a factory registered outside any loader (library linked directly or
  // opened by hand); upstream lets every loader use those.
  factory->addOwningClassLoader(getCurrentlyActiveClassLoader());
  factory->setAssociatedLibraryPath(getCurrentlyLoadingLibraryName());

  Registry & reg = registry();
  std::lock_guard<std::recursive_mutex> lock(reg.factory_mutex);
  insertIntoFactoryMap(factory.get());
  reg.meta_objects_by_library[factory->getAssociatedLibraryPath()].push_back(factory.get());
  reg.all_meta_objects.push_back(std::move(factory));
}

AbstractMetaObjectBase * findMetaObjectFor(
  const std::string & typeid_base_class_name, const std::string & class_name,
  const ClassLoader * loader)
{
  std::lock_guard<std::recursive_mutex> lock(registry().factory_mutex);
  FactoryMap & factory_map = getFactoryMapForBaseClass(typeid_base_class_name);
  auto it = factory_map.find(class_name);
  if (it == factory_map.end()) {
    detail::logError(
      "class_loader.impl: No metaobject exists for class type " + class_name + ".", __FILE__,
      __LINE__);
  } else if (it->second->isOwnedBy(loader) || it->second->isOwnedBy(nullptr)) {
    return it->second;
  }
  throw class_loader::CreateClassException("Could not create instance of type " + class_name);
}

std::vector<std::string> getAvailableClasses(
  const std::string & typeid_base_class_name, const ClassLoader * loader)
{
  std::lock_guard<std::recursive_mutex> lock(registry().factory_mutex);
  std::vector<std::string> classes;
  std::vector<std::string> classes_with_no_owner;
  for (const auto & entry : getFactoryMapForBaseClass(typeid_base_class_name)) {
    if (entry.second->isOwnedBy(loader)) {
      classes.push_back(entry.first);
    } else if (entry.second->isOwnedBy(nullptr)) {
      classes_with_no_owner.push_back(entry.first);
    }
  }
  classes.insert(classes.end(), classes_with_no_owner.begin(), classes_with_no_owner.end());
  return classes;
}

bool isLibraryLoaded(const std::string & library_path, const ClassLoader * loader)
{
  Registry & reg = registry();
  std::lock_guard<std::recursive_mutex> lock(reg.library_mutex);
  auto it = reg.libraries.find(library_path);
  return it != reg.libraries.end() &&
         std::find(it->second.owners.begin(), it->second.owners.end(), loader) !=
           it->second.owners.end();
}

bool isLibraryLoadedByAnybody(const std::string & library_path)
{
  Registry & reg = registry();
  std::lock_guard<std::recursive_mutex> lock(reg.library_mutex);
  auto it = reg.libraries.find(library_path);
  return it != reg.libraries.end() && !it->second.owners.empty();
}

void loadLibrary(const std::string & library_path, ClassLoader * loader)
{
  Registry & reg = registry();
  std::lock_guard<std::recursive_mutex> library_lock(reg.library_mutex);

  auto it = reg.libraries.find(library_path);
  if (it != reg.libraries.end()) {
    // Already mapped: its static registration will not run again, so the factories it made
    // the first time take this loader as one more owner.
    if (
      std::find(it->second.owners.begin(), it->second.owners.end(), loader) ==
      it->second.owners.end()) {
      it->second.owners.push_back(loader);
    }
    std::lock_guard<std::recursive_mutex> factory_lock(reg.factory_mutex);
    for (AbstractMetaObjectBase * factory : reg.meta_objects_by_library[library_path]) {
      insertIntoFactoryMap(factory);
      factory->addOwningClassLoader(loader);
    }
    return;
  }

  currently_active_class_loader = loader;
  currently_loading_library_name = library_path;
  dlerror();
  void * handle = dlopen(library_path.c_str(), RTLD_LAZY | RTLD_LOCAL);
  currently_active_class_loader = nullptr;
  currently_loading_library_name.clear();
  if (nullptr == handle) {
    const char * error = dlerror();
    // UNVERIFIED: upstream wraps rcpputils::SharedLibrary's error text here; the dlerror()
    // part is certain, the exact wording around it is our best reconstruction.
    throw class_loader::LibraryLoadException(
      std::string("Could not load library dlopen error: ") + (error ? error : ""));
  }
  // The handle is deliberately never closed: objects and factories from the library may be
  // reachable for the rest of the process (see unloadLibrary()).
  reg.libraries[library_path].owners.push_back(loader);
}

void unloadLibrary(const std::string & library_path, ClassLoader * loader)
{
  Registry & reg = registry();
  std::lock_guard<std::recursive_mutex> library_lock(reg.library_mutex);
  auto it = reg.libraries.find(library_path);
  if (it == reg.libraries.end()) {
    return;
  }
  auto & owners = it->second.owners;
  owners.erase(std::remove(owners.begin(), owners.end(), loader), owners.end());

  // Only ownership is released. Upstream pluginlib never gets here while its objects live,
  // and dlclose() buys nothing but the risk of unmapping code still in use, so the library
  // and its factories stay; a later load re-owns them.
  std::lock_guard<std::recursive_mutex> factory_lock(reg.factory_mutex);
  for (AbstractMetaObjectBase * factory : reg.meta_objects_by_library[library_path]) {
    factory->removeOwningClassLoader(loader);
  }
}

}  // namespace impl
}  // namespace class_loader
