#ifndef CLASS_LOADER__EXCEPTIONS_HPP_
#define CLASS_LOADER__EXCEPTIONS_HPP_

#include <stdexcept>
#include <string>

namespace class_loader
{

/// @brief Base of every class_loader error.
class ClassLoaderException : public std::runtime_error
{
public:
  explicit inline ClassLoaderException(const std::string & error_desc)
  : std::runtime_error(error_desc)
  {
  }
};

/// @brief A library could not be opened.
class LibraryLoadException : public ClassLoaderException
{
public:
  explicit inline LibraryLoadException(const std::string & error_desc)
  : ClassLoaderException(error_desc)
  {
  }
};

/// @brief A library could not be unloaded.
class LibraryUnloadException : public ClassLoaderException
{
public:
  explicit inline LibraryUnloadException(const std::string & error_desc)
  : ClassLoaderException(error_desc)
  {
  }
};

/// @brief No factory could create the requested class.
class CreateClassException : public ClassLoaderException
{
public:
  explicit inline CreateClassException(const std::string & error_desc)
  : ClassLoaderException(error_desc)
  {
  }
};

/// @brief A MultiLibraryClassLoader has no loader for the requested library.
class NoClassLoaderExistsException : public ClassLoaderException
{
public:
  explicit inline NoClassLoaderExistsException(const std::string & error_desc)
  : ClassLoaderException(error_desc)
  {
  }
};

}  // namespace class_loader

#endif  // CLASS_LOADER__EXCEPTIONS_HPP_
