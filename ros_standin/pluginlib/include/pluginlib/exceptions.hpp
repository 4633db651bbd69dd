#ifndef PLUGINLIB__EXCEPTIONS_HPP_
#define PLUGINLIB__EXCEPTIONS_HPP_

#include <stdexcept>
#include <string>

namespace pluginlib
{

/// @brief Base of every pluginlib error.
class PluginlibException : public std::runtime_error
{
public:
  explicit PluginlibException(const std::string & error_desc)
  : std::runtime_error(error_desc)
  {
  }
};

/// @brief A plugin description file is malformed.
class InvalidXMLException : public PluginlibException
{
public:
  explicit InvalidXMLException(const std::string & error_desc)
  : PluginlibException(error_desc)
  {
  }
};

/// @brief A plugin's library cannot be found or opened, or the lookup name is not declared.
class LibraryLoadException : public PluginlibException
{
public:
  explicit LibraryLoadException(const std::string & error_desc)
  : PluginlibException(error_desc)
  {
  }
};

/// @brief The loader cannot be set up (package not found, class tag incomplete).
class ClassLoaderException : public PluginlibException
{
public:
  explicit ClassLoaderException(const std::string & error_desc)
  : PluginlibException(error_desc)
  {
  }
};

/// @brief A plugin's library cannot be unloaded.
class LibraryUnloadException : public PluginlibException
{
public:
  explicit LibraryUnloadException(const std::string & error_desc)
  : PluginlibException(error_desc)
  {
  }
};

/// @brief The library is loaded but no factory there creates the class.
class CreateClassException : public PluginlibException
{
public:
  explicit CreateClassException(const std::string & error_desc)
  : PluginlibException(error_desc)
  {
  }
};

}  // namespace pluginlib

#endif  // PLUGINLIB__EXCEPTIONS_HPP_
