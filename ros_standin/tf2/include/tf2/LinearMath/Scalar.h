#ifndef TF2__LINEARMATH__SCALAR_H_
#define TF2__LINEARMATH__SCALAR_H_

#include <cmath>

// tf2's LinearMath is Bullet's, in double precision. Only the helpers the rest
// of the stand-in uses are mirrored.

typedef double tf2Scalar;

#define TF2SIMD_PI tf2Scalar(3.1415926535897932384626433832795029)
#define TF2SIMD_2_PI (tf2Scalar(2.0) * TF2SIMD_PI)
#define TF2SIMD_HALF_PI (TF2SIMD_PI * tf2Scalar(0.5))

inline tf2Scalar tf2Sqrt(tf2Scalar x)
{
  return std::sqrt(x);
}
inline tf2Scalar tf2Fabs(tf2Scalar x)
{
  return std::fabs(x);
}
inline tf2Scalar tf2Cos(tf2Scalar x)
{
  return std::cos(x);
}
inline tf2Scalar tf2Sin(tf2Scalar x)
{
  return std::sin(x);
}
inline tf2Scalar tf2Atan2(tf2Scalar x, tf2Scalar y)
{
  return std::atan2(x, y);
}

// Clamped like Bullet's, so that rounding just past +-1 gives 0 or pi, not NaN.
inline tf2Scalar tf2Acos(tf2Scalar x)
{
  if (x < tf2Scalar(-1)) {
    x = tf2Scalar(-1);
  }
  if (x > tf2Scalar(1)) {
    x = tf2Scalar(1);
  }
  return std::acos(x);
}

inline tf2Scalar tf2Asin(tf2Scalar x)
{
  if (x < tf2Scalar(-1)) {
    x = tf2Scalar(-1);
  }
  if (x > tf2Scalar(1)) {
    x = tf2Scalar(1);
  }
  return std::asin(x);
}

#endif  // TF2__LINEARMATH__SCALAR_H_
