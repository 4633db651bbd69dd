#include "tf2_ros/buffer.h"

#include <algorithm>
#include <exception>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace tf2_ros
{

namespace
{

// Upstream appends this whenever an errstr is given, on success as well as on
// failure, so callers see a non-empty errstr after a successful wait.
void conditionally_append_timeout_info(
  std::string * errstr, const rclcpp::Time & start_time, const rclcpp::Time & current_time,
  const rclcpp::Duration & timeout)
{
  if (errstr) {
    std::stringstream ss;
    ss << ". canTransform returned after "
       << tf2::durationToSec(fromRclcpp(current_time - start_time)) << " timeout was "
       << tf2::durationToSec(fromRclcpp(timeout)) << ".";
    (*errstr) += ss.str();
  }
}

}  // namespace

Buffer::Buffer(
  rclcpp::Clock::SharedPtr clock, tf2::Duration cache_time, rclcpp::Node::SharedPtr node)
: BufferCore(cache_time),
  clock_(clock),
  node_(node),
  timer_interface_(nullptr)
{
  if (nullptr == clock_) {
    throw std::invalid_argument("clock must be a valid instance");
  }

  auto post_jump_cb = [this](const rcl_time_jump_t & jump_info) { onTimeJump(jump_info); };

  rcl_jump_threshold_t jump_threshold;
  // Forward jumps are harmless to a time-ordered cache; anything backwards
  // (a bag loop, a sim restart) or a change of time source invalidates it.
  jump_threshold.min_forward.nanoseconds = 0;
  jump_threshold.min_backward.nanoseconds = -1;
  jump_threshold.on_clock_change = true;

  jump_handler_ = clock_->create_jump_callback(nullptr, post_jump_cb, jump_threshold);
}

void Buffer::onTimeJump(const rcl_time_jump_t & jump)
{
  if (
    RCL_ROS_TIME_ACTIVATED == jump.clock_change || RCL_ROS_TIME_DEACTIVATED == jump.clock_change) {
    RCLCPP_WARN(getLogger(), "Detected time source change. Clearing TF buffer.");
    clear();
  } else if (jump.delta.nanoseconds < 0) {
    RCLCPP_WARN(getLogger(), "Detected jump back in time. Clearing TF buffer.");
    clear();
  }
}

geometry_msgs::msg::TransformStamped Buffer::lookupTransform(
  const std::string & target_frame, const std::string & source_frame,
  const tf2::TimePoint & lookup_time, const tf2::Duration timeout) const
{
  // Upstream passes a string only to keep canTransform's failure text off the
  // console; the lookup below throws with its own message anyway.
  std::string error;
  canTransform(target_frame, source_frame, lookup_time, timeout, &error);
  return lookupTransform(target_frame, source_frame, lookup_time);
}

geometry_msgs::msg::TransformStamped Buffer::lookupTransform(
  const std::string & target_frame, const tf2::TimePoint & target_time,
  const std::string & source_frame, const tf2::TimePoint & source_time,
  const std::string & fixed_frame, const tf2::Duration timeout) const
{
  std::string error;
  canTransform(target_frame, target_time, source_frame, source_time, fixed_frame, timeout, &error);
  return lookupTransform(target_frame, target_time, source_frame, source_time, fixed_frame);
}

bool Buffer::canTransform(
  const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
  const tf2::Duration timeout, std::string * errstr) const
{
  if (!checkAndErrorDedicatedThreadPresent(errstr)) {
    return false;
  }

  // Upstream polls every 10 ms of wall time while measuring the timeout on the
  // buffer's own clock (ROS time): with a stalled sim clock it never times out,
  // and after rclcpp::shutdown() it does not wait at all.
  rclcpp::Time start_time = clock_->now();
  const rclcpp::Duration rclcpp_timeout(timeout);
  while (
    clock_->now() < start_time + rclcpp_timeout &&
    !canTransform(target_frame, source_frame, time) &&
    (clock_->now() + rclcpp::Duration(3, 0) >= start_time) &&  // a bag loop restarted the clock
    (rclcpp::ok())) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  bool retval = canTransform(target_frame, source_frame, time, errstr);
  rclcpp::Time current_time = clock_->now();
  conditionally_append_timeout_info(errstr, start_time, current_time, rclcpp_timeout);
  return retval;
}

bool Buffer::canTransform(
  const std::string & target_frame, const tf2::TimePoint & target_time,
  const std::string & source_frame, const tf2::TimePoint & source_time,
  const std::string & fixed_frame, const tf2::Duration timeout, std::string * errstr) const
{
  if (!checkAndErrorDedicatedThreadPresent(errstr)) {
    return false;
  }

  rclcpp::Time start_time = clock_->now();
  const rclcpp::Duration rclcpp_timeout(timeout);
  while (clock_->now() < start_time + rclcpp_timeout &&
         !canTransform(target_frame, target_time, source_frame, source_time, fixed_frame) &&
         (clock_->now() + rclcpp::Duration(3, 0) >= start_time) && (rclcpp::ok())) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  bool retval =
    canTransform(target_frame, target_time, source_frame, source_time, fixed_frame, errstr);
  rclcpp::Time current_time = clock_->now();
  conditionally_append_timeout_info(errstr, start_time, current_time, rclcpp_timeout);
  return retval;
}

TransformStampedFuture Buffer::waitForTransform(
  const std::string & target_frame, const std::string & source_frame, const tf2::TimePoint & time,
  const tf2::Duration & timeout, TransformReadyCallback callback)
{
  if (nullptr == timer_interface_) {
    throw CreateTimerInterfaceException("timer interface not set before call to waitForTransform");
  }

  auto promise = std::make_shared<std::promise<geometry_msgs::msg::TransformStamped>>();
  TransformStampedFuture future(promise->get_future());

  // Runs on whichever thread calls setTransform. The arrival of the transform
  // and the timeout timer race; the promise accepts only the first result, and
  // only the winner reports to the caller.
  auto cb = [this, promise, callback, future](
              tf2::TransformableRequestHandle request_handle, const std::string & ready_target,
              const std::string & ready_source, tf2::TimePoint ready_time,
              tf2::TransformableResult result) {
    try {
      if (tf2::TransformAvailable == result) {
        try {
          promise->set_value(lookupTransform(ready_target, ready_source, ready_time));
        } catch (const tf2::TransformException &) {
          promise->set_exception(std::current_exception());
        }
      } else {
        promise->set_exception(std::make_exception_ptr(tf2::LookupException(
          "Failed to transform from " + ready_source + " to " + ready_target)));
      }
    } catch (const std::future_error &) {
      return;  // the timeout came first
    }
    {
      std::lock_guard<std::mutex> lock(timer_to_request_map_mutex_);
      auto it = std::find_if(
        timer_to_request_map_.begin(), timer_to_request_map_.end(),
        [request_handle](const auto & entry) { return entry.second == request_handle; });
      if (it != timer_to_request_map_.end()) {
        timer_interface_->remove(it->first);
        timer_to_request_map_.erase(it);
      }
    }
    callback(future);
  };

  auto handle = addTransformableRequest(cb, target_frame, source_frame, time);
  future.setHandle(handle);
  if (0 == handle) {
    // Available right now.
    cb(handle, target_frame, source_frame, time, tf2::TransformAvailable);
  } else if (0xffffffffffffffffULL == handle) {
    // Can never become available (e.g. older than the cache).
    cb(handle, target_frame, source_frame, time, tf2::TransformFailure);
  } else {
    std::lock_guard<std::mutex> lock(timer_to_request_map_mutex_);
    auto timer_handle = timer_interface_->createTimer(
      clock_, timeout,
      std::bind(&Buffer::timerCallback, this, std::placeholders::_1, promise, future, callback));
    timer_to_request_map_[timer_handle] = handle;
    // The transform may have arrived between addTransformableRequest and here,
    // before there was a timer for the callback to remove.
    if (future.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
      timer_interface_->remove(timer_handle);
      timer_to_request_map_.erase(timer_handle);
    }
  }
  return future;
}

void Buffer::cancel(const TransformStampedFuture & ts_future)
{
  cancelTransformableRequest(ts_future.getHandle());
  std::lock_guard<std::mutex> lock(timer_to_request_map_mutex_);
  auto it = std::find_if(
    timer_to_request_map_.begin(), timer_to_request_map_.end(),
    [&ts_future](const auto & entry) { return entry.second == ts_future.getHandle(); });
  if (it != timer_to_request_map_.end()) {
    timer_interface_->remove(it->first);
    timer_to_request_map_.erase(it);
  }
}

void Buffer::timerCallback(
  const TimerHandle & timer_handle,
  std::shared_ptr<std::promise<geometry_msgs::msg::TransformStamped>> promise,
  TransformStampedFuture future, TransformReadyCallback callback)
{
  bool timer_is_valid = false;
  tf2::TransformableRequestHandle request_handle = 0u;
  {
    std::lock_guard<std::mutex> lock(timer_to_request_map_mutex_);
    auto it = timer_to_request_map_.find(timer_handle);
    timer_is_valid = (timer_to_request_map_.end() != it);
    if (timer_is_valid) {
      request_handle = it->second;
      timer_to_request_map_.erase(it);
      timer_interface_->remove(timer_handle);
    }
  }

  if (timer_is_valid) {
    cancelTransformableRequest(request_handle);
    try {
      promise->set_exception(std::make_exception_ptr(
        tf2::TimeoutException(std::string("Timed out waiting for transform"))));
    } catch (const std::future_error &) {
      return;  // the transform came first
    }
    callback(future);
  }
}

bool Buffer::checkAndErrorDedicatedThreadPresent(std::string * error_str) const
{
  if (isUsingDedicatedThread()) {
    return true;
  }

  if (error_str) {
    *error_str = tf2_ros::threading_error;
  }

  RCLCPP_ERROR(getLogger(), "%s", tf2_ros::threading_error);
  return false;
}

rclcpp::Logger Buffer::getLogger() const
{
  return node_ ? node_->get_logger() : rclcpp::get_logger("tf2_buffer");
}

}  // namespace tf2_ros
