#ifndef ROSIDL_RUNTIME_CPP__TRAITS_HPP_
#define ROSIDL_RUNTIME_CPP__TRAITS_HPP_

#include <type_traits>

namespace rosidl_generator_traits
{

/// @brief Fully qualified C++ type name, e.g. "geometry_msgs::msg::Point".
template<typename T>
inline const char * data_type();

/// @brief Interface name, e.g. "geometry_msgs/msg/Point".
template<typename T>
inline const char * name();

/// @brief True for every generated message type (specialised per message).
template<typename T>
struct is_message : std::false_type
{
};

/// @brief True for every generated service type (specialised per service).
template<typename T>
struct is_service : std::false_type
{
};

}  // namespace rosidl_generator_traits

#endif  // ROSIDL_RUNTIME_CPP__TRAITS_HPP_
