#include "tf2/buffer_core.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "console.hpp"
#include "transform_accum.hpp"

namespace tf2
{

namespace
{

// Upstream's tolerance on |q|^2 - 1 (sic: 10e-3, not 1e-3).
constexpr double QUATERNION_NORMALIZATION_TOLERANCE = 10e-3;

bool startsWithSlash(const std::string & frame_id)
{
  return !frame_id.empty() && frame_id[0] == '/';
}

std::string stripSlash(const std::string & in)
{
  return startsWithSlash(in) ? in.substr(1) : in;
}

TimePoint fromStamp(const builtin_interfaces::msg::Time & stamp)
{
  return TimePoint(std::chrono::seconds(stamp.sec) + std::chrono::nanoseconds(stamp.nanosec));
}

geometry_msgs::msg::TransformStamped toMsg(
  const tf2::Transform & transform, const TimePoint & stamp, const std::string & target_frame,
  const std::string & source_frame)
{
  geometry_msgs::msg::TransformStamped msg;
  msg.transform.translation.x = transform.getOrigin().x();
  msg.transform.translation.y = transform.getOrigin().y();
  msg.transform.translation.z = transform.getOrigin().z();
  const Quaternion q = transform.getRotation();
  msg.transform.rotation.x = q.x();
  msg.transform.rotation.y = q.y();
  msg.transform.rotation.z = q.z();
  msg.transform.rotation.w = q.w();
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(stamp.time_since_epoch());
  const auto s = std::chrono::duration_cast<std::chrono::seconds>(stamp.time_since_epoch());
  msg.header.stamp.sec = static_cast<int32_t>(s.count());
  msg.header.stamp.nanosec = static_cast<uint32_t>(ns.count() % 1000000000ull);
  msg.header.frame_id = target_frame;
  msg.child_frame_id = source_frame;
  return msg;
}

}  // namespace

BufferCore::BufferCore(tf2::Duration cache_time)
: cache_time_(cache_time)
{
  frameIDs_["NO_PARENT"] = 0;
  frames_.emplace_back();
  frameIDs_reverse_.emplace_back("NO_PARENT");
}

BufferCore::~BufferCore(void) = default;

void BufferCore::clear()
{
  std::unique_lock<std::mutex> lock(frame_mutex_);
  for (std::size_t i = 1; i < frames_.size(); ++i) {
    if (frames_[i]) {
      frames_[i]->clearList();
    }
  }
}

bool BufferCore::setTransform(
  const geometry_msgs::msg::TransformStamped & transform_in, const std::string & authority,
  bool is_static)
{
  const auto & t = transform_in.transform;
  const tf2::Transform tf2_transform(
    Quaternion(t.rotation.x, t.rotation.y, t.rotation.z, t.rotation.w),
    Vector3(t.translation.x, t.translation.y, t.translation.z));
  return setTransformImpl(
    tf2_transform, transform_in.header.frame_id, transform_in.child_frame_id,
    fromStamp(transform_in.header.stamp), authority, is_static);
}

bool BufferCore::setTransformImpl(
  const tf2::Transform & transform_in, const std::string frame_id, const std::string child_frame_id,
  const TimePoint stamp, const std::string & authority, bool is_static)
{
  const std::string stripped_frame_id = stripSlash(frame_id);
  const std::string stripped_child_frame_id = stripSlash(child_frame_id);

  // The checks and their texts follow upstream one by one: every failing check
  // logs, then the transform is dropped.
  bool error_exists = false;
  if (stripped_child_frame_id == stripped_frame_id) {
    TF2_CONSOLE_ERROR(
      "TF_SELF_TRANSFORM: Ignoring transform from authority \"%s\" with frame_id and "
      "child_frame_id  \"%s\" because they are the same",
      authority.c_str(), stripped_child_frame_id.c_str());
    error_exists = true;
  }

  if (stripped_child_frame_id.empty()) {
    TF2_CONSOLE_ERROR(
      "TF_NO_CHILD_FRAME_ID: Ignoring transform from authority \"%s\" because child_frame_id "
      "not set ",
      authority.c_str());
    error_exists = true;
  }

  if (stripped_frame_id.empty()) {
    TF2_CONSOLE_ERROR(
      "TF_NO_FRAME_ID: Ignoring transform with child_frame_id \"%s\"  from authority \"%s\" "
      "because frame_id not set",
      stripped_child_frame_id.c_str(), authority.c_str());
    error_exists = true;
  }

  const Vector3 & o = transform_in.getOrigin();
  const Quaternion r = transform_in.getRotation();
  if (
    std::isnan(o.x()) || std::isnan(o.y()) || std::isnan(o.z()) || std::isnan(r.x()) ||
    std::isnan(r.y()) || std::isnan(r.z()) || std::isnan(r.w())) {
    TF2_CONSOLE_ERROR(
      "TF_NAN_INPUT: Ignoring transform for child_frame_id \"%s\" from authority \"%s\" because "
      "of a nan value in the transform (%f %f %f) (%f %f %f %f)",
      stripped_child_frame_id.c_str(), authority.c_str(), o.x(), o.y(), o.z(), r.x(), r.y(), r.z(),
      r.w());
    error_exists = true;
  }

  // As upstream, this checks the rotation re-derived from the Transform's basis
  // matrix, which normalises any non-zero quaternion: a scaled quaternion is
  // accepted (and stored normalised); a zero one turns into NaN and fails both
  // this check and the NaN check above.
  const bool valid = std::abs(r.length2() - 1.0) < QUATERNION_NORMALIZATION_TOLERANCE;
  if (!valid) {
    TF2_CONSOLE_ERROR(
      "TF_DENORMALIZED_QUATERNION: Ignoring transform for child_frame_id \"%s\" from authority "
      "\"%s\" because of an invalid quaternion in the transform (%f %f %f %f)",
      stripped_child_frame_id.c_str(), authority.c_str(), r.x(), r.y(), r.z(), r.w());
    error_exists = true;
  }

  if (error_exists) {
    return false;
  }

  {
    std::unique_lock<std::mutex> lock(frame_mutex_);
    const CompactFrameID frame_number = lookupOrInsertFrameNumber(stripped_child_frame_id);
    TimeCacheInterfacePtr frame = getFrame(frame_number);
    if (!frame) {
      frame = allocateFrame(frame_number, is_static);
    }

    const CompactFrameID parent_number = lookupOrInsertFrameNumber(stripped_frame_id);
    if (frame->insertData(TransformStorage(stamp, r, o, parent_number, frame_number))) {
      frame_authority_[frame_number] = authority;
    } else {
      TF2_CONSOLE_WARN(
        "TF_OLD_DATA ignoring data from the past for frame %s at time %s according to authority "
        "%s\nPossible reasons are listed at http://wiki.ros.org/tf/Errors%%20explained",
        stripped_child_frame_id.c_str(), displayTimePoint(stamp).c_str(), authority.c_str());
      return false;
    }
  }

  testTransformableRequests();
  return true;
}

TimeCacheInterfacePtr BufferCore::allocateFrame(CompactFrameID cfid, bool is_static)
{
  // The kind of a frame is fixed by its first transform: a later static
  // transform for a dynamic frame (or the reverse) goes into the existing cache.
  if (is_static) {
    frames_[cfid] = std::make_shared<StaticCache>();
  } else {
    frames_[cfid] = std::make_shared<TimeCache>(cache_time_);
  }
  return frames_[cfid];
}

TimeCacheInterfacePtr BufferCore::getFrame(CompactFrameID frame_id) const
{
  if (frame_id >= frames_.size()) {
    return TimeCacheInterfacePtr();
  }
  return frames_[frame_id];
}

CompactFrameID BufferCore::lookupFrameNumber(const std::string & frameid_str) const
{
  const auto it = frameIDs_.find(frameid_str);
  return it == frameIDs_.end() ? 0 : it->second;
}

CompactFrameID BufferCore::lookupOrInsertFrameNumber(const std::string & frameid_str)
{
  CompactFrameID retval = lookupFrameNumber(frameid_str);
  if (retval == 0) {
    retval = static_cast<CompactFrameID>(frames_.size());
    frames_.emplace_back();
    frameIDs_[frameid_str] = retval;
    frameIDs_reverse_.push_back(frameid_str);
  }
  return retval;
}

const std::string & BufferCore::lookupFrameString(CompactFrameID frame_id_num) const
{
  if (frame_id_num >= frameIDs_reverse_.size()) {
    std::stringstream ss;
    ss << "Reverse lookup of frame id " << frame_id_num << " failed!";
    throw tf2::LookupException(ss.str());
  }
  return frameIDs_reverse_[frame_id_num];
}

CompactFrameID BufferCore::validateFrameId(
  const char * function_name_arg, const std::string & frame_id, std::string * error_msg) const
{
  // Without an error_msg to fill, upstream warns through console_bridge instead.
  auto report = [&](const char * rationale) {
    const std::string s =
      "Invalid frame ID \"" + frame_id + "\" passed to " + function_name_arg + " - " + rationale;
    if (error_msg != nullptr) {
      *error_msg = s;
    } else {
      TF2_CONSOLE_WARN("%s", s.c_str());
    }
  };
  if (frame_id.empty()) {
    report("in tf2 frame_ids cannot be empty");
    return 0;
  }
  if (startsWithSlash(frame_id)) {
    report("in tf2 frame_ids cannot start with a '/'");
    return 0;
  }
  const CompactFrameID id = lookupFrameNumber(frame_id);
  if (id == 0) {
    report("frame does not exist");
  }
  return id;
}

CompactFrameID BufferCore::validateFrameId(
  const char * function_name_arg, const std::string & frame_id) const
{
  if (frame_id.empty()) {
    throw tf2::InvalidArgumentException(
      "Invalid argument \"" + frame_id + "\" passed to " + function_name_arg +
      " - in tf2 frame_ids cannot be empty");
  }
  if (startsWithSlash(frame_id)) {
    throw tf2::InvalidArgumentException(
      "Invalid argument \"" + frame_id + "\" passed to " + function_name_arg +
      " - in tf2 frame_ids cannot start with a '/'");
  }
  const CompactFrameID id = lookupFrameNumber(frame_id);
  if (id == 0) {
    // Upstream's text ends with a space.
    throw tf2::LookupException(
      "\"" + frame_id + "\" passed to " + function_name_arg + " does not exist. ");
  }
  return id;
}

geometry_msgs::msg::TransformStamped BufferCore::lookupTransform(
  const std::string & target_frame, const std::string & source_frame, const TimePoint & time) const
{
  tf2::Transform transform;
  TimePoint time_out;
  lookupTransformImpl(target_frame, source_frame, time, transform, time_out);
  return toMsg(transform, time_out, target_frame, source_frame);
}

geometry_msgs::msg::TransformStamped BufferCore::lookupTransform(
  const std::string & target_frame, const TimePoint & target_time, const std::string & source_frame,
  const TimePoint & source_time, const std::string & fixed_frame) const
{
  tf2::Transform transform;
  TimePoint time_out;
  lookupTransformImpl(
    target_frame, target_time, source_frame, source_time, fixed_frame, transform, time_out);
  return toMsg(transform, time_out, target_frame, source_frame);
}

void BufferCore::lookupTransformImpl(
  const std::string & target_frame, const std::string & source_frame, const TimePoint & time,
  tf2::Transform & transform, TimePoint & time_out) const
{
  std::unique_lock<std::mutex> lock(frame_mutex_);

  // Identity, without validating the names (even an empty or unknown one).
  if (target_frame == source_frame) {
    transform.setIdentity();
    if (time == TimePointZero) {
      TimeCacheInterfacePtr cache = getFrame(lookupFrameNumber(target_frame));
      time_out = cache ? cache->getLatestTimestamp() : time;
    } else {
      time_out = time;
    }
    return;
  }

  const CompactFrameID target_id =
    validateFrameId("lookupTransform argument target_frame", target_frame);
  const CompactFrameID source_id =
    validateFrameId("lookupTransform argument source_frame", source_frame);

  std::string error_string;
  detail::TransformAccum accum;
  const tf2::TF2Error retval = walkToTopParent(accum, time, target_id, source_id, &error_string);
  switch (retval) {
    case tf2::TF2Error::TF2_NO_ERROR:
      break;
    case tf2::TF2Error::TF2_CONNECTIVITY_ERROR:
      throw ConnectivityException(error_string);
    case tf2::TF2Error::TF2_EXTRAPOLATION_ERROR:
      throw ExtrapolationException(error_string);
    default:
      throw LookupException(error_string);
  }

  time_out = accum.time;
  transform.setOrigin(accum.result_vec);
  transform.setRotation(accum.result_quat);
}

void BufferCore::lookupTransformImpl(
  const std::string & target_frame, const TimePoint & target_time, const std::string & source_frame,
  const TimePoint & source_time, const std::string & fixed_frame, tf2::Transform & transform,
  TimePoint & time_out) const
{
  {
    std::unique_lock<std::mutex> lock(frame_mutex_);
    validateFrameId("lookupTransform argument target_frame", target_frame);
    validateFrameId("lookupTransform argument source_frame", source_frame);
    validateFrameId("lookupTransform argument fixed_frame", fixed_frame);
  }

  tf2::Transform tf1;
  tf2::Transform tf2;
  lookupTransformImpl(fixed_frame, source_frame, source_time, tf1, time_out);
  lookupTransformImpl(target_frame, fixed_frame, target_time, tf2, time_out);
  transform = tf2 * tf1;
}

bool BufferCore::canTransformNoLock(
  CompactFrameID target_id, CompactFrameID source_id, const TimePoint & time,
  std::string * error_msg) const
{
  if (target_id == 0 || source_id == 0) {
    if (error_msg) {
      if (target_id == 0) {
        *error_msg +=
          std::string("target_frame: " + lookupFrameString(target_id) + " does not exist.");
      }
      if (source_id == 0) {
        if (target_id == 0) {
          *error_msg += std::string(" ");
        }
        *error_msg += std::string(
          "source_frame: " + lookupFrameString(source_id) + " " + lookupFrameString(source_id) +
          " does not exist.");
      }
    }
    return false;
  }

  if (target_id == source_id) {
    return true;
  }

  detail::CanTransformAccum accum;
  return walkToTopParent(accum, time, target_id, source_id, error_msg) ==
         tf2::TF2Error::TF2_NO_ERROR;
}

bool BufferCore::canTransformInternal(
  CompactFrameID target_id, CompactFrameID source_id, const TimePoint & time,
  std::string * error_msg) const
{
  std::unique_lock<std::mutex> lock(frame_mutex_);
  return canTransformNoLock(target_id, source_id, time, error_msg);
}

bool BufferCore::canTransform(
  const std::string & target_frame, const std::string & source_frame, const TimePoint & time,
  std::string * error_msg) const
{
  // Before any validation: the same name is always transformable.
  if (target_frame == source_frame) {
    return true;
  }

  std::unique_lock<std::mutex> lock(frame_mutex_);
  const CompactFrameID target_id =
    validateFrameId("canTransform argument target_frame", target_frame, error_msg);
  if (target_id == 0) {
    return false;
  }
  const CompactFrameID source_id =
    validateFrameId("canTransform argument source_frame", source_frame, error_msg);
  if (source_id == 0) {
    return false;
  }
  return canTransformNoLock(target_id, source_id, time, error_msg);
}

bool BufferCore::canTransform(
  const std::string & target_frame, const TimePoint & target_time, const std::string & source_frame,
  const TimePoint & source_time, const std::string & fixed_frame, std::string * error_msg) const
{
  CompactFrameID target_id = 0;
  CompactFrameID source_id = 0;
  CompactFrameID fixed_id = 0;
  {
    std::unique_lock<std::mutex> lock(frame_mutex_);
    target_id = validateFrameId("canTransform argument target_frame", target_frame, error_msg);
    if (target_id == 0) {
      return false;
    }
    source_id = validateFrameId("canTransform argument source_frame", source_frame, error_msg);
    if (source_id == 0) {
      return false;
    }
    fixed_id = validateFrameId("canTransform argument fixed_frame", fixed_frame, error_msg);
    if (fixed_id == 0) {
      return false;
    }
  }
  return canTransformInternal(target_id, fixed_id, target_time, error_msg) &&
         canTransformInternal(fixed_id, source_id, source_time, error_msg);
}

}  // namespace tf2
