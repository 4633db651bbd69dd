#ifndef TF2__TRANSFORM_ACCUM_HPP_
#define TF2__TRANSFORM_ACCUM_HPP_

// Internal. The two visitors BufferCore::walkToTopParent drives up the tree, as
// in upstream buffer_core.cpp: one only checks that a path exists, the other
// composes the transforms met on the way.

#include <string>

#include "tf2/LinearMath/Quaternion.h"
#include "tf2/LinearMath/Vector3.h"
#include "tf2/time.h"
#include "tf2/time_cache.h"
#include "tf2/transform_storage.h"

namespace tf2
{
namespace detail
{

enum WalkEnding
{
  Identity,
  TargetParentOfSource,
  SourceParentOfTarget,
  FullPath,
};

// Only checks that a path exists.
struct CanTransformAccum
{
  CompactFrameID gather(TimeCacheInterfacePtr cache, TimePoint time, std::string * error_string)
  {
    return cache->getParent(time, error_string);
  }
  void accum(bool) {}
  void finalize(WalkEnding, TimePoint) {}

  TransformStorage st;
};

// Composes the transforms met on the way up from the source and from the
// target, then joins the two halves at the common parent.
struct TransformAccum
{
  CompactFrameID gather(TimeCacheInterfacePtr cache, TimePoint time, std::string * error_string)
  {
    if (!cache->getData(time, st, error_string)) {
      return 0;
    }
    return st.frame_id_;
  }

  void accum(bool source)
  {
    if (source) {
      source_to_top_vec = quatRotate(st.rotation_, source_to_top_vec) + st.translation_;
      source_to_top_quat = st.rotation_ * source_to_top_quat;
    } else {
      target_to_top_vec = quatRotate(st.rotation_, target_to_top_vec) + st.translation_;
      target_to_top_quat = st.rotation_ * target_to_top_quat;
    }
  }

  void finalize(WalkEnding end, TimePoint _time)
  {
    switch (end) {
      case Identity:
        break;
      case TargetParentOfSource:
        result_vec = source_to_top_vec;
        result_quat = source_to_top_quat;
        break;
      case SourceParentOfTarget: {
        const Quaternion inv_target_quat = target_to_top_quat.inverse();
        result_vec = quatRotate(inv_target_quat, -target_to_top_vec);
        result_quat = inv_target_quat;
        break;
      }
      case FullPath: {
        const Quaternion inv_target_quat = target_to_top_quat.inverse();
        const Vector3 inv_target_vec = quatRotate(inv_target_quat, -target_to_top_vec);
        result_vec = quatRotate(inv_target_quat, source_to_top_vec) + inv_target_vec;
        result_quat = inv_target_quat * source_to_top_quat;
        break;
      }
    }
    time = _time;
  }

  TransformStorage st;
  TimePoint time;
  Quaternion source_to_top_quat{0.0, 0.0, 0.0, 1.0};
  Vector3 source_to_top_vec{0.0, 0.0, 0.0};
  Quaternion target_to_top_quat{0.0, 0.0, 0.0, 1.0};
  Vector3 target_to_top_vec{0.0, 0.0, 0.0};
  Quaternion result_quat{0.0, 0.0, 0.0, 1.0};
  Vector3 result_vec{0.0, 0.0, 0.0};
};

}  // namespace detail
}  // namespace tf2

#endif  // TF2__TRANSFORM_ACCUM_HPP_
