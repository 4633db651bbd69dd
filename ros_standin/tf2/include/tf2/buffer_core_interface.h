#ifndef TF2__BUFFER_CORE_INTERFACE_H_
#define TF2__BUFFER_CORE_INTERFACE_H_

#include <memory>
#include <string>
#include <vector>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "tf2/time.h"

namespace tf2
{

/// @brief The transform queries every tf2 buffer answers.
class BufferCoreInterface
{
public:
  using SharedPtr = std::shared_ptr<BufferCoreInterface>;

  virtual ~BufferCoreInterface() = default;

  /// @brief Forget all buffered (non-static) data.
  virtual void clear() = 0;

  /// @brief The transform taking data from source_frame into target_frame at `time`.
  virtual geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const std::string & source_frame,
    const tf2::TimePoint & time) const = 0;

  /// @brief The transform from source_frame at source_time to target_frame at
  /// target_time, through fixed_frame.
  virtual geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const tf2::TimePoint & target_time,
    const std::string & source_frame, const tf2::TimePoint & source_time,
    const std::string & fixed_frame) const = 0;

  /// @brief Whether lookupTransform would succeed; the reason if not.
  virtual bool canTransform(
    const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
    std::string * error_msg) const = 0;

  virtual bool canTransform(
    const std::string & target_frame, const tf2::TimePoint & target_time,
    const std::string & source_frame, const tf2::TimePoint & source_time,
    const std::string & fixed_frame, std::string * error_msg) const = 0;

  /// @brief Every frame the buffer has heard of.
  virtual std::vector<std::string> getAllFrameNames() const = 0;
};

}  // namespace tf2

#endif  // TF2__BUFFER_CORE_INTERFACE_H_
