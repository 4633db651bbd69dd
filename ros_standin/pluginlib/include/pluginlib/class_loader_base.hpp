#ifndef PLUGINLIB__CLASS_LOADER_BASE_HPP_
#define PLUGINLIB__CLASS_LOADER_BASE_HPP_

#include <string>
#include <vector>

namespace pluginlib
{

/// @brief The non-template part of ClassLoader<T>, usable without knowing the base class.
class ClassLoaderBase
{
public:
  virtual ~ClassLoaderBase() {}

  virtual std::vector<std::string> getDeclaredClasses() = 0;
  virtual void refreshDeclaredClasses() = 0;
  virtual std::string getName(const std::string & lookup_name) = 0;
  virtual bool isClassAvailable(const std::string & lookup_name) = 0;
  virtual std::string getClassType(const std::string & lookup_name) = 0;
  virtual std::string getClassDescription(const std::string & lookup_name) = 0;
  virtual std::string getBaseClassType() const = 0;
  virtual std::string getClassPackage(const std::string & lookup_name) = 0;
  virtual std::string getPluginManifestPath(const std::string & lookup_name) = 0;
  virtual bool isClassLoaded(const std::string & lookup_name) = 0;
  virtual void loadLibraryForClass(const std::string & lookup_name) = 0;
  virtual int unloadLibraryForClass(const std::string & lookup_name) = 0;
  virtual std::vector<std::string> getRegisteredLibraries() = 0;
  virtual std::string getClassLibraryPath(const std::string & lookup_name) = 0;
};

}  // namespace pluginlib

#endif  // PLUGINLIB__CLASS_LOADER_BASE_HPP_
