#ifndef TF2__LINEARMATH__VECTOR3_H_
#define TF2__LINEARMATH__VECTOR3_H_

#include "tf2/LinearMath/Scalar.h"

namespace tf2
{

/// @brief A 3D vector (Bullet's btVector3 in double precision).
class Vector3
{
public:
  Vector3() = default;
  Vector3(const tf2Scalar & x, const tf2Scalar & y, const tf2Scalar & z)
  : m_floats{x, y, z, tf2Scalar(0.0)}
  {
  }

  Vector3 & operator+=(const Vector3 & v)
  {
    m_floats[0] += v.m_floats[0];
    m_floats[1] += v.m_floats[1];
    m_floats[2] += v.m_floats[2];
    return *this;
  }
  Vector3 & operator-=(const Vector3 & v)
  {
    m_floats[0] -= v.m_floats[0];
    m_floats[1] -= v.m_floats[1];
    m_floats[2] -= v.m_floats[2];
    return *this;
  }
  Vector3 & operator*=(const tf2Scalar & s)
  {
    m_floats[0] *= s;
    m_floats[1] *= s;
    m_floats[2] *= s;
    return *this;
  }
  Vector3 & operator/=(const tf2Scalar & s) { return *this *= tf2Scalar(1.0) / s; }

  tf2Scalar dot(const Vector3 & v) const
  {
    return m_floats[0] * v.m_floats[0] + m_floats[1] * v.m_floats[1] + m_floats[2] * v.m_floats[2];
  }
  tf2Scalar length2() const { return dot(*this); }
  tf2Scalar length() const { return tf2Sqrt(length2()); }
  tf2Scalar distance2(const Vector3 & v) const;
  tf2Scalar distance(const Vector3 & v) const;
  Vector3 & normalize() { return *this /= length(); }
  Vector3 normalized() const;
  Vector3 cross(const Vector3 & v) const
  {
    return Vector3(
      m_floats[1] * v.m_floats[2] - m_floats[2] * v.m_floats[1],
      m_floats[2] * v.m_floats[0] - m_floats[0] * v.m_floats[2],
      m_floats[0] * v.m_floats[1] - m_floats[1] * v.m_floats[0]);
  }

  /// @brief Linear interpolation: v0 at rt == 0, v1 at rt == 1.
  void setInterpolate3(const Vector3 & v0, const Vector3 & v1, tf2Scalar rt)
  {
    const tf2Scalar s = tf2Scalar(1.0) - rt;
    m_floats[0] = s * v0.m_floats[0] + rt * v1.m_floats[0];
    m_floats[1] = s * v0.m_floats[1] + rt * v1.m_floats[1];
    m_floats[2] = s * v0.m_floats[2] + rt * v1.m_floats[2];
  }

  const tf2Scalar & getX() const { return m_floats[0]; }
  const tf2Scalar & getY() const { return m_floats[1]; }
  const tf2Scalar & getZ() const { return m_floats[2]; }
  void setX(tf2Scalar x) { m_floats[0] = x; }
  void setY(tf2Scalar y) { m_floats[1] = y; }
  void setZ(tf2Scalar z) { m_floats[2] = z; }
  const tf2Scalar & x() const { return m_floats[0]; }
  const tf2Scalar & y() const { return m_floats[1]; }
  const tf2Scalar & z() const { return m_floats[2]; }
  const tf2Scalar & w() const { return m_floats[3]; }

  tf2Scalar & operator[](int i) { return m_floats[i]; }
  const tf2Scalar & operator[](int i) const { return m_floats[i]; }

  bool operator==(const Vector3 & other) const
  {
    return m_floats[3] == other.m_floats[3] && m_floats[2] == other.m_floats[2] &&
           m_floats[1] == other.m_floats[1] && m_floats[0] == other.m_floats[0];
  }
  bool operator!=(const Vector3 & other) const { return !(*this == other); }

  void setValue(const tf2Scalar & x, const tf2Scalar & y, const tf2Scalar & z)
  {
    m_floats[0] = x;
    m_floats[1] = y;
    m_floats[2] = z;
    m_floats[3] = tf2Scalar(0.0);
  }
  void setZero() { setValue(tf2Scalar(0.0), tf2Scalar(0.0), tf2Scalar(0.0)); }

private:
  // Bullet leaves a default-constructed vector uninitialised; zero is safer and
  // nothing can observe the difference.
  tf2Scalar m_floats[4] = {0.0, 0.0, 0.0, 0.0};
};

inline Vector3 operator+(const Vector3 & v1, const Vector3 & v2)
{
  return Vector3(v1.x() + v2.x(), v1.y() + v2.y(), v1.z() + v2.z());
}
inline Vector3 operator-(const Vector3 & v1, const Vector3 & v2)
{
  return Vector3(v1.x() - v2.x(), v1.y() - v2.y(), v1.z() - v2.z());
}
inline Vector3 operator-(const Vector3 & v)
{
  return Vector3(-v.x(), -v.y(), -v.z());
}
inline Vector3 operator*(const Vector3 & v, const tf2Scalar & s)
{
  return Vector3(v.x() * s, v.y() * s, v.z() * s);
}
inline Vector3 operator*(const tf2Scalar & s, const Vector3 & v)
{
  return v * s;
}
inline Vector3 operator/(const Vector3 & v, const tf2Scalar & s)
{
  return v * (tf2Scalar(1.0) / s);
}

inline tf2Scalar tf2Dot(const Vector3 & v1, const Vector3 & v2)
{
  return v1.dot(v2);
}
inline Vector3 tf2Cross(const Vector3 & v1, const Vector3 & v2)
{
  return v1.cross(v2);
}

inline tf2Scalar Vector3::distance2(const Vector3 & v) const
{
  return (v - *this).length2();
}
inline tf2Scalar Vector3::distance(const Vector3 & v) const
{
  return (v - *this).length();
}
inline Vector3 Vector3::normalized() const
{
  return *this / length();
}

}  // namespace tf2

#endif  // TF2__LINEARMATH__VECTOR3_H_
