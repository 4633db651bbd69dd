#ifndef CLASS_LOADER__META_OBJECT_HPP_
#define CLASS_LOADER__META_OBJECT_HPP_

#include <string>
#include <vector>

namespace class_loader
{

class ClassLoader;

namespace impl
{

/// @brief Type-erased factory of one registered class, with the library that registered it
/// and the loaders that currently own it. Guarded by getPluginBaseToFactoryMapMapMutex().
class AbstractMetaObjectBase
{
public:
  AbstractMetaObjectBase(
    const std::string & class_name, const std::string & base_class_name,
    const std::string & typeid_base_class_name);
  virtual ~AbstractMetaObjectBase();

  const std::string & className() const;
  const std::string & baseClassName() const;
  const std::string & typeidBaseClassName() const;
  const std::string & getAssociatedLibraryPath() const;
  void setAssociatedLibraryPath(const std::string & library_path);

  /// @brief nullptr stands for "registered outside any class loader" (e.g. linked directly).
  void addOwningClassLoader(const ClassLoader * loader);
  void removeOwningClassLoader(const ClassLoader * loader);
  bool isOwnedBy(const ClassLoader * loader) const;
  bool isOwnedByAnybody() const;

private:
  std::string class_name_;
  std::string base_class_name_;
  std::string typeid_base_class_name_;
  std::string associated_library_path_;
  std::vector<const ClassLoader *> associated_class_loaders_;
};

/// @brief Factory for objects used through Base.
template<class B>
class AbstractMetaObject : public AbstractMetaObjectBase
{
public:
  AbstractMetaObject(
    const std::string & class_name, const std::string & base_class_name,
    const std::string & typeid_base_class_name)
  : AbstractMetaObjectBase(class_name, base_class_name, typeid_base_class_name)
  {
  }

  /// @brief A new object, owned by the caller.
  virtual B * create() const = 0;
};

/// @brief Factory that news up C; instantiated inside the plugin library by the register macro.
template<class C, class B>
class MetaObject : public AbstractMetaObject<B>
{
public:
  MetaObject(
    const std::string & class_name, const std::string & base_class_name,
    const std::string & typeid_base_class_name)
  : AbstractMetaObject<B>(class_name, base_class_name, typeid_base_class_name)
  {
  }

  B * create() const override { return new C; }
};

}  // namespace impl
}  // namespace class_loader

#endif  // CLASS_LOADER__META_OBJECT_HPP_
