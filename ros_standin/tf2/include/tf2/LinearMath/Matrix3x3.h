#ifndef TF2__LINEARMATH__MATRIX3X3_H_
#define TF2__LINEARMATH__MATRIX3X3_H_

#include "tf2/LinearMath/Quaternion.h"
#include "tf2/LinearMath/Scalar.h"
#include "tf2/LinearMath/Vector3.h"

namespace tf2
{

/// @brief A 3x3 rotation matrix, stored as rows (Bullet's btMatrix3x3).
class Matrix3x3
{
public:
  Matrix3x3() = default;
  explicit Matrix3x3(const Quaternion & q) { setRotation(q); }
  Matrix3x3(
    const tf2Scalar & xx, const tf2Scalar & xy, const tf2Scalar & xz, const tf2Scalar & yx,
    const tf2Scalar & yy, const tf2Scalar & yz, const tf2Scalar & zx, const tf2Scalar & zy,
    const tf2Scalar & zz)
  {
    setValue(xx, xy, xz, yx, yy, yz, zx, zy, zz);
  }

  void setValue(
    const tf2Scalar & xx, const tf2Scalar & xy, const tf2Scalar & xz, const tf2Scalar & yx,
    const tf2Scalar & yy, const tf2Scalar & yz, const tf2Scalar & zx, const tf2Scalar & zy,
    const tf2Scalar & zz)
  {
    m_el[0].setValue(xx, xy, xz);
    m_el[1].setValue(yx, yy, yz);
    m_el[2].setValue(zx, zy, zz);
  }

  Vector3 getColumn(int i) const { return Vector3(m_el[0][i], m_el[1][i], m_el[2][i]); }
  const Vector3 & getRow(int i) const { return m_el[i]; }
  Vector3 & operator[](int i) { return m_el[i]; }
  const Vector3 & operator[](int i) const { return m_el[i]; }

  void setIdentity() { setValue(1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0); }
  static const Matrix3x3 & getIdentity()
  {
    static const Matrix3x3 identityMatrix(1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0);
    return identityMatrix;
  }

  void setRotation(const Quaternion & q)
  {
    const tf2Scalar d = q.length2();
    const tf2Scalar s = tf2Scalar(2.0) / d;
    const tf2Scalar xs = q.x() * s, ys = q.y() * s, zs = q.z() * s;
    const tf2Scalar wx = q.w() * xs, wy = q.w() * ys, wz = q.w() * zs;
    const tf2Scalar xx = q.x() * xs, xy = q.x() * ys, xz = q.x() * zs;
    const tf2Scalar yy = q.y() * ys, yz = q.y() * zs, zz = q.z() * zs;
    setValue(
      tf2Scalar(1.0) - (yy + zz), xy - wz, xz + wy, xy + wz, tf2Scalar(1.0) - (xx + zz), yz - wx,
      xz - wy, yz + wx, tf2Scalar(1.0) - (xx + yy));
  }

  void getRotation(Quaternion & q) const
  {
    const tf2Scalar trace = m_el[0].x() + m_el[1].y() + m_el[2].z();
    tf2Scalar temp[4];
    if (trace > tf2Scalar(0.0)) {
      tf2Scalar s = tf2Sqrt(trace + tf2Scalar(1.0));
      temp[3] = s * tf2Scalar(0.5);
      s = tf2Scalar(0.5) / s;
      temp[0] = (m_el[2].y() - m_el[1].z()) * s;
      temp[1] = (m_el[0].z() - m_el[2].x()) * s;
      temp[2] = (m_el[1].x() - m_el[0].y()) * s;
    } else {
      const int i = m_el[0].x() < m_el[1].y() ? (m_el[1].y() < m_el[2].z() ? 2 : 1)
                                              : (m_el[0].x() < m_el[2].z() ? 2 : 0);
      const int j = (i + 1) % 3;
      const int k = (i + 2) % 3;
      tf2Scalar s = tf2Sqrt(m_el[i][i] - m_el[j][j] - m_el[k][k] + tf2Scalar(1.0));
      temp[i] = s * tf2Scalar(0.5);
      s = tf2Scalar(0.5) / s;
      temp[3] = (m_el[k][j] - m_el[j][k]) * s;
      temp[j] = (m_el[j][i] + m_el[i][j]) * s;
      temp[k] = (m_el[k][i] + m_el[i][k]) * s;
    }
    q.setValue(temp[0], temp[1], temp[2], temp[3]);
  }

  /// @brief Fixed-axis roll (X), pitch (Y), yaw (Z).
  void setRPY(tf2Scalar roll, tf2Scalar pitch, tf2Scalar yaw) { setEulerYPR(yaw, pitch, roll); }

  void setEulerYPR(tf2Scalar eulerZ, tf2Scalar eulerY, tf2Scalar eulerX)
  {
    const tf2Scalar ci(tf2Cos(eulerX)), cj(tf2Cos(eulerY)), ch(tf2Cos(eulerZ));
    const tf2Scalar si(tf2Sin(eulerX)), sj(tf2Sin(eulerY)), sh(tf2Sin(eulerZ));
    const tf2Scalar cc = ci * ch, cs = ci * sh, sc = si * ch, ss = si * sh;
    setValue(
      cj * ch, sj * sc - cs, sj * cc + ss, cj * sh, sj * ss + cc, sj * cs - sc, -sj, cj * si,
      cj * ci);
  }

  /// @brief Yaw (Z), pitch (Y), roll (X); solution 2 is the other of the two solutions.
  void getEulerYPR(
    tf2Scalar & yaw, tf2Scalar & pitch, tf2Scalar & roll, unsigned int solution_number = 1) const
  {
    struct Euler
    {
      tf2Scalar yaw;
      tf2Scalar pitch;
      tf2Scalar roll;
    };
    Euler euler_out;
    Euler euler_out2;
    if (tf2Fabs(m_el[2].x()) >= 1) {
      // Gimbal lock: only the sum (or difference) of yaw and roll is defined.
      euler_out.yaw = 0;
      euler_out2.yaw = 0;
      const tf2Scalar delta = tf2Atan2(m_el[2].y(), m_el[2].z());
      const tf2Scalar pitch_lock =
        m_el[2].x() < 0 ? TF2SIMD_PI / tf2Scalar(2.0) : -TF2SIMD_PI / tf2Scalar(2.0);
      euler_out.pitch = pitch_lock;
      euler_out2.pitch = pitch_lock;
      euler_out.roll = delta;
      euler_out2.roll = delta;
    } else {
      euler_out.pitch = -tf2Asin(m_el[2].x());
      euler_out2.pitch = TF2SIMD_PI - euler_out.pitch;
      euler_out.roll =
        tf2Atan2(m_el[2].y() / tf2Cos(euler_out.pitch), m_el[2].z() / tf2Cos(euler_out.pitch));
      euler_out2.roll =
        tf2Atan2(m_el[2].y() / tf2Cos(euler_out2.pitch), m_el[2].z() / tf2Cos(euler_out2.pitch));
      euler_out.yaw =
        tf2Atan2(m_el[1].x() / tf2Cos(euler_out.pitch), m_el[0].x() / tf2Cos(euler_out.pitch));
      euler_out2.yaw =
        tf2Atan2(m_el[1].x() / tf2Cos(euler_out2.pitch), m_el[0].x() / tf2Cos(euler_out2.pitch));
    }
    const Euler & e = solution_number == 1 ? euler_out : euler_out2;
    yaw = e.yaw;
    pitch = e.pitch;
    roll = e.roll;
  }

  void getRPY(
    tf2Scalar & roll, tf2Scalar & pitch, tf2Scalar & yaw, unsigned int solution_number = 1) const
  {
    getEulerYPR(yaw, pitch, roll, solution_number);
  }

  Matrix3x3 transpose() const
  {
    return Matrix3x3(
      m_el[0].x(), m_el[1].x(), m_el[2].x(), m_el[0].y(), m_el[1].y(), m_el[2].y(), m_el[0].z(),
      m_el[1].z(), m_el[2].z());
  }

  tf2Scalar tdotx(const Vector3 & v) const
  {
    return m_el[0].x() * v.x() + m_el[1].x() * v.y() + m_el[2].x() * v.z();
  }
  tf2Scalar tdoty(const Vector3 & v) const
  {
    return m_el[0].y() * v.x() + m_el[1].y() * v.y() + m_el[2].y() * v.z();
  }
  tf2Scalar tdotz(const Vector3 & v) const
  {
    return m_el[0].z() * v.x() + m_el[1].z() * v.y() + m_el[2].z() * v.z();
  }

  bool operator==(const Matrix3x3 & m) const
  {
    return m_el[0] == m.m_el[0] && m_el[1] == m.m_el[1] && m_el[2] == m.m_el[2];
  }

private:
  Vector3 m_el[3];
};

inline Vector3 operator*(const Matrix3x3 & m, const Vector3 & v)
{
  return Vector3(m[0].dot(v), m[1].dot(v), m[2].dot(v));
}

inline Matrix3x3 operator*(const Matrix3x3 & m1, const Matrix3x3 & m2)
{
  return Matrix3x3(
    m2.tdotx(m1[0]), m2.tdoty(m1[0]), m2.tdotz(m1[0]), m2.tdotx(m1[1]), m2.tdoty(m1[1]),
    m2.tdotz(m1[1]), m2.tdotx(m1[2]), m2.tdoty(m1[2]), m2.tdotz(m1[2]));
}

}  // namespace tf2

#endif  // TF2__LINEARMATH__MATRIX3X3_H_
