#ifndef TF2__IMPL__UTILS_H_
#define TF2__IMPL__UTILS_H_

#include <cmath>

#include "geometry_msgs/msg/quaternion.hpp"
#include "tf2/LinearMath/Quaternion.h"
#include "tf2/transform_datatypes.h"

namespace tf2
{
namespace impl
{

inline tf2::Quaternion toQuaternion(const tf2::Quaternion & q)
{
  return q;
}

inline tf2::Quaternion toQuaternion(const geometry_msgs::msg::Quaternion & q)
{
  // Upstream goes through fromMsg from tf2_geometry_msgs; the fields map one
  // to one, so the stand-in converts directly.
  return tf2::Quaternion(q.x, q.y, q.z, q.w);
}

inline tf2::Quaternion toQuaternion(const tf2::Stamped<tf2::Quaternion> & q)
{
  return q;
}

/// @brief Yaw, pitch, roll of q (ZYX), with the gimbal-lock cases handled.
inline void getEulerYPR(const tf2::Quaternion & q, double & yaw, double & pitch, double & roll)
{
  const double pi_2 = M_PI_2;
  const double sqx = q.x() * q.x();
  const double sqy = q.y() * q.y();
  const double sqz = q.z() * q.z();
  const double sqw = q.w() * q.w();

  // Normalised here, so that a non-unit quaternion still gives the right angles.
  const double sarg = -2 * (q.x() * q.z() - q.w() * q.y()) / (sqx + sqy + sqz + sqw);
  if (sarg <= -0.99999) {
    pitch = -pi_2;
    roll = 0;
    yaw = -2 * std::atan2(q.y(), q.x());
  } else if (sarg >= 0.99999) {
    pitch = pi_2;
    roll = 0;
    yaw = 2 * std::atan2(q.y(), q.x());
  } else {
    pitch = std::asin(sarg);
    roll = std::atan2(2 * (q.y() * q.z() + q.w() * q.x()), sqw - sqx - sqy + sqz);
    yaw = std::atan2(2 * (q.x() * q.y() + q.w() * q.z()), sqw + sqx - sqy - sqz);
  }
}

/// @brief The yaw of q alone (cheaper than getEulerYPR).
inline double getYaw(const tf2::Quaternion & q)
{
  const double sqx = q.x() * q.x();
  const double sqy = q.y() * q.y();
  const double sqz = q.z() * q.z();
  const double sqw = q.w() * q.w();
  const double sarg = -2 * (q.x() * q.z() - q.w() * q.y()) / (sqx + sqy + sqz + sqw);
  if (sarg <= -0.99999) {
    return -2 * std::atan2(q.y(), q.x());
  } else if (sarg >= 0.99999) {
    return 2 * std::atan2(q.y(), q.x());
  }
  return std::atan2(2 * (q.x() * q.y() + q.w() * q.z()), sqw + sqx - sqy - sqz);
}

}  // namespace impl
}  // namespace tf2

#endif  // TF2__IMPL__UTILS_H_
