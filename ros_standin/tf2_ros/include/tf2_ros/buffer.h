#ifndef TF2_ROS__BUFFER_H_
#define TF2_ROS__BUFFER_H_

#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "rclcpp/rclcpp.hpp"
#include "tf2/buffer_core.h"
#include "tf2/time.h"
#include "tf2_ros/async_buffer_interface.h"
#include "tf2_ros/buffer_interface.h"
#include "tf2_ros/create_timer_interface.h"

namespace tf2_ros
{

/// @brief A BufferCore that can wait for transforms, polling with a timeout or
/// asynchronously through timers made by a CreateTimerInterface.
class Buffer : public BufferInterface, public AsyncBufferInterface, public tf2::BufferCore
{
public:
  using tf2::BufferCore::canTransform;
  using tf2::BufferCore::lookupTransform;
  using SharedPtr = std::shared_ptr<tf2_ros::Buffer>;

  /// @brief Throws std::invalid_argument when `clock` is null. A null `node` is
  /// allowed: the buffer then logs as "tf2_buffer".
  Buffer(
    rclcpp::Clock::SharedPtr clock,
    tf2::Duration cache_time = tf2::Duration(tf2::BUFFER_CORE_DEFAULT_CACHE_TIME),
    rclcpp::Node::SharedPtr node = rclcpp::Node::SharedPtr());

  /// @brief Waits up to `timeout` (see canTransform), then looks the transform up;
  /// throws the BufferCore lookup exception when it is still unavailable.
  geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
    const tf2::Duration timeout) const override;

  /// @brief lookupTransform with rclcpp time types.
  geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const std::string & source_frame, const rclcpp::Time & time,
    const rclcpp::Duration timeout = rclcpp::Duration::from_nanoseconds(0)) const
  {
    return lookupTransform(target_frame, source_frame, fromRclcpp(time), fromRclcpp(timeout));
  }

  /// @brief Two-time lookupTransform with a timeout.
  geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const tf2::TimePoint & target_time,
    const std::string & source_frame, const tf2::TimePoint & source_time,
    const std::string & fixed_frame, const tf2::Duration timeout) const override;

  /// @brief Two-time lookupTransform with rclcpp time types.
  geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const rclcpp::Time & target_time,
    const std::string & source_frame, const rclcpp::Time & source_time,
    const std::string & fixed_frame,
    const rclcpp::Duration timeout = rclcpp::Duration::from_nanoseconds(0)) const
  {
    return lookupTransform(
      target_frame, fromRclcpp(target_time), source_frame, fromRclcpp(source_time), fixed_frame,
      fromRclcpp(timeout));
  }

  /// @brief Polls the buffer until the transform is available or `timeout` has
  /// passed on the buffer's clock. Refuses outright (false, threading error in
  /// `errstr`) unless setUsingDedicatedThread(true) was called, even for a zero
  /// timeout. `errstr` always ends with how long the call took.
  bool canTransform(
    const std::string & target_frame, const std::string & source_frame,
    const tf2::TimePoint & target_time, const tf2::Duration timeout,
    std::string * errstr = NULL) const override;

  /// @brief canTransform with rclcpp time types.
  bool canTransform(
    const std::string & target_frame, const std::string & source_frame, const rclcpp::Time & time,
    const rclcpp::Duration timeout = rclcpp::Duration::from_nanoseconds(0),
    std::string * errstr = NULL) const
  {
    return canTransform(target_frame, source_frame, fromRclcpp(time), fromRclcpp(timeout), errstr);
  }

  /// @brief Two-time canTransform with a timeout.
  bool canTransform(
    const std::string & target_frame, const tf2::TimePoint & target_time,
    const std::string & source_frame, const tf2::TimePoint & source_time,
    const std::string & fixed_frame, const tf2::Duration timeout,
    std::string * errstr = NULL) const override;

  /// @brief Two-time canTransform with rclcpp time types.
  bool canTransform(
    const std::string & target_frame, const rclcpp::Time & target_time,
    const std::string & source_frame, const rclcpp::Time & source_time,
    const std::string & fixed_frame,
    const rclcpp::Duration timeout = rclcpp::Duration::from_nanoseconds(0),
    std::string * errstr = NULL) const
  {
    return canTransform(
      target_frame, fromRclcpp(target_time), source_frame, fromRclcpp(source_time), fixed_frame,
      fromRclcpp(timeout), errstr);
  }

  /// @brief Waits asynchronously. A request that is satisfiable (or impossible)
  /// right away completes before this returns; otherwise a timer of length
  /// `timeout` is made through the CreateTimerInterface, which must be set
  /// (CreateTimerInterfaceException otherwise). The future then holds the
  /// transform, a tf2::TimeoutException or a tf2::LookupException.
  TransformStampedFuture waitForTransform(
    const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
    const tf2::Duration & timeout, TransformReadyCallback callback) override;

  /// @brief waitForTransform with rclcpp time types.
  TransformStampedFuture waitForTransform(
    const std::string & target_frame, const std::string & source_frame, const rclcpp::Time & time,
    const rclcpp::Duration & timeout, TransformReadyCallback callback)
  {
    return waitForTransform(
      target_frame, source_frame, fromRclcpp(time), fromRclcpp(timeout), callback);
  }

  /// @brief Drops a pending waitForTransform request and its timer. The callback
  /// never runs; the future, left without a promise, holds std::future_error
  /// (broken_promise).
  void cancel(const TransformStampedFuture & ts_future) override;

  /// @brief Sets the timer factory used by waitForTransform.
  inline void setCreateTimerInterface(CreateTimerInterface::SharedPtr create_timer_interface)
  {
    timer_interface_ = create_timer_interface;
  }

private:
  void timerCallback(
    const TimerHandle & timer_handle,
    std::shared_ptr<std::promise<geometry_msgs::msg::TransformStamped>> promise,
    TransformStampedFuture future, TransformReadyCallback callback);

  void onTimeJump(const rcl_time_jump_t & jump);

  // Sets *errstr and logs an error when no dedicated thread fills the buffer,
  // because a wait could then never succeed.
  bool checkAndErrorDedicatedThreadPresent(std::string * errstr) const;

  rclcpp::Logger getLogger() const;

  rclcpp::Clock::SharedPtr clock_;
  rclcpp::Node::SharedPtr node_;
  CreateTimerInterface::SharedPtr timer_interface_;
  // Timeout timer of each pending waitForTransform request.
  std::unordered_map<TimerHandle, tf2::TransformableRequestHandle> timer_to_request_map_;
  std::mutex timer_to_request_map_mutex_;
  rclcpp::JumpHandler::SharedPtr jump_handler_;
};

static const char threading_error[] =
  "Do not call canTransform or lookupTransform with a timeout "
  "unless you are using another thread for populating data. Without a dedicated thread it will "
  "always timeout.  If you have a separate thread servicing tf messages, call "
  "setUsingDedicatedThread(true) on your Buffer instance.";

}  // namespace tf2_ros

#endif  // TF2_ROS__BUFFER_H_
