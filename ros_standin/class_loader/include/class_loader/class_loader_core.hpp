#ifndef CLASS_LOADER__CLASS_LOADER_CORE_HPP_
#define CLASS_LOADER__CLASS_LOADER_CORE_HPP_

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>
#include <vector>

#include "class_loader/exceptions.hpp"
#include "class_loader/meta_object.hpp"

// The process-wide plugin registry. Upstream keeps it in class_loader::impl as well; the plugin
// libraries reach it through registerPlugin(), which the register macro runs at their static
// initialisation, so it must live in this shared library and nowhere else.
namespace class_loader
{

class ClassLoader;

namespace impl
{

/// @brief Derived class name -> factory, for one base class.
using FactoryMap = std::map<std::string, AbstractMetaObjectBase *>;

/// @brief Guards every factory map and every factory's owner list.
std::recursive_mutex & getPluginBaseToFactoryMapMapMutex();

/// @brief The factory map of the base class whose typeid name is given (created on first use).
FactoryMap & getFactoryMapForBaseClass(const std::string & typeid_base_class_name);

template<typename Base>
FactoryMap & getFactoryMapForBaseClass()
{
  return getFactoryMapForBaseClass(typeid(Base).name());
}

/// @brief The loader whose loadLibrary() is running on this thread, else nullptr.
ClassLoader * getCurrentlyActiveClassLoader();

/// @brief The library that loader is opening on this thread, else "".
std::string getCurrentlyLoadingLibraryName();

/// @brief Adds a factory to the registry, owned by the currently active loader (if any) and
/// associated with the library being opened. Overwrites (with a warning) a factory of the same
/// class name and base.
void registerMetaObject(std::unique_ptr<AbstractMetaObjectBase> factory);

/// @brief Run by CLASS_LOADER_REGISTER_CLASS inside the plugin library while it is dlopen()ed.
template<typename Derived, typename Base>
void registerPlugin(const std::string & class_name, const std::string & base_class_name)
{
  registerMetaObject(
    std::make_unique<MetaObject<Derived, Base>>(class_name, base_class_name, typeid(Base).name()));
}

/// @brief The factory of class_name for the base, usable by loader (owned by it, or registered
/// outside any loader).
/// @throws CreateClassException "Could not create instance of type <class_name>" if none.
AbstractMetaObjectBase * findMetaObjectFor(
  const std::string & typeid_base_class_name, const std::string & class_name,
  const ClassLoader * loader);

template<typename Base>
Base * createInstance(const std::string & derived_class_name, ClassLoader * loader)
{
  auto * factory = dynamic_cast<AbstractMetaObject<Base> *>(
    findMetaObjectFor(typeid(Base).name(), derived_class_name, loader));
  if (nullptr == factory) {
    throw class_loader::CreateClassException(
      "Could not create instance of type " + derived_class_name);
  }
  return factory->create();
}

/// @brief Class names for the base that loader owns, then those registered outside any loader.
std::vector<std::string> getAvailableClasses(
  const std::string & typeid_base_class_name, const ClassLoader * loader);

template<typename Base>
std::vector<std::string> getAvailableClasses(const ClassLoader * loader)
{
  return getAvailableClasses(typeid(Base).name(), loader);
}

bool isLibraryLoaded(const std::string & library_path, const ClassLoader * loader);
bool isLibraryLoadedByAnybody(const std::string & library_path);

/// @brief Opens the library for loader, or just adds loader as an owner of its factories if
/// it is already open.
/// @throws LibraryLoadException if dlopen() fails.
void loadLibrary(const std::string & library_path, ClassLoader * loader);

/// @brief Removes loader as an owner. The library itself stays mapped for the whole process.
void unloadLibrary(const std::string & library_path, ClassLoader * loader);

}  // namespace impl
}  // namespace class_loader

#endif  // CLASS_LOADER__CLASS_LOADER_CORE_HPP_
