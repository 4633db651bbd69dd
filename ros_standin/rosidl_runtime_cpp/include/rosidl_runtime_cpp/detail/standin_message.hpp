#ifndef ROSIDL_RUNTIME_CPP__DETAIL__STANDIN_MESSAGE_HPP_
#define ROSIDL_RUNTIME_CPP__DETAIL__STANDIN_MESSAGE_HPP_

// Internal to the stand-in. rosidl generates the same boilerplate into every
// message struct (constructors, `_<field>_type` aliases, `set__<field>()`
// setters, the pointer aliases and the type traits); the messages here are
// written by hand, so these macros keep each file down to its fields.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "rosidl_runtime_cpp/bounded_vector.hpp"
#include "rosidl_runtime_cpp/message_initialization.hpp"
#include "rosidl_runtime_cpp/traits.hpp"

namespace rosidl_runtime_cpp
{
namespace detail
{

// Containers rebound to the message's allocator, as rosidl spells them out;
// with std::allocator<void> they are plain std::string / std::vector<T>.
template<typename ContainerAllocator>
using String = std::basic_string<
  char, std::char_traits<char>,
  typename std::allocator_traits<ContainerAllocator>::template rebind_alloc<char>>;

template<typename T, typename ContainerAllocator>
using Sequence =
  std::vector<T, typename std::allocator_traits<ContainerAllocator>::template rebind_alloc<T>>;

template<typename T, std::size_t UpperBound, typename ContainerAllocator>
using BoundedSequence = rosidl_runtime_cpp::BoundedVector<
  T, UpperBound, typename std::allocator_traits<ContainerAllocator>::template rebind_alloc<T>>;

}  // namespace detail
}  // namespace rosidl_runtime_cpp

// Both generated constructors. Fields are initialised by their default member
// initialisers, so every mode behaves like MessageInitialization::ALL (nothing
// in this project asks for SKIP or ZERO).
#define ROSIDL_STANDIN_MESSAGE_CTORS(StructName)                                                \
  using Type = StructName<ContainerAllocator>;                                                  \
  explicit StructName(                                                                          \
    rosidl_runtime_cpp::MessageInitialization = rosidl_runtime_cpp::MessageInitialization::ALL) \
  {                                                                                             \
  }                                                                                             \
  explicit StructName(                                                                          \
    const ContainerAllocator &,                                                                 \
    rosidl_runtime_cpp::MessageInitialization = rosidl_runtime_cpp::MessageInitialization::ALL) \
  {                                                                                             \
  }

// One field: its `_<name>_type` alias, the member (value-initialised) and its
// named-parameter setter. The type goes last so that it may contain commas.
#define ROSIDL_STANDIN_FIELD(field, ...)            \
  using _##field##_type = __VA_ARGS__;              \
  _##field##_type field{};                          \
  Type & set__##field(const _##field##_type & _arg) \
  {                                                 \
    this->field = _arg;                             \
    return *this;                                   \
  }

#define ROSIDL_STANDIN_MESSAGE_POINTERS()                                 \
  using RawPtr = Type *;                                                  \
  using ConstRawPtr = const Type *;                                       \
  using SharedPtr = std::shared_ptr<Type>;                                \
  using ConstSharedPtr = std::shared_ptr<Type const>;                     \
  template<typename Deleter = std::default_delete<Type>>                  \
  using UniquePtrWithDeleter = std::unique_ptr<Type, Deleter>;            \
  using UniquePtr = UniquePtrWithDeleter<>;                               \
  template<typename Deleter = std::default_delete<Type>>                  \
  using ConstUniquePtrWithDeleter = std::unique_ptr<Type const, Deleter>; \
  using ConstUniquePtr = ConstUniquePtrWithDeleter<>;                     \
  using WeakPtr = std::weak_ptr<Type>;                                    \
  using ConstWeakPtr = std::weak_ptr<Type const>;

// At global scope, after the message: rosidl_generator_traits for `pkg::kind::Name`.
#define ROSIDL_STANDIN_INTERFACE_TRAITS(pkg, kind, Name, trait) \
  namespace rosidl_generator_traits                             \
  {                                                             \
  template<>                                                    \
  inline const char * data_type<pkg::kind::Name>()              \
  {                                                             \
    return #pkg "::" #kind "::" #Name;                          \
  }                                                             \
  template<>                                                    \
  inline const char * name<pkg::kind::Name>()                   \
  {                                                             \
    return #pkg "/" #kind "/" #Name;                            \
  }                                                             \
  template<>                                                    \
  struct trait<pkg::kind::Name> : std::true_type                \
  {                                                             \
  };                                                            \
  }

#define ROSIDL_STANDIN_MESSAGE_TRAITS(pkg, Name) \
  ROSIDL_STANDIN_INTERFACE_TRAITS(pkg, msg, Name, is_message)

#endif  // ROSIDL_RUNTIME_CPP__DETAIL__STANDIN_MESSAGE_HPP_
