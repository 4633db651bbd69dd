#ifndef TF2_GEOMETRY_MSGS__TF2_GEOMETRY_MSGS_HPP_
#define TF2_GEOMETRY_MSGS__TF2_GEOMETRY_MSGS_HPP_

// Conversions between geometry_msgs and the tf2 LinearMath types, and
// doTransform for the messages the costmap stand-in transforms. Upstream also
// pulls in tf2_ros/buffer_interface.h and KDL; neither is needed here.

#include <chrono>
#include <string>

#include "builtin_interfaces/msg/time.hpp"
#include "geometry_msgs/msg/point.hpp"
#include "geometry_msgs/msg/pose.hpp"
#include "geometry_msgs/msg/pose_stamped.hpp"
#include "geometry_msgs/msg/quaternion.hpp"
#include "geometry_msgs/msg/transform.hpp"
#include "geometry_msgs/msg/transform_stamped.hpp"
#include "geometry_msgs/msg/vector3.hpp"
#include "tf2/LinearMath/Quaternion.h"
#include "tf2/LinearMath/Transform.h"
#include "tf2/LinearMath/Vector3.h"
#include "tf2/convert.h"
#include "tf2/time.h"
#include "tf2/transform_datatypes.h"

namespace tf2_geometry_msgs
{
namespace detail
{

// What upstream borrows from tf2_ros::fromMsg / toMsg.
inline tf2::TimePoint fromStamp(const builtin_interfaces::msg::Time & stamp)
{
  return tf2::TimePoint(std::chrono::seconds(stamp.sec) + std::chrono::nanoseconds(stamp.nanosec));
}

inline builtin_interfaces::msg::Time toStamp(const tf2::TimePoint & t)
{
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch());
  const auto s = std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch());
  builtin_interfaces::msg::Time stamp;
  stamp.sec = static_cast<int32_t>(s.count());
  stamp.nanosec = static_cast<uint32_t>(ns.count() % 1000000000ull);
  return stamp;
}

}  // namespace detail
}  // namespace tf2_geometry_msgs

namespace tf2
{

// ---- Vector3 ----

inline geometry_msgs::msg::Vector3 toMsg(const tf2::Vector3 & in)
{
  geometry_msgs::msg::Vector3 out;
  out.x = in.getX();
  out.y = in.getY();
  out.z = in.getZ();
  return out;
}

inline void fromMsg(const geometry_msgs::msg::Vector3 & in, tf2::Vector3 & out)
{
  out = tf2::Vector3(in.x, in.y, in.z);
}

/// @brief Rotates the vector only: a vector has no position to translate.
template<>
inline void doTransform(
  const geometry_msgs::msg::Vector3 & t_in, geometry_msgs::msg::Vector3 & t_out,
  const geometry_msgs::msg::TransformStamped & transform)
{
  tf2::Transform t;
  t.setRotation(tf2::Quaternion(
    transform.transform.rotation.x, transform.transform.rotation.y, transform.transform.rotation.z,
    transform.transform.rotation.w));
  tf2::Vector3 v_in;
  fromMsg(t_in, v_in);
  t_out = toMsg(t.getBasis() * v_in);
}

// ---- Point ----

inline geometry_msgs::msg::Point & toMsg(const tf2::Vector3 & in, geometry_msgs::msg::Point & out)
{
  out.x = in.getX();
  out.y = in.getY();
  out.z = in.getZ();
  return out;
}

inline void fromMsg(const geometry_msgs::msg::Point & in, tf2::Vector3 & out)
{
  out = tf2::Vector3(in.x, in.y, in.z);
}

// ---- Quaternion ----

inline geometry_msgs::msg::Quaternion toMsg(const tf2::Quaternion & in)
{
  geometry_msgs::msg::Quaternion out;
  out.w = in.getW();
  out.x = in.getX();
  out.y = in.getY();
  out.z = in.getZ();
  return out;
}

inline void fromMsg(const geometry_msgs::msg::Quaternion & in, tf2::Quaternion & out)
{
  out = tf2::Quaternion(in.x, in.y, in.z, in.w);
}

// ---- Transform ----

inline geometry_msgs::msg::Transform toMsg(const tf2::Transform & in)
{
  geometry_msgs::msg::Transform out;
  out.translation = toMsg(in.getOrigin());
  out.rotation = toMsg(in.getRotation());
  return out;
}

inline void fromMsg(const geometry_msgs::msg::Transform & in, tf2::Transform & out)
{
  tf2::Vector3 v;
  fromMsg(in.translation, v);
  out.setOrigin(v);
  tf2::Quaternion q;
  fromMsg(in.rotation, q);
  out.setRotation(q);
}

inline geometry_msgs::msg::TransformStamped toMsg(const tf2::Stamped<tf2::Transform> & in)
{
  geometry_msgs::msg::TransformStamped out;
  out.header.stamp = tf2_geometry_msgs::detail::toStamp(in.stamp_);
  out.header.frame_id = in.frame_id_;
  out.transform.translation = toMsg(in.getOrigin());
  out.transform.rotation = toMsg(in.getRotation());
  return out;
}

inline void fromMsg(
  const geometry_msgs::msg::TransformStamped & msg, tf2::Stamped<tf2::Transform> & out)
{
  out.stamp_ = tf2_geometry_msgs::detail::fromStamp(msg.header.stamp);
  out.frame_id_ = msg.header.frame_id;
  tf2::Transform tmp;
  fromMsg(msg.transform, tmp);
  out.setData(tmp);
}

template<>
inline tf2::TimePoint getTimestamp(const geometry_msgs::msg::TransformStamped & t)
{
  return tf2_geometry_msgs::detail::fromStamp(t.header.stamp);
}

template<>
inline std::string getFrameId(const geometry_msgs::msg::TransformStamped & t)
{
  return t.header.frame_id;
}

// ---- Pose ----

inline geometry_msgs::msg::Pose & toMsg(const tf2::Transform & in, geometry_msgs::msg::Pose & out)
{
  out.position.x = in.getOrigin().getX();
  out.position.y = in.getOrigin().getY();
  out.position.z = in.getOrigin().getZ();
  out.orientation = toMsg(in.getRotation());
  return out;
}

inline void fromMsg(const geometry_msgs::msg::Pose & in, tf2::Transform & out)
{
  out.setOrigin(tf2::Vector3(in.position.x, in.position.y, in.position.z));
  out.setRotation(
    tf2::Quaternion(in.orientation.x, in.orientation.y, in.orientation.z, in.orientation.w));
}

template<>
inline tf2::TimePoint getTimestamp(const geometry_msgs::msg::PoseStamped & t)
{
  return tf2_geometry_msgs::detail::fromStamp(t.header.stamp);
}

template<>
inline std::string getFrameId(const geometry_msgs::msg::PoseStamped & t)
{
  return t.header.frame_id;
}

// ---- doTransform ----

template<>
inline void doTransform(
  const geometry_msgs::msg::Point & t_in, geometry_msgs::msg::Point & t_out,
  const geometry_msgs::msg::TransformStamped & transform)
{
  tf2::Transform t;
  fromMsg(transform.transform, t);
  tf2::Vector3 v_in;
  fromMsg(t_in, v_in);
  const tf2::Vector3 v_out = t * v_in;
  toMsg(v_out, t_out);
}

template<>
inline void doTransform(
  const geometry_msgs::msg::Quaternion & t_in, geometry_msgs::msg::Quaternion & t_out,
  const geometry_msgs::msg::TransformStamped & transform)
{
  tf2::Quaternion t;
  fromMsg(transform.transform.rotation, t);
  tf2::Quaternion q_in;
  fromMsg(t_in, q_in);
  t_out = toMsg(t * q_in);
}

template<>
inline void doTransform(
  const geometry_msgs::msg::Pose & t_in, geometry_msgs::msg::Pose & t_out,
  const geometry_msgs::msg::TransformStamped & transform)
{
  tf2::Vector3 v;
  fromMsg(t_in.position, v);
  tf2::Quaternion r;
  fromMsg(t_in.orientation, r);
  tf2::Transform t;
  fromMsg(transform.transform, t);
  const tf2::Transform v_out = t * tf2::Transform(r, v);
  toMsg(v_out, t_out);
}

/// @brief The pose expressed in the transform's frame, stamped with the transform's stamp.
template<>
inline void doTransform(
  const geometry_msgs::msg::PoseStamped & t_in, geometry_msgs::msg::PoseStamped & t_out,
  const geometry_msgs::msg::TransformStamped & transform)
{
  doTransform(t_in.pose, t_out.pose, transform);
  t_out.header.stamp = transform.header.stamp;
  t_out.header.frame_id = transform.header.frame_id;
}

}  // namespace tf2

#endif  // TF2_GEOMETRY_MSGS__TF2_GEOMETRY_MSGS_HPP_
