#ifndef TF2__UTILS_H_
#define TF2__UTILS_H_

#include "tf2/LinearMath/Quaternion.h"
#include "tf2/LinearMath/Transform.h"
#include "tf2/convert.h"
#include "tf2/impl/utils.h"

namespace tf2
{

/// @brief Yaw, pitch and roll of a rotation (tf2::Quaternion,
/// geometry_msgs::msg::Quaternion or tf2::Stamped<tf2::Quaternion>).
template<class A>
void getEulerYPR(const A & a, double & yaw, double & pitch, double & roll)
{
  const tf2::Quaternion q = impl::toQuaternion(a);
  impl::getEulerYPR(q, yaw, pitch, roll);
}

/// @brief The yaw of a rotation; the types are those of getEulerYPR.
template<class A>
double getYaw(const A & a)
{
  const tf2::Quaternion q = impl::toQuaternion(a);
  return impl::getYaw(q);
}

/// @brief The identity transform as an A (tf2::Transform, or a message once
/// its conversions are included).
template<class A>
A getTransformIdentity()
{
  tf2::Transform t;
  t.setIdentity();
  A a;
  convert(t, a);
  return a;
}

}  // namespace tf2

#endif  // TF2__UTILS_H_
