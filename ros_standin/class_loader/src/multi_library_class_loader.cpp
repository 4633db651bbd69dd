#include "class_loader/multi_library_class_loader.hpp"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace class_loader
{

class MultiLibraryClassLoaderImpl
{
public:
  bool enable_ondemand_loadunload_ = false;
  std::map<std::string, std::unique_ptr<ClassLoader>> active_class_loaders_;
  mutable std::mutex loader_mutex_;
};

namespace
{

// Loaders that still had live objects when their MultiLibraryClassLoader went away. Upstream
// leaks them so the objects' deleters stay callable; keeping them here does the same while
// leaving them reachable, so leak checkers do not flag them.
void keepAlive(std::unique_ptr<ClassLoader> loader)
{
  static std::mutex graveyard_mutex;
  static auto * graveyard = new std::vector<std::unique_ptr<ClassLoader>>();
  std::lock_guard<std::mutex> lock(graveyard_mutex);
  graveyard->push_back(std::move(loader));
}

}  // namespace

MultiLibraryClassLoader::MultiLibraryClassLoader(bool enable_ondemand_loadunload)
: impl_(std::make_unique<MultiLibraryClassLoaderImpl>())
{
  impl_->enable_ondemand_loadunload_ = enable_ondemand_loadunload;
}

MultiLibraryClassLoader::~MultiLibraryClassLoader()
{
  shutdownAllClassLoaders();
  std::lock_guard<std::mutex> lock(impl_->loader_mutex_);
  for (auto & entry : impl_->active_class_loaders_) {
    keepAlive(std::move(entry.second));
  }
}

bool MultiLibraryClassLoader::isLibraryAvailable(const std::string & library_path) const
{
  std::lock_guard<std::mutex> lock(impl_->loader_mutex_);
  return impl_->active_class_loaders_.count(library_path) > 0;
}

std::vector<std::string> MultiLibraryClassLoader::getRegisteredLibraries() const
{
  std::lock_guard<std::mutex> lock(impl_->loader_mutex_);
  std::vector<std::string> libraries;
  for (const auto & entry : impl_->active_class_loaders_) {
    libraries.push_back(entry.first);
  }
  return libraries;
}

void MultiLibraryClassLoader::loadLibrary(const std::string & library_path)
{
  std::lock_guard<std::mutex> lock(impl_->loader_mutex_);
  if (impl_->active_class_loaders_.count(library_path) == 0) {
    impl_->active_class_loaders_[library_path] =
      std::make_unique<ClassLoader>(library_path, isOnDemandLoadUnloadEnabled());
  }
}

int MultiLibraryClassLoader::unloadLibrary(const std::string & library_path)
{
  std::lock_guard<std::mutex> lock(impl_->loader_mutex_);
  auto it = impl_->active_class_loaders_.find(library_path);
  if (it == impl_->active_class_loaders_.end()) {
    return 0;
  }
  const int remaining_unloads = it->second->unloadLibrary();
  if (0 == remaining_unloads) {
    impl_->active_class_loaders_.erase(it);
  }
  return remaining_unloads;
}

bool MultiLibraryClassLoader::isOnDemandLoadUnloadEnabled() const
{
  return impl_->enable_ondemand_loadunload_;
}

std::vector<ClassLoader *> MultiLibraryClassLoader::getAllAvailableClassLoaders() const
{
  std::lock_guard<std::mutex> lock(impl_->loader_mutex_);
  std::vector<ClassLoader *> loaders;
  for (const auto & entry : impl_->active_class_loaders_) {
    loaders.push_back(entry.second.get());
  }
  return loaders;
}

void MultiLibraryClassLoader::shutdownAllClassLoaders()
{
  for (const auto & library_path : getRegisteredLibraries()) {
    unloadLibrary(library_path);
  }
}

}  // namespace class_loader
