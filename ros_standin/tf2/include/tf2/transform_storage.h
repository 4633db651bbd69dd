#ifndef TF2__TRANSFORM_STORAGE_H_
#define TF2__TRANSFORM_STORAGE_H_

#include <cstdint>

#include "tf2/LinearMath/Quaternion.h"
#include "tf2/LinearMath/Vector3.h"
#include "tf2/time.h"

namespace tf2
{

/// @brief BufferCore's integer handle for a frame name (0 means "no frame").
typedef uint32_t CompactFrameID;

/// @brief One buffered transform: child frame -> parent frame at one stamp.
class TransformStorage
{
public:
  TransformStorage() = default;
  TransformStorage(
    const TimePoint & stamp, const Quaternion & q, const Vector3 & t, CompactFrameID frame_id,
    CompactFrameID child_frame_id)
  : rotation_(q),
    translation_(t),
    stamp_(stamp),
    frame_id_(frame_id),
    child_frame_id_(child_frame_id)
  {
  }

  tf2::Quaternion rotation_;
  tf2::Vector3 translation_;
  TimePoint stamp_;
  CompactFrameID frame_id_ = 0;
  CompactFrameID child_frame_id_ = 0;
};

}  // namespace tf2

#endif  // TF2__TRANSFORM_STORAGE_H_
