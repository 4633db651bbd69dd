#include "class_loader/meta_object.hpp"

#include <algorithm>
#include <string>

namespace class_loader
{
namespace impl
{

AbstractMetaObjectBase::AbstractMetaObjectBase(
  const std::string & class_name, const std::string & base_class_name,
  const std::string & typeid_base_class_name)
: class_name_(class_name),
  base_class_name_(base_class_name),
  typeid_base_class_name_(typeid_base_class_name)
{
}

AbstractMetaObjectBase::~AbstractMetaObjectBase() = default;

const std::string & AbstractMetaObjectBase::className() const
{
  return class_name_;
}

const std::string & AbstractMetaObjectBase::baseClassName() const
{
  return base_class_name_;
}

const std::string & AbstractMetaObjectBase::typeidBaseClassName() const
{
  return typeid_base_class_name_;
}

const std::string & AbstractMetaObjectBase::getAssociatedLibraryPath() const
{
  return associated_library_path_;
}

void AbstractMetaObjectBase::setAssociatedLibraryPath(const std::string & library_path)
{
  associated_library_path_ = library_path;
}

void AbstractMetaObjectBase::addOwningClassLoader(const ClassLoader * loader)
{
  if (!isOwnedBy(loader)) {
    associated_class_loaders_.push_back(loader);
  }
}

void AbstractMetaObjectBase::removeOwningClassLoader(const ClassLoader * loader)
{
  associated_class_loaders_.erase(
    std::remove(associated_class_loaders_.begin(), associated_class_loaders_.end(), loader),
    associated_class_loaders_.end());
}

bool AbstractMetaObjectBase::isOwnedBy(const ClassLoader * loader) const
{
  return std::find(associated_class_loaders_.begin(), associated_class_loaders_.end(), loader) !=
         associated_class_loaders_.end();
}

bool AbstractMetaObjectBase::isOwnedByAnybody() const
{
  return !associated_class_loaders_.empty();
}

}  // namespace impl
}  // namespace class_loader
