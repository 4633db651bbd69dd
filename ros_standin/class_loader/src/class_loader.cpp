#include "class_loader/class_loader.hpp"

#include <atomic>
#include <mutex>
#include <string>

#include "console_bridge_log.hpp"

namespace class_loader
{

namespace
{
std::atomic<bool> has_unmanaged_instance_been_created{false};
}  // namespace

ClassLoader::ClassLoader(const std::string & library_path, bool ondemand_load_unload)
: ondemand_load_unload_(ondemand_load_unload),
  library_path_(library_path),
  load_ref_count_(0),
  plugin_ref_count_(0)
{
  if (!isOnDemandLoadUnloadEnabled()) {
    loadLibrary();
  }
}

ClassLoader::~ClassLoader()
{
  unloadLibraryInternal(true);
}

const std::string & ClassLoader::getLibraryPath() const
{
  return library_path_;
}

bool ClassLoader::isLibraryLoaded() const
{
  return class_loader::impl::isLibraryLoaded(getLibraryPath(), this);
}

bool ClassLoader::isLibraryLoadedByAnyClassloader() const
{
  return class_loader::impl::isLibraryLoadedByAnybody(getLibraryPath());
}

bool ClassLoader::isOnDemandLoadUnloadEnabled() const
{
  return ondemand_load_unload_;
}

void ClassLoader::loadLibrary()
{
  std::lock_guard<std::recursive_mutex> lock(load_ref_count_mutex_);
  ++load_ref_count_;
  class_loader::impl::loadLibrary(getLibraryPath(), this);
}

int ClassLoader::unloadLibrary()
{
  return unloadLibraryInternal(true);
}

bool ClassLoader::hasUnmanagedInstanceBeenCreated()
{
  return has_unmanaged_instance_been_created;
}

void ClassLoader::setUnmanagedInstanceBeenCreated(bool state)
{
  has_unmanaged_instance_been_created = state;
}

int ClassLoader::unloadLibraryInternal(bool lock_plugin_ref_count)
{
  std::lock_guard<std::recursive_mutex> load_ref_lock(load_ref_count_mutex_);
  std::unique_lock<std::recursive_mutex> plugin_ref_lock;
  if (lock_plugin_ref_count) {
    plugin_ref_lock = std::unique_lock<std::recursive_mutex>(plugin_ref_count_mutex_);
  }
  if (plugin_ref_count_ > 0) {
    detail::logWarn(
      "class_loader.ClassLoader: SEVERE WARNING!!! Attempting to unload library while objects "
      "created by this loader exist in the heap! You should delete your objects before "
      "attempting to unload the library or destroying the ClassLoader. The library will NOT be "
      "unloaded.",
      __FILE__, __LINE__);
  } else {
    load_ref_count_ = load_ref_count_ - 1;
    if (load_ref_count_ == 0) {
      class_loader::impl::unloadLibrary(getLibraryPath(), this);
    } else if (load_ref_count_ < 0) {
      load_ref_count_ = 0;
    }
  }
  return load_ref_count_;
}

}  // namespace class_loader
