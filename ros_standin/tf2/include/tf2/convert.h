#ifndef TF2__CONVERT_H_
#define TF2__CONVERT_H_

#include <string>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "rosidl_runtime_cpp/traits.hpp"
#include "tf2/exceptions.h"
#include "tf2/impl/convert.h"
#include "tf2/time.h"
#include "tf2/transform_datatypes.h"

namespace tf2
{

/// @brief data_in expressed in the transform's target frame. Specialised per
/// type by the conversion packages (e.g. tf2_geometry_msgs).
template<class T>
void doTransform(
  const T & data_in, T & data_out, const geometry_msgs::msg::TransformStamped & transform);

/// @brief The stamp of a stamped datum. Specialised per type.
template<class T>
tf2::TimePoint getTimestamp(const T & t);

/// @brief The frame id of a stamped datum. Specialised per type.
template<class T>
std::string getFrameId(const T & t);

template<class P>
tf2::TimePoint getTimestamp(const tf2::Stamped<P> & t)
{
  return t.stamp_;
}

template<class P>
std::string getFrameId(const tf2::Stamped<P> & t)
{
  return t.frame_id_;
}

/// @brief A tf2 type to its message. Overloaded per type by the conversion packages.
template<typename A, typename B>
B toMsg(const A & a);

/// @brief A message to its tf2 type. Overloaded per type by the conversion packages.
template<typename A, typename B>
void fromMsg(const A & a, B & b);

/// @brief Converts between a message and a tf2 type, or between two tf2 types
/// through their common message.
template<class A, class B>
void convert(const A & a, B & b)
{
  impl::Converter<
    rosidl_generator_traits::is_message<A>::value,
    rosidl_generator_traits::is_message<B>::value>::convert(a, b);
}

template<class A>
void convert(const A & a1, A & a2)
{
  if (&a1 != &a2) {
    a2 = a1;
  }
}

}  // namespace tf2

#endif  // TF2__CONVERT_H_
