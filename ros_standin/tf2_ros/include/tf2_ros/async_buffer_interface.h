#ifndef TF2_ROS__ASYNC_BUFFER_INTERFACE_H_
#define TF2_ROS__ASYNC_BUFFER_INTERFACE_H_

#include <functional>
#include <future>
#include <string>
#include <utility>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "tf2/buffer_core.h"
#include "tf2/time.h"

namespace tf2_ros
{

/// @brief The result of Buffer::waitForTransform: a shared future that also
/// remembers the BufferCore request it belongs to, so that cancel() can find it.
class TransformStampedFuture : public std::shared_future<geometry_msgs::msg::TransformStamped>
{
  using BaseType = std::shared_future<geometry_msgs::msg::TransformStamped>;

public:
  /// @brief An invalid future (no shared state).
  TransformStampedFuture() noexcept
  : BaseType()
  {
  }

  /// @brief Wraps a shared future; the request handle is 0 until set.
  TransformStampedFuture(BaseType && futureIn) noexcept  // NOLINT(runtime/explicit)
  : BaseType(std::move(futureIn))
  {
  }

  /// @brief Wraps a shared future; the request handle is 0 until set.
  TransformStampedFuture(const BaseType & futureIn) noexcept  // NOLINT(runtime/explicit)
  : BaseType(futureIn)
  {
  }

  /// @brief Associates the BufferCore transformable request.
  void setHandle(const tf2::TransformableRequestHandle handle) { handle_ = handle; }

  /// @brief The BufferCore transformable request this future waits on.
  tf2::TransformableRequestHandle getHandle() const noexcept { return handle_; }

private:
  tf2::TransformableRequestHandle handle_{};
};

/// @brief Called once the future of a waitForTransform request is ready.
using TransformReadyCallback = std::function<void(const TransformStampedFuture &)>;

/// @brief Asynchronous transform requests.
class AsyncBufferInterface
{
public:
  virtual ~AsyncBufferInterface() = default;

  /// @brief Waits asynchronously for a transform; the future holds either the
  /// transform or the tf2 exception that ended the wait.
  virtual TransformStampedFuture waitForTransform(
    const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
    const tf2::Duration & timeout, TransformReadyCallback callback) = 0;

  /// @brief Cancels a pending waitForTransform request; its callback never runs.
  virtual void cancel(const TransformStampedFuture & ts_future) = 0;
};

}  // namespace tf2_ros

#endif  // TF2_ROS__ASYNC_BUFFER_INTERFACE_H_
