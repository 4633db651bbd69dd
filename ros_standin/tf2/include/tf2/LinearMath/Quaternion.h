#ifndef TF2__LINEARMATH__QUATERNION_H_
#define TF2__LINEARMATH__QUATERNION_H_

#include "tf2/LinearMath/Scalar.h"
#include "tf2/LinearMath/Vector3.h"

namespace tf2
{

/// @brief A rotation quaternion (Bullet's btQuaternion in double precision).
class Quaternion
{
public:
  Quaternion() = default;
  Quaternion(const tf2Scalar & x, const tf2Scalar & y, const tf2Scalar & z, const tf2Scalar & w)
  : m_floats{x, y, z, w}
  {
  }
  Quaternion(const Vector3 & axis, const tf2Scalar & angle) { setRotation(axis, angle); }

  void setRotation(const Vector3 & axis, const tf2Scalar & angle)
  {
    const tf2Scalar d = axis.length();
    const tf2Scalar s = tf2Sin(angle * tf2Scalar(0.5)) / d;
    setValue(axis.x() * s, axis.y() * s, axis.z() * s, tf2Cos(angle * tf2Scalar(0.5)));
  }

  /// @brief Fixed-axis roll (X), pitch (Y), yaw (Z), applied in that order.
  void setRPY(const tf2Scalar & roll, const tf2Scalar & pitch, const tf2Scalar & yaw)
  {
    const tf2Scalar halfYaw = yaw * tf2Scalar(0.5);
    const tf2Scalar halfPitch = pitch * tf2Scalar(0.5);
    const tf2Scalar halfRoll = roll * tf2Scalar(0.5);
    const tf2Scalar cosYaw = tf2Cos(halfYaw);
    const tf2Scalar sinYaw = tf2Sin(halfYaw);
    const tf2Scalar cosPitch = tf2Cos(halfPitch);
    const tf2Scalar sinPitch = tf2Sin(halfPitch);
    const tf2Scalar cosRoll = tf2Cos(halfRoll);
    const tf2Scalar sinRoll = tf2Sin(halfRoll);
    setValue(
      sinRoll * cosPitch * cosYaw - cosRoll * sinPitch * sinYaw,
      cosRoll * sinPitch * cosYaw + sinRoll * cosPitch * sinYaw,
      cosRoll * cosPitch * sinYaw - sinRoll * sinPitch * cosYaw,
      cosRoll * cosPitch * cosYaw + sinRoll * sinPitch * sinYaw);
  }

  Quaternion & operator+=(const Quaternion & q)
  {
    for (int i = 0; i < 4; ++i) {
      m_floats[i] += q.m_floats[i];
    }
    return *this;
  }
  Quaternion & operator-=(const Quaternion & q)
  {
    for (int i = 0; i < 4; ++i) {
      m_floats[i] -= q.m_floats[i];
    }
    return *this;
  }
  Quaternion & operator*=(const tf2Scalar & s)
  {
    for (int i = 0; i < 4; ++i) {
      m_floats[i] *= s;
    }
    return *this;
  }
  Quaternion & operator/=(const tf2Scalar & s) { return *this *= tf2Scalar(1.0) / s; }

  /// @brief Hamilton product: this = this * q.
  Quaternion & operator*=(const Quaternion & q)
  {
    setValue(
      w() * q.x() + x() * q.w() + y() * q.z() - z() * q.y(),
      w() * q.y() + y() * q.w() + z() * q.x() - x() * q.z(),
      w() * q.z() + z() * q.w() + x() * q.y() - y() * q.x(),
      w() * q.w() - x() * q.x() - y() * q.y() - z() * q.z());
    return *this;
  }

  tf2Scalar dot(const Quaternion & q) const
  {
    return x() * q.x() + y() * q.y() + z() * q.z() + w() * q.w();
  }
  tf2Scalar length2() const { return dot(*this); }
  tf2Scalar length() const { return tf2Sqrt(length2()); }
  Quaternion & normalize() { return *this /= length(); }
  Quaternion normalized() const;

  /// @brief Half the angle between this and q.
  tf2Scalar angle(const Quaternion & q) const
  {
    const tf2Scalar s = tf2Sqrt(length2() * q.length2());
    return tf2Acos(dot(q) / s);
  }
  /// @brief The angle between this and q along the shorter path.
  tf2Scalar angleShortestPath(const Quaternion & q) const;
  /// @brief The rotation angle, in [0, 2*pi].
  tf2Scalar getAngle() const { return tf2Scalar(2.) * tf2Acos(w()); }
  Vector3 getAxis() const
  {
    const tf2Scalar s_squared = tf2Scalar(1.) - w() * w();
    if (s_squared < tf2Scalar(10.) * 2.2204460492503131e-16) {
      return Vector3(1.0, 0.0, 0.0);
    }
    const tf2Scalar s = tf2Sqrt(s_squared);
    return Vector3(x() / s, y() / s, z() / s);
  }
  Quaternion inverse() const { return Quaternion(-x(), -y(), -z(), w()); }

  /// @brief Spherical linear interpolation: this at t == 0, q at t == 1.
  Quaternion slerp(const Quaternion & q, const tf2Scalar & t) const;

  static const Quaternion & getIdentity()
  {
    static const Quaternion identityQuat(0., 0., 0., 1.);
    return identityQuat;
  }

  const tf2Scalar & getW() const { return m_floats[3]; }
  const tf2Scalar & getX() const { return m_floats[0]; }
  const tf2Scalar & getY() const { return m_floats[1]; }
  const tf2Scalar & getZ() const { return m_floats[2]; }
  const tf2Scalar & x() const { return m_floats[0]; }
  const tf2Scalar & y() const { return m_floats[1]; }
  const tf2Scalar & z() const { return m_floats[2]; }
  const tf2Scalar & w() const { return m_floats[3]; }
  void setX(tf2Scalar x) { m_floats[0] = x; }
  void setY(tf2Scalar y) { m_floats[1] = y; }
  void setZ(tf2Scalar z) { m_floats[2] = z; }
  void setW(tf2Scalar w) { m_floats[3] = w; }
  void setValue(const tf2Scalar & x, const tf2Scalar & y, const tf2Scalar & z, const tf2Scalar & w)
  {
    m_floats[0] = x;
    m_floats[1] = y;
    m_floats[2] = z;
    m_floats[3] = w;
  }

  bool operator==(const Quaternion & o) const
  {
    return x() == o.x() && y() == o.y() && z() == o.z() && w() == o.w();
  }
  bool operator!=(const Quaternion & o) const { return !(*this == o); }

private:
  // Bullet leaves it uninitialised; zero is safer and nothing can observe the difference.
  tf2Scalar m_floats[4] = {0.0, 0.0, 0.0, 0.0};
};

inline Quaternion operator-(const Quaternion & q)
{
  return Quaternion(-q.x(), -q.y(), -q.z(), -q.w());
}
inline Quaternion operator+(const Quaternion & a, const Quaternion & b)
{
  return Quaternion(a.x() + b.x(), a.y() + b.y(), a.z() + b.z(), a.w() + b.w());
}
inline Quaternion operator-(const Quaternion & a, const Quaternion & b)
{
  return Quaternion(a.x() - b.x(), a.y() - b.y(), a.z() - b.z(), a.w() - b.w());
}
inline Quaternion operator*(const Quaternion & q, const tf2Scalar & s)
{
  return Quaternion(q.x() * s, q.y() * s, q.z() * s, q.w() * s);
}
inline Quaternion operator/(const Quaternion & q, const tf2Scalar & s)
{
  return q * (tf2Scalar(1.0) / s);
}

inline Quaternion operator*(const Quaternion & q1, const Quaternion & q2)
{
  Quaternion r = q1;
  r *= q2;
  return r;
}

inline Quaternion operator*(const Quaternion & q, const Vector3 & w)
{
  return Quaternion(
    q.w() * w.x() + q.y() * w.z() - q.z() * w.y(), q.w() * w.y() + q.z() * w.x() - q.x() * w.z(),
    q.w() * w.z() + q.x() * w.y() - q.y() * w.x(), -q.x() * w.x() - q.y() * w.y() - q.z() * w.z());
}

inline Quaternion operator*(const Vector3 & w, const Quaternion & q)
{
  return Quaternion(
    w.x() * q.w() + w.y() * q.z() - w.z() * q.y(), w.y() * q.w() + w.z() * q.x() - w.x() * q.z(),
    w.z() * q.w() + w.x() * q.y() - w.y() * q.x(), -w.x() * q.x() - w.y() * q.y() - w.z() * q.z());
}

inline Quaternion Quaternion::normalized() const
{
  return *this / length();
}

inline tf2Scalar Quaternion::angleShortestPath(const Quaternion & q) const
{
  const tf2Scalar s = tf2Sqrt(length2() * q.length2());
  if (dot(q) < 0) {
    return tf2Acos(dot(-q) / s) * tf2Scalar(2.0);
  }
  return tf2Acos(dot(q) / s) * tf2Scalar(2.0);
}

inline Quaternion Quaternion::slerp(const Quaternion & q, const tf2Scalar & t) const
{
  const tf2Scalar theta = angleShortestPath(q) / tf2Scalar(2.0);
  if (theta == tf2Scalar(0.0)) {
    return *this;
  }
  const tf2Scalar d = tf2Scalar(1.0) / tf2Sin(theta);
  const tf2Scalar s0 = tf2Sin((tf2Scalar(1.0) - t) * theta);
  // Negating q when the dot product is negative takes the short way round.
  const tf2Scalar s1 = (dot(q) < 0 ? -1.0 : 1.0) * tf2Sin(t * theta);
  return Quaternion(
    (x() * s0 + q.x() * s1) * d, (y() * s0 + q.y() * s1) * d, (z() * s0 + q.z() * s1) * d,
    (w() * s0 + q.w() * s1) * d);
}

inline tf2Scalar dot(const Quaternion & q1, const Quaternion & q2)
{
  return q1.dot(q2);
}
inline tf2Scalar length(const Quaternion & q)
{
  return q.length();
}
inline tf2Scalar angle(const Quaternion & q1, const Quaternion & q2)
{
  return q1.angle(q2);
}
inline tf2Scalar angleShortestPath(const Quaternion & q1, const Quaternion & q2)
{
  return q1.angleShortestPath(q2);
}
inline Quaternion inverse(const Quaternion & q)
{
  return q.inverse();
}
inline Quaternion slerp(const Quaternion & q1, const Quaternion & q2, const tf2Scalar & t)
{
  return q1.slerp(q2, t);
}

/// @brief v rotated by the rotation quaternion.
inline Vector3 quatRotate(const Quaternion & rotation, const Vector3 & v)
{
  Quaternion q = rotation * v;
  q *= rotation.inverse();
  return Vector3(q.getX(), q.getY(), q.getZ());
}

}  // namespace tf2

#endif  // TF2__LINEARMATH__QUATERNION_H_
