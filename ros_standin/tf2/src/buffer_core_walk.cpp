// The tree walks behind every lookup: from both frames up to their common
// parent, at one time (or at the latest common time for TimePointZero).

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tf2/buffer_core.h"
#include "transform_accum.hpp"

namespace tf2
{

void BufferCore::createConnectivityErrorString(
  CompactFrameID source_frame, CompactFrameID target_frame, std::string * out) const
{
  if (!out) {
    return;
  }
  // No space after "tree.": upstream concatenates the two sentences as is.
  *out = std::string(
    "Could not find a connection between '" + lookupFrameString(target_frame) + "' and '" +
    lookupFrameString(source_frame) + "' because they are not part of the same tree." +
    "Tf has two or more unconnected trees.");
}

template<typename F>
tf2::TF2Error BufferCore::walkToTopParent(
  F & f, TimePoint time, CompactFrameID target_id, CompactFrameID source_id,
  std::string * error_string) const
{
  // Short circuit a zero length transform, so that it works on unknown frames.
  if (source_id == target_id) {
    f.finalize(detail::Identity, time);
    return tf2::TF2Error::TF2_NO_ERROR;
  }

  if (time == TimePointZero) {
    const tf2::TF2Error retval = getLatestCommonTime(target_id, source_id, time, error_string);
    if (retval != tf2::TF2Error::TF2_NO_ERROR) {
      return retval;
    }
  }

  // Walk from the source frame up to its root, accumulating the transform.
  CompactFrameID frame = source_id;
  CompactFrameID top_parent = frame;
  uint32_t depth = 0;
  std::string extrapolation_error_string;
  bool extrapolation_might_have_occurred = false;

  while (frame != 0) {
    TimeCacheInterfacePtr cache = getFrame(frame);
    if (!cache) {
      // The root of the tree has no cache.
      top_parent = frame;
      break;
    }

    const CompactFrameID parent =
      f.gather(cache, time, error_string ? &extrapolation_error_string : nullptr);
    if (parent == 0) {
      // There may still be a path from the target up to this frame.
      top_parent = frame;
      extrapolation_might_have_occurred = true;
      break;
    }

    // The target is an ancestor of the source: done.
    if (frame == target_id) {
      f.finalize(detail::TargetParentOfSource, time);
      return tf2::TF2Error::TF2_NO_ERROR;
    }

    f.accum(true);

    top_parent = frame;
    frame = parent;

    ++depth;
    if (depth > MAX_GRAPH_DEPTH) {
      if (error_string) {
        std::stringstream ss;
        ss << "The tf tree is invalid because it contains a loop." << std::endl
           << allFramesAsStringNoLock() << std::endl;
        *error_string = ss.str();
      }
      return tf2::TF2Error::TF2_LOOKUP_ERROR;
    }
  }

  // Walk from the target frame up to the source's top parent.
  frame = target_id;
  depth = 0;
  while (frame != top_parent) {
    TimeCacheInterfacePtr cache = getFrame(frame);
    if (!cache) {
      break;
    }

    const CompactFrameID parent = f.gather(cache, time, error_string);
    if (parent == 0) {
      if (error_string) {
        std::stringstream ss;
        ss << *error_string << ", when looking up transform from frame ["
           << lookupFrameString(source_id) << "] to frame [" << lookupFrameString(target_id) << "]";
        *error_string = ss.str();
      }
      return tf2::TF2Error::TF2_EXTRAPOLATION_ERROR;
    }

    // The source is an ancestor of the target: done.
    if (frame == source_id) {
      f.finalize(detail::SourceParentOfTarget, time);
      return tf2::TF2Error::TF2_NO_ERROR;
    }

    f.accum(false);

    frame = parent;

    ++depth;
    if (depth > MAX_GRAPH_DEPTH) {
      if (error_string) {
        std::stringstream ss;
        ss << "The tf tree is invalid because it contains a loop." << std::endl
           << allFramesAsStringNoLock() << std::endl;
        *error_string = ss.str();
      }
      return tf2::TF2Error::TF2_LOOKUP_ERROR;
    }
  }

  if (frame != top_parent) {
    if (extrapolation_might_have_occurred) {
      if (error_string) {
        std::stringstream ss;
        ss << extrapolation_error_string << ", when looking up transform from frame ["
           << lookupFrameString(source_id) << "] to frame [" << lookupFrameString(target_id) << "]";
        *error_string = ss.str();
      }
      return tf2::TF2Error::TF2_EXTRAPOLATION_ERROR;
    }

    createConnectivityErrorString(source_id, target_id, error_string);
    return tf2::TF2Error::TF2_CONNECTIVITY_ERROR;
  }

  f.finalize(detail::FullPath, time);
  return tf2::TF2Error::TF2_NO_ERROR;
}

tf2::TF2Error BufferCore::getLatestCommonTime(
  CompactFrameID target_id, CompactFrameID source_id, TimePoint & time,
  std::string * error_string) const
{
  if (source_id == 0 || target_id == 0) {
    return tf2::TF2Error::TF2_LOOKUP_ERROR;
  }

  if (source_id == target_id) {
    TimeCacheInterfacePtr cache = getFrame(source_id);
    time = cache ? cache->getLatestTimestamp() : TimePoint();
    return tf2::TF2Error::TF2_NO_ERROR;
  }

  auto loop_error = [&]() {
    if (error_string) {
      std::stringstream ss;
      ss << "The tf tree is invalid because it contains a loop." << std::endl
         << allFramesAsStringNoLock() << std::endl;
      *error_string = ss.str();
    }
    return tf2::TF2Error::TF2_LOOKUP_ERROR;
  };

  // Walk from the source to its root, remembering each parent and its newest
  // stamp. Static frames report a zero stamp, which does not constrain the time.
  std::vector<P_TimeAndFrameID> lct_cache;
  CompactFrameID frame = source_id;
  uint32_t depth = 0;
  TimePoint common_time = TimePoint::max();
  while (frame != 0) {
    TimeCacheInterfacePtr cache = getFrame(frame);
    if (!cache) {
      break;
    }
    const P_TimeAndFrameID latest = cache->getLatestTimeAndSource();
    if (latest.second == 0) {
      break;
    }
    if (latest.first != TimePoint()) {
      common_time = std::min(latest.first, common_time);
    }
    lct_cache.push_back(latest);
    frame = latest.second;

    // The target is an ancestor of the source.
    if (frame == target_id) {
      time = common_time == TimePoint::max() ? TimePoint() : common_time;
      return tf2::TF2Error::TF2_NO_ERROR;
    }

    ++depth;
    if (depth > MAX_GRAPH_DEPTH) {
      return loop_error();
    }
  }

  // Walk from the target up until it meets the source's chain.
  frame = target_id;
  depth = 0;
  common_time = TimePoint::max();
  CompactFrameID common_parent = 0;
  while (true) {
    TimeCacheInterfacePtr cache = getFrame(frame);
    if (!cache) {
      break;
    }
    const P_TimeAndFrameID latest = cache->getLatestTimeAndSource();
    if (latest.second == 0) {
      break;
    }
    if (latest.first != TimePoint()) {
      common_time = std::min(latest.first, common_time);
    }

    const auto it = std::find_if(
      lct_cache.begin(), lct_cache.end(),
      [&latest](const P_TimeAndFrameID & entry) { return entry.second == latest.second; });
    if (it != lct_cache.end()) {
      common_parent = it->second;
      break;
    }

    frame = latest.second;

    // The source is an ancestor of the target.
    if (frame == source_id) {
      time = common_time == TimePoint::max() ? TimePoint() : common_time;
      return tf2::TF2Error::TF2_NO_ERROR;
    }

    ++depth;
    if (depth > MAX_GRAPH_DEPTH) {
      return loop_error();
    }
  }

  if (common_parent == 0) {
    createConnectivityErrorString(source_id, target_id, error_string);
    return tf2::TF2Error::TF2_CONNECTIVITY_ERROR;
  }

  // Add the source side's stamps up to the common parent.
  for (const auto & entry : lct_cache) {
    if (entry.first != TimePoint()) {
      common_time = std::min(common_time, entry.first);
    }
    if (entry.second == common_parent) {
      break;
    }
  }

  time = common_time == TimePoint::max() ? TimePoint() : common_time;
  return tf2::TF2Error::TF2_NO_ERROR;
}

template tf2::TF2Error BufferCore::walkToTopParent<detail::TransformAccum>(
  detail::TransformAccum &, TimePoint, CompactFrameID, CompactFrameID, std::string *) const;
template tf2::TF2Error BufferCore::walkToTopParent<detail::CanTransformAccum>(
  detail::CanTransformAccum &, TimePoint, CompactFrameID, CompactFrameID, std::string *) const;

}  // namespace tf2
