#ifndef CLASS_LOADER__REGISTER_MACRO_HPP_
#define CLASS_LOADER__REGISTER_MACRO_HPP_

#include "class_loader/class_loader_core.hpp"

// A namespace-scope static object per registration: its constructor runs while the plugin
// library is dlopen()ed and files the factory under the base's typeid and the derived class
// name exactly as written in the macro call (that text is what plugin XMLs must name).
#define CLASS_LOADER_REGISTER_CLASS_INTERNAL_WITH_MESSAGE(Derived, Base, UniqueID, Message)        \
  namespace                                                                                        \
  {                                                                                                \
  struct ProxyExec##UniqueID                                                                       \
  {                                                                                                \
    typedef Derived _derived;                                                                      \
    typedef Base _base;                                                                            \
    ProxyExec##UniqueID()                                                                          \
    {                                                                                              \
      /* upstream logs Message at console_bridge's INFO level, hidden by its default WARN level */ \
      static_cast<void>(Message);                                                                  \
      class_loader::impl::registerPlugin<_derived, _base>(#Derived, #Base);                        \
    }                                                                                              \
  };                                                                                               \
  static ProxyExec##UniqueID g_register_plugin_##UniqueID;                                         \
  }  // namespace

#define CLASS_LOADER_REGISTER_CLASS_INTERNAL_HOP1_WITH_MESSAGE(Derived, Base, UniqueID, Message) \
  CLASS_LOADER_REGISTER_CLASS_INTERNAL_WITH_MESSAGE(Derived, Base, UniqueID, Message)

#define CLASS_LOADER_REGISTER_CLASS_WITH_MESSAGE(Derived, Base, Message) \
  CLASS_LOADER_REGISTER_CLASS_INTERNAL_HOP1_WITH_MESSAGE(Derived, Base, __COUNTER__, Message)

#define CLASS_LOADER_REGISTER_CLASS(Derived, Base) \
  CLASS_LOADER_REGISTER_CLASS_WITH_MESSAGE(Derived, Base, "")

#endif  // CLASS_LOADER__REGISTER_MACRO_HPP_
