#ifndef PLUGINLIB__CLASS_LIST_MACROS_HPP_
#define PLUGINLIB__CLASS_LIST_MACROS_HPP_

#include <class_loader/class_loader.hpp>

/// @brief Registers class_type as a plugin for base_class_type. Use once per class, in the
/// plugin library's source, with class_type spelled exactly as the XML's `type` attribute.
#define PLUGINLIB_EXPORT_CLASS(class_type, base_class_type) \
  CLASS_LOADER_REGISTER_CLASS(class_type, base_class_type)

#endif  // PLUGINLIB__CLASS_LIST_MACROS_HPP_
