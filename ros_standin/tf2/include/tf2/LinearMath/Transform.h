#ifndef TF2__LINEARMATH__TRANSFORM_H_
#define TF2__LINEARMATH__TRANSFORM_H_

#include "tf2/LinearMath/Matrix3x3.h"
#include "tf2/LinearMath/Quaternion.h"
#include "tf2/LinearMath/Vector3.h"

namespace tf2
{

/// @brief A rigid transform: rotation (as a basis matrix) then translation.
class Transform
{
public:
  Transform() = default;
  explicit Transform(const Quaternion & q, const Vector3 & c = Vector3(0.0, 0.0, 0.0))
  : m_basis(q),
    m_origin(c)
  {
  }
  explicit Transform(const Matrix3x3 & b, const Vector3 & c = Vector3(0.0, 0.0, 0.0))
  : m_basis(b),
    m_origin(c)
  {
  }

  /// @brief The point x transformed.
  Vector3 operator()(const Vector3 & x) const
  {
    return Vector3(
      m_basis[0].dot(x) + m_origin.x(), m_basis[1].dot(x) + m_origin.y(),
      m_basis[2].dot(x) + m_origin.z());
  }
  Vector3 operator*(const Vector3 & x) const { return (*this)(x); }
  Quaternion operator*(const Quaternion & q) const { return getRotation() * q; }

  Transform & operator*=(const Transform & t)
  {
    m_origin += m_basis * t.m_origin;
    m_basis = m_basis * t.m_basis;
    return *this;
  }
  Transform operator*(const Transform & t) const
  {
    return Transform(m_basis * t.m_basis, (*this)(t.m_origin));
  }
  void mult(const Transform & t1, const Transform & t2)
  {
    m_basis = t1.m_basis * t2.m_basis;
    m_origin = t1(t2.m_origin);
  }

  Matrix3x3 & getBasis() { return m_basis; }
  const Matrix3x3 & getBasis() const { return m_basis; }
  Vector3 & getOrigin() { return m_origin; }
  const Vector3 & getOrigin() const { return m_origin; }
  Quaternion getRotation() const
  {
    Quaternion q;
    m_basis.getRotation(q);
    return q;
  }

  void setOrigin(const Vector3 & origin) { m_origin = origin; }
  void setBasis(const Matrix3x3 & basis) { m_basis = basis; }
  void setRotation(const Quaternion & q) { m_basis.setRotation(q); }
  void setIdentity()
  {
    m_basis.setIdentity();
    m_origin.setValue(0.0, 0.0, 0.0);
  }

  Transform inverse() const
  {
    const Matrix3x3 inv = m_basis.transpose();
    return Transform(inv, inv * -m_origin);
  }
  /// @brief this->inverse() * t.
  Transform inverseTimes(const Transform & t) const
  {
    const Vector3 v = t.getOrigin() - m_origin;
    return Transform(
      m_basis.transpose() * t.m_basis,
      Vector3(m_basis.tdotx(v), m_basis.tdoty(v), m_basis.tdotz(v)));
  }

  static const Transform & getIdentity()
  {
    static const Transform identityTransform(Matrix3x3::getIdentity());
    return identityTransform;
  }

  bool operator==(const Transform & t) const
  {
    return m_basis == t.m_basis && m_origin == t.m_origin;
  }

private:
  Matrix3x3 m_basis;
  Vector3 m_origin;
};

}  // namespace tf2

#endif  // TF2__LINEARMATH__TRANSFORM_H_
